// The device link against the simulated keyboard, byte for byte.
#include "commandset.h"
#include "deviceowner.h"
#include "devinfo.h"
#include "hid_thread.h"
#include "k3sim.h"
#include "simulatedk3.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Bytes = std::vector<uint8_t>;
Q_DECLARE_METATYPE(Bytes)

namespace {

std::vector<k3sim::LogEntry> calls(const std::string &name)
{
    std::vector<k3sim::LogEntry> out;
    for (const auto &e : k3sim::log())
        if (e.call == name)
            out.push_back(e);
    return out;
}

Bytes bytes(std::initializer_list<int> list)
{
    Bytes b;
    for (int v : list)
        b.push_back(uint8_t(v));
    return b;
}

bool waitFree(Hid_Thread &hid, int ms = 3000)
{
    QElapsedTimer t;
    t.start();
    while (!hid.isTokenFree() && t.elapsed() < ms)
        QTest::qWait(1);
    return hid.isTokenFree();
}

// Records what the listener hands to the GUI thread, and in which order.
class RecordingOwner : public DeviceOwner
{
public:
    explicit RecordingOwner(const QString &file)
        : settings(file, QSettings::IniFormat) {}
    QSettings *currentProfileSettings() override { return &settings; }
    void lightingChanged() override
    {
        storedBeforeRefresh = settings.contains(QStringLiteral("color/ledType"));
        ++refreshes;
    }
    QSettings settings;
    bool storedBeforeRefresh = false;
    int refreshes = 0;
};

} // namespace

class TestDevice : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void commandFraming_data();
    void commandFraming();
    void firmwareAnswer_data();
    void firmwareAnswer();
    void queriesWithoutKeyboardKeepOutputs();
    void storedValuesComeBack();
    void queryWaitsForPendingWrite();
    void tokenGivesUpAfter255Polls();
    void nestedWaitsInnermostFirst();
    void noKeyboardSendsNothing();
    void unplugBetweenRequestAndData();
    void silentKeyboardFailsBounded();
    void discovery_data();
    void discovery();
    void catalogueHexCase();
    void listenerStoresThenRefreshes();
    void listenerNoticesRemoval();
    void switchOutOfRange();
    void shutdownCompletesPendingWrite();

private:
    Hid_Thread *hid = nullptr;
};

void TestDevice::init()
{
    k3sim::reset();
    hid = new Hid_Thread;
    hid->scanDevices({simulatedK3Entry()});
    k3sim::clearLog();
}

void TestDevice::cleanup()
{
    delete hid;
    hid = nullptr;
}

void TestDevice::commandFraming_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<Bytes>("request");
    QTest::addColumn<int>("dataReports");

    QTest::newRow("02") << 0x02 << bytes({0, 0x02, 1, 7, 9, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("04") << 0x04 << bytes({0, 0x04, 5, 0, 0, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("08") << 0x08 << bytes({0, 0x08, 1, 2, 3, 4, 5, 6, 7}) << 0;
    QTest::newRow("09") << 0x09 << bytes({0, 0x09, 0xAA, 0xCC, 0xEE, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("0C") << 0x0C << bytes({0, 0x0C, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 2;
    QTest::newRow("0D") << 0x0D << bytes({0, 0x0D, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 2;
    const quint8 *s = k3proto::kBootLoaderSignature;
    QTest::newRow("0F") << 0x0F << bytes({0, 0x0F, s[0], s[1], s[2], s[3], s[4], s[5], s[6]}) << 0;
    QTest::newRow("10") << 0x10 << bytes({0, 0x10, 0, 3, 0, 0, 0x55, 0xAA, 0}) << 2;
    QTest::newRow("12") << 0x12 << bytes({0, 0x12, 0, 2, 1, 0, 0x55, 0xAA, 0}) << 2;
    QTest::newRow("13") << 0x13 << bytes({0, 0x13, 0xFF, 0x1F, 0, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("21") << 0x21 << bytes({0, 0x21, 4, 0, 0, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("30") << 0x30 << bytes({0, 0x30, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 1;
    QTest::newRow("80") << 0x80 << bytes({0, 0x80, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("82") << 0x82 << bytes({0, 0x82, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("84") << 0x84 << bytes({0, 0x84, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("88") << 0x88 << bytes({0, 0x88, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("8C") << 0x8C << bytes({0, 0x8C, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 2;
    QTest::newRow("8D") << 0x8D << bytes({0, 0x8D, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 2;
    QTest::newRow("90") << 0x90 << bytes({0, 0x90, 0, 6, 0, 0, 0x55, 0xAA, 0}) << 2;
    QTest::newRow("92") << 0x92 << bytes({0, 0x92, 0, 1, 3, 0, 0x55, 0xAA, 0}) << 2;
    QTest::newRow("A1") << 0xA1 << bytes({0, 0xA1, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 0;
    QTest::newRow("B0") << 0xB0 << bytes({0, 0xB0, 0, 0, 0, 0, 0x55, 0xAA, 0}) << 1;
}

void TestDevice::commandFraming()
{
    QFETCH(int, code);
    QFETCH(Bytes, request);
    QFETCH(int, dataReports);

    uchar payload[128];
    for (int i = 0; i < 128; ++i)
        payload[i] = uchar(i + 1);
    uchar a = 0, b = 0, c = 0, d = 0, e = 0, f = 0, g = 0;
    ushort version = 0;
    switch (code) {
    case 0x02: hid->hid_02H_SetKeyboardoption(1, 7, 9); break;
    case 0x04: hid->hid_04H_SetButtonSensitivity(5); break;
    case 0x08: hid->hid_08H_SetLEDType(1, 2, 3, 4, 5, 6, 7); break;
    case 0x09: hid->hid_09H_StopMacroSending(); break;
    case 0x0C: hid->hid_0CH_SetKeyMatrix_1(payload); break;
    case 0x0D: hid->hid_0DH_SetKeyMatrix_2(payload); break;
    case 0x0F: hid->hid_0FH_SetISPBootLoader(); break;
    case 0x10: hid->hid_10H_SetMacroKey(3, payload); break;
    case 0x12: hid->hid_12H_SetUserPicture(2, 1, payload); break;
    case 0x13: hid->hid_13H_SetRecoveryData(); break;
    case 0x21: hid->hid_21H_SetCurrentProfile(4); break;
    case 0x30: hid->hid_30H_SetSevenColor(payload); break;
    case 0x80: hid->hid_80H_GetFWVersion(version, a); break;
    case 0x82: hid->hid_82H_GetKeyboardoption(a, b, c); break;
    case 0x84: hid->hid_84H_GetButtonSensitivity(a); break;
    case 0x88: QVERIFY(hid->hid_88H_GetLEDType(a, b, c, d, e, f, g)); break;
    case 0x8C: hid->hid_8CH_GetKeyMatrix_1(payload); break;
    case 0x8D: hid->hid_8DH_GetKeyMatrix_2(payload); break;
    case 0x90: hid->hid_90H_GetMacroKey(6, payload); break;
    case 0x92: hid->hid_92H_GetUserPicture(1, 3, payload); break;
    case 0xA1: hid->hid_A1H_GetCurrentProfile(a); break;
    case 0xB0: QVERIFY(hid->hid_B0H_GetSevenColor(payload)); break;
    default: QFAIL("no such command");
    }
    QVERIFY(waitFree(*hid));

    const auto features = calls("hid_send_feature_report");
    QCOMPARE(features.size(), size_t(1));
    QCOMPARE(features[0].bytes, request);
    QCOMPARE(k3sim::errorCount(), 0);

    const bool query = code >= 0x80;
    QCOMPARE(calls("hid_get_feature_report").size(), size_t(query ? 1 : 0));
    if (query) {
        size_t reads = calls("hid_read_timeout").size() + calls("hid_read").size();
        QCOMPARE(reads, size_t(dataReports));
    } else {
        const auto writes = calls("hid_write");
        QCOMPARE(writes.size(), size_t(dataReports));
        for (size_t i = 0; i < writes.size(); ++i) {
            // 65-byte output reports: report ID 0, then 64 payload bytes.
            QCOMPARE(writes[i].bytes.size(), size_t(65));
            QCOMPARE(writes[i].bytes[0], uint8_t(0));
            const int payloadLength = code == 0x30 ? 64 : 128;
            QVERIFY(payloadLength >= 64);
            for (int j = 0; j < 64; ++j)
                QCOMPARE(int(writes[i].bytes[size_t(j + 1)]), int(payload[i * 64 + size_t(j)]));
        }
    }
    // Every handle opened by a transaction is closed again.
    QCOMPARE(k3sim::openHandleCount(), 0);
}

void TestDevice::firmwareAnswer_data()
{
    QTest::addColumn<int>("fw");
    QTest::addColumn<int>("bits");
    QTest::newRow("0123/3") << 0x0123 << 3;
    QTest::newRow("0102/2") << 0x0102 << 2;
    QTest::newRow("1a0b/0") << 0x1A0B << 0;
}

void TestDevice::firmwareAnswer()
{
    QFETCH(int, fw);
    QFETCH(int, bits);
    k3sim::setFirmware(uint16_t(fw), uint8_t(bits));
    ushort version = 0;
    uchar mode = 9;
    hid->hid_80H_GetFWVersion(version, mode);
    QCOMPARE(int(version), fw);
    QCOMPARE(int(mode), bits);
}

// Without a keyboard the queries leave their outputs alone; A1H reads 0.
void TestDevice::queriesWithoutKeyboardKeepOutputs()
{
    k3sim::unplug();
    ushort version = 0x4242;
    uchar mode = 2;
    hid->hid_80H_GetFWVersion(version, mode);
    QCOMPARE(int(version), 0x4242);
    QCOMPARE(int(mode), 2);

    uchar b1 = 11, b2 = 22, b3 = 33;
    hid->hid_82H_GetKeyboardoption(b1, b2, b3);
    QCOMPARE(QList<int>({b1, b2, b3}), QList<int>({11, 22, 33}));

    uchar profile = 7;
    hid->hid_A1H_GetCurrentProfile(profile);
    QCOMPARE(int(profile), 0);

    uchar colors[64];
    std::fill(colors, colors + 64, uchar(0x5A));
    QVERIFY(!hid->hid_B0H_GetSevenColor(colors));
    QCOMPARE(int(colors[63]), 0x5A);
    QVERIFY(hid->isTokenFree());
}

void TestDevice::storedValuesComeBack()
{
    uchar half[128];
    for (int i = 0; i < 128; ++i)
        half[i] = uchar(255 - i);
    hid->hid_21H_SetCurrentProfile(2);
    hid->hid_0DH_SetKeyMatrix_2(half);
    hid->hid_08H_SetLEDType(3, 4, 2, 1, 6, 9, 8);
    uchar back[128] = {};
    hid->hid_8DH_GetKeyMatrix_2(back);
    QVERIFY(std::equal(half, half + 128, back));
    uchar v[7] = {};
    QVERIFY(hid->hid_88H_GetLEDType(v[0], v[1], v[2], v[3], v[4], v[5], v[6]));
    QCOMPARE(QByteArray(reinterpret_cast<char *>(v), 7), QByteArray("\x03\x04\x02\x01\x06\x09\x08", 7));
    uchar profile = 0;
    hid->hid_A1H_GetCurrentProfile(profile);
    QCOMPARE(int(profile), 2);
}

// A query issued right after a 128-byte write waits for both data reports.
void TestDevice::queryWaitsForPendingWrite()
{
    uchar half[128] = {};
    QElapsedTimer t;
    t.start();
    hid->hid_0CH_SetKeyMatrix_1(half);
    hid->hid_0DH_SetKeyMatrix_2(half);
    uchar sens = 0;
    hid->hid_84H_GetButtonSensitivity(sens);
    QVERIFY(t.elapsed() >= 4 * k3proto::kReportPauseMs);

    std::vector<int> order;
    for (const auto &e : k3sim::log())
        if (e.call == "hid_send_feature_report")
            order.push_back(e.bytes[1]);
        else if (e.call == "hid_write")
            order.push_back(-1);
    QCOMPARE(order, (std::vector<int>{0x0C, -1, -1, 0x0D, -1, -1, 0x84}));
}

void TestDevice::tokenGivesUpAfter255Polls()
{
    QVERIFY(hid->waitIdle());  // someone holds the token
    QElapsedTimer t;
    t.start();
    QTest::ignoreMessage(QtDebugMsg, "cmd Failed");
    uchar sens = 42;
    hid->hid_84H_GetButtonSensitivity(sens);
    const qint64 waited = t.elapsed();
    QCOMPARE(int(sens), 42);
    QVERIFY2(waited >= 255 * 8 && waited < 5000, qPrintable(QString::number(waited)));
    QVERIFY(calls("hid_send_feature_report").empty());

    QTest::ignoreMessage(QtDebugMsg, "cmd Failed 0C");
    uchar half[128] = {};
    hid->hid_0CH_SetKeyMatrix_1(half);
    QVERIFY(!hid->isTokenFree());  // still the holder's
}

// A command issued from inside another command's wait takes the token first.
void TestDevice::nestedWaitsInnermostFirst()
{
    QVERIFY(hid->waitIdle());
    uchar inner = 0, outer = 0;
    QTimer::singleShot(20, [&] { hid->hid_84H_GetButtonSensitivity(inner); });
    QTimer::singleShot(60, [&] {
        // The holder ends its transaction: with no keyboard selected it returns at once.
        hid->swichCurDevice(99);
        hid->queryCommand(0);
        hid->swichCurDevice(0);
    });
    hid->hid_A1H_GetCurrentProfile(outer);
    std::vector<int> order;
    for (const auto &e : calls("hid_send_feature_report"))
        order.push_back(e.bytes[1]);
    QCOMPARE(order, (std::vector<int>{0x84, 0xA1}));
    QVERIFY(hid->isTokenFree());
}

void TestDevice::noKeyboardSendsNothing()
{
    k3sim::unplug();
    hid->scanDevices({simulatedK3Entry()});
    QVERIFY(hid->deviceList().at(0).path.isEmpty());
    k3sim::clearLog();
    uchar half[128] = {};
    QElapsedTimer t;
    t.start();
    hid->hid_0CH_SetKeyMatrix_1(half);
    uchar profile = 5;
    hid->hid_A1H_GetCurrentProfile(profile);
    QVERIFY(t.elapsed() < 100);
    QVERIFY(waitFree(*hid, 100));
    QVERIFY(calls("hid_send_feature_report").empty());
}

// The keyboard vanishes after the request: the data report's reopen fails.
void TestDevice::unplugBetweenRequestAndData()
{
    k3sim::failCall("hid_open_path", 3);  // check, request, answer succeed; data fails
    uchar half[128] = {};
    hid->hid_8CH_GetKeyMatrix_1(half);
    QVERIFY(hid->isTokenFree());
    QVERIFY(hid->deviceList().at(0).path.isEmpty());
    QVERIFY(calls("hid_read_timeout").empty() && calls("hid_read").empty());
}

void TestDevice::silentKeyboardFailsBounded()
{
    k3sim::setStalled(true);
    uchar half[128];
    std::fill(half, half + 128, uchar(0x77));
    QElapsedTimer t;
    t.start();
    hid->hid_8CH_GetKeyMatrix_1(half);
    QVERIFY2(t.elapsed() < 3 * Hid_Thread::kDataReadTimeoutMs, qPrintable(QString::number(t.elapsed())));
    QVERIFY(hid->isTokenFree());
    QCOMPARE(int(half[0]), 0x77);
    k3sim::setStalled(false);
}

void TestDevice::discovery_data()
{
    using IfList = std::vector<k3sim::Interface>;
    QTest::addColumn<IfList>("interfaces");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("path2");

    const k3sim::Interface cmdA{"A", 0x04D9, 0xA1CD, 0xFF01, 1};
    const k3sim::Interface cmdB{"B", 0x04D9, 0xA1CD, 0xFF01, 1};
    const k3sim::Interface evtC{"C", 0x04D9, 0xA1CD, 0xFF02, 1};
    const k3sim::Interface evtWrongUsage{"D", 0x04D9, 0xA1CD, 0xFF02, 2};
    const k3sim::Interface otherIds{"E", 0x1234, 0x5678, 0xFF02, 1};
    QTest::newRow("both") << IfList{cmdA, evtC} << "A" << "C";
    QTest::newRow("command only") << IfList{cmdA} << "" << "";
    QTest::newRow("last match wins") << IfList{cmdA, evtC, cmdB} << "B" << "C";
    QTest::newRow("usage must match") << IfList{cmdA, evtWrongUsage} << "" << "";
    QTest::newRow("other device") << IfList{cmdA, otherIds} << "" << "";
}

void TestDevice::discovery()
{
    QFETCH(std::vector<k3sim::Interface>, interfaces);
    QFETCH(QString, path);
    QFETCH(QString, path2);
    k3sim::setInterfaces(interfaces);
    hid->scanDevices({simulatedK3Entry(), simulatedK3Entry()});
    const QList<HidDevice> list = hid->deviceList();
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(0).path, path);
    QCOMPARE(list.at(0).path2, path2);
    QVERIFY(list.at(1).path.isEmpty());  // entries after the first are never searched
    QCOMPARE(list.at(1).id, 1);
}

void TestDevice::catalogueHexCase()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cat.ini"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[common]\r\ntotal = 2\r\n\r\n[0]\r\nvid = 04D9\r\npid = A1cd\r\nusagePage = FF01\r\nusage = 0001\r\n"
            "usagePage2 = ff02\r\nusage2 = 1\r\nreportLength = 64\r\n\r\n[1]\r\nvid = zz\r\n");
    f.close();
    const QList<DevInfoEntry> cat = readDeviceCatalogue(file, {QStringLiteral("K3")});
    QCOMPARE(cat.size(), 2);
    QCOMPARE(cat[0].vid, quint16(0x04D9));
    QCOMPARE(cat[0].pid, quint16(0xA1CD));
    QCOMPARE(cat[0].usagePage, quint16(0xFF01));
    QCOMPARE(cat[0].usage2, quint16(1));
    QCOMPARE(cat[0].reportLength, quint32(64));
    QCOMPARE(cat[0].productName, QStringLiteral("K3"));
    QCOMPARE(cat[1].vid, quint16(0));  // not hexadecimal
    QVERIFY(cat[1].productName.isEmpty());
    QVERIFY(readDeviceCatalogue(dir.filePath(QStringLiteral("missing.ini")), {}).isEmpty());
}

void TestDevice::listenerStoresThenRefreshes()
{
    QTemporaryDir dir;
    RecordingOwner owner(dir.filePath(QStringLiteral("p1.bin")));
    hid->owner = &owner;
    hid->swichCurDevice(0);
    const uint8_t values[7] = {5, 4, 3, 2, 1, 9, 8};
    k3sim::injectLightingReport(values);
    QTRY_COMPARE_WITH_TIMEOUT(owner.refreshes, 1, 2000);
    QVERIFY(owner.storedBeforeRefresh);
    QCOMPARE(owner.settings.value(QStringLiteral("color/ledType")).toList(),
             QVariantList({5, 4, 3, 2, 1, 9, 8}));
    hid->stopListener();
    hid->owner = nullptr;
}

void TestDevice::listenerNoticesRemoval()
{
    hid->swichCurDevice(0);
    QTest::qWait(50);
    QTest::ignoreMessage(QtDebugMsg, "Device removed");
    QElapsedTimer t;
    t.start();
    k3sim::unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!hid->isListenerRunning(), 1500);
    QVERIFY2(t.elapsed() < 1000, qPrintable(QString::number(t.elapsed())));
    QVERIFY(hid->deviceList().at(0).path2.isEmpty());
    // Commands now fail at once.
    t.restart();
    uchar profile = 3;
    hid->hid_A1H_GetCurrentProfile(profile);
    QCOMPARE(int(profile), 0);
    QVERIFY(t.elapsed() < 100);
}

void TestDevice::switchOutOfRange()
{
    hid->swichCurDevice(5);
    k3sim::clearLog();
    uchar sens = 9;
    hid->hid_84H_GetButtonSensitivity(sens);
    QCOMPARE(int(sens), 9);
    QVERIFY(calls("hid_send_feature_report").empty());
    QVERIFY(hid->isTokenFree());
    hid->stopListener();  // returns at once: the listener had nothing to listen on
}

void TestDevice::shutdownCompletesPendingWrite()
{
    uchar half[128] = {};
    hid->hid_10H_SetMacroKey(1, half);
    delete hid;
    hid = nullptr;
    QCOMPARE(calls("hid_write").size(), size_t(2));
    QCOMPARE(k3sim::openHandleCount(), 0);
}

QTEST_GUILESS_MAIN(TestDevice)
#include "tst_device.moc"
