// The view's macro slots against the simulated keyboard: what reaches the
// keyboard's macro slots, when a save re-sends, and the dialogs they show.
#include "devinfo.h"
#include "hid_thread.h"
#include "k3sim.h"
#include "macroencoding.h"
#include "macrostore.h"
#include "myqquickview.h"

#include <QtTest>

#include "simulatedk3.h"

using Bytes = std::vector<uint8_t>;

namespace {

// What a keyboard slot holds after receiving `stream`.
Bytes slotWith(const Bytes &stream)
{
    Bytes slot(kMacroSlotBytes, 0);
    std::copy(stream.begin(), stream.end(), slot.begin());
    return slot;
}

QStringList pressAndRelease(int steps)
{
    QStringList list;
    for (int i = 0; i < steps; ++i)
        list << (i % 2 ? QStringLiteral("A") + kStepUp : QStringLiteral("A") + kStepDown);
    return list;
}

int macroRequests()
{
    int n = 0;
    for (const auto &e : k3sim::log())
        if (e.call == "hid_send_feature_report" && e.bytes.size() > 1 && e.bytes[1] == 0x10)
            ++n;
    return n;
}

class FakeDialogs : public MacroDialogs
{
public:
    QString openFileName(QWidget *, const QString &caption, const QString &, const QString &filter) override
    {
        shown << caption + QLatin1Char('|') + filter;
        return answer;
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &, const QString &filter) override
    {
        shown << caption + QLatin1Char('|') + filter;
        return answer;
    }
    void warning(QWidget *parent, const QString &title, const QString &text) override
    {
        QVERIFY(!parent);
        warnings << title + QLatin1Char('|') + text;
    }
    QString answer;
    QStringList shown;
    QStringList warnings;
};

} // namespace

class TestViewMacros : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void sendToSlot_data();
    void sendToSlot();
    void tooLongIsNotSent_data();
    void tooLongIsNotSent();
    void saveResends_data();
    void saveResends();
    void configRecordsDevice();
    void importExportDialogs();
    void defaultFolder();

private:
    void writeMacro(const QString &name, int index, const QStringList &steps);
    bool waitFree(int ms = 3000);

    QTemporaryDir tmp;
    QString folder;
    Hid_Thread *hid = nullptr;
    myQQuickView *view = nullptr;
    FakeDialogs *dialogs = nullptr;
};

void TestViewMacros::initTestCase()
{
    QVERIFY(tmp.isValid());
    // The view opens its files below the working directory.
    QVERIFY(QDir::setCurrent(tmp.path()));
}

void TestViewMacros::init()
{
    folder = tmp.path() + "/modules/macro/";
    QDir(folder).removeRecursively();
    QVERIFY(QDir().mkpath(folder));
    k3sim::reset();
    hid = new Hid_Thread;
    hid->scanDevices({simulatedK3Entry()});
    view = new myQQuickView;
    view->hid = hid;
    view->usbCodeMap = {{QStringLiteral("A"), 0x04}, {QStringLiteral("B"), 0x05}};
    dialogs = new FakeDialogs;
    view->macroStore = new MacroStore(folder, view);
    view->macroStore->setDialogs(dialogs);
    k3sim::clearLog();
}

void TestViewMacros::cleanup()
{
    QVERIFY(waitFree());
    QCOMPARE(k3sim::errorCount(), 0);
    delete view;
    delete hid;
    delete dialogs;
}

bool TestViewMacros::waitFree(int ms)
{
    QElapsedTimer t;
    t.start();
    while (!hid->isTokenFree() && t.elapsed() < ms)
        QTest::qWait(1);
    return hid->isTokenFree();
}

void TestViewMacros::writeMacro(const QString &name, int index, const QStringList &steps)
{
    QSettings s(folder + name + ".bin", QSettings::IniFormat);
    s.setValue("config/index", index);
    s.setValue("config/total", steps.size());
    s.setValue("config/repeat", 1);
    s.setValue("config/did", -1);
    for (int i = 0; i < steps.size(); ++i)
        s.setValue("macro/" + QString::number(i), steps[i]);
}

void TestViewMacros::sendToSlot_data()
{
    QTest::addColumn<QVariant>("macroId");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<Bytes>("stream");

    const QStringList ab{"A" + kStepDown, "B" + kStepDown, "1000" + kStepDelay, "B" + kStepUp, "A" + kStepUp};
    const Bytes abBytes{0x00, 0x01, 0x01, 0x04, 0x01, 0x05, 0x7F, 0x00, 0x00, 0x64, 0x81, 0x05, 0x81, 0x04, 0x00, 0x00};
    QTest::newRow("slot 3") << QVariant(3) << 3 << ab << abBytes;
    QTest::newRow("260 is slot 4") << QVariant(260) << 4 << ab << abBytes;
    QTest::newRow("number as text") << QVariant("16") << 16 << ab << abBytes;
    QTest::newRow("number from a script") << QVariant(2.0) << 2 << ab << abBytes;
    QTest::newRow("empty macro") << QVariant(1) << 1 << QStringList{} << Bytes{0x00, 0x01, 0x00, 0x00};

    Bytes full{0x00, 0x01};
    for (int i = 0; i < 62; ++i)
        full.insert(full.end(), {uint8_t(i % 2 ? 0x81 : 0x01), 0x04});
    full.insert(full.end(), {0x00, 0x00});
    QTest::newRow("62 steps fill all 128 bytes") << QVariant(0) << 0 << pressAndRelease(62) << full;
}

void TestViewMacros::sendToSlot()
{
    QFETCH(QVariant, macroId);
    QFETCH(int, slot);
    QFETCH(QStringList, steps);
    QFETCH(Bytes, stream);

    writeMacro("m", -1, steps);
    view->ui_10H_SetMacroKey(macroId, "m");
    QVERIFY(waitFree());
    QCOMPARE(macroRequests(), 1);
    QCOMPARE(k3sim::macro(slot), slotWith(stream));
    QVERIFY(dialogs->warnings.isEmpty());
}

void TestViewMacros::tooLongIsNotSent_data()
{
    QTest::addColumn<QStringList>("msgStrings");
    QTest::addColumn<QString>("shown");

    const MacroWarningText builtIn = macroTooLongWarning({});
    QTest::newRow("no language yet") << QStringList{} << builtIn.title + "|" + builtIn.text;
    QTest::newRow("language loaded") << QStringList{"Too long", "Shorten it", "x", "y"}
                                     << QStringLiteral("Too long|Shorten it");
}

void TestViewMacros::tooLongIsNotSent()
{
    QFETCH(QStringList, msgStrings);
    QFETCH(QString, shown);

    view->msgStrings = msgStrings;
    const Bytes before = k3sim::macro(5);
    writeMacro("long", 5, pressAndRelease(63));
    view->ui_10H_SetMacroKey(5, "long");
    QCOMPARE(dialogs->warnings, QStringList{shown});
    QVERIFY(waitFree());
    QCOMPARE(macroRequests(), 0);
    QCOMPARE(k3sim::macro(5), before);

    // Saving it shows the warning again and still sends nothing.
    QCOMPARE(view->saveMacroIni("long", pressAndRelease(64)), QVariant(true));
    QCOMPARE(dialogs->warnings.size(), 2);
    QCOMPARE(macroRequests(), 0);
}

void TestViewMacros::saveResends_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("sent");
    QTest::newRow("slot 16") << 16 << true;
    QTest::newRow("slot 0") << 0 << true;
    QTest::newRow("slot 17") << 17 << false;
    QTest::newRow("no slot") << -1 << false;
}

void TestViewMacros::saveResends()
{
    QFETCH(int, index);
    QFETCH(bool, sent);

    writeMacro("m", index, {"B" + kStepDown});
    const QStringList steps{"A" + kStepDown, "A" + kStepUp};
    QCOMPARE(view->saveMacroIni("m", steps), QVariant(true));
    QVERIFY(waitFree());
    QCOMPARE(macroRequests(), sent ? 1 : 0);
    // The keyboard receives the steps just saved, not the old ones.
    if (sent)
        QCOMPARE(k3sim::macro(index), slotWith({0x00, 0x01, 0x01, 0x04, 0x81, 0x04, 0x00, 0x00}));

    QCOMPARE(view->saveMacroIni("gone", steps), QVariant(false));
    QCOMPARE(view->saveMacroIni("../m", steps), QVariant(false));
}

void TestViewMacros::configRecordsDevice()
{
    writeMacro("m", -1, {});
    view->setMacroIniConfig("m", {7, 2});
    QCOMPARE(view->loadMacroIniConfig("m"), (QVariantList{7, 2}));
    QCOMPARE(QSettings(folder + "m.bin", QSettings::IniFormat).value("config/did").toUInt(),
             hid->currentDevice());
}

void TestViewMacros::importExportDialogs()
{
    writeMacro("m", 2, {"A" + kStepDown});
    const QString mc = tmp.path() + "/exchange.mc";

    // Export: a cancelled dialog writes nothing; a chosen path gets the file.
    view->saveMacroIniToFile("m");
    QCOMPARE(dialogs->shown, QStringList{"Save File|Macro(*.mc)"});
    QVERIFY(!QFile::exists(mc));
    dialogs->answer = mc;
    view->saveMacroIniToFile("m");
    QVERIFY(QFile::exists(mc));

    // No dialog for a macro that does not exist.
    dialogs->shown.clear();
    view->saveMacroIniToFile("gone");
    QVERIFY(dialogs->shown.isEmpty());

    // Import the exported file into another macro: the steps come along.
    writeMacro("n", 3, {});
    view->loadMacroIniFromFile("n");
    QCOMPARE(dialogs->shown, QStringList{"Open File|Macro(*.mc)"});
    QCOMPARE(view->loadMacroIni("n"), QStringList{"A" + kStepDown});
    QCOMPARE(view->loadMacroIniConfig("n"), (QVariantList{2, 1}));
    QCOMPARE(macroRequests(), 0);   // importing sends nothing
}

void TestViewMacros::defaultFolder()
{
    // Without a store set, the view uses ./modules/macro/ below the working directory.
    auto *plain = new myQQuickView;
    writeMacro("b", 0, {});
    writeMacro("A", 1, {});
    QCOMPARE(plain->getMacroIniNames(), (QStringList{"A.bin", "b.bin"}));
    QVERIFY(plain->macroStore);
    QCOMPARE(plain->createMacroIni(), QVariant("Macro. 001"));
    QCOMPARE(plain->deleteMacroIni("Macro. 001"), QVariant(true));
    plain->renameMacroIniFile("b", "c");
    QCOMPARE(plain->getMacroIniNames(), (QStringList{"A.bin", "c.bin"}));
    delete plain;
}

QTEST_MAIN(TestViewMacros)
#include "tst_viewmacros.moc"
