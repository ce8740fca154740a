// The capture's translation, key state and mouse handling, driven through the
// portable core and through the decoding of the Linux sources.
#include "capturecore.h"
#include "evdevsource.h"
#include "inputhook.h"
#include "linuxkeymap.h"
#include "x11recordsource.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <linux/input.h>
#include <sys/stat.h>

namespace {

QStringList reported;

QString keyText(bool isDown, int usb)
{
    return (isDown ? QStringLiteral("d") : QStringLiteral("u")) + QString::number(usb, 16).toUpper();
}

void recordKey(std::uint8_t usb, bool isDown, void *context)
{
    if (context != &reported)
        reported << QStringLiteral("bad context");
    reported << keyText(isDown, usb);
}

void recordMouse(std::uint8_t code, bool isDown, std::int32_t x, std::int32_t y, void *context)
{
    if (context != &reported)
        reported << QStringLiteral("bad context");
    reported << QStringLiteral("%1%2@%3,%4").arg(isDown ? 'D' : 'U').arg(QString::number(code, 16).toUpper())
                    .arg(x).arg(y);
}

// One key event for the core: scan code, extended flag, ALT flag, press.
struct KeyStep
{
    std::uint32_t scan;
    bool extended;
    bool alt;
    bool down;
};

// A 32-byte X protocol key or button record as RECORD hands it over.
QByteArray xRecord(int type, int detail, qint16 rootX = 0, qint16 rootY = 0)
{
    QByteArray ev(32, '\0');
    ev[0] = char(type);
    ev[1] = char(detail);
    memcpy(ev.data() + 20, &rootX, 2);
    memcpy(ev.data() + 22, &rootY, 2);
    return ev;
}

// Every USB code a Linux key code reaches (through its set-1 scan code).
QMap<int, int> usbToLinux(bool nonUsBackslash)
{
    capture::fillTables(nonUsBackslash);
    QMap<int, int> map;
    int count = 0;
    const linuxkeys::Set1Key *table = linuxkeys::table(&count);
    for (int i = 0; i < count; ++i)
        if (int usb = capture::translateKey(table[i].scan, table[i].extended, false))
            map.insert(usb, table[i].linuxCode);
    return map;
}

} // namespace

Q_DECLARE_METATYPE(QList<KeyStep>)

class tst_Capture : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void tableSizes();
    void translate_data();
    void translate();
    void keyState_data();
    void keyState();
    void eventsBeforeRegistration();
    void mouse_data();
    void mouse();
    void linuxKeys_data();
    void linuxKeys();
    void layoutKeysReachable_data();
    void layoutKeysReachable();
    void linuxModifierQuirks_data();
    void linuxModifierQuirks();
    void x11Records_data();
    void x11Records();
    void evdevEvents_data();
    void evdevEvents();
    void evdevSkipsNonDevices();
    void x11SourceUnavailable_data();
    void x11SourceUnavailable();
};

void tst_Capture::init()
{
    reported.clear();
    capture::fillTables(false);
    capture::resetKeyDownState();
    capture::setKeyboardCallback(recordKey, &reported);
    capture::setMouseCallback(recordMouse, &reported);
}

// Guards the transcription of the two tables: a lost or doubled run shows here.
void tst_Capture::tableSizes()
{
    QCOMPARE(capture::scanTableSize(), 105);
    QCOMPARE(capture::usbTableSize(), 121);
}

void tst_Capture::translate_data()
{
    QTest::addColumn<uint>("scan");
    QTest::addColumn<bool>("extended");
    QTest::addColumn<bool>("alt");
    QTest::addColumn<bool>("nonUsBackslash");
    QTest::addColumn<int>("usb");

    QTest::newRow("Pause") << 0x45u << false << false << false << 0x48;
    QTest::newRow("Ctrl+Break") << 0x46u << true << false << false << 0x48;
    QTest::newRow("Scroll Lock") << 0x46u << false << false << false << 0x47;
    QTest::newRow("Num Lock") << 0x45u << true << false << false << 0x53;
    QTest::newRow("Print Screen") << 0x37u << true << false << false << 0x46;
    QTest::newRow("Alt+Print Screen") << 0x54u << false << true << false << 0x46;
    QTest::newRow("SysRq without Alt") << 0x54u << false << false << false << 0;
    QTest::newRow("keypad *") << 0x37u << false << false << false << 0x55;
    QTest::newRow("keypad Enter") << 0x1Cu << true << false << false << 0x58;
    QTest::newRow("Enter") << 0x1Cu << false << false << false << 0x28;
    QTest::newRow("0x2B US") << 0x2Bu << false << false << false << 0x31;
    QTest::newRow("0x2B non-US") << 0x2Bu << false << false << true << 0x32;
    QTest::newRow("right Windows") << 0x5Cu << true << false << false << 0;
    QTest::newRow("0x36 unflagged") << 0x36u << false << false << false << 0;
    QTest::newRow("0x36 flagged") << 0x36u << true << false << false << 0xE5;
    QTest::newRow("left Windows") << 0x5Bu << true << false << false << 0xE3;
    QTest::newRow("Menu") << 0x5Du << true << false << false << 0x65;
    QTest::newRow("ISO key") << 0x56u << false << false << false << 0x64;
    QTest::newRow("F23") << 0x6Eu << false << false << false << 0x72;
    QTest::newRow("letter with Alt") << 0x1Eu << false << true << false << 0x04;
    QTest::newRow("letter flagged extended") << 0x1Eu << true << false << false << 0;
    QTest::newRow("scan above 0xFF") << 0x11Eu << false << false << false << 0;
}

void tst_Capture::translate()
{
    QFETCH(uint, scan);
    QFETCH(bool, extended);
    QFETCH(bool, alt);
    QFETCH(bool, nonUsBackslash);
    QFETCH(int, usb);
    capture::fillTables(nonUsBackslash);
    QCOMPARE(int(capture::translateKey(scan, extended, alt)), usb);

    // The same through the key state and the callback.
    capture::keyEvent(scan, extended, alt, true);
    capture::keyEvent(scan, extended, alt, false);
    const QStringList expected = usb ? QStringList{keyText(true, usb), keyText(false, usb)} : QStringList{};
    QCOMPARE(reported, expected);
}

void tst_Capture::keyState_data()
{
    QTest::addColumn<QList<KeyStep>>("steps");
    QTest::addColumn<QStringList>("expected");

    const KeyStep aDown{0x1E, false, false, true}, aUp{0x1E, false, false, false};
    const KeyStep bDown{0x30, false, false, true}, bUp{0x30, false, false, false};
    QTest::newRow("held key repeats") << QList<KeyStep>{aDown, aDown, aDown, aUp}
                                      << QStringList{"d4", "u4"};
    QTest::newRow("release never pressed") << QList<KeyStep>{aUp} << QStringList{};
    QTest::newRow("release twice") << QList<KeyStep>{aDown, aUp, aUp} << QStringList{"d4", "u4"};
    QTest::newRow("two keys overlap") << QList<KeyStep>{aDown, bDown, aDown, aUp, bDown, bUp}
                                      << QStringList{"d4", "d5", "u4", "u5"};
    // Pause and Ctrl+Break share USB 0x48, and so share its state.
    QTest::newRow("two scans one code") << QList<KeyStep>{{0x45, false, false, true}, {0x46, true, false, true},
                                                          {0x46, true, false, false}}
                                        << QStringList{"d48", "u48"};
    QTest::newRow("unmapped key") << QList<KeyStep>{{0x5C, true, false, true}, {0x5C, true, false, false}}
                                  << QStringList{};
}

void tst_Capture::keyState()
{
    QFETCH(QList<KeyStep>, steps);
    QFETCH(QStringList, expected);
    for (const KeyStep &s : steps)
        capture::keyEvent(s.scan, s.extended, s.alt, s.down);
    QCOMPARE(reported, expected);
}

// Before the callbacks are registered nothing is reported, but the key state
// still follows the keys.
void tst_Capture::eventsBeforeRegistration()
{
    capture::setKeyboardCallback(nullptr, nullptr);
    capture::setMouseCallback(nullptr, nullptr);
    capture::keyEvent(0x1E, false, false, true);
    capture::mouseEvent(capture::LButtonDown, 1, 2);
    capture::setKeyboardCallback(recordKey, &reported);
    capture::keyEvent(0x1E, false, false, true);
    capture::keyEvent(0x1E, false, false, false);
    QCOMPARE(reported, QStringList{"u4"});
}

void tst_Capture::mouse_data()
{
    QTest::addColumn<QList<uint>>("messages");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("left") << QList<uint>{0x201, 0x202} << QStringList{"DF0@-5,7", "UF0@-5,7"};
    QTest::newRow("right") << QList<uint>{0x204, 0x205} << QStringList{"DF1@-5,7", "UF1@-5,7"};
    QTest::newRow("middle") << QList<uint>{0x207, 0x208} << QStringList{"DF2@-5,7", "UF2@-5,7"};
    QTest::newRow("double clicks") << QList<uint>{0x203, 0x206} << QStringList{};
    QTest::newRow("no de-duplication") << QList<uint>{0x201, 0x201, 0x202, 0x202}
                                       << QStringList{"DF0@-5,7", "DF0@-5,7", "UF0@-5,7", "UF0@-5,7"};
    QTest::newRow("move, wheel, side buttons") << QList<uint>{0x200, 0x209, 0x20A, 0x20B, 0x20C, 0x20E}
                                               << QStringList{};
}

void tst_Capture::mouse()
{
    QFETCH(QList<uint>, messages);
    QFETCH(QStringList, expected);
    for (uint m : messages)
        capture::mouseEvent(m, -5, 7);
    QCOMPARE(reported, expected);
}

// Every key of a full-size board, typed as Linux key codes through the X11
// decoding (X key code = Linux key code + 8), reaches its USB code; and the
// USB code leads back to that Linux key.
void tst_Capture::linuxKeys_data()
{
    QTest::addColumn<int>("linuxCode");
    QTest::addColumn<int>("usb");

    struct Row { const char *name; int linuxCode; int usb; };
    static const Row rows[] = {
        {"Esc", KEY_ESC, 0x29}, {"F1", KEY_F1, 0x3A}, {"F2", KEY_F2, 0x3B}, {"F3", KEY_F3, 0x3C},
        {"F4", KEY_F4, 0x3D}, {"F5", KEY_F5, 0x3E}, {"F6", KEY_F6, 0x3F}, {"F7", KEY_F7, 0x40},
        {"F8", KEY_F8, 0x41}, {"F9", KEY_F9, 0x42}, {"F10", KEY_F10, 0x43}, {"F11", KEY_F11, 0x44},
        {"F12", KEY_F12, 0x45}, {"Print Screen", KEY_SYSRQ, 0x46}, {"Scroll Lock", KEY_SCROLLLOCK, 0x47},
        {"Pause", KEY_PAUSE, 0x48}, {"`", KEY_GRAVE, 0x35}, {"1", KEY_1, 0x1E}, {"2", KEY_2, 0x1F},
        {"3", KEY_3, 0x20}, {"4", KEY_4, 0x21}, {"5", KEY_5, 0x22}, {"6", KEY_6, 0x23},
        {"7", KEY_7, 0x24}, {"8", KEY_8, 0x25}, {"9", KEY_9, 0x26}, {"0", KEY_0, 0x27},
        {"-", KEY_MINUS, 0x2D}, {"=", KEY_EQUAL, 0x2E}, {"Backspace", KEY_BACKSPACE, 0x2A},
        {"Insert", KEY_INSERT, 0x49}, {"Home", KEY_HOME, 0x4A}, {"Page Up", KEY_PAGEUP, 0x4B},
        {"Num Lock", KEY_NUMLOCK, 0x53}, {"KP /", KEY_KPSLASH, 0x54}, {"KP *", KEY_KPASTERISK, 0x55},
        {"KP -", KEY_KPMINUS, 0x56}, {"Tab", KEY_TAB, 0x2B}, {"Q", KEY_Q, 0x14}, {"W", KEY_W, 0x1A},
        {"E", KEY_E, 0x08}, {"R", KEY_R, 0x15}, {"T", KEY_T, 0x17}, {"Y", KEY_Y, 0x1C},
        {"U", KEY_U, 0x18}, {"I", KEY_I, 0x0C}, {"O", KEY_O, 0x12}, {"P", KEY_P, 0x13},
        {"[", KEY_LEFTBRACE, 0x2F}, {"]", KEY_RIGHTBRACE, 0x30}, {"\\", KEY_BACKSLASH, 0x31},
        {"Delete", KEY_DELETE, 0x4C}, {"End", KEY_END, 0x4D}, {"Page Down", KEY_PAGEDOWN, 0x4E},
        {"KP 7", KEY_KP7, 0x5F}, {"KP 8", KEY_KP8, 0x60}, {"KP 9", KEY_KP9, 0x61}, {"KP +", KEY_KPPLUS, 0x57},
        {"Caps Lock", KEY_CAPSLOCK, 0x39}, {"A", KEY_A, 0x04}, {"S", KEY_S, 0x16}, {"D", KEY_D, 0x07},
        {"F", KEY_F, 0x09}, {"G", KEY_G, 0x0A}, {"H", KEY_H, 0x0B}, {"J", KEY_J, 0x0D},
        {"K", KEY_K, 0x0E}, {"L", KEY_L, 0x0F}, {";", KEY_SEMICOLON, 0x33}, {"'", KEY_APOSTROPHE, 0x34},
        {"Enter", KEY_ENTER, 0x28}, {"KP 4", KEY_KP4, 0x5C}, {"KP 5", KEY_KP5, 0x5D}, {"KP 6", KEY_KP6, 0x5E},
        {"Left Shift", KEY_LEFTSHIFT, 0xE1}, {"ISO \\", KEY_102ND, 0x64}, {"Z", KEY_Z, 0x1D},
        {"X", KEY_X, 0x1B}, {"C", KEY_C, 0x06}, {"V", KEY_V, 0x19}, {"B", KEY_B, 0x05},
        {"N", KEY_N, 0x11}, {"M", KEY_M, 0x10}, {",", KEY_COMMA, 0x36}, {".", KEY_DOT, 0x37},
        {"/", KEY_SLASH, 0x38}, {"Right Shift", KEY_RIGHTSHIFT, 0xE5}, {"Up", KEY_UP, 0x52},
        {"KP 1", KEY_KP1, 0x59}, {"KP 2", KEY_KP2, 0x5A}, {"KP 3", KEY_KP3, 0x5B},
        {"KP Enter", KEY_KPENTER, 0x58}, {"Left Ctrl", KEY_LEFTCTRL, 0xE0}, {"Left Win", KEY_LEFTMETA, 0xE3},
        {"Left Alt", KEY_LEFTALT, 0xE2}, {"Space", KEY_SPACE, 0x2C}, {"Right Alt", KEY_RIGHTALT, 0xE6},
        {"Menu", KEY_COMPOSE, 0x65}, {"Right Ctrl", KEY_RIGHTCTRL, 0xE4}, {"Left", KEY_LEFT, 0x50},
        {"Down", KEY_DOWN, 0x51}, {"Right", KEY_RIGHT, 0x4F}, {"KP 0", KEY_KP0, 0x62},
        {"KP .", KEY_KPDOT, 0x63},
    };
    for (const Row &r : rows)
        QTest::newRow(r.name) << r.linuxCode << r.usb;
}

void tst_Capture::linuxKeys()
{
    QFETCH(int, linuxCode);
    QFETCH(int, usb);
    X11RecordSource source; // not started: only its decoding is used
    source.handleEvent(reinterpret_cast<const unsigned char *>(xRecord(2, linuxCode + 8).constData()), 32);
    source.handleEvent(reinterpret_cast<const unsigned char *>(xRecord(3, linuxCode + 8).constData()), 32);
    QCOMPARE(reported, (QStringList{keyText(true, usb), keyText(false, usb)}));
    QCOMPARE(usbToLinux(false).value(usb), linuxCode);
}

// The keys of the layouts shipped in the hardware definition, when the build
// has staged it: every plain key code must be reachable from some Linux key.
// Layout 0 is the UK variant, captured with nonUsBackslash.
void tst_Capture::layoutKeysReachable_data()
{
    QTest::addColumn<int>("layout");
    QTest::newRow("layout 0") << 0;
    QTest::newRow("layout 1") << 1;
}

void tst_Capture::layoutKeysReachable()
{
    QFETCH(int, layout);
    const QString path = QStringLiteral(K3_MODULES_DIR "/setting/HWDef.bin");
    if (!QFile::exists(path))
        QSKIP("hardware definition not staged");
    QSettings hw(path, QSettings::IniFormat);
    const QString group = QString::number(layout);
    const int total = hw.value(group + "/total_HW", 0).toInt();
    if (total <= 0)
        QSKIP("layout not defined");
    const QMap<int, int> reachable = usbToLinux(layout == 0);
    QStringList missing;
    for (int n = 1; n <= total; ++n) {
        const QStringList key = hw.value(group + '/' + QString::number(n)).toStringList();
        if (key.size() < 6)
            continue;
        const uint code = key.at(5).toUInt();
        // Only plain keys (kind 0) travel as one USB code; codes past the
        // modifiers (0xE7), such as the Fn key's, never leave the keyboard.
        if ((code & 0xF000) != 0 || (code & 0xFF) == 0 || (code & 0xFF) > 0xE7)
            continue;
        if (!reachable.contains(int(code & 0xFF)))
            missing << QStringLiteral("%1=0x%2").arg(key.at(3)).arg(code, 0, 16);
    }
    QVERIFY2(missing.isEmpty(), qPrintable(missing.join(", ")));
}

// Alt and Ctrl change what a PC keyboard sends for Print Screen and Pause, and
// Alt sets the ALT flag; evdev's automatic repeats count as presses.
void tst_Capture::linuxModifierQuirks_data()
{
    QTest::addColumn<QList<QPair<int, int>>>("events"); // Linux key code, value
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("Alt+Print Screen") << QList<QPair<int, int>>{{KEY_LEFTALT, 1}, {KEY_SYSRQ, 1}, {KEY_SYSRQ, 0}, {KEY_LEFTALT, 0}}
                                      << QStringList{"dE2", "d46", "u46", "uE2"};
    QTest::newRow("AltGr+Print Screen, Alt let go first")
        << QList<QPair<int, int>>{{KEY_RIGHTALT, 1}, {KEY_SYSRQ, 1}, {KEY_RIGHTALT, 0}, {KEY_SYSRQ, 0}}
        << QStringList{"dE6", "d46", "uE6", "u46"};
    QTest::newRow("Ctrl+Pause") << QList<QPair<int, int>>{{KEY_RIGHTCTRL, 1}, {KEY_PAUSE, 1}, {KEY_PAUSE, 0}, {KEY_RIGHTCTRL, 0}}
                                << QStringList{"dE4", "d48", "u48", "uE4"};
    QTest::newRow("repeats") << QList<QPair<int, int>>{{KEY_Q, 1}, {KEY_Q, 2}, {KEY_Q, 2}, {KEY_Q, 0}}
                             << QStringList{"d14", "u14"};
    QTest::newRow("unknown codes") << QList<QPair<int, int>>{{0, 1}, {KEY_MAX, 1}, {KEY_MAX + 1, 1}, {0xFFFF, 1}}
                                   << QStringList{};
}

void tst_Capture::linuxModifierQuirks()
{
    using Events = QList<QPair<int, int>>;
    QFETCH(Events, events);
    QFETCH(QStringList, expected);
    linuxkeys::KeyFeeder feeder;
    for (const auto &e : events)
        feeder.feed(uint(e.first), e.second);
    QCOMPARE(reported, expected);
}

void tst_Capture::x11Records_data()
{
    QTest::addColumn<QList<QByteArray>>("records");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("buttons with a negative point")
        << QList<QByteArray>{xRecord(4, 1, -20, 300), xRecord(5, 1, -20, 300), xRecord(4, 2, 1, 2),
                             xRecord(5, 3, 3, 4)}
        << QStringList{"DF0@-20,300", "UF0@-20,300", "DF2@1,2", "UF1@3,4"};
    QTest::newRow("wheel and side buttons") << QList<QByteArray>{xRecord(4, 4), xRecord(5, 5), xRecord(4, 8)}
                                            << QStringList{};
    QTest::newRow("short record") << QList<QByteArray>{xRecord(2, 38).left(16)} << QStringList{};
    QTest::newRow("key code below 8 and motion") << QList<QByteArray>{xRecord(2, 3), xRecord(6, 0)}
                                                 << QStringList{};
}

void tst_Capture::x11Records()
{
    QFETCH(QList<QByteArray>, records);
    QFETCH(QStringList, expected);
    X11RecordSource source;
    for (const QByteArray &r : records)
        source.handleEvent(reinterpret_cast<const unsigned char *>(r.constData()), int(r.size()));
    QCOMPARE(reported, expected);
}

void tst_Capture::evdevEvents_data()
{
    QTest::addColumn<QList<QList<int>>>("events"); // type, code, value
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("key") << QList<QList<int>>{{EV_KEY, KEY_KPENTER, 1}, {EV_SYN, 0, 0}, {EV_KEY, KEY_KPENTER, 0}}
                         << QStringList{"d58", "u58"};
    QTest::newRow("buttons") << QList<QList<int>>{{EV_KEY, BTN_RIGHT, 1}, {EV_KEY, BTN_RIGHT, 0}, {EV_KEY, BTN_MIDDLE, 1}}
                             << QStringList{"DF1", "UF1", "DF2"};
    QTest::newRow("ignored") << QList<QList<int>>{{EV_REL, REL_X, 5}, {EV_REL, REL_WHEEL, 1}, {EV_KEY, BTN_SIDE, 1},
                                                  {EV_KEY, BTN_LEFT, 2}, {EV_MSC, MSC_SCAN, 0x1E}}
                             << QStringList{};
}

void tst_Capture::evdevEvents()
{
    QFETCH(QList<QList<int>>, events);
    QFETCH(QStringList, expected);
    EvdevSource source;
    for (const QList<int> &e : events)
        source.handleEvent(uint(e[0]), uint(e[1]), e[2]);
    // The point comes from the pointer, which this test does not control.
    for (QString &r : reported)
        r = r.section(QLatin1Char('@'), 0, 0);
    QCOMPARE(reported, expected);
}

// Nodes that are not input devices (a pipe, a plain file) are skipped without
// blocking, and a folder without devices leaves the source unavailable.
void tst_Capture::evdevSkipsNonDevices()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(mkfifo(QFile::encodeName(dir.filePath("event0")).constData(), 0600) == 0);
    QFile plain(dir.filePath("event1"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write(QByteArray(48, '\1'));
    plain.close();
    EvdevSource source(dir.path());
    QVERIFY(!source.start());
    QCOMPARE(source.deviceCount(), 0);

    EvdevSource missing(dir.filePath("nothing-here"));
    QVERIFY(!missing.start());
}

// Without a reachable X server the RECORD source reports itself unavailable
// at once, and stopping it then is harmless.
void tst_Capture::x11SourceUnavailable_data()
{
    QTest::addColumn<QByteArray>("display");
    QTest::newRow("no DISPLAY") << QByteArray();
    QTest::newRow("display without a server") << QByteArray(":987");
    QTest::newRow("malformed") << QByteArray("no-such-host-or-display");
}

void tst_Capture::x11SourceUnavailable()
{
    QFETCH(QByteArray, display);
    const QByteArray saved = qgetenv("DISPLAY");
    if (display.isEmpty())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", display);
    X11RecordSource source;
    QElapsedTimer t;
    t.start();
    const bool started = source.start();
    source.stop();
    if (saved.isEmpty())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", saved);
    QVERIFY(!started);
    QVERIFY(t.elapsed() < 5000);
}

QTEST_MAIN(tst_Capture)
#include "tst_capture.moc"
