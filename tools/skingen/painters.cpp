// Painters for every kind of skin image. Shapes are drawn from paths only (no
// fonts), so the output is the same on every machine.
#include "draw.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>

namespace skin {

namespace {

// A small button: plate plus pictogram; state 1 lights edge and glyph.
void button(QPainter &p, const ImageEntry &s, const Theme &t, const Glyph &g, qreal glyphSize,
            const QColor &hotColor = QColor())
{
    const QPainterPath body = plate(crisp(s.width, s.height), 3, t);
    const QColor hot = hotColor.isValid() ? hotColor : t.accentHi;
    if (s.state == 0) {
        fillV(p, body, t.panel0, t.panel1);
        stroke(p, body, t.edge);
    } else {
        fillV(p, body, mix(t.panel0, t.accent, 0.22), mix(t.panel1, t.accent, 0.12));
        stroke(p, body, hotColor.isValid() ? hotColor : t.accent);
    }
    line(p, QPointF(3, 1.5), QPointF(s.width - 3, 1.5), alpha(t.edgeHi, s.state ? 110 : 60));
    const QRectF box((s.width - glyphSize) / 2, (s.height - glyphSize) / 2, glyphSize, glyphSize);
    if (s.state == 0)
        drawGlyph(p, g, box, t.glyph, QColor());
    else
        drawGlyph(p, g, box, hot, hotColor.isValid() ? hotColor : t.accent);
}

// An icon without a plate (menu buttons, function icons).
void icon(QPainter &p, const ImageEntry &s, const Theme &t, const Glyph &g, const QColor &hot = QColor())
{
    const qreal m = 2;
    const QRectF box(m, m, s.width - 2 * m, s.height - 2 * m);
    if (s.state == 0)
        drawGlyph(p, g, box, t.glyph, QColor());
    else
        drawGlyph(p, g, box, hot.isValid() ? hot : t.accentHi, hot.isValid() ? hot : t.accent);
}

// ---- window and frame ----

void paintBackground(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(crisp(s.width, s.height), t.corner, t);
    p.save();
    p.setClipPath(body);
    fillV(p, body, t.base0, t.base1);
    texture(p, QRectF(0, 0, s.width, s.height), t);
    QRadialGradient warm(QPointF(s.width * 0.5, s.height * 0.62), s.width * 0.55);
    warm.setColorAt(0, alpha(t.accent, 22));
    warm.setColorAt(1, alpha(t.accent, 0));
    p.fillRect(QRectF(0, 0, s.width, s.height), warm);
    QRadialGradient vignette(QPointF(s.width * 0.5, s.height * 0.45), s.width * 0.7);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 110));
    p.fillRect(QRectF(0, 0, s.width, s.height), vignette);
    p.restore();
    stroke(p, body, t.edge);
    fadedLine(p, QPointF(t.corner, 1.5), QPointF(s.width - t.corner, 1.5), alpha(t.edgeHi, 140), 1);
}

void paintFrameBackground(QPainter &p, const ImageEntry &, const Theme &t)
{
    // The well behind the page frame at (171, 96), 759 × 442, with a 6-pixel margin.
    const QRectF well(165.5, 90.5, 770, 453);
    const QPainterPath wellPath = plate(well, 10, t);
    fillV(p, wellPath, alpha(t.well, 150), alpha(t.well, 190));
    stroke(p, wellPath, t.edge);
    stroke(p, plate(well.adjusted(1, 1, -1, -1), 9, t), alpha(t.edgeHi, 30));
    brackets(p, well.adjusted(-3, -3, 3, 3), 22, alpha(t.accent, 200), 2);

    // Rail from the left decoration to the well.
    line(p, QPointF(140, 93.5), QPointF(162, 93.5), t.accentDim, 1);

    // Column behind the function menu at (8, 180), 150 × 178.
    const QPainterPath column = plate(QRectF(3.5, 170.5, 159, 198), 8, t);
    fillV(p, column, alpha(t.panel1, 120), alpha(t.well, 140));
    stroke(p, column, alpha(t.edge, 180));
    fadedLine(p, QPointF(12, 170.5), QPointF(154, 170.5), t.accent, 1);
}

void paintDecoration(QPainter &p, const ImageEntry &s, const Theme &t, bool mirrored)
{
    if (mirrored) {
        p.translate(s.width, 0);
        p.scale(-1, 1);
    }
    const QPolygonF outline({QPointF(1.5, 4.5), QPointF(96.5, 4.5), QPointF(104, 12), QPointF(96.5, 19.5), QPointF(1.5, 19.5)});
    const QPainterPath body = shapedPolygon(outline, {2, 2, 1, 2, 2}, t.shape);
    fillV(p, body, t.panel0, t.panel1);
    stroke(p, body, t.edge);
    line(p, QPointF(4, 6), QPointF(95, 6), alpha(t.edgeHi, 90));
    fadedLine(p, QPointF(10, 12), QPointF(64, 12), t.accent, 2);
    p.fillRect(QRectF(4.5, 10, 3, 4), t.accentDim);
    // Three chevrons pointing towards the page frame.
    for (int i = 0; i < 3; ++i) {
        QPainterPath chev;
        const qreal x = 70 + 8 * i;
        chev.moveTo(x, 8);
        chev.lineTo(x + 4, 12);
        chev.lineTo(x, 16);
        QPen pen(i == 2 ? t.accent : t.accentDim, 2);
        pen.setJoinStyle(Qt::MiterJoin);
        p.strokePath(chev, pen);
    }
    line(p, QPointF(104, 12.5), QPointF(s.width, 12.5), t.accentDim);
}

void paintLogo(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const bool hot = s.state == 1;
    const QColor ink = hot ? t.accentHi : t.glyph;
    const QColor mark = hot ? t.accent : t.accentDim;

    // Opaque plate: the logo hangs over the top menu and hides its lines.
    const QPainterPath back = plate(QRectF(3.5, 2.5, s.width - 7, s.height - 5), 8, t);
    fillV(p, back, t.panel0, t.panel1);
    stroke(p, back, hot ? t.accent : t.edge);
    p.translate(3, 0);

    // Hexagonal badge with a key cap inside.
    QPolygonF hex;
    for (int k = 0; k < 6; ++k) {
        const qreal ang = qDegreesToRadians(60.0 * k);
        hex << QPointF(20 + 16 * std::cos(ang), 20 + 16 * std::sin(ang));
    }
    QPainterPath badge;
    badge.addPolygon(hex);
    badge.closeSubpath();
    fillV(p, badge, t.panel0, t.panel1);
    if (hot)
        glow(p, badge, t.accent, 3);
    stroke(p, badge, mark, 2);
    QPainterPath cap;
    cap.addRoundedRect(QRectF(12, 12, 16, 15), 2.5, 2.5);
    fillV(p, cap, mix(t.capFace, t.accent, hot ? 0.35 : 0.1), t.cap1);
    stroke(p, cap, ink, 1.2);

    // Monogram "K3" from strokes.
    QPainterPath mono;
    mono.moveTo(45, 9);
    mono.lineTo(45, 31);
    mono.moveTo(58, 9);
    mono.lineTo(47.5, 20);
    mono.lineTo(58, 31);
    mono.moveTo(64, 9);
    mono.lineTo(78, 9);
    mono.lineTo(71, 18.5);
    mono.lineTo(76, 18.5);
    mono.lineTo(79, 22);
    mono.lineTo(79, 28);
    mono.lineTo(76, 31);
    mono.lineTo(64, 31);
    if (hot)
        glow(p, mono, t.accent, 4);
    QPen pen(ink, 3.2);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::SquareCap);
    p.strokePath(mono, pen);

    // Speed lines.
    for (int i = 0; i < 3; ++i) {
        const qreal y = 13.5 + 6.5 * i;
        const qreal x1 = 138 - 14 * i;
        QPainterPath sl;
        sl.moveTo(88, y);
        sl.lineTo(x1, y);
        if (hot)
            glow(p, sl, t.accent, 2);
        line(p, QPointF(88, y), QPointF(x1, y), i == 1 ? mark : alpha(ink, 170), 2);
    }
}

// ---- menus ----

void paintUpContainer(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const qreal w = s.width, h = s.height;
    const QPolygonF outline({QPointF(0.5, 0.5), QPointF(w - 0.5, 0.5), QPointF(w - 10.5, h - 2.5), QPointF(10.5, h - 2.5)});
    const QPainterPath body = shapedPolygon(outline, {1, 1, 3, 3}, t.shape);
    fillV(p, body, alpha(t.panel0, 235), alpha(t.panel1, 235));
    stroke(p, body, t.edge);
    fadedLine(p, QPointF(w * 0.28, h - 2), QPointF(w * 0.72, h - 2), t.accent, 2);
    for (qreal x : {40.0, w - 40.0})
        line(p, QPointF(x, 4), QPointF(x, h - 6), t.accentDim, 2);
}

void paintDnContainer(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const qreal w = s.width, h = s.height;
    const QPolygonF outline({QPointF(10.5, 4.5), QPointF(w - 10.5, 4.5), QPointF(w - 0.5, 14.5), QPointF(w - 0.5, h - 0.5),
                             QPointF(0.5, h - 0.5), QPointF(0.5, 14.5)});
    const QPainterPath body = shapedPolygon(outline, {2, 2, 2, t.corner, t.corner, 2}, t.shape);
    fillV(p, body, alpha(t.panel0, 235), alpha(t.panel1, 245));
    stroke(p, body, t.edge);
    fadedLine(p, QPointF(w * 0.25, 5), QPointF(w * 0.75, 5), t.accent, 2);
    for (qreal x : {40.0, w - 40.0})
        line(p, QPointF(x, 16), QPointF(x, h - 8), t.accentDim, 2);
}

void paintPfContainer(QPainter &p, const ImageEntry &, const Theme &t)
{
    // Body around the profile list at (23, 97), 49 × 260.
    // The body starts below decoration 2, which hangs over the container's top.
    const QPainterPath body = plate(QRectF(12.5, 14.5, 70, 358), 8, t);
    fillV(p, body, alpha(t.panel0, 225), alpha(t.panel1, 235));
    stroke(p, body, t.edge);
    fadedLine(p, QPointF(16, 15.5), QPointF(79, 15.5), alpha(t.edgeHi, 160), 1);
    drawGlyph(p, layersGlyph(), QRectF(33.5, 32, 28, 28), t.glyph, QColor());
    fadedLine(p, QPointF(20, 76), QPointF(76, 76), t.accent, 2);
    const QPainterPath listWell = plate(QRectF(19.5, 93.5, 56, 267), 4, t);
    fillV(p, listWell, alpha(t.well, 170), alpha(t.well, 210));
    stroke(p, listWell, alpha(t.edge, 200));
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRectF(41.5 + 5 * i, 366, 3, 3), i == 1 ? t.accent : t.accentDim);
}

// A whole profile row; the UI centres the label on it, clear of the
// indicator at the right end.
void paintProfileRow(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(QRectF(0.5, 1.5, s.width - 1, s.height - 3), 4, t);
    const QRectF led(s.width - 8, 9, 4, s.height - 18);
    if (s.state == 0) {
        fillV(p, body, t.panel1, t.well);
        stroke(p, body, t.edge);
        p.fillRect(led, t.edge);
    } else {
        fillV(p, body, mix(t.panel0, t.accent, 0.25), mix(t.panel1, t.accent, 0.1));
        stroke(p, body, t.accent);
        QPainterPath l;
        l.addRect(led);
        glow(p, l, t.accent, 3);
        p.fillRect(led, t.accentHi);
        p.fillRect(QRectF(1.5, 6, 2, s.height - 12), t.accent);
    }
}

void paintFnButton(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(crisp(s.width, s.height), 6, t);
    if (s.state == 0) {
        fillV(p, body, alpha(t.panel0, 230), alpha(t.panel1, 230));
        stroke(p, body, t.edge);
        line(p, QPointF(6, 1.5), QPointF(s.width - 6, 1.5), alpha(t.edgeHi, 70));
    } else {
        fillV(p, body, mix(t.panel0, t.accent, 0.28), mix(t.panel1, t.accent, 0.12));
        p.save();
        p.setClipPath(body);
        glow(p, body, t.accent, 4);
        p.restore();
        stroke(p, body, t.accent);
        line(p, QPointF(6, 1.5), QPointF(s.width - 6, 1.5), alpha(t.accentHi, 150));
        p.fillRect(QRectF(3, 8, 2, s.height - 16), t.accentHi);
    }
    // Notch on the right end.
    for (int i = 0; i < 2; ++i)
        line(p, QPointF(s.width - 12 + 4 * i, 12), QPointF(s.width - 12 + 4 * i, s.height - 12),
             s.state ? t.accent : t.accentDim, 1.5);
}

void paintFnColor(QPainter &p, const ImageEntry &s, const Theme &t)
{
    p.save();
    p.scale(s.width / 24.0, s.height / 24.0);
    const QVector<QPainterPath> segs = wheelSegments();
    for (int i = 0; i < segs.size(); ++i) {
        if (s.state == 0) {
            p.fillPath(segs[i], alpha(t.glyph, 60 + 30 * (i % 2)));
            stroke(p, segs[i], t.glyph, 1.0);
        } else {
            glow(p, segs[i], t.accent, 2);
            p.fillPath(segs[i], QColor::fromHsv(i * 60, 200, 255));
            stroke(p, segs[i], t.accentHi, 1.0);
        }
    }
    p.restore();
}

// ---- panel and pages ----

void paintSettingsPanel(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(crisp(s.width, s.height), 10, t);
    p.save();
    p.setClipPath(body);
    fillV(p, body, alpha(t.panel1, 245), alpha(t.base1, 250));
    texture(p, QRectF(0, 0, s.width, s.height), t);
    p.restore();
    stroke(p, body, t.edge);
    fadedLine(p, QPointF(s.width - 3, 20), QPointF(s.width - 3, s.height - 20), t.accent, 2);
    fadedLine(p, QPointF(12, 1.5), QPointF(s.width - 12, 1.5), alpha(t.edgeHi, 160), 1);
}

void keyboardBed(QPainter &p, const QRectF &r, const Theme &t)
{
    const QPainterPath bed = plate(r, 8, t);
    fillV(p, bed, alpha(t.well, 190), alpha(t.well, 140));
    stroke(p, bed, alpha(t.edge, 220));
    // Shadow under the upper edge: the bed sits below the plate.
    QLinearGradient shade(r.topLeft(), r.topLeft() + QPointF(0, 12));
    shade.setColorAt(0, QColor(0, 0, 0, 110));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.save();
    p.setClipPath(bed);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), 12), shade);
    p.restore();
    brackets(p, r.adjusted(3, 3, -3, -3), 14, t.accentDim, 1.5);
}

void paintPageColor(QPainter &p, const ImageEntry &, const Theme &t)
{
    keyboardBed(p, QRectF(1.5, 68.5, 737, 249), t);
    const QPainterPath tray = plate(QRectF(128.5, 331.5, 492, 103), 6, t);
    fillV(p, tray, alpha(t.panel1, 110), alpha(t.well, 90));
    stroke(p, tray, alpha(t.edge, 150));
    fadedLine(p, QPointF(140, 331.5), QPointF(610, 331.5), alpha(t.accent, 180), 1);
}

void paintPageKeydefine(QPainter &p, const ImageEntry &, const Theme &t)
{
    keyboardBed(p, QRectF(1.5, 68.5, 737, 229), t);
    fadedLine(p, QPointF(130, 50.5), QPointF(640, 50.5), alpha(t.accent, 150), 1);
}

void paintPageCommon(QPainter &p, const ImageEntry &, const Theme &t)
{
    const QRectF r(30.5, 20.5, 698, 355);
    const QPainterPath body = plate(r, 8, t);
    fillV(p, body, alpha(t.panel1, 70), alpha(t.well, 90));
    stroke(p, body, alpha(t.edge, 140));
    brackets(p, r.adjusted(3, 3, -3, -3), 14, t.accentDim, 1.5);
}

// ---- controls ----

void inset(QPainter &p, const QPainterPath &path, const Theme &t)
{
    fillV(p, path, t.well, mix(t.well, t.panel1, 0.5));
    p.save();
    p.setClipPath(path);
    const QRectF r = path.boundingRect();
    line(p, QPointF(r.left(), r.top() + 1.5), QPointF(r.right(), r.top() + 1.5), QColor(0, 0, 0, 140));
    p.restore();
    stroke(p, path, t.edge);
}

void paintSliderBase(QPainter &p, const ImageEntry &s, const Theme &t)
{
    inset(p, plate(crisp(s.width, s.height), 3, t), t);
    line(p, QPointF(3, s.height - 1.5), QPointF(s.width - 3, s.height - 1.5), alpha(t.edgeHi, 50));
}

void paintSliderFiller(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QRectF r = crisp(s.width, s.height);
    QPainterPath cell;
    cell.addRect(r);
    if (s.state == 0) {
        fillV(p, cell, t.panel1, t.well);
        stroke(p, cell, alpha(t.edge, 220));
        line(p, QPointF(2, 2.5), QPointF(s.width - 2, 2.5), alpha(t.edgeHi, 45));
    } else {
        QLinearGradient g(0, 0, 0, s.height);
        g.setColorAt(0, t.accentHi);
        g.setColorAt(0.35, t.accent);
        g.setColorAt(1, t.accentDim);
        p.fillPath(cell, g);
        stroke(p, cell, mix(t.accentDim, t.well, 0.4));
        line(p, QPointF(2, 2.5), QPointF(s.width - 2, 2.5), QColor(255, 255, 255, 120));
    }
}

void paintCheckBox(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath box = plate(crisp(s.width, s.height), 2, t);
    fillV(p, box, t.well, t.panel1);
    if (s.state == 0) {
        stroke(p, box, t.edgeHi);
    } else {
        QPainterPath dot;
        dot.addRect(QRectF(3, 3, s.width - 6, s.height - 6));
        glow(p, dot, t.accent, 2);
        p.fillPath(dot, t.accent);
        stroke(p, box, t.accentHi);
    }
}

void paintLine(QPainter &p, const ImageEntry &s, const Theme &t)
{
    p.fillRect(QRectF(0, 0, s.width, s.height), mix(t.edge, t.accentDim, 0.45));
}

void paintInputField(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(crisp(s.width, s.height), 2, t);
    fillV(p, body, QColor(0, 0, 0), t.well);
    stroke(p, body, t.edge);
    line(p, QPointF(11.5, 3), QPointF(11.5, s.height - 3), alpha(t.edge, 170));
}

void paintPaletteIndex(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(crisp(s.width, s.height), 3, t);
    fillV(p, body, alpha(t.panel1, 230), alpha(t.well, 230));
    stroke(p, body, t.edge);
    // Seven slot cells, 19 wide with 2 between: marker groove and swatch well.
    for (int k = 0; k < 7; ++k) {
        const qreal x = 21 * k;
        p.fillRect(QRectF(x + 2, 3, 15, 3), alpha(t.well, 230));
        QPainterPath w;
        w.addRect(QRectF(x + 1.5, 11.5, 16, 16));
        p.fillPath(w, t.well);
        stroke(p, w, alpha(t.edge, 150));
    }
}

void paintPalette(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(crisp(s.width, s.height), 3, t);
    inset(p, body, t);
    for (int i = 1; i < 8; ++i) {
        const qreal x = std::floor((s.width - 1) * i / 8.0) + 0.5;
        line(p, QPointF(x, 0.5), QPointF(x, 2.5), t.edgeHi);
        line(p, QPointF(x, s.height - 2.5), QPointF(x, s.height - 0.5), t.edgeHi);
    }
}

void paintTwoButtonFrame(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(crisp(s.width, s.height), 3, t);
    fillV(p, body, alpha(t.well, 220), alpha(t.well, 240));
    stroke(p, body, t.edge);
    line(p, QPointF(31.5, 2), QPointF(31.5, s.height - 2), alpha(t.accentDim, 200));
}

void paintMask(QPainter &p, const ImageEntry &s, const Theme &t)
{
    // Faint light over the right end of the keyboard bed, with scan lines;
    // it stays inside the bed on both keyboard pages.
    QLinearGradient g(0, 0, s.width, 0);
    g.setColorAt(0, alpha(t.accent, 0));
    g.setColorAt(1, alpha(t.accent, 30));
    QRadialGradient fade(QPointF(s.width, s.height / 2.0), s.height * 0.75);
    fade.setColorAt(0, QColor(0, 0, 0, 255));
    fade.setColorAt(1, QColor(0, 0, 0, 0));
    QImage light(s.width, s.height, QImage::Format_ARGB32_Premultiplied);
    light.fill(Qt::transparent);
    {
        QPainter lp(&light);
        lp.fillRect(QRectF(0, 0, s.width, s.height), g);
        for (int y = 2; y < s.height; y += 4)
            lp.fillRect(QRectF(0, y, s.width, 1), alpha(t.accentHi, 12));
        lp.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        lp.fillRect(QRectF(0, 0, s.width, s.height), fade);
    }
    p.drawImage(0, 0, light);
}

void paintFileListBase(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QPainterPath body = plate(crisp(s.width, s.height), 3, t);
    fillV(p, body, alpha(t.well, 240), alpha(mix(t.well, t.panel1, 0.5), 240));
    stroke(p, body, t.edge);
    // Track of the scroll bar at the right edge.
    QPainterPath track;
    track.addRoundedRect(QRectF(s.width - 8, 4, 4, s.height - 8), 2, 2);
    p.fillPath(track, alpha(t.panel1, 200));
}

void paintFileListFrame(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QRectF r = crisp(s.width, s.height);
    const QPainterPath body = plate(r, 4, t);
    fillV(p, body, alpha(t.panel1, 150), alpha(t.well, 150));
    stroke(p, body, t.edge);
    brackets(p, r, 10, t.accent, 1.5);
    fadedLine(p, QPointF(20, 1.5), QPointF(s.width - 20, 1.5), t.accent, 1);
}

void paintButtonFrame(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const QRectF r = crisp(s.width, s.height);
    const QPainterPath body = plate(r, 3, t);
    stroke(p, body, t.edge);
    brackets(p, r, 4, t.accentDim, 1);
}

// ---- key caps ----

QPolygonF capOutline(const ImageEntry &s, qreal l, qreal top, qreal r, qreal b)
{
    const qreal w = s.width, h = s.height;
    if (s.keyType == 10) {
        // Top 1.5 units wide, bottom 1.25 units, right-aligned; vertices
        // from the top left, clockwise.
        const qreal notch = w - keyCapWidth(1.25);
        const qreal u = keyCapWidth(1.0);
        return QPolygonF({QPointF(l, top), QPointF(w - r, top), QPointF(w - r, h - b), QPointF(notch + l, h - b),
                          QPointF(notch + l, u - b), QPointF(l, u - b)});
    }
    return rectPoly(QRectF(QPointF(l, top), QPointF(w - r, h - b)));
}

void paintKeyCap(QPainter &p, const ImageEntry &s, const Theme &t)
{
    const qreal rc = t.shape == Shape::Rounded ? 3.5 : 3.0;
    // The step of the ISO Enter keeps a tight inner corner.
    const QVector<qreal> radii = s.keyType == 10 ? QVector<qreal>{rc, rc, rc, rc, 1.0, 2.0} : QVector<qreal>{rc};
    const QVector<qreal> faceRadii = s.keyType == 10 ? QVector<qreal>{rc - 1, rc - 1, rc - 1, rc - 1, 0.5, 1.5}
                                                     : QVector<qreal>{rc - 1};
    const QPainterPath body = shapedPolygon(capOutline(s, 0.5, 0.5, 0.5, 0.5), radii, t.shape);
    if (s.state == 0) {
        fillV(p, body, t.cap0, t.cap1);
        stroke(p, body, t.capEdge);
        const QPainterPath face = shapedPolygon(capOutline(s, 3.5, 2.5, 3.5, 5.5), faceRadii, t.shape);
        fillV(p, face, mix(t.capFace, t.edgeHi, 0.18), t.capFace);
        stroke(p, face, QColor(0, 0, 0, 70));
        const QRectF fr = face.boundingRect();
        line(p, QPointF(fr.left() + 2, fr.top() + 1), QPointF(fr.right() - 2, fr.top() + 1), alpha(t.edgeHi, 70));
    } else {
        // Selection frame drawn over the cap: tinted, lit edge, bright corners.
        p.fillPath(body, alpha(t.accent, 40));
        p.save();
        p.setClipPath(body);
        p.strokePath(body, QPen(alpha(t.accent, 90), 6));
        p.restore();
        const QPainterPath edge = shapedPolygon(capOutline(s, 1, 1, 1, 1), radii, t.shape);
        stroke(p, edge, t.accent, 2);
        p.setClipPath(body);
        brackets(p, QRectF(1.5, 1.5, s.width - 3, s.height - 3), 6, t.accentHi, 1.5);
    }
}

}  // namespace

QImage render(const ImageEntry &s, const Theme &t)
{
    QImage img(s.width, s.height, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    // 96 dpi whatever the environment, so the files are byte-identical everywhere.
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    switch (s.kind) {
    case Kind::Background: paintBackground(p, s, t); break;
    case Kind::FrameBackground: paintFrameBackground(p, s, t); break;
    case Kind::Decoration1: paintDecoration(p, s, t, false); break;
    case Kind::Decoration2: paintDecoration(p, s, t, true); break;
    case Kind::Logo: paintLogo(p, s, t); break;
    case Kind::UpContainer: paintUpContainer(p, s, t); break;
    case Kind::SettingButton: icon(p, s, t, gearGlyph()); break;
    case Kind::CloseButton: icon(p, s, t, closeGlyph(), t.record); break;
    case Kind::DnContainer: paintDnContainer(p, s, t); break;
    case Kind::PfContainer: paintPfContainer(p, s, t); break;
    case Kind::ProfileRow: paintProfileRow(p, s, t); break;
    case Kind::FnButton: paintFnButton(p, s, t); break;
    case Kind::FnIconKey: icon(p, s, t, keyGlyph()); break;
    case Kind::FnIconMacro: icon(p, s, t, macroGlyph()); break;
    case Kind::FnIconColor: paintFnColor(p, s, t); break;
    case Kind::SettingsPanel: paintSettingsPanel(p, s, t); break;
    case Kind::PageColor: paintPageColor(p, s, t); break;
    case Kind::PageKeydefine: paintPageKeydefine(p, s, t); break;
    case Kind::PageCommon: paintPageCommon(p, s, t); break;
    case Kind::SliderBase: paintSliderBase(p, s, t); break;
    case Kind::SliderFiller: paintSliderFiller(p, s, t); break;
    case Kind::CheckBox: paintCheckBox(p, s, t); break;
    case Kind::Line: paintLine(p, s, t); break;
    case Kind::InputField: paintInputField(p, s, t); break;
    case Kind::PaletteIndex: paintPaletteIndex(p, s, t); break;
    case Kind::Palette: paintPalette(p, s, t); break;
    case Kind::TwoButtonFrame: paintTwoButtonFrame(p, s, t); break;
    case Kind::ResetButton: button(p, s, t, resetGlyph(), 15); break;
    case Kind::ApplyButton: button(p, s, t, applyGlyph(), 15); break;
    case Kind::Mask: paintMask(p, s, t); break;
    case Kind::FileListBase: paintFileListBase(p, s, t); break;
    case Kind::AddButton: button(p, s, t, plusGlyph(true), 15); break;
    case Kind::DeleteButton: button(p, s, t, plusGlyph(false), 15); break;
    case Kind::RecordButton: {
        Glyph dot;
        dot.solid.addEllipse(QPointF(12, 12), 6.5, 6.5);
        button(p, s, t, dot, 15, s.state ? t.record : QColor());
        break;
    }
    case Kind::StopButton: {
        Glyph sq;
        sq.solid.addRect(QRectF(6, 6, 12, 12));
        button(p, s, t, sq, 15);
        break;
    }
    case Kind::SolidDelete: button(p, s, t, trashGlyph(), 15); break;
    case Kind::SolidCut: button(p, s, t, scissorsGlyph(), 15); break;
    case Kind::SolidPaste: button(p, s, t, pasteGlyph(), 15); break;
    case Kind::SolidCopy: button(p, s, t, copyGlyph(), 15); break;
    case Kind::FileListFrame: paintFileListFrame(p, s, t); break;
    case Kind::ButtonFrame: paintButtonFrame(p, s, t); break;
    case Kind::KeyCap: paintKeyCap(p, s, t); break;
    }
    p.end();
    return img;
}

}  // namespace skin
