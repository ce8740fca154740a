// Drawing helpers shared by the skin painters: colours, plate shapes, lines,
// glow, and pictograms drawn in a 24 × 24 box.
#pragma once

#include "skin.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace skin {

// Pictograms are drawn in a 24 × 24 box: stroked lines plus filled areas.
struct Glyph {
    QPainterPath lines;
    QPainterPath solid;
};

QColor alpha(QColor c, int a);
QColor mix(const QColor &a, const QColor &b, qreal t);
QPainterPath shapedPolygon(const QPolygonF &poly, const QVector<qreal> &radii, Shape shape);
QPolygonF rectPoly(const QRectF &r);
QPainterPath plate(const QRectF &r, qreal c, const Theme &t);
QRectF crisp(int w, int h);
void fillV(QPainter &p, const QPainterPath &path, const QColor &top, const QColor &bottom);
void stroke(QPainter &p, const QPainterPath &path, const QColor &c, qreal w = 1.0);
void line(QPainter &p, QPointF a, QPointF b, const QColor &c, qreal w = 1.0);
void fadedLine(QPainter &p, QPointF a, QPointF b, const QColor &c, qreal w);
void brackets(QPainter &p, const QRectF &r, qreal len, const QColor &c, qreal w = 1.0);
void glow(QPainter &p, const QPainterPath &path, const QColor &c, qreal width);
void texture(QPainter &p, const QRectF &area, const Theme &t);
void drawGlyph(QPainter &p, const Glyph &g, const QRectF &box, const QColor &c, const QColor &glowColor);

// Pictograms.
Glyph gearGlyph();
Glyph closeGlyph();
Glyph keyGlyph();
Glyph macroGlyph();
QVector<QPainterPath> wheelSegments();
Glyph resetGlyph();
Glyph applyGlyph();
Glyph plusGlyph(bool vertical);
Glyph trashGlyph();
Glyph scissorsGlyph();
Glyph pasteGlyph();
Glyph copyGlyph();
Glyph layersGlyph();

}  // namespace skin
