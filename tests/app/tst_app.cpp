// The application shell: start order, start event, busy lock, device re-check.
#include "hookcallbacks.h"
#include "k3sim.h"
#include "myqquickview.h"
#include "ui_controler.h"
#include "userevent.h"
#include "widget.h"

#include <QDir>
#include <QElapsedTimer>
#include <QQuickItem>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList rootCalls(Widget &w)
{
    return w.view()->rootObject()->property("calls").toStringList();
}

int countCalls(const std::string &name)
{
    int n = 0;
    for (const auto &e : k3sim::log())
        n += e.call == name;
    return n;
}

std::vector<int> requestCodes()
{
    std::vector<int> codes;
    for (const auto &e : k3sim::log())
        if (e.call == "hid_send_feature_report" && e.bytes.size() > 1)
            codes.push_back(e.bytes[1]);
    return codes;
}

} // namespace

class TestApp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { k3sim::reset(); }
    void startOrder();
    void otherEventsIgnored_data();
    void otherEventsIgnored();
    void setBusyWithoutArgumentIsZero();
    void hookCallbacksReachRoot();
    void recheckDebounced();
    void lightingReportReachesProfileAndRoot();

private:
    QTemporaryDir workDir;
};

void TestApp::initTestCase()
{
    // The widget reads ./modules relative to the working directory, as the program
    // does; work on a copy so the staged files stay as shipped.
    QVERIFY(workDir.isValid());
    for (const char *sub : {"setting", "i18n", "macro"}) {
        const QDir from(QStringLiteral(MODULES_DIR "/") + QLatin1String(sub));
        const QString to = workDir.filePath(QStringLiteral("modules/") + QLatin1String(sub));
        QVERIFY(QDir().mkpath(to));
        for (const QString &name : from.entryList(QDir::Files))
            QFile::copy(from.filePath(name), to + QLatin1Char('/') + name);
    }
    QVERIFY(QDir::setCurrent(workDir.path()));
    Ui_Controler::rootDocument = QUrl::fromLocalFile(QStringLiteral(RECORDING_ROOT));
}

void TestApp::startOrder()
{
    Widget w;
    QCOMPARE(w.size(), QSize(1000, 600));
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(w.testAttribute(Qt::WA_TranslucentBackground));
    QVERIFY(!w.recheckTimer().isActive());
    QCOMPARE(w.recheckTimer().interval(), 2048);

    w.checkDevice();
    QCOMPARE(requestCodes(), (std::vector<int>{0x80, 0xA1}));
    QVERIFY(!w.device().deviceList().at(0).path.isEmpty());
    QVERIFY(w.device().isListenerRunning());

    w.beginUi();
    QCOMPARE(rootCalls(w), QStringList({"setProtectUI:1"}));  // initUI is queued, not run
    QTRY_COMPARE(rootCalls(w), QStringList({"setProtectUI:1", "initUI", "setProtectUI:0", "run"}));
}

void TestApp::otherEventsIgnored_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("plain user event") << 0;
    QTest::newRow("code 2176") << 1;
}

void TestApp::otherEventsIgnored()
{
    QFETCH(int, kind);
    Widget w;
    QCoreApplication::postEvent(&w, kind == 0 ? new QEvent(QEvent::User) : new UserEvent(2176));
    QCoreApplication::processEvents();
    QTest::qWait(20);
    QVERIFY(rootCalls(w).isEmpty());
}

void TestApp::setBusyWithoutArgumentIsZero()
{
    Widget w;
    w.controller()->setBusy();
    w.controller()->setBusy(1600);
    QCOMPARE(rootCalls(w), QStringList({"setProtectUI:0", "setProtectUI:1600"}));
}

void TestApp::hookCallbacksReachRoot()
{
    Widget w;
    keyboardHookCallback(0x04, true, &w);
    mouseHookCallback(0xF0, false, -5, 10, &w);
    keyboardHookCallback(0x05, true, nullptr);  // no context: nothing
    QVERIFY(rootCalls(w).isEmpty());            // queued, not direct
    QTRY_COMPARE(rootCalls(w), QStringList({"key:true:4", "mouse:false:240"}));
}

// Changes less than 2048 ms apart lead to one re-check, 2048 ms after the last.
void TestApp::recheckDebounced()
{
    Widget w;
    w.checkDevice();
    k3sim::clearLog();
    k3sim::unplug();
    w.deviceChanged();
    QTest::qWait(600);
    QCOMPARE(countCalls("hid_enumerate"), 0);
    k3sim::plug();
    QElapsedTimer sinceLast;
    sinceLast.start();
    w.deviceChanged();
    QVERIFY(w.recheckTimer().remainingTime() > 2000);  // restarted, not left running
    QTRY_COMPARE_WITH_TIMEOUT(countCalls("hid_enumerate"), 1, 5000);
    QVERIFY2(sinceLast.elapsed() >= 2045, qPrintable(QString::number(sinceLast.elapsed())));
    QVERIFY(!w.device().deviceList().at(0).path.isEmpty());
    QVERIFY(w.device().isListenerRunning());
    QTest::qWait(2200);
    QCOMPARE(countCalls("hid_enumerate"), 1);
}

void TestApp::lightingReportReachesProfileAndRoot()
{
    Widget w;
    w.checkDevice();
    QSettings *profile = w.currentProfileSettings();
    if (!profile)
        QSKIP("no profile files in the staged modules folder");
    const uint8_t values[7] = {2, 3, 1, 0, 4, 0, 1};
    k3sim::injectLightingReport(values);
    QTRY_VERIFY_WITH_TIMEOUT(rootCalls(w).contains(QStringLiteral("zzzMorvel")), 2000);
    QStringList stored;
    for (const QVariant &v : profile->value(QStringLiteral("color/ledType")).toList())
        stored << v.toString();
    QCOMPARE(stored, QStringList({"2", "3", "1", "0", "4", "0", "1"}));
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
