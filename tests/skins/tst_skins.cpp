// The generated skins against everything that names a skin image: the UI
// documents, the hardware definition's key types and the documented size table.
#include "imagerefs.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include <set>

using skinrefs::ImageRef;

namespace {

const QStringList kSkins = {QStringLiteral("skin1"), QStringLiteral("skin2")};

QString skinDir(const QString &skin)
{
    return QStringLiteral(K3_MODULES_DIR "/img/") + skin;
}

QStringList pngFiles(const QString &dir)
{
    const QDir root(QFileInfo(dir).absoluteFilePath());
    QStringList out;
    QDirIterator it(root.path(), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << root.relativeFilePath(QFileInfo(it.next()).absoluteFilePath());
    out.sort();
    return out;
}

// Reads a file as a PNG, by content rather than by name.
QImage loadPng(const QString &path)
{
    QImage img;
    img.load(path, "PNG");
    return img;
}

// Key types drawn by the hardware definition: the third value of every key
// list in every layout section.
std::set<int> hwdefKeyTypes(const QString &path)
{
    std::set<int> types;
    QSettings ini(path, QSettings::IniFormat);
    for (const QString &group : ini.childGroups()) {
        if (group == QLatin1String("common"))
            continue;
        ini.beginGroup(group);
        for (const QString &key : ini.childKeys()) {
            const QStringList v = ini.value(key).toStringList();
            bool ok = false;
            const int type = v.size() >= 3 ? v[2].trimmed().toInt(&ok) : 0;
            if (ok && type != 0)
                types.insert(type);
        }
        ini.endGroup();
    }
    return types;
}

// Pixels whose colour or alpha differs noticeably.
int differingPixels(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    int n = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < x.width(); ++c) {
            const QRgb p = x.pixel(c, r), q = y.pixel(c, r);
            const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                    std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            if (d > 24)
                ++n;
        }
    return n;
}

}  // namespace

class TestSkins : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(QDir(QStringLiteral(K3_QML_DIR)).exists(), "UI document folder not found: " K3_QML_DIR);
        for (const QString &s : kSkins)
            QVERIFY2(!pngFiles(skinDir(s)).isEmpty(), qPrintable(skinDir(s) + " holds no images; build k3_skins"));
    }

    // The scanner turns the ways documents spell image names into patterns.
    void scanner_data()
    {
        QTest::addColumn<QString>("qml");
        QTest::addColumn<QStringList>("patterns");
        const auto row = [](const char *name, const char *qml, QStringList p) {
            QTest::newRow(name) << QString::fromUtf8(qml) << p;
        };
        row("root property", "property string sourceAS0: \"file:modules/img/skin\" + skin_No + \"/list_up/applicationSetting_0.png\"",
            {"list_up/applicationSetting_0.png"});
        row("fixed skin", "sourceICON0: \"file:modules/img/skin1/list_fn/fnKeydefine_0.png\"", {"list_fn/fnKeydefine_0.png"});
        row("key cap", "src0: \"file:modules/img/skin\" + mainIten.skin_No + \"/model_kb/k\" + keyType + \"-0.png\"",
            {"model_kb/k*-0.png"});
        row("relative cap", "source: base + \"model_kb/k\" + keyType + \"-1.png\"", {"model_kb/k*-1.png"});
        // Nothing is known of this name but its extension: nothing to check.
        row("call and ternary", "source: dir(\"frame\") + (hovered ? \"web_1\" : \"web_0\") + \".png\"", {});
        row("call before name", "source: skinDir(n) + \"/common/mask.png\"", {"common/mask.png"});
        row("template", "source: `file:modules/img/skin${skin_No}/frame/web_${s}.png`", {"frame/web_*.png"});
        row("ternary names", "source: m.containsMouse ? \"frame/web_1.png\" : \"frame/web_0.png\"",
            {"frame/web_1.png", "frame/web_0.png"});
        row("comments skipped", "// \"common/old.png\"\n/* \"common/older.png\" */ x: 1", {});
        row("not skins", "a: \"qrc:modules/qml/x.png\"; b: \"/usr/share/x.png\"; c: \"file:modules/media/x.png\"; d: \"http://h/x.png\"", {});
    }
    void scanner()
    {
        QFETCH(QString, qml);
        QFETCH(QStringList, patterns);
        QStringList found;
        for (const ImageRef &r : skinrefs::scanDocument(qml))
            found << r.pattern;
        QCOMPARE(found, patterns);
    }

    // Every image name a UI document can build exists in every skin and loads.
    void documentImages_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("anchor");
        QDirIterator it(QStringLiteral(K3_QML_DIR), {QStringLiteral("*.qml"), QStringLiteral("*.js")}, QDir::Files,
                        QDirIterator::Subdirectories);
        int rows = 0;
        while (it.hasNext()) {
            const QString file = it.next();
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QString rel = QDir(QStringLiteral(K3_QML_DIR)).relativeFilePath(file);
            for (const ImageRef &r : skinrefs::scanDocument(QString::fromUtf8(f.readAll())))
                for (const QString &s : kSkins) {
                    QTest::addRow("%s %s:%d %s", qPrintable(s), qPrintable(rel), r.line, qPrintable(r.pattern))
                        << s << r.pattern << int(r.anchor);
                    ++rows;
                }
        }
        if (rows == 0)
            QTest::newRow("no document names a skin image yet") << QString() << QString() << 0;
    }
    void documentImages()
    {
        QFETCH(QString, skin);
        QFETCH(QString, pattern);
        QFETCH(int, anchor);
        if (skin.isEmpty())
            QSKIP("no UI document names a skin image yet");
        ImageRef ref;
        ref.pattern = pattern;
        ref.anchor = ImageRef::Anchor(anchor);
        const QStringList hits = pngFiles(skinDir(skin)).filter(ref.regex());
        QVERIFY2(!hits.isEmpty(), qPrintable(QStringLiteral("no image in %1 matches %2").arg(skin, pattern)));
        for (const QString &h : hits)
            QVERIFY2(!loadPng(skinDir(skin) + '/' + h).isNull(), qPrintable(h + " does not load as PNG"));
    }

    // A cap and a selection frame for every key type the keyboard can draw:
    // the shared type table 1..10 plus whatever the hardware definition uses.
    void keyCaps_data()
    {
        QTest::addColumn<QString>("skin");
        QTest::addColumn<int>("type");
        std::set<int> types = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        const std::set<int> fromHwdef = hwdefKeyTypes(QStringLiteral(K3_MODULES_DIR "/setting/HWDef.bin"));
        types.insert(fromHwdef.begin(), fromHwdef.end());
        for (const QString &s : kSkins)
            for (int t : types)
                QTest::addRow("%s k%d", qPrintable(s), t) << s << t;
    }
    void keyCaps()
    {
        QFETCH(QString, skin);
        QFETCH(int, type);
        const QImage cap = loadPng(skinDir(skin) + QStringLiteral("/model_kb/k%1-0.png").arg(type));
        const QImage frame = loadPng(skinDir(skin) + QStringLiteral("/model_kb/k%1-1.png").arg(type));
        QVERIFY2(!cap.isNull() && !frame.isNull(), "cap or selection frame missing");
        QCOMPARE(frame.size(), cap.size());
        // A cap is opaque in its middle, where the label goes.
        QCOMPARE(qAlpha(cap.pixel(cap.width() / 2, cap.height() / 2)), 255);
    }

    // Both states of an element: equal sizes, visibly different pixels.
    void statePairs_data()
    {
        QTest::addColumn<QString>("normal");
        QTest::addColumn<QString>("hot");
        static const QRegularExpression state0(QStringLiteral("^(.*[_-])0\\.png$"));
        for (const QString &s : kSkins)
            for (const QString &f : pngFiles(skinDir(s))) {
                const QRegularExpressionMatch m = state0.match(f);
                if (m.hasMatch())
                    QTest::addRow("%s %s", qPrintable(s), qPrintable(f))
                        << skinDir(s) + '/' + f << skinDir(s) + '/' + m.captured(1) + QStringLiteral("1.png");
            }
    }
    void statePairs()
    {
        QFETCH(QString, normal);
        QFETCH(QString, hot);
        const QImage a = loadPng(normal), b = loadPng(hot);
        QVERIFY2(!a.isNull(), "normal state does not load");
        QVERIFY2(!b.isNull(), "hovered/selected state missing or does not load");
        QCOMPARE(b.size(), a.size());
        const int changed = differingPixels(a, b);
        const int needed = std::max(4, a.width() * a.height() / 50);
        QVERIFY2(changed >= needed, qPrintable(QStringLiteral("only %1 of %2 pixels differ").arg(changed).arg(a.width() * a.height())));
    }

    // Switching skins must not move anything: same names, same sizes.
    void skinsAgree()
    {
        const QString first = skinDir(kSkins.first());
        const QStringList names = pngFiles(first);
        for (const QString &s : kSkins.mid(1)) {
            QCOMPARE(pngFiles(skinDir(s)), names);
            for (const QString &n : names) {
                const QImage a = loadPng(first + '/' + n), b = loadPng(skinDir(s) + '/' + n);
                QVERIFY2(!a.isNull() && !b.isNull(), qPrintable(n + " does not load"));
                QVERIFY2(a.size() == b.size(), qPrintable(n + " differs in size between skins"));
            }
        }
    }

    // The size table of docs/skins.md is the layout contract; the images keep to it.
    void documentedSizes_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QFile doc(QStringLiteral(K3_SOURCE_DIR "/docs/skins.md"));
        QVERIFY2(doc.open(QIODevice::ReadOnly), "docs/skins.md missing");
        static const QRegularExpression row(QStringLiteral("^\\|([^|]*\\.png[^|]*)\\|\\s*(\\d+) × (\\d+)\\s*\\|"));
        static const QRegularExpression name(QStringLiteral("`([^`]+\\.png)`"));
        const QStringList lines = QString::fromUtf8(doc.readAll()).split(QLatin1Char('\n'));
        for (const QString &l : lines) {
            const QRegularExpressionMatch m = row.match(l);
            if (!m.hasMatch())
                continue;
            const QSize size(m.captured(2).toInt(), m.captured(3).toInt());
            QRegularExpressionMatchIterator it = name.globalMatch(m.captured(1));
            while (it.hasNext()) {
                const QString n = it.next().captured(1);
                QTest::newRow(qPrintable(n)) << n << size;
            }
        }
    }
    void documentedSizes()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        for (const QString &s : kSkins) {
            const QImage img = loadPng(skinDir(s) + '/' + name);
            QVERIFY2(!img.isNull(), qPrintable(s + '/' + name + " missing"));
            QCOMPARE(img.size(), size);
        }
    }

    void everyImageDocumented()
    {
        QFile doc(QStringLiteral(K3_SOURCE_DIR "/docs/skins.md"));
        QVERIFY(doc.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(doc.readAll());
        for (const QString &n : pngFiles(skinDir(kSkins.first())))
            QVERIFY2(text.contains('`' + n + '`'), qPrintable(n + " is not in the size table of docs/skins.md"));
    }
};

QTEST_GUILESS_MAIN(TestSkins)
#include "tst_skins.moc"
