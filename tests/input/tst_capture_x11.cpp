// End to end: the real X11 RECORD source in this process, keys and buttons
// typed into the X server with xdotool, checked where they land: the root
// document's detectKeyboard / detectMouse, called through the view.
#include "inputhook.h"
#include "myqquickview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QQuickItem>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char kRootDocument[] = R"(
import QtQuick
Item {
    width: 100; height: 100
    property var events: []
    function detectKeyboard(isDown, usbCode) {
        events.push((isDown ? "d" : "u") + usbCode.toString(16).toUpperCase())
    }
    function detectMouse(isDown, code, x, y) {
        events.push((isDown ? "D" : "U") + code.toString(16).toUpperCase() + "@" + x + "," + y)
    }
}
)";

void keyboardCallback(std::uint8_t usbCode, bool isDown, void *context)
{
    static_cast<myQQuickView *>(context)->forwardKeyboardEvent(isDown, usbCode);
}

void mouseCallback(std::uint8_t code, bool isDown, std::int32_t x, std::int32_t y, void *context)
{
    static_cast<myQQuickView *>(context)->forwardMouseEvent(isDown, code, uint(x), uint(y));
}

} // namespace

class tst_CaptureX11 : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void typed_data();
    void typed();

private:
    QStringList takeEvents();
    bool xdotool(const QStringList &args);

    QTemporaryDir workDir;
    myQQuickView *view = nullptr;
    InputHook hook;
};

void tst_CaptureX11::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (run under xvfb-run)");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("needs xdotool");
    QVERIFY(workDir.isValid());
    QVERIFY(QDir::setCurrent(workDir.path()));
    QDir().mkpath(QStringLiteral("modules/setting"));
    QFile doc(workDir.filePath(QStringLiteral("root.qml")));
    QVERIFY(doc.open(QIODevice::WriteOnly));
    doc.write(kRootDocument);
    doc.close();

    view = new myQQuickView;
    view->setSource(QUrl::fromLocalFile(doc.fileName()));
    QVERIFY2(view->rootObject(), "test root document did not load");

    if (qEnvironmentVariableIsSet("K3_TEST_SERVER_WITHOUT_RECORD")) {
        // The program runs on without capture (or with the raw devices, where
        // this machine lets us read them), and the hook stays usable.
        const bool installed = hook.install(false);
        QVERIFY(QByteArray(InputHook::sourceName()) != "x11-record");
        QCOMPARE(QByteArray(InputHook::sourceName()), installed ? QByteArray("evdev") : QByteArray("none"));
        hook.setKeyboardCallback(keyboardCallback, view);
        hook.uninstall();
        QVERIFY(view->rootObject());
        QSKIP("no RECORD on this server: nothing to type");
    }
    QVERIFY(hook.install(false));
    QCOMPARE(InputHook::sourceName(), "x11-record");
    hook.setKeyboardCallback(keyboardCallback, view);
    hook.setMouseCallback(mouseCallback, view);
}

void tst_CaptureX11::cleanupTestCase()
{
    hook.uninstall();
    delete view;
}

bool tst_CaptureX11::xdotool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QStringList tst_CaptureX11::takeEvents()
{
    QObject *root = view->rootObject();
    const QStringList events = root->property("events").toStringList();
    root->setProperty("events", QVariantList());
    return events;
}

void tst_CaptureX11::typed_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("letters") << "key a z"
                             << QStringList{"d4", "u4", "d1D", "u1D"};
    // xdotool lets go of the modifiers before the key.
    QTest::newRow("shifted letter") << "key shift+b"
                                    << QStringList{"dE1", "d5", "uE1", "u5"};
    QTest::newRow("ctrl+alt") << "key ctrl+alt+x"
                              << QStringList{"dE0", "dE2", "d1B", "uE0", "uE2", "u1B"};
    // Given as X key codes (Right Shift, Right Ctrl): by name xdotool adds Left Shift.
    QTest::newRow("right modifiers") << "keydown 62 keyup 62 keydown 105 keyup 105"
                                     << QStringList{"dE5", "uE5", "dE4", "uE4"};
    // The keypad Enter stays apart from the main Enter.
    QTest::newRow("keypad enter") << "key KP_Enter Return"
                                  << QStringList{"d58", "u58", "d28", "u28"};
    QTest::newRow("arrows") << "key Left Up Right Down"
                            << QStringList{"d50", "u50", "d52", "u52", "d4F", "u4F", "d51", "u51"};
    QTest::newRow("function keys") << "key F1 F5 F12"
                                   << QStringList{"d3A", "u3A", "d3E", "u3E", "d45", "u45"};
    // Right Windows (X key code 134) is not reported; Menu (135) and Num Lock are.
    QTest::newRow("right windows, menu, num lock") << "key 134 135 Num_Lock Num_Lock"
                                                   << QStringList{"d65", "u65", "d53", "u53", "d53", "u53"};
    QTest::newRow("lock and pause keys") << "key Scroll_Lock Pause"
                                         << QStringList{"d47", "u47", "d48", "u48"};
    // Print Screen pressed with Alt held, let go after Alt: one code throughout.
    QTest::newRow("alt+print screen") << "key alt+Print"
                                      << QStringList{"dE2", "d46", "uE2", "u46"};
    // A held key: one press however long it is held, one release.
    QTest::newRow("held key") << "keydown c sleep 1.2 keyup c"
                              << QStringList{"d6", "u6"};
    QTest::newRow("press twice") << "keydown d keydown d keyup d"
                                 << QStringList{"d7", "u7"};
    QTest::newRow("left click") << "mousemove 12 34 click 1"
                                << QStringList{"DF0@12,34", "UF0@12,34"};
    QTest::newRow("right and middle") << "mousemove 40 50 click 3 click 2"
                                      << QStringList{"DF1@40,50", "UF1@40,50", "DF2@40,50", "UF2@40,50"};
    // Buttons are not de-duplicated: a double click is two clicks; the wheel is not reported.
    QTest::newRow("double click and wheel") << "mousemove 5 6 click --repeat 2 --delay 50 1 click 4 click 5"
                                            << QStringList{"DF0@5,6", "UF0@5,6", "DF0@5,6", "UF0@5,6"};
}

void tst_CaptureX11::typed()
{
    QFETCH(QString, commands);
    QFETCH(QStringList, expected);
    takeEvents();
    QVERIFY(xdotool(commands.split(QLatin1Char(' '))));
    // Events arrive through the socket notifier and then a queued call; wait
    // for the expected number, then a little more to catch surplus ones.
    QTRY_VERIFY_WITH_TIMEOUT(view->rootObject()->property("events").toList().size() >= expected.size(), 5000);
    QTest::qWait(150);
    const QStringList events = takeEvents();
    QVERIFY2(events == expected, qPrintable(events.join(' ')));
}

QTEST_MAIN(tst_CaptureX11)
#include "tst_capture_x11.moc"
