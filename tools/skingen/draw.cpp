#include "draw.h"

#include <QLinearGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace skin {

QColor alpha(QColor c, int a)
{
    c.setAlpha(a);
    return c;
}

QColor mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

// A polygon with its corners rounded (quadratic curve through the vertex) or
// cut straight, by at most half of each adjacent edge.
QPainterPath shapedPolygon(const QPolygonF &poly, const QVector<qreal> &radii, Shape shape)
{
    const int n = poly.size();
    QVector<QPointF> a(n), b(n);
    for (int i = 0; i < n; ++i) {
        const QPointF v = poly[i];
        const QPointF prev = poly[(i + n - 1) % n];
        const QPointF next = poly[(i + 1) % n];
        const qreal lp = QLineF(v, prev).length();
        const qreal ln = QLineF(v, next).length();
        const qreal r = std::min({radii[i % radii.size()], lp / 2, ln / 2});
        a[i] = lp > 0 ? v + (prev - v) * (r / lp) : v;
        b[i] = ln > 0 ? v + (next - v) * (r / ln) : v;
    }
    QPainterPath path;
    path.moveTo(a[0]);
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            path.lineTo(a[i]);
        if (shape == Shape::Rounded)
            path.quadTo(poly[i], b[i]);
        else
            path.lineTo(b[i]);
    }
    path.closeSubpath();
    return path;
}

QPolygonF rectPoly(const QRectF &r)
{
    return QPolygonF({r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()});
}

// Plates of the chamfered skin cut two opposite corners deeper than the
// other two, which gives that skin its angular look.
QPainterPath plate(const QRectF &r, qreal c, const Theme &t)
{
    if (t.shape == Shape::Chamfered)
        return shapedPolygon(rectPoly(r), {c, c * 0.35, c, c * 0.35}, t.shape);
    return shapedPolygon(rectPoly(r), {c}, t.shape);
}

QRectF crisp(int w, int h)
{
    return QRectF(0.5, 0.5, w - 1, h - 1);
}

void fillV(QPainter &p, const QPainterPath &path, const QColor &top, const QColor &bottom)
{
    const QRectF r = path.boundingRect();
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillPath(path, g);
}

void stroke(QPainter &p, const QPainterPath &path, const QColor &c, qreal w)
{
    QPen pen(c, w);
    pen.setJoinStyle(Qt::MiterJoin);
    p.strokePath(path, pen);
}

void line(QPainter &p, QPointF a, QPointF b, const QColor &c, qreal w)
{
    QPen pen(c, w);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(a, b);
}

// A line that fades out at both ends.
void fadedLine(QPainter &p, QPointF a, QPointF b, const QColor &c, qreal w)
{
    QLinearGradient g(a, b);
    g.setColorAt(0, alpha(c, 0));
    g.setColorAt(0.2, c);
    g.setColorAt(0.8, c);
    g.setColorAt(1, alpha(c, 0));
    QPen pen(QBrush(g), w);
    pen.setCapStyle(Qt::FlatCap);
    p.setPen(pen);
    p.drawLine(a, b);
}

// Corner brackets: short L-shaped marks at the four corners of a rectangle.
void brackets(QPainter &p, const QRectF &r, qreal len, const QColor &c, qreal w)
{
    QPen pen(c, w);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal l = std::min({len, r.width() / 3, r.height() / 3});
    p.drawPolyline(QPolygonF({r.topLeft() + QPointF(0, l), r.topLeft(), r.topLeft() + QPointF(l, 0)}));
    p.drawPolyline(QPolygonF({r.topRight() - QPointF(l, 0), r.topRight(), r.topRight() + QPointF(0, l)}));
    p.drawPolyline(QPolygonF({r.bottomRight() - QPointF(0, l), r.bottomRight(), r.bottomRight() - QPointF(l, 0)}));
    p.drawPolyline(QPolygonF({r.bottomLeft() + QPointF(l, 0), r.bottomLeft(), r.bottomLeft() - QPointF(0, l)}));
}

// Soft light along a path: wide, faint strokes under a crisp one.
void glow(QPainter &p, const QPainterPath &path, const QColor &c, qreal width)
{
    for (int i = 3; i >= 1; --i) {
        QPen pen(alpha(c, 28 + 8 * (3 - i)), width * i / 1.5);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.strokePath(path, pen);
    }
}

void texture(QPainter &p, const QRectF &area, const Theme &t)
{
    p.save();
    if (t.texture == Texture::Hex) {
        // Hexagon honeycomb, pointy side up.
        const qreal r = 14.0;
        const qreal dx = r * std::sqrt(3.0);
        const qreal dy = r * 1.5;
        QPainterPath hexes;
        int row = 0;
        for (qreal y = area.top() - r; y < area.bottom() + r; y += dy, ++row) {
            const qreal off = (row % 2) ? dx / 2 : 0;
            for (qreal x = area.left() - dx + off; x < area.right() + dx; x += dx) {
                QPolygonF h;
                for (int k = 0; k < 6; ++k) {
                    const qreal ang = qDegreesToRadians(60.0 * k - 90.0);
                    h << QPointF(x + r * std::cos(ang), y + r * std::sin(ang));
                }
                h << h.first();
                hexes.addPolygon(h);
            }
        }
        p.strokePath(hexes, QPen(alpha(t.edge, 26), 1.0));
    } else {
        // Fine diagonal brushing.
        QPen pen(alpha(t.panel0, 60), 1.0);
        p.setPen(pen);
        for (qreal x = area.left() - area.height(); x < area.right(); x += 5)
            p.drawLine(QPointF(x, area.bottom()), QPointF(x + area.height(), area.top()));
    }
    p.restore();
}

void drawGlyph(QPainter &p, const Glyph &g, const QRectF &box, const QColor &c, const QColor &glowColor)
{
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    if (glowColor.isValid()) {
        glow(p, g.lines, glowColor, 4.0);
        glow(p, g.solid, glowColor, 3.0);
    }
    QPen pen(c, 2.0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.strokePath(g.lines, pen);
    p.fillPath(g.solid, c);
    p.restore();
}

}  // namespace skin
