// The simulated keyboard driven through the plain hidapi API, the way the
// device link uses it: the command interface is reopened before every report.

#include "k3sim.h"

#include <hidapi.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray a;
    for (int b : list)
        a.append(char(b));
    return a;
}

// Request feature report: code, parameter bytes 2..5, tail 55 AA 00.
QByteArray req(int code, std::initializer_list<int> params = {})
{
    QByteArray r = bytes({0x00, code, 0, 0, 0, 0, 0x55, 0xAA, 0x00});
    int i = 2;
    for (int p : params)
        r[i++] = char(p);
    return r;
}

QByteArray pattern(int n, int seed)
{
    QByteArray a(n, 0);
    for (int i = 0; i < n; ++i)
        a[i] = char((i * 7 + seed) & 0xFF);
    return a;
}

const uchar *u(const QByteArray &a)
{
    return reinterpret_cast<const uchar *>(a.constData());
}

// One report on a freshly opened command interface, as the device link sends it.
int sendFeature(const QByteArray &r, const char *path = k3sim::kCommandPath)
{
    hid_device *h = hid_open_path(path);
    if (!h)
        return -1;
    const int n = hid_send_feature_report(h, u(r), size_t(r.size()));
    hid_close(h);
    return n;
}

int getFeature(QByteArray &answer, int length = 9)
{
    hid_device *h = hid_open_path(k3sim::kCommandPath);
    if (!h)
        return -1;
    answer = QByteArray(length, 0);
    const int n = hid_get_feature_report(h, reinterpret_cast<uchar *>(answer.data()), size_t(length));
    hid_close(h);
    return n;
}

int writeData(const QByteArray &report)
{
    hid_device *h = hid_open_path(k3sim::kCommandPath);
    if (!h)
        return -1;
    const int n = hid_write(h, u(report), size_t(report.size()));
    hid_close(h);
    return n;
}

int readData(QByteArray &out, int length, int timeoutMs = 1000)
{
    hid_device *h = hid_open_path(k3sim::kCommandPath);
    if (!h)
        return -1;
    out = QByteArray(length, 0);
    const int n = hid_read_timeout(h, reinterpret_cast<uchar *>(out.data()), size_t(length), timeoutMs);
    hid_close(h);
    return n;
}

// A whole write transaction: request, then the payload in reports of reportLength + 1.
bool setting(const QByteArray &r, const QByteArray &payload = {}, int reportLength = 64)
{
    if (sendFeature(r) != 9)
        return false;
    for (int off = 0; off < payload.size(); off += reportLength) {
        QByteArray report(reportLength + 1, 0);
        const QByteArray chunk = payload.mid(off, reportLength);
        report.replace(1, chunk.size(), chunk);
        if (writeData(report) != report.size())
            return false;
    }
    return true;
}

// A whole read transaction: request, answer, then `payloadLength` bytes of data input reports.
bool query(const QByteArray &r, QByteArray *answer, QByteArray *payload = nullptr, int payloadLength = 0,
           int reportLength = 64)
{
    QByteArray a;
    if (sendFeature(r) != 9 || getFeature(a) != 9)
        return false;
    if (answer)
        *answer = a;
    QByteArray all;
    while (all.size() < payloadLength) {
        QByteArray in;
        const int n = readData(in, reportLength + 1);
        if (n != reportLength)
            return false;
        all += in.left(qMin(reportLength, payloadLength - int(all.size())));
    }
    if (payload)
        *payload = all;
    return true;
}

enum class Op { Send, Get, Write, Read, SendOnEvent, Open };
struct Step
{
    Op op;
    QByteArray data;   // report, or the length for Get/Read as a single byte, or a path
};
using Steps = QList<Step>;

int run(const Step &s)
{
    QByteArray out;
    switch (s.op) {
    case Op::Send: return sendFeature(s.data);
    case Op::Get: return getFeature(out, s.data.isEmpty() ? 9 : uchar(s.data[0]));
    case Op::Write: return writeData(s.data);
    case Op::Read: return readData(out, 65, 0);
    case Op::SendOnEvent: return sendFeature(s.data, k3sim::kEventPath);
    case Op::Open: {
        hid_device *h = hid_open_path(s.data.constData());
        hid_close(h);
        return h ? 0 : -1;
    }
    }
    return -1;
}

QByteArray dataReport(int size = 65, int id = 0)
{
    QByteArray r(size, 0);
    r[0] = char(id);
    return r;
}

// Note of the last logged call of this name.
QString noteOf(const std::string &call)
{
    const auto log = k3sim::log();
    for (auto it = log.rbegin(); it != log.rend(); ++it)
        if (it->call == call)
            return QString::fromStdString(it->note);
    return QString();
}

} // namespace

Q_DECLARE_METATYPE(Steps)

class TestK3Sim : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        k3sim::reset();
    }

    void enumerate_data()
    {
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::addColumn<bool>("plugged");
        QTest::addColumn<int>("count");
        QTest::newRow("any device") << 0 << 0 << true << 2;
        QTest::newRow("the keyboard") << 0x04D9 << 0xA1CD << true << 2;
        QTest::newRow("vendor only") << 0x04D9 << 0 << true << 2;
        QTest::newRow("other product") << 0x04D9 << 0x1234 << true << 0;
        QTest::newRow("other vendor") << 0x1234 << 0xA1CD << true << 0;
        QTest::newRow("unplugged") << 0x04D9 << 0xA1CD << false << 0;
    }
    void enumerate()
    {
        QFETCH(int, vid);
        QFETCH(int, pid);
        QFETCH(bool, plugged);
        QFETCH(int, count);
        if (!plugged)
            k3sim::unplug();
        hid_device_info *list = hid_enumerate(ushort(vid), ushort(pid));
        QList<hid_device_info *> found;
        for (hid_device_info *i = list; i; i = i->next)
            found << i;
        QCOMPARE(found.size(), count);
        if (count == 2) {
            QCOMPARE(QByteArray(found[0]->path), QByteArray(k3sim::kCommandPath));
            QCOMPARE(found[0]->usage_page, 0xFF01);
            QCOMPARE(found[0]->usage, 1);
            QCOMPARE(QByteArray(found[1]->path), QByteArray(k3sim::kEventPath));
            QCOMPARE(found[1]->usage_page, 0xFF02);
            QCOMPARE(found[1]->usage, 1);
            QCOMPARE(found[1]->vendor_id, 0x04D9);
            QCOMPARE(found[1]->product_id, 0xA1CD);
        }
        hid_free_enumeration(list);
        QCOMPARE(k3sim::errorCount(), 0);
    }

    // Store in profile 3, read back there, then look from profile 0: values the
    // keyboard keeps per profile must not leak into another profile.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("set");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QByteArray>("get");
        QTest::addColumn<QByteArray>("answer");   // expected answer bytes from 2 on
        QTest::addColumn<bool>("perProfile");
        const QByteArray led = bytes({0x00, 0x08, 0x05, 0x20, 0x02, 0x01, 0x03, 0x41, 0x5A});
        QTest::newRow("02H/82H options") << req(0x02, {0x11, 0x22, 0x33}) << QByteArray() << req(0x82)
                                         << bytes({0x11, 0x22, 0x33}) << false;
        QTest::newRow("04H/84H sensitivity") << req(0x04, {0x07}) << QByteArray() << req(0x84) << bytes({0x07})
                                             << false;
        QTest::newRow("08H/88H LED type") << led << QByteArray() << req(0x88) << led.mid(2) << true;
        QTest::newRow("0CH/8CH keys 0-127") << req(0x0C) << pattern(128, 1) << req(0x8C) << QByteArray() << true;
        QTest::newRow("0DH/8DH keys 128-255") << req(0x0D) << pattern(128, 2) << req(0x8D) << QByteArray() << true;
        QTest::newRow("10H/90H macro slot 0") << req(0x10, {0, 0}) << pattern(128, 3) << req(0x90, {0, 0})
                                              << QByteArray() << false;
        QTest::newRow("10H/90H macro slot 16") << req(0x10, {0, 16}) << pattern(128, 4) << req(0x90, {0, 16})
                                               << QByteArray() << false;
        QTest::newRow("12H/92H picture 4 plane 3") << req(0x12, {0, 4, 3}) << pattern(128, 5)
                                                   << req(0x92, {0, 4, 3}) << QByteArray() << true;
        QTest::newRow("30H/B0H colours") << req(0x30) << pattern(64, 6) << req(0xB0) << QByteArray() << true;
    }
    void roundTrip()
    {
        QFETCH(QByteArray, set);
        QFETCH(QByteArray, payload);
        QFETCH(QByteArray, get);
        QFETCH(QByteArray, answer);
        QFETCH(bool, perProfile);

        QVERIFY(setting(req(0x21, {3})));
        QVERIFY(setting(set, payload));
        QByteArray a, data;
        QVERIFY(query(get, &a, &data, payload.size()));
        QCOMPARE(a.left(2), get.left(2));
        if (!answer.isEmpty())
            QCOMPARE(a.mid(2, answer.size()), answer);
        QCOMPARE(data, payload);

        QVERIFY(setting(req(0x21, {0})));
        QByteArray a0, data0;
        QVERIFY(query(get, &a0, &data0, payload.size()));
        QCOMPARE(a0 == a && data0 == data, !perProfile);
        QCOMPARE(k3sim::errorCount(), 0);
    }

    void answers()
    {
        k3sim::setFirmware(0x0123, 3);
        QByteArray a;
        QVERIFY(query(req(0x80), &a));
        QCOMPARE(a, bytes({0x00, 0x80, 0x01, 0x23, 0x06, 0x00, 0x55, 0xAA, 0x00}));

        QVERIFY(setting(req(0x21, {7})));
        QVERIFY(query(req(0xA1), &a));
        QCOMPARE(a.at(2), char(7));

        // A setting's answer echoes the request.
        QVERIFY(sendFeature(req(0x04, {9})) == 9);
        QCOMPARE(getFeature(a), 9);
        QCOMPARE(a, req(0x04, {9}));

        QVERIFY(setting(bytes({0x00, 0x09, 0xAA, 0xCC, 0xEE, 0x00, 0x55, 0xAA, 0x00})));
        QVERIFY(k3sim::macroStopRequested());
        QVERIFY(setting(bytes({0x00, 0x0F, 0x4B, 0x33, 0x49, 0x53, 0x50, 0xA5, 0x5A})));
        QVERIFY(k3sim::bootLoaderRequested());
        QCOMPARE(k3sim::errorCount(), 0);
    }

    void factoryRestore()
    {
        const k3sim::Profile factory = k3sim::profile(0);
        QVERIFY(std::any_of(factory.colors, factory.colors + 21, [](uint8_t c) { return c != 0; }));
        QVERIFY(setting(req(0x21, {2})));
        QVERIFY(setting(req(0x30), pattern(64, 9)));
        QVERIFY(setting(req(0x10, {0, 5}), pattern(128, 9)));
        QVERIFY(setting(req(0x13, {0xFF, 0x1F})));
        const k3sim::Profile p = k3sim::profile(2);
        QVERIFY(std::equal(p.colors, p.colors + 64, factory.colors));
        QCOMPARE(k3sim::macro(5), std::vector<uint8_t>(128, 0));
        QCOMPARE(k3sim::currentProfile(), 0);
        QCOMPARE(k3sim::errorCount(), 0);
    }

    // A factory keyboard and the shipped default profile must agree.
    void factoryMatchesDefaultProfile()
    {
        QSettings pd(QStringLiteral(K3_DEFAULT_PROFILE), QSettings::IniFormat);
        const QStringList led = pd.value("color/ledType").toStringList();
        const QStringList color = pd.value("color/color").toStringList();
        QCOMPARE(led.size(), 7);
        QCOMPARE(color.size(), 21);
        const k3sim::Profile p = k3sim::profile(0);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(int(p.ledType[i]), led[i].trimmed().toInt());
        for (int i = 0; i < 21; ++i)
            QCOMPARE(int(p.colors[i]), color[i].trimmed().toInt() / 4);
        for (int pos = 0; pos < 128; ++pos) {
            const QStringList code = pd.value(QString("keydefine1/%1").arg(pos)).toStringList();
            QCOMPARE(code.size(), 2);
            QCOMPARE(int(p.keyMatrix[2 * pos]), code[0].trimmed().toInt());
            QCOMPARE(int(p.keyMatrix[2 * pos + 1]), code[1].trimmed().toInt());
        }
    }

    // Each row: steps that must all succeed except the last, whose result and
    // logged error are given. The last step changes nothing stored.
    void rejected_data()
    {
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("note");
        const QByteArray ok30 = req(0x30);
        QTest::newRow("feature of 8 bytes") << Steps{{Op::Send, req(0x82).left(8)}} << -1 << "8 bytes";
        QTest::newRow("feature of 10 bytes") << Steps{{Op::Send, req(0x82) + '\0'}} << -1 << "10 bytes";
        QTest::newRow("report ID 1") << Steps{{Op::Send, "\x01" + req(0x82).mid(1)}} << -1 << "report ID";
        QTest::newRow("unknown code") << Steps{{Op::Send, req(0x55)}} << -1 << "unknown command";
        QTest::newRow("tail missing") << Steps{{Op::Send, req(0x30).left(6) + bytes({0x55, 0xAA, 0x01})}} << -1
                                      << "tail";
        QTest::newRow("tail on 08H's neighbour 04H") << Steps{{Op::Send, bytes({0, 4, 1, 0, 0, 0, 0, 0, 0})}} << -1
                                                     << "tail";
        QTest::newRow("reserved byte set") << Steps{{Op::Send, req(0x8C, {0, 1})}} << -1 << "reserved byte 3";
        QTest::newRow("macro id in byte 2") << Steps{{Op::Send, req(0x10, {5})}} << -1 << "reserved byte 2";
        QTest::newRow("boot loader without signature") << Steps{{Op::Send, req(0x0F).left(2) + QByteArray(7, 0)}}
                                                       << -1 << "signature";
        QTest::newRow("macro stop without AA CC EE") << Steps{{Op::Send, req(0x09)}} << -1 << "AA CC EE";
        QTest::newRow("recovery without FF 1F") << Steps{{Op::Send, req(0x13)}} << -1 << "FF 1F";
        QTest::newRow("data without request") << Steps{{Op::Write, dataReport()}} << -1 << "without a request";
        QTest::newRow("data after 02H") << Steps{{Op::Send, req(0x02)}, {Op::Write, dataReport()}} << -1
                                        << "takes none";
        QTest::newRow("data after a query") << Steps{{Op::Send, req(0xB0)}, {Op::Write, dataReport()}} << -1
                                            << "takes none";
        QTest::newRow("data beyond the payload")
            << Steps{{Op::Send, ok30}, {Op::Write, dataReport()}, {Op::Write, dataReport()}} << -1 << "beyond";
        QTest::newRow("data report of 64 bytes") << Steps{{Op::Send, ok30}, {Op::Write, dataReport(64)}} << -1
                                                 << "expected 65";
        QTest::newRow("data report ID 2") << Steps{{Op::Send, ok30}, {Op::Write, dataReport(65, 2)}} << -1
                                          << "report ID";
        QTest::newRow("answer without request") << Steps{{Op::Get, {}}} << -1 << "without a request";
        QTest::newRow("answer twice") << Steps{{Op::Send, req(0x80)}, {Op::Get, {}}, {Op::Get, {}}} << -1
                                      << "without a request";
        QTest::newRow("answer buffer of 8") << Steps{{Op::Send, req(0x80)}, {Op::Get, QByteArray(1, 8)}} << -1
                                            << "expected 9";
        QTest::newRow("read with nothing pending") << Steps{{Op::Read, {}}} << -1 << "no data pending";
        QTest::newRow("read beyond the payload")
            << Steps{{Op::Send, req(0xB0)}, {Op::Get, {}}, {Op::Read, {}}, {Op::Read, {}}} << -1
            << "no data pending";
        QTest::newRow("feature on the event interface") << Steps{{Op::SendOnEvent, req(0x82)}} << -1
                                                        << "takes none";
        QTest::newRow("a real device node") << Steps{{Op::Open, "/dev/hidraw0"}} << -1 << "real device";
        // Accepted on the wire, refused by the keyboard.
        QTest::newRow("profile 10") << Steps{{Op::Send, req(0x21, {10})}} << 9 << "out of range";
        QTest::newRow("macro slot 17")
            << Steps{{Op::Send, req(0x10, {0, 17})}} << 9 << "out of range";
        QTest::newRow("user picture 5") << Steps{{Op::Send, req(0x12, {0, 5, 0})}} << 9 << "out of range";
        QTest::newRow("plane 4") << Steps{{Op::Send, req(0x92, {0, 0, 4})}} << 9 << "out of range";
        QTest::newRow("payload left unfinished")
            << Steps{{Op::Send, req(0x0C)}, {Op::Write, dataReport()}, {Op::Send, req(0x82)}} << 9
            << "previous 0CH left unfinished (1 of 2";
    }
    void rejected()
    {
        QFETCH(Steps, steps);
        QFETCH(int, result);
        QFETCH(QString, note);
        for (int i = 0; i + 1 < steps.size(); ++i)
            QVERIFY2(run(steps[i]) >= 0, qPrintable(QString("step %1").arg(i)));
        const std::string before = k3sim::stateText();
        QCOMPARE(run(steps.last()), result);
        QCOMPARE(k3sim::errorCount(), 1);
        // The log's last error carries the reason.
        const auto log = k3sim::log();
        const auto err = std::find_if(log.rbegin(), log.rend(), [](const k3sim::LogEntry &e) { return e.error; });
        QVERIFY(err != log.rend());
        QVERIFY2(QString::fromStdString(err->note).contains(note), err->note.c_str());
        QVERIFY(k3sim::stateText() == before);
    }

    // The payload of a query continues after an unfinished write.
    void newRequestAfterUnfinished()
    {
        QVERIFY(sendFeature(req(0x0C)) == 9);
        QByteArray a, data;
        QVERIFY(query(req(0xB0), &a, &data, 64));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(k3sim::profile(0).colors), 64), data);
        QCOMPARE(k3sim::errorCount(), 1);
    }

    // Arbitrary traffic, mostly near-valid, with the report length changing
    // under it: every call answers with a plain result and nothing breaks.
    void randomTraffic()
    {
        QRandomGenerator rng(4711);
        const int codes[] = {0x02, 0x0C, 0x10, 0x12, 0x30, 0x8C, 0x90, 0x92, 0xB0, 0x21, 0x13, 0x44};
        for (int i = 0; i < 3000; ++i) {
            QByteArray r = req(codes[rng.bounded(12)], {0, rng.bounded(20), rng.bounded(6)});
            if (rng.bounded(8) == 0)
                r[rng.bounded(9)] = char(rng.bounded(256));
            const int len = rng.bounded(10) ? 65 : rng.bounded(140);
            QByteArray data(len, char(rng.bounded(256)));
            if (len && rng.bounded(4))
                data[0] = 0;
            QByteArray out;
            int result = 0;
            switch (rng.bounded(6)) {
            case 0: result = sendFeature(rng.bounded(10) ? r : r.left(rng.bounded(12))); break;
            case 1: result = getFeature(out, rng.bounded(10) ? 9 : rng.bounded(12) + 1); break;
            case 2: result = writeData(data); break;
            case 3: result = readData(out, len ? len : 1, 0); break;
            case 4: k3sim::setReportLength(rng.bounded(3) ? 64 : rng.bounded(130) + 1); break;
            case 5: if (rng.bounded(50) == 0) { k3sim::unplug(); k3sim::plug(); } break;
            }
            QVERIFY(result >= -1 && result <= 140);
        }
        QCOMPARE(k3sim::openHandleCount(), 0);
        QVERIFY(k3sim::loadStateText(k3sim::stateText()));
    }

    void chunking_data()
    {
        QTest::addColumn<int>("reportLength");
        QTest::addColumn<int>("reports");
        QTest::newRow("64: two reports") << 64 << 2;
        QTest::newRow("128: one report") << 128 << 1;
        QTest::newRow("100: second report short") << 100 << 2;
        QTest::newRow("32: four reports") << 32 << 4;
    }
    void chunking()
    {
        QFETCH(int, reportLength);
        QFETCH(int, reports);
        k3sim::setReportLength(reportLength);
        const QByteArray keys = pattern(128, 11);
        QVERIFY(setting(req(0x0C), keys, reportLength));
        QByteArray data;
        QVERIFY(query(req(0x8C), nullptr, &data, 128, reportLength));
        QCOMPARE(data, keys);
        int writes = 0, reads = 0;
        for (const auto &e : k3sim::log()) {
            writes += e.call == "hid_write";
            reads += e.call == "hid_read_timeout";
        }
        QCOMPARE(writes, reports);
        QCOMPARE(reads, reports);
        QCOMPARE(k3sim::errorCount(), 0);
        // One report more than the payload needs is a framing error.
        QCOMPARE(writeData(dataReport(reportLength + 1)), -1);
        QCOMPARE(k3sim::errorCount(), 1);
    }

    void unplugAndReplug()
    {
        hid_device *cmd = hid_open_path(k3sim::kCommandPath);
        hid_device *ev = hid_open_path(k3sim::kEventPath);
        QVERIFY(cmd && ev);
        std::atomic<int> readResult{1};
        std::thread reader([&] {
            uchar buf[12];
            readResult = hid_read_timeout(ev, buf, 12, -1);
        });
        QTest::qWait(50);
        QElapsedTimer t;
        t.start();
        k3sim::unplug();
        reader.join();
        QCOMPARE(readResult.load(), -1);
        QVERIFY(t.elapsed() < 1000);

        const QByteArray r = req(0x82);
        QCOMPARE(hid_send_feature_report(cmd, u(r), 9), -1);
        QCOMPARE(hid_enumerate(0x04D9, 0xA1CD), nullptr);
        QCOMPARE(hid_open_path(k3sim::kCommandPath), nullptr);

        k3sim::plug();
        QCOMPARE(hid_send_feature_report(cmd, u(r), 9), -1);   // old handle stays dead
        hid_close(cmd);
        hid_close(ev);
        QByteArray a;
        QVERIFY(query(r, &a));
        QCOMPARE(k3sim::openHandleCount(), 0);
        QCOMPARE(k3sim::errorCount(), 0);
    }

    void unplugMidTransaction()
    {
        QVERIFY(sendFeature(req(0x0C)) == 9);
        QVERIFY(writeData(dataReport()) == 65);
        k3sim::unplug();
        k3sim::plug();
        // The half-written payload died with the device; a new request is clean.
        QVERIFY(setting(req(0x82)));
        QCOMPARE(k3sim::errorCount(), 0);
    }

    void stall()
    {
        k3sim::setStalled(true);
        QByteArray a, in;
        QCOMPARE(sendFeature(req(0xB0)), 9);
        QCOMPARE(getFeature(a), -1);
        QElapsedTimer t;
        t.start();
        QCOMPARE(readData(in, 65, 60), 0);
        QVERIFY(t.elapsed() >= 55);

        // A blocking read waits until the keyboard answers again.
        std::atomic<int> result{1};
        std::thread reader([&] {
            hid_device *h = hid_open_path(k3sim::kCommandPath);
            uchar buf[65];
            result = hid_read(h, buf, 65);
            hid_close(h);
        });
        QTest::qWait(100);
        QCOMPARE(result.load(), 1);
        k3sim::setStalled(false);
        reader.join();
        QCOMPARE(result.load(), 64);
        // Failures the keyboard caused are no framing errors of the host.
        QVERIFY(setting(req(0x82)));
        QCOMPARE(k3sim::errorCount(), 0);
    }

    void answerDelay()
    {
        k3sim::setAnswerDelayMs(80);
        QByteArray a, in;
        QElapsedTimer t;
        t.start();
        QCOMPARE(sendFeature(req(0xB0)), 9);
        QCOMPARE(getFeature(a), 9);
        QVERIFY(t.elapsed() >= 75);
        QCOMPARE(readData(in, 65, 20), 0);       // the answer comes after the time-out
        QCOMPARE(readData(in, 65, 500), 64);     // the report is still there
        QCOMPARE(k3sim::errorCount(), 0);
    }

    void faults()
    {
        k3sim::failNextOpens(2);
        QCOMPARE(hid_open_path(k3sim::kCommandPath), nullptr);
        QCOMPARE(hid_open_path(k3sim::kEventPath), nullptr);
        hid_device *h = hid_open_path(k3sim::kCommandPath);
        QVERIFY(h);
        hid_close(h);

        k3sim::failCall("hid_write", 1);
        QVERIFY(sendFeature(req(0x0C)) == 9);
        QCOMPARE(writeData(dataReport()), 65);
        QCOMPARE(writeData(dataReport()), -1);
        QCOMPARE(noteOf("hid_write"), QString("injected failure"));
        QVERIFY(setting(req(0x82)));   // the broken-off write is not held against the host

        // A fault bound to the event interface spares the command interface.
        k3sim::failCall("hid_read_timeout", 0, k3sim::kEventPath);
        QVERIFY(query(req(0xB0), nullptr, nullptr, 64));
        hid_device *ev = hid_open_path(k3sim::kEventPath);
        uchar buf[12];
        QCOMPARE(hid_read_timeout(ev, buf, 12, 0), -1);
        QCOMPARE(hid_read_timeout(ev, buf, 12, 0), 0);
        hid_close(ev);
        QCOMPARE(k3sim::errorCount(), 0);
    }

    void lightingReports()
    {
        hid_device *ev = hid_open_path(k3sim::kEventPath);
        QVERIFY(ev);
        uchar buf[12];
        QElapsedTimer t;
        t.start();
        QCOMPARE(hid_read_timeout(ev, buf, 12, 100), 0);
        QVERIFY(t.elapsed() >= 95);

        const uint8_t first[7] = {1, 2, 3, 4, 5, 6, 7};
        const uint8_t second[7] = {0x0B, 9, 9, 9, 9, 9, 9};
        k3sim::injectLightingReport(first);
        k3sim::injectLightingReport(second);
        QCOMPARE(hid_read_timeout(ev, buf, 12, 0), 12);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buf) + 4, 7), QByteArray(reinterpret_cast<const char *>(first), 7));
        QCOMPARE(buf[11], 0);
        QCOMPARE(hid_read(ev, buf, 12), 12);
        QCOMPARE(buf[4], 0x0B);
        // The keyboard reports its own state: the LED type follows.
        QByteArray a;
        QVERIFY(query(req(0x88), &a));
        QCOMPARE(a.mid(2), QByteArray(reinterpret_cast<const char *>(second), 7));

        // The lighting key advances the effect and wraps after the twelfth.
        k3sim::pressLightingKey();
        QCOMPARE(hid_read_timeout(ev, buf, 12, 0), 12);
        QCOMPARE(buf[4], 0);
        k3sim::pressLightingKey();
        QCOMPARE(hid_read_timeout(ev, buf, 12, 0), 12);
        QCOMPARE(buf[4], 1);

        // A blocked reader wakes as soon as a report comes.
        std::atomic<int> result{1};
        std::thread reader([&] {
            uchar b[12];
            result = hid_read_timeout(ev, b, 12, 5000);
        });
        QTest::qWait(50);
        t.restart();
        k3sim::injectLightingReport(first);
        reader.join();
        QCOMPARE(result.load(), 12);
        QVERIFY(t.elapsed() < 1000);
        hid_close(ev);
        QCOMPARE(k3sim::errorCount(), 0);
    }

    // The listener reads events while writes run on another thread.
    void concurrentUse()
    {
        std::atomic<bool> stop{false};
        std::atomic<int> events{0};
        std::thread listener([&] {
            while (!stop) {
                hid_device *ev = hid_open_path(k3sim::kEventPath);
                uchar b[12];
                if (ev && hid_read_timeout(ev, b, 12, 20) == 12)
                    ++events;
                hid_close(ev);
            }
        });
        std::thread writer([&] {
            for (int i = 0; i < 100; ++i)
                setting(req(0x30), pattern(64, i));
        });
        for (int i = 0; i < 20; ++i) {
            k3sim::pressLightingKey();
            QTest::qWait(5);
        }
        writer.join();
        QTRY_COMPARE(events.load(), 20);
        stop = true;
        listener.join();
        QCOMPARE(k3sim::errorCount(), 0);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(k3sim::profile(0).colors), 64), pattern(64, 99));
    }

    void stateFile()
    {
        QTemporaryDir dir;
        const QByteArray path = dir.filePath("state.ini").toLocal8Bit();
        qputenv("K3SIM_STATE", path);
        k3sim::reloadEnvironment();
        QVERIFY(setting(req(0x21, {4})));
        QVERIFY(setting(req(0x30), pattern(64, 3)));
        QVERIFY(setting(req(0x10, {0, 16}), pattern(128, 4)));
        QVERIFY(QFile::exists(QString::fromLocal8Bit(path)));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);   // no temporary left

        k3sim::reset();
        QCOMPARE(k3sim::currentProfile(), 0);
        k3sim::reloadEnvironment();
        QCOMPARE(k3sim::currentProfile(), 4);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(k3sim::profile(4).colors), 64), pattern(64, 3));
        const auto m = k3sim::macro(16);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(m.data()), 128), pattern(128, 4));
        qunsetenv("K3SIM_STATE");
        k3sim::reloadEnvironment();
    }

    void stateText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("current");
        QTest::newRow("empty") << QByteArray() << true << 0;
        QTest::newRow("current only") << QByteArray("[keyboard]\ncurrent=05\n") << true << 5;
        QTest::newRow("profile out of range") << QByteArray("[keyboard]\ncurrent=0a\n") << false << 0;
        QTest::newRow("truncated hex") << QByteArray("[profile1]\ncolors=0102\n[keyboard]\ncurrent=02") << false << 2;
        QTest::newRow("unknown section") << QByteArray("[profile99]\ncolors=00\n") << false << 0;
        QTest::newRow("binary garbage") << QByteArray("\x00\xff[\n=\n]]]=\x01", 11) << false << 0;
        QTest::newRow("key outside a section") << QByteArray("current=03\n") << false << 0;
    }
    void stateText()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, ok);
        QFETCH(int, current);
        const std::string factory = k3sim::stateText();
        QCOMPARE(k3sim::loadStateText(text.toStdString()), ok);
        QCOMPARE(k3sim::currentProfile(), current);
        if (current == 0)
            QVERIFY(k3sim::stateText() == factory);
        // What was saved loads back unchanged.
        QVERIFY(k3sim::loadStateText(k3sim::stateText()));
    }

    void logFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("sim.log");
        qputenv("K3SIM_LOG", path.toLocal8Bit());
        k3sim::reloadEnvironment();
        QVERIFY(query(req(0x84), nullptr));
        sendFeature(req(0x77));
        qunsetenv("K3SIM_LOG");
        k3sim::reloadEnvironment();

        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
        const QString cmd = QString::fromLatin1(k3sim::kCommandPath);
        QCOMPARE(lines.size(), int(k3sim::log().size()));
        QCOMPARE(lines.value(0), "hid_open_path " + cmd + " 20 0 -");
        QCOMPARE(lines.value(1), "hid_send_feature_report " + cmd + " 9 9 008400000000" "55aa00");
        QCOMPARE(lines.value(2), "hid_close " + cmd + " 0 0 -");
        QCOMPARE(lines.value(4), "hid_get_feature_report " + cmd + " 9 9 008403000000" "55aa00");
        QCOMPARE(lines.value(7), "hid_send_feature_report " + cmd + " 9 -1 007700000000" "55aa00"
                                 " ERROR unknown command 0x77");
    }

    void controlFifo()
    {
        QTemporaryDir dir;
        const QByteArray path = dir.filePath("ctl").toLocal8Bit();
        qputenv("K3SIM_CTL", path);
        k3sim::reloadEnvironment();
        qunsetenv("K3SIM_CTL");
        struct stat st;
        QVERIFY(::stat(path.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
        const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        auto send = [fd](const char *line) { QVERIFY(::write(fd, line, strlen(line)) == ssize_t(strlen(line))); };

        send("unplug\n");
        QTRY_VERIFY(!k3sim::isPlugged());
        send("plug\n");
        QTRY_VERIFY(k3sim::isPlugged());
        send("report 1 2 3 4 5 6 0x07\npress\n");
        QTRY_COMPARE(k3sim::pendingLightingReports(), 2);
        hid_device *ev = hid_open_path(k3sim::kEventPath);
        uchar buf[12];
        QCOMPARE(hid_read(ev, buf, 12), 12);
        QCOMPARE(QByteArray(reinterpret_cast<char *>(buf) + 4, 7), bytes({1, 2, 3, 4, 5, 6, 7}));
        QCOMPARE(hid_read(ev, buf, 12), 12);
        QCOMPARE(buf[4], 2);
        hid_close(ev);
        send("report 1 2 3\nexplode\n");
        QTRY_COMPARE(k3sim::errorCount(), 2);
        ::close(fd);
    }
};

QTEST_GUILESS_MAIN(TestK3Sim)
#include "tst_k3sim.moc"
