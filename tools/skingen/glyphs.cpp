// Pictograms of the buttons and icons, as paths in a 24 × 24 box.
#include "draw.h"

#include <QtMath>

#include <cmath>

namespace skin {

Glyph gearGlyph()
{
    Glyph g;
    QPolygonF teeth;
    const int n = 8;
    for (int i = 0; i < n * 4; ++i) {
        const qreal ang = qDegreesToRadians(360.0 * i / (n * 4) - 90.0 + 360.0 / (n * 8));
        const qreal r = (i % 4 < 2) ? 10.5 : 7.8;
        teeth << QPointF(12 + r * std::cos(ang), 12 + r * std::sin(ang));
    }
    g.solid.addPolygon(teeth);
    g.solid.closeSubpath();
    g.solid.addEllipse(QPointF(12, 12), 3.6, 3.6);
    g.solid.setFillRule(Qt::OddEvenFill);
    return g;
}

Glyph closeGlyph()
{
    Glyph g;
    g.lines.moveTo(7, 7);
    g.lines.lineTo(17, 17);
    g.lines.moveTo(17, 7);
    g.lines.lineTo(7, 17);
    g.lines.addEllipse(QPointF(12, 12), 10, 10);
    return g;
}

// A small keyboard: outline, three rows of keys and the space bar.
Glyph keyGlyph()
{
    Glyph g;
    g.lines.addRoundedRect(QRectF(1.5, 5.5, 21, 14), 2.5, 2.5);
    for (int i = 0; i < 5; ++i)
        g.solid.addRect(QRectF(4 + 3.5 * i, 8.5, 2.2, 2.2));
    for (int i = 0; i < 4; ++i)
        g.solid.addRect(QRectF(5.7 + 3.5 * i, 11.8, 2.2, 2.2));
    g.solid.addRect(QRectF(7, 15.2, 10, 2));
    return g;
}

Glyph macroGlyph()
{
    Glyph g;
    for (qreal y : {6.0, 12.0, 18.0}) {
        g.lines.moveTo(11, y);
        g.lines.lineTo(21, y);
    }
    g.solid.addPolygon(QPolygonF({QPointF(2.5, 7), QPointF(8.5, 12), QPointF(2.5, 17)}));
    g.solid.closeSubpath();
    return g;
}

// The colour wheel: six ring segments.
QVector<QPainterPath> wheelSegments()
{
    QVector<QPainterPath> segs;
    const QRectF outer(2, 2, 20, 20), inner(7.5, 7.5, 9, 9);
    for (int i = 0; i < 6; ++i) {
        const qreal start = 90 - 60 * i + 4, span = -52;
        QPainterPath s;
        s.arcMoveTo(outer, start);
        s.arcTo(outer, start, span);
        s.arcTo(inner, start + span, -span);
        s.closeSubpath();
        segs << s;
    }
    return segs;
}

Glyph resetGlyph()
{
    Glyph g;
    const QRectF r(5, 5, 14, 14);
    g.lines.arcMoveTo(r, 120);
    g.lines.arcTo(r, 120, 270);
    // Arrow head at the start of the arc, pointing along it.
    const QPointF tip = r.center() + QPointF(7 * std::cos(qDegreesToRadians(120.0)),
                                             -7 * std::sin(qDegreesToRadians(120.0)));
    g.solid.addPolygon(QPolygonF({tip + QPointF(-4.5, -1.5), tip + QPointF(3, -3.5), tip + QPointF(0.5, 4)}));
    g.solid.closeSubpath();
    return g;
}

Glyph applyGlyph()
{
    Glyph g;
    g.lines.moveTo(5, 12.5);
    g.lines.lineTo(10, 17.5);
    g.lines.lineTo(19.5, 7);
    return g;
}

Glyph plusGlyph(bool vertical)
{
    Glyph g;
    g.lines.moveTo(5, 12);
    g.lines.lineTo(19, 12);
    if (vertical) {
        g.lines.moveTo(12, 5);
        g.lines.lineTo(12, 19);
    }
    return g;
}

Glyph trashGlyph()
{
    Glyph g;
    g.solid.addRect(QRectF(4, 5, 16, 2.5));
    g.solid.addRect(QRectF(9.5, 2.5, 5, 2.5));
    QPainterPath body;
    body.addPolygon(QPolygonF({QPointF(5.5, 9), QPointF(18.5, 9), QPointF(17, 21.5), QPointF(7, 21.5)}));
    body.closeSubpath();
    QPainterPath grooves;
    for (qreal x : {9.3, 11.3, 13.3})
        grooves.addRect(QRectF(x, 11.5, 1.4, 7.5));
    g.solid.addPath(body.subtracted(grooves));
    return g;
}

Glyph scissorsGlyph()
{
    Glyph g;
    g.lines.addEllipse(QPointF(7, 17.5), 3.2, 3.2);
    g.lines.addEllipse(QPointF(17, 17.5), 3.2, 3.2);
    g.lines.moveTo(9.2, 15);
    g.lines.lineTo(17.5, 3);
    g.lines.moveTo(14.8, 15);
    g.lines.lineTo(6.5, 3);
    g.solid.addEllipse(QPointF(12, 11.3), 1.3, 1.3);
    return g;
}

Glyph pasteGlyph()
{
    Glyph g;
    QPainterPath board;
    board.addRoundedRect(QRectF(4, 4, 16, 18), 2, 2);
    QPainterPath sheet;
    sheet.addRect(QRectF(7, 8, 10, 11));
    g.solid.addPath(board.subtracted(sheet));
    g.solid.addRoundedRect(QRectF(8.5, 2, 7, 4), 1, 1);
    g.solid.addRect(QRectF(9, 11, 6, 1.6));
    g.solid.addRect(QRectF(9, 14.5, 6, 1.6));
    return g;
}

Glyph copyGlyph()
{
    Glyph g;
    QPainterPath back;
    back.addRoundedRect(QRectF(3, 3, 12, 14), 1.5, 1.5);
    QPainterPath front;
    front.addRoundedRect(QRectF(9, 7, 12, 14), 1.5, 1.5);
    QPainterPath gap;
    gap.addRoundedRect(QRectF(7.5, 5.5, 15, 17), 2, 2);
    g.solid.addPath(back.subtracted(gap));
    g.solid.addPath(front);
    return g;
}

Glyph layersGlyph()
{
    Glyph g;
    for (qreal y : {6.0, 11.0, 16.0}) {
        g.lines.moveTo(3, y + 2);
        g.lines.lineTo(12, y - 2);
        g.lines.lineTo(21, y + 2);
        g.lines.lineTo(12, y + 6);
        g.lines.closeSubpath();
    }
    return g;
}

}  // namespace skin
