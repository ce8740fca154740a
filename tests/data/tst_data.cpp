// Checks the runtime data that the build stages beside the program: every file loads the way
// the program reads it, and the layout honours what the pages and the lighting preview expect.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRect>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kModules = QStringLiteral(K3_MODULES_DIR);
const QString kSource = QStringLiteral(K3_DATA_SOURCE_DIR);

QString modulePath(const QString &rel) { return kModules + QLatin1Char('/') + rel; }

struct Key {
    int x = 0, y = 0, type = 0;
    QString label;
    int matrix = -1;
    uint code = 0;
    QRect rect() const;
    QList<QRect> shape() const;
};

// Cap sizes the skins draw for each key type (30 px per unit, 2 px between caps).
QSize capSize(int type)
{
    static const int widths[] = {0, 28, 36, 43, 51, 58, 66, 81, 186, 28, 43};
    if (type < 1 || type > 10)
        return {};
    return {widths[type], type >= 9 ? 58 : 28};
}

QRect Key::rect() const { return {QPoint(x, y), capSize(type)}; }

// The ISO Enter is an L: 1.5 units wide in its upper row, 1.25 units (right-aligned) below.
QList<QRect> Key::shape() const
{
    if (type == 10)
        return {QRect(x, y, 43, 28), QRect(x + 7, y, 36, 58)};
    return {rect()};
}

bool overlap(const Key &a, const Key &b)
{
    for (const QRect &ra : a.shape())
        for (const QRect &rb : b.shape())
            if (ra.intersects(rb))
                return true;
    return false;
}

// Reads layout L the way the view's loadHWDef does; fails the test on a malformed entry.
QList<Key> readLayout(int layout)
{
    QSettings ini(modulePath("setting/HWDef.bin"), QSettings::IniFormat);
    const QString group = QString::number(layout);
    const int total = ini.value(group + "/total_HW").toInt();
    QList<Key> keys;
    for (int n = 1; n <= total; ++n) {
        const QStringList v = ini.value(group + '/' + QString::number(n)).toStringList();
        if (v.size() != 6) {
            qWarning() << "key" << group << n << "has" << v.size() << "values:" << v;
            return {};
        }
        bool ok[5];
        Key k;
        k.x = v[0].toInt(&ok[0]);
        k.y = v[1].toInt(&ok[1]);
        k.type = v[2].toInt(&ok[2]);
        k.label = v[3];
        k.matrix = v[4].toInt(&ok[3]);
        k.code = v[5].toUInt(&ok[4]);
        for (bool b : ok) {
            if (!b) {
                qWarning() << "key" << group << n << "has a non-numeric field:" << v;
                return {};
            }
        }
        keys.append(k);
    }
    return keys;
}

QHash<int, Key> byMatrix(const QList<Key> &keys)
{
    QHash<int, Key> map;
    for (const Key &k : keys)
        map.insert(k.matrix, k);
    return map;
}

// Name -> code and code -> name of the key name table.
struct KeyNames {
    QStringList names;
    QStringList codes;
};

KeyNames readKeyNames()
{
    QSettings ini(modulePath("setting/KeyCodeDef.bin"), QSettings::IniFormat);
    return {ini.value("common/usbStr").toStringList(), ini.value("common/usbCode").toStringList()};
}

// Gap in pixels between two rectangles along each axis (0 when they overlap on that axis).
QPoint gap(const QRect &a, const QRect &b)
{
    const int dx = std::max(0, std::max(a.left(), b.left()) - std::min(a.right(), b.right()) - 1);
    const int dy = std::max(0, std::max(a.top(), b.top()) - std::min(a.bottom(), b.bottom()) - 1);
    return {dx, dy};
}

bool runSeed(const QString &modules)
{
    QProcess p;
    p.start(QStringLiteral(K3_CMAKE_COMMAND),
            {"-DSRC=" + kSource, "-DMODULES=" + modules, "-P", kSource + "/seed.cmake"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        qWarning() << p.readAllStandardError();
        return false;
    }
    return true;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

} // namespace

class TestData : public QObject
{
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void labelsSurviveTheIniFormat_data();
    void labelsSurviveTheIniFormat();
    void lightingLandmarks();
    void trails_data();
    void trails();
    void keyNames();
    void keyNamesSurviveTheIniFormat_data();
    void keyNamesSurviveTheIniFormat();
    void defaultProfile();
    void configuration();
    void languages_data();
    void languages();
    void media_data();
    void media();
    void updater();
    void seedingKeepsUserFiles();
};

void TestData::layout_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("ANSI (1)") << 1;
    QTest::newRow("UK (0)") << 0;
}

// Every key has six values, a unique matrix position below 128, a key type the skins draw,
// a label, a default code with a name, and a cap that overlaps no other and fits the pages.
void TestData::layout()
{
    QFETCH(int, layout);
    QSettings ini(modulePath("setting/HWDef.bin"), QSettings::IniFormat);
    QCOMPARE(ini.value("common/kbLayoutType").toInt(), 1);
    QCOMPARE(ini.value("common/maxProfile").toInt(), 10);
    QCOMPARE(ini.value("common/maxMacro").toInt(), 8);
    QCOMPARE(ini.value(QString::number(layout) + "/total_FW").toInt(), 128);
    const int total = ini.value(QString::number(layout) + "/total_HW").toInt();

    const QList<Key> keys = readLayout(layout);
    QVERIFY(!keys.isEmpty());
    QCOMPARE(keys.size(), total);

    const KeyNames names = readKeyNames();
    QSet<uint> namedCodes;
    for (const QString &c : names.codes)
        namedCodes.insert(c.toUInt());

    QSet<int> seen;
    for (const Key &k : keys) {
        const QByteArray what = QStringLiteral("key %1 (%2)").arg(k.matrix).arg(k.label).toUtf8();
        QVERIFY2(k.matrix >= 0 && k.matrix < 128, what);
        QVERIFY2(!seen.contains(k.matrix), what);
        seen.insert(k.matrix);
        QVERIFY2(k.type >= 1 && k.type <= 10, what);
        QVERIFY2(!k.label.trimmed().isEmpty(), what);
        QVERIFY2(namedCodes.contains(k.code), what);
        QVERIFY2(QRect(0, 0, 700, 220).contains(k.rect()), what);
    }
    for (int i = 0; i < keys.size(); ++i)
        for (int j = i + 1; j < keys.size(); ++j)
            QVERIFY2(!overlap(keys[i], keys[j]),
                     qPrintable(QStringLiteral("keys %1 and %2 overlap").arg(keys[i].matrix).arg(keys[j].matrix)));
}

void TestData::labelsSurviveTheIniFormat_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("matrix");
    QTest::addColumn<QString>("label");
    QTest::newRow("comma") << 1 << 71 << ",";
    QTest::newRow("semicolon") << 1 << 57 << ";";
    QTest::newRow("equals") << 1 << 27 << "=";
    QTest::newRow("backslash") << 1 << 44 << "\\";
    QTest::newRow("ISO backslash") << 0 << 77 << "\\";
    QTest::newRow("hash") << 0 << 62 << "#";
    QTest::newRow("arrow (UTF-8)") << 1 << 79 << QString::fromUtf8("\u2191");
}

void TestData::labelsSurviveTheIniFormat()
{
    QFETCH(int, layout);
    QFETCH(int, matrix);
    QFETCH(QString, label);
    const QHash<int, Key> keys = byMatrix(readLayout(layout));
    QVERIFY(keys.contains(matrix));
    QCOMPARE(keys[matrix].label, label);
}

// The pages and the preview rely on: 89 = Fn; 41, 42 above 57, 58 as a 2 x 2 block near the
// middle; 61 and 76 carry the codes the keyboard copies into them from 60 and 75.
void TestData::lightingLandmarks()
{
    for (int layout : {1, 0}) {
        const QHash<int, Key> k = byMatrix(readLayout(layout));
        QVERIFY(k.contains(89));
        QCOMPARE(k[89].label, QStringLiteral("Fn"));
        for (int m : {41, 42, 57, 58})
            QVERIFY2(k.contains(m), qPrintable(QString::number(m)));
        QCOMPARE(k[41].y, k[42].y);
        QCOMPARE(k[57].y, k[58].y);
        QVERIFY(k[41].x < k[42].x && k[57].x < k[58].x);
        QCOMPARE(k[57].y - k[41].y, 30);
        QVERIFY(gap(k[41].rect(), k[42].rect()).x() <= 2 && gap(k[57].rect(), k[58].rect()).x() <= 2);
        QVERIFY(gap(k[41].rect(), k[57].rect()).x() == 0 && gap(k[42].rect(), k[58].rect()).x() == 0);

        int left = INT_MAX, right = 0;
        for (const Key &key : k) {
            left = std::min(left, key.rect().left());
            right = std::max(right, key.rect().right());
        }
        const int centre = (k[41].rect().center().x() + k[58].rect().center().x()) / 2;
        QVERIFY(std::abs(centre - (left + right) / 2) < (right - left) / 8);

        for (auto [copy, source] : {std::pair{61, 60}, std::pair{76, 75}}) {
            if (k.contains(copy)) {
                QVERIFY(k.contains(source));
                QCOMPARE(k[copy].code, k[source].code);
            }
        }
        if (layout == 1)
            QVERIFY(k.contains(61) && k.contains(76));
    }
}

void TestData::trails_data()
{
    QTest::addColumn<int>("layout");
    QTest::addColumn<QList<int>>("trail");
    const QList<int> first{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 27, 43, 59, 74, 73, 57, 41};
    const QList<int> second{115, 109, 100, 79, 95, 94, 91, 90, 89, 88, 72, 56, 40, 25, 26, 42, 58};
    QTest::newRow("ANSI first") << 1 << first;
    QTest::newRow("ANSI second") << 1 << second;
    QTest::newRow("UK first") << 0 << first;
    QTest::newRow("UK second") << 0 << second;
}

// The preview's two trails step from key to neighbouring key: within one row across at most
// the gap between key blocks, or between rows with overlapping or touching caps.
void TestData::trails()
{
    QFETCH(int, layout);
    QFETCH(QList<int>, trail);
    const QHash<int, Key> k = byMatrix(readLayout(layout));
    for (int i = 0; i + 1 < trail.size(); ++i) {
        const int a = trail[i], b = trail[i + 1];
        QVERIFY2(k.contains(a) && k.contains(b), qPrintable(QStringLiteral("%1 -> %2").arg(a).arg(b)));
        const QPoint g = gap(k[a].rect(), k[b].rect());
        const bool sameRow = k[a].y == k[b].y && g.x() <= 40;
        const bool nextRow = g.y() <= 17 && g.x() <= 2;
        QVERIFY2(sameRow || nextRow,
                 qPrintable(QStringLiteral("%1 (%2) -> %3 (%4) are not neighbours")
                                .arg(a).arg(k[a].label).arg(b).arg(k[b].label)));
    }
}

// Names and codes pair one to one: a repeated name or code would hide another key.
void TestData::keyNames()
{
    const KeyNames kn = readKeyNames();
    QVERIFY(kn.names.size() > 100);
    QCOMPARE(kn.names.size(), kn.codes.size());
    QSet<QString> names;
    QSet<uint> codes;
    for (int i = 0; i < kn.names.size(); ++i) {
        bool ok = false;
        const uint code = kn.codes[i].toUInt(&ok);
        QVERIFY2(ok && code > 0 && code < 256, qPrintable(kn.codes[i]));
        QVERIFY2(!kn.names[i].isEmpty() && kn.names[i] == kn.names[i].trimmed(), qPrintable(kn.names[i]));
        QVERIFY2(!names.contains(kn.names[i]), qPrintable(kn.names[i]));
        QVERIFY2(!codes.contains(code), qPrintable(kn.codes[i]));
        names.insert(kn.names[i]);
        codes.insert(code);
    }
}

void TestData::keyNamesSurviveTheIniFormat_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<uint>("code");
    QTest::newRow("comma") << "," << 0x36u;
    QTest::newRow("semicolon") << ";" << 0x33u;
    QTest::newRow("equals") << "=" << 0x2Eu;
    QTest::newRow("backslash") << "\\" << 0x31u;
    QTest::newRow("ISO backslash") << "Non-US \\" << 0x64u;
    QTest::newRow("ISO hash") << "Non-US #" << 0x32u;
    QTest::newRow("keypad comma") << "Num ," << 0x85u;
    QTest::newRow("keypad equals") << "Num =" << 0x67u;
    QTest::newRow("space") << "Space" << 0x2Cu;
}

void TestData::keyNamesSurviveTheIniFormat()
{
    QFETCH(QString, name);
    QFETCH(uint, code);
    const KeyNames kn = readKeyNames();
    const int i = kn.names.indexOf(name);
    QVERIFY2(i >= 0, qPrintable(name));
    QCOMPARE(kn.codes.value(i).toUInt(), code);
}

// The default profile is what a reset writes into a profile: its key table must give every
// key its default code, or a reset followed by apply would silence keys.
void TestData::defaultProfile()
{
    QSettings ini(modulePath("setting/pD.bin"), QSettings::IniFormat);
    const QStringList led = ini.value("color/ledType").toStringList();
    QCOMPARE(led.size(), 7);
    const int effect = led[0].toInt();
    QVERIFY((effect >= 0 && effect <= 0x0B) || (effect >= 0x33 && effect <= 0x37));
    QVERIFY(led[1].toInt() >= 0 && led[1].toInt() <= 63);
    QVERIFY(led[2].toInt() >= 1 && led[2].toInt() <= 7);
    QVERIFY(led[3].toInt() == 0 || led[3].toInt() == 1);
    QVERIFY(led[4].toInt() >= 0 && led[4].toInt() <= 7);
    QVERIFY((led[5].toInt() & 0x1F) <= 3);
    QVERIFY(led[6].toInt() >= 0 && led[6].toInt() < 128);

    const QStringList colours = ini.value("color/color").toStringList();
    QCOMPARE(colours.size(), 21);
    for (const QString &c : colours)
        QVERIFY(c.toInt() >= 0 && c.toInt() <= 255);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(ini.value("userPicture/" + QString::number(i)).toStringList().size(), 512);

    const QHash<int, Key> keys = byMatrix(readLayout(1));
    for (int m = 0; m < 128; ++m) {
        const QStringList pair = ini.value("keydefine1/" + QString::number(m)).toStringList();
        const uint code = keys.contains(m) ? keys[m].code : 0;
        QCOMPARE(pair, (QStringList{QString::number(code & 0xFF), QString::number(code >> 8)}));
    }
}

void TestData::configuration()
{
    QSettings ini(modulePath("setting/apConfigD.bin"), QSettings::IniFormat);
    QCOMPARE(ini.value("common/name").toString(), QStringLiteral("K3 Gaming Keyboard"));
    QCOMPARE(ini.value("common/product_name").toStringList().value(0), QStringLiteral("K3 Gaming Keyboard"));
    QCOMPARE(ini.value("common/total").toInt(), 32);
    QStringList c;
    for (int i = 0; i < 32; ++i) {
        const QVariant v = ini.value("common/" + QString::number(i));
        QVERIFY2(v.isValid(), qPrintable(QString::number(i)));
        QCOMPARE(v.typeId(), QMetaType::QString); // a comma would turn it into a list
        c << v.toString();
    }
    QCOMPARE(c[0], QStringLiteral("1"));
    QVERIFY(c[1] == "1" || c[1] == "2");
    QVERIFY(c[5] == "false" && c[6].isEmpty());
    for (int i = 8; i <= 28; ++i)
        QVERIFY(c[i].toInt() >= 0 && c[i].toInt() <= 255);
    QVERIFY(c[29].toInt() >= 0 && c[29].toInt() <= 6);
    QVERIFY(c[30].toInt() >= 0 && c[30].toInt() <= 7);
    QVERIFY(c[31].startsWith("https://"));

    // Position 4 is the language menu position; the menu lists the installed languages sorted
    // by display name, so a new language file can move English away from the stored position.
    static const QHash<QString, QString> displayNames{
        {"031000", "ENGLISH"}, {"025044", "CHINESE (Simp)"}, {"042000", "GERMAN"},
        {"037000", "FRENCH"}, {"059000", "JAPANESE"}, {"111000", "SPANISH"}};
    QStringList menu;
    for (const QString &file : QDir(modulePath("i18n")).entryList({"lang_*.ini"})) {
        const QString code = file.mid(5, 6);
        QVERIFY2(displayNames.contains(code), qPrintable("add the display name of " + file + " here"));
        menu << displayNames[code];
    }
    menu.sort();
    QCOMPARE(menu.value(c[4].toInt()), QStringLiteral("ENGLISH"));
}

void TestData::languages_data()
{
    QTest::addColumn<QString>("file");
    const QStringList files = QDir(modulePath("i18n")).entryList({"lang_*.ini"}, QDir::Files, QDir::Name);
    QVERIFY(files.contains("lang_031000.ini") && files.contains("lang_025044.ini"));
    QVERIFY(files.size() >= 4);
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << f;
}

// Every UI string and message exists as one text: an unquoted comma would make a value a
// list, which the program reads as an empty text.
void TestData::languages()
{
    QFETCH(QString, file);
    QVERIFY(QRegularExpression("^lang_\\d{6}\\.ini$").match(file).hasMatch());
    const QByteArray raw = readAll(modulePath("i18n/" + file));
    QVERIFY(!raw.isEmpty());
    QVERIFY2(QString::fromUtf8(raw).toUtf8() == raw, "not valid UTF-8");

    QSettings ini(modulePath("i18n/" + file), QSettings::IniFormat);
    QVERIFY(!ini.value("font/family").toString().isEmpty());
    const int total = ini.value("font/total").toInt();
    QVERIFY(total >= 114);
    for (int k = 1; k <= total; ++k) {
        const QVariant v = ini.value("strings/" + QString::number(k));
        QVERIFY2(v.typeId() == QMetaType::QString && !v.toString().trimmed().isEmpty(),
                 qPrintable("string " + QString::number(k)));
    }
    for (int m = 0; m < 4; ++m) {
        const QVariant v = ini.value("msg/" + QString::number(m));
        QVERIFY2(v.typeId() == QMetaType::QString && !v.toString().trimmed().isEmpty(),
                 qPrintable("msg " + QString::number(m)));
    }
}

void TestData::media_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("minSeconds");
    QTest::addColumn<double>("maxSeconds");
    QTest::newRow("start-up chime") << "01.wav" << 0.3 << 3.0;
    QTest::newRow("page switch") << "02.wav" << 0.03 << 1.0;
    QTest::newRow("link click") << "03.wav" << 0.05 << 1.5;
    QTest::newRow("button click") << "04.wav" << 0.01 << 0.5;
}

// Short sounds are PCM WAV files of a sensible length with sound in them.
void TestData::media()
{
    QFETCH(QString, file);
    QFETCH(double, minSeconds);
    QFETCH(double, maxSeconds);
    const QByteArray wav = readAll(modulePath("media/" + file));
    QVERIFY2(wav.size() > 44 && wav.startsWith("RIFF") && wav.mid(8, 4) == "WAVE", qPrintable(file));
    const auto le32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
    const quint32 byteRate = le32(28);
    const int dataAt = wav.indexOf("data", 12);
    QVERIFY(byteRate > 0 && dataAt > 0);
    const double seconds = double(le32(dataAt + 4)) / byteRate;
    QVERIFY2(seconds >= minSeconds && seconds <= maxSeconds, qPrintable(QString::number(seconds)));
    int peak = 0;
    for (int i = dataAt + 8; i + 1 < wav.size(); i += 2)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(wav.constData() + i))));
    QVERIFY(peak > 3000);

    const QByteArray mp3 = readAll(modulePath("media/00.mp3"));
    QVERIFY(mp3.size() > 50000);
    QVERIFY(mp3.startsWith("ID3") || (uchar(mp3[0]) == 0xFF && (uchar(mp3[1]) & 0xE0) == 0xE0));
}

// The update button starts this path; the stand-in must run and end on its own.
void TestData::updater()
{
    const QString exe = modulePath("update/UX318.exe");
    QVERIFY(QFileInfo(exe).isExecutable());
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(exe, {});
    QVERIFY(p.waitForFinished(15000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    QVERIFY(!p.readAllStandardOutput().trimmed().isEmpty());
}

// A rebuild seeds what is missing and never replaces the user's configuration, profiles or
// macros; a renamed macro keeps its slot, so no default macro is added beside it.
void TestData::seedingKeepsUserFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString m = dir.path();
    QVERIFY(runSeed(m));

    QCOMPARE(readAll(m + "/setting/apConfig.bin"), readAll(kSource + "/setting/apConfigD.bin"));
    for (int n = 1; n <= 10; ++n)
        QCOMPARE(readAll(m + "/setting/p" + QString::number(n) + ".bin"), readAll(kSource + "/setting/pD.bin"));
    QVERIFY(!QFile::exists(m + "/setting/p11.bin"));
    const QStringList macros = QDir(m + "/macro").entryList({"*.bin"}, QDir::Files, QDir::Name);
    QCOMPARE(macros.size(), 8);
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("Macro. %1.bin").arg(i + 1, 3, 10, QLatin1Char('0'));
        QCOMPARE(macros[i], name);
        QSettings mc(m + "/macro/" + name, QSettings::IniFormat);
        QCOMPARE(mc.value("config/index").toInt(), i);
        QCOMPARE(mc.value("config/total").toInt(), 0);
        QCOMPARE(mc.value("config/repeat").toInt(), 1);
        QCOMPARE(mc.value("config/did").toInt(), -1);
    }

    const QByteArray mine = "[common]\ntotal=1\n0=7\n";
    QVERIFY(writeAll(m + "/setting/apConfig.bin", mine));
    QVERIFY(writeAll(m + "/setting/p2.bin", mine));
    QVERIFY(QFile::remove(m + "/setting/p3.bin"));
    QVERIFY(QDir(m + "/macro").rename("Macro. 001.bin", "Fireball.bin"));
    QVERIFY(QFile::remove(m + "/macro/Macro. 002.bin"));

    QVERIFY(runSeed(m));
    QCOMPARE(readAll(m + "/setting/apConfig.bin"), mine);
    QCOMPARE(readAll(m + "/setting/p2.bin"), mine);
    QCOMPARE(readAll(m + "/setting/p3.bin"), readAll(kSource + "/setting/pD.bin"));
    QVERIFY(QFile::exists(m + "/macro/Fireball.bin"));
    QVERIFY(!QFile::exists(m + "/macro/Macro. 001.bin"));
    QVERIFY(!QFile::exists(m + "/macro/Macro. 002.bin"));
}

QTEST_GUILESS_MAIN(TestData)
#include "tst_data.moc"
