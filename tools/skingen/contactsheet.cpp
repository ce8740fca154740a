// Contact sheet: every image of the given skin folders on one PNG, each name
// once with the skins side by side, for review at a glance.
#include "skin.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QMap>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace skin {

namespace {

constexpr int kSheetWidth = 1800;
constexpr int kMaxImageWidth = 420;
constexpr int kGap = 12;
constexpr int kLabelHeight = 18;

QStringList pngFiles(const QString &dir)
{
    const QDir root(QFileInfo(dir).absoluteFilePath());
    QStringList out;
    QDirIterator it(root.path(), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << root.relativeFilePath(QFileInfo(it.next()).absoluteFilePath());
    return out;
}

// Small images are doubled (without smoothing) so their edges can be judged;
// large ones are reduced to fit.
qreal scaleFor(const QSize &s)
{
    if (s.width() > kMaxImageWidth)
        return qreal(kMaxImageWidth) / s.width();
    if (s.width() * 2 <= kMaxImageWidth && s.height() * 2 <= 130)
        return 2.0;
    return 1.0;
}

void checkerboard(QPainter &p, const QRect &r)
{
    p.fillRect(r, QColor(0x2b, 0x2b, 0x2b));
    const int c = 8;
    for (int y = r.top(); y <= r.bottom(); y += c)
        for (int x = r.left() + (((y - r.top()) / c) % 2) * c; x <= r.right(); x += 2 * c)
            p.fillRect(QRect(x, y, c, c).intersected(r), QColor(0x38, 0x38, 0x38));
}

struct Cell {
    QString name;
    QVector<QImage> images;  // per skin, each state in turn; null when missing
    QVector<int> gaps;       // space before each image
    QSize size;
};

// The two states of an element share one cell: "common/add_0.png" and
// "common/add_1.png" become the group "common/add_" with suffixes 0 and 1.
QVector<QStringList> groupStates(const QStringList &names)
{
    static const QRegularExpression state(QStringLiteral("^(.*[_-])([01])\\.png$"));
    QVector<QStringList> groups;
    QMap<QString, int> byStem;
    for (const QString &n : names) {
        const QRegularExpressionMatch m = state.match(n);
        if (!m.hasMatch()) {
            groups.append({n});
            continue;
        }
        const auto it = byStem.constFind(m.captured(1));
        if (it == byStem.constEnd()) {
            byStem.insert(m.captured(1), groups.size());
            groups.append({n});
        } else {
            groups[*it].append(n);
        }
    }
    return groups;
}

}  // namespace

bool writeContactSheet(const QStringList &skinDirs, const QString &outFile, QString *error)
{
    QStringList names;
    for (const QString &d : skinDirs)
        names << pngFiles(d);
    names.removeDuplicates();
    std::sort(names.begin(), names.end());
    if (names.isEmpty()) {
        if (error)
            *error = QStringLiteral("no images found in %1").arg(skinDirs.join(QStringLiteral(", ")));
        return false;
    }

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    const QFontMetrics fm(font);

    QVector<Cell> cells;
    for (const QStringList &group : groupStates(names)) {
        Cell c;
        int w = 0, h = 0;
        for (const QString &d : skinDirs) {
            for (int k = 0; k < group.size(); ++k) {
                QImage img(QDir(d).filePath(group[k]));
                const QSize shown = img.isNull() ? QSize(40, 40) : img.size() * scaleFor(img.size());
                const int gap = c.images.isEmpty() ? 0 : (k == 0 ? kGap : kGap / 4);
                w += gap + shown.width();
                h = std::max(h, shown.height());
                c.images << img;
                c.gaps << gap;
            }
        }
        QString label = group.first();
        if (group.size() == 2)
            label.replace(label.size() - 5, 1, QStringLiteral("0|1"));
        const QImage &first = c.images.first();
        label += QStringLiteral("  ") + (first.isNull() ? QStringLiteral("?")
                                                       : QStringLiteral("%1×%2").arg(first.width()).arg(first.height()));
        c.name = label;
        c.size = QSize(std::max(w, fm.horizontalAdvance(label)), h + kLabelHeight);
        cells << c;
    }

    // Flow layout: rows of cells, each row as high as its tallest cell.
    QVector<QPoint> pos(cells.size());
    int x = kGap, y = kGap + 24, rowH = 0;
    for (int i = 0; i < cells.size(); ++i) {
        if (x + cells[i].size.width() > kSheetWidth - kGap && x > kGap) {
            x = kGap;
            y += rowH + kGap;
            rowH = 0;
        }
        pos[i] = QPoint(x, y);
        x += cells[i].size.width() + 2 * kGap;
        rowH = std::max(rowH, cells[i].size.height());
    }
    const int height = y + rowH + kGap;

    QImage sheet(kSheetWidth, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0x16, 0x16, 0x16));
    QPainter p(&sheet);
    p.setFont(font);
    p.setPen(QColor(0xdd, 0xdd, 0xdd));
    QStringList legend;
    for (const QString &d : skinDirs)
        legend << QFileInfo(d).fileName();
    p.drawText(QPoint(kGap, kGap + 10),
               QStringLiteral("Each cell, left to right: %1; state pairs show normal then hovered/selected")
                   .arg(legend.join(QStringLiteral(", "))));

    for (int i = 0; i < cells.size(); ++i) {
        const Cell &c = cells[i];
        p.setPen(QColor(0xdd, 0xdd, 0xdd));
        p.drawText(QPoint(pos[i].x(), pos[i].y() + fm.ascent()), c.name);
        int ix = pos[i].x();
        const int iy = pos[i].y() + kLabelHeight;
        for (int k = 0; k < c.images.size(); ++k) {
            const QImage &img = c.images[k];
            ix += c.gaps[k];
            if (img.isNull()) {
                const QRect r(ix, iy, 40, 40);
                p.fillRect(r, QColor(0xa0, 0x10, 0x10));
                ix += r.width();
                continue;
            }
            const qreal s = scaleFor(img.size());
            const QRect r(QPoint(ix, iy), img.size() * s);
            checkerboard(p, r);
            p.setRenderHint(QPainter::SmoothPixmapTransform, s < 1.0);
            p.drawImage(r, img);
            ix += r.width();
        }
    }
    p.end();
    if (!sheet.save(outFile, "PNG")) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(outFile);
        return false;
    }
    return true;
}

}  // namespace skin
