#include "hid_thread.h"

#include "commandset.h"
#include "deviceowner.h"
#include "rawio.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMutexLocker>
#include <QSettings>
#include <QThreadPool>
#include <QtConcurrent>

#include <hidapi.h>

#include <cstring>
#include <vector>

using namespace k3proto;

Hid_Thread::Hid_Thread(QObject *parent)
    : QThread(parent)
{
    // The listener occupies one pool thread for as long as it runs; write tasks
    // need another, or the idle token would never come back.
    QThreadPool *pool = QThreadPool::globalInstance();
    if (pool->maxThreadCount() < 2)
        pool->setMaxThreadCount(2);
    listenerFuture = QtFuture::makeReadyFuture();
}

Hid_Thread::~Hid_Thread()
{
    stopListener();
    // A write still running on the pool uses our buffers and handle: let it end.
    // It always gives the token back, so this wait is short; the bound only
    // guards against a hidapi call that never returns.
    for (int i = 0; i < kIdlePolls && !isIdle.load(); ++i)
        QThread::msleep(kIdlePollMs);
    rawio::close(cmdHandle);
}

QList<HidDevice> Hid_Thread::deviceList() const
{
    QMutexLocker lock(&devicesLock);
    return devices;
}

QString Hid_Thread::pathOf(uint did, bool eventInterface) const
{
    QMutexLocker lock(&devicesLock);
    if (did >= uint(devices.size()))
        return {};
    return eventInterface ? devices.at(did).path2 : devices.at(did).path;
}

void Hid_Thread::clearPath(uint did, bool eventInterface)
{
    QMutexLocker lock(&devicesLock);
    if (did >= uint(devices.size()))
        return;
    if (eventInterface)
        devices[did].path2.clear();
    else
        devices[did].path.clear();
}

// ---------------------------------------------------------------- discovery

void Hid_Thread::scanDevices(const QList<DevInfoEntry> &catalogue)
{
    QList<HidDevice> found;
    for (int i = 0; i < catalogue.size(); ++i) {
        HidDevice d;
        d.id = i;
        d.name = catalogue.at(i).productName;
        found.append(d);
    }
    // Only the first catalogue entry is searched; the last matching interface of
    // each kind in enumeration order wins.
    if (!catalogue.isEmpty()) {
        const DevInfoEntry &e = catalogue.first();
        QString first, second;
        hid_device_info *list = hid_enumerate(e.vid, e.pid);
        for (hid_device_info *it = list; it; it = it->next) {
            const QString path = QString::fromLocal8Bit(it->path ? it->path : "");
            if (it->usage_page == e.usagePage && it->usage == e.usage)
                first = path;
            if (it->usage_page == e.usagePage2 && it->usage == e.usage2)
                second = path;
            if (!first.isEmpty() && !second.isEmpty()) {
                found[0].path = first;
                found[0].path2 = second;
                found[0].reportLength = qint32(e.reportLength);
            }
        }
        hid_free_enumeration(list);
    }
    QMutexLocker lock(&devicesLock);
    devices = found;
}

bool Hid_Thread::rescan(const QList<DevInfoEntry> &catalogue)
{
    stopListener();
    if (!waitIdle()) {
        // A transaction holds the token for too long: keep the old list and
        // rely on the next device change to rescan.
        qCWarning(lcDevice) << "rescan skipped: device link busy";
        return false;
    }
    scanDevices(catalogue);
    isIdle.store(true);
    return true;
}

// ---------------------------------------------------------------- transport

bool Hid_Thread::waitIdle()
{
    bool expected = true;
    if (isIdle.compare_exchange_strong(expected, false))
        return true;
    for (int poll = 1; poll <= kIdlePolls; ++poll) {
        // One 8 ms step, cut short when the token comes back, so a command
        // queued behind a write starts right after it instead of up to 8 ms later.
        for (int ms = 0; ms < kIdlePollMs && !isIdle.load(); ++ms)
            QThread::msleep(1);
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        if (poll == kIdlePolls)
            break;  // the 255th sleep gives up without looking again
        expected = true;
        if (isIdle.compare_exchange_strong(expected, false))
            return true;
    }
    return false;
}

hid_device_ *Hid_Thread::openCmdInterface(uint did)
{
    const QString path = pathOf(did, false);
    if (path.isEmpty())
        return nullptr;
    rawio::close(cmdHandle);
    cmdHandle = rawio::open(path);
    if (!cmdHandle)
        clearPath(did, false);  // gone until the next scan
    return cmdHandle;
}

int Hid_Thread::reportLengthOf(uint did) const
{
    QMutexLocker lock(&devicesLock);
    return did < uint(devices.size()) ? devices.at(did).reportLength : 0;
}

bool Hid_Thread::finishTransaction(bool ok)
{
    rawio::close(cmdHandle);
    isIdle.store(true);
    return ok;
}

bool Hid_Thread::sendRequest(uint did)
{
    // The first open only sees whether the keyboard is there; every report
    // then goes through a freshly opened handle.
    return openCmdInterface(did) && openCmdInterface(did)
           && rawio::sendFeature(cmdHandle, featureOut.data(), featureOut.size()) >= 0;
}

int Hid_Thread::chunkFor(uint did, int dataLength) const
{
    if (dataLength > int(dataBuf.size()))
        return 0;
    return qMin(dataLength, reportLengthOf(did));
}

bool Hid_Thread::sendCommand(int dataLength)
{
    const uint did = curDevice;
    if (!sendRequest(did))
        return finishTransaction(false);
    if (dataLength <= 0)
        return finishTransaction(true);

    const int chunk = chunkFor(did, dataLength);
    if (chunk <= 0)
        return finishTransaction(false);
    std::vector<quint8> report(size_t(reportLengthOf(did)) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        report[0] = 0x00;
        std::memcpy(report.data() + 1, dataBuf.data() + offset, size_t(qMin(chunk, dataLength - offset)));
        if (!openCmdInterface(did) || rawio::write(cmdHandle, report.data(), report.size()) < 0)
            return finishTransaction(false);
        QThread::msleep(kReportPauseMs);
    }
    return finishTransaction(true);
}

bool Hid_Thread::queryCommand(int dataLength)
{
    const uint did = curDevice;
    if (!sendRequest(did))
        return finishTransaction(false);
    // The answer goes to a scratch copy: a failed fetch leaves featureIn as prefilled.
    std::array<quint8, kFeatureReportSize> answer = featureIn;
    answer[0] = 0x00;
    if (!openCmdInterface(did) || rawio::getFeature(cmdHandle, answer.data(), answer.size()) < 0)
        return finishTransaction(false);
    featureIn = answer;
    if (dataLength <= 0)
        return finishTransaction(true);

    const int chunk = chunkFor(did, dataLength);
    if (chunk <= 0)
        return finishTransaction(false);
    std::vector<quint8> report(size_t(reportLengthOf(did)) + 1, 0);
    for (int offset = 0; offset < dataLength; offset += chunk) {
        std::fill(report.begin(), report.end(), 0);
        if (!openCmdInterface(did))
            return finishTransaction(false);
        // A keyboard that accepted the query but sends nothing must not block
        // the GUI thread: no report within the limit fails the transaction.
        if (rawio::read(cmdHandle, report.data(), report.size(), kDataReadTimeoutMs) <= 0)
            return finishTransaction(false);
        std::memcpy(dataBuf.data() + offset, report.data(), size_t(qMin(chunk, dataLength - offset)));
    }
    return finishTransaction(true);
}

// ---------------------------------------------------------------- commands

void Hid_Thread::frameRequest(quint8 code, std::initializer_list<quint8> params)
{
    const Command *cmd = findCommand(code);
    featureOut.fill(0);
    featureOut[1] = code;
    int i = 2;
    for (quint8 p : params)
        if (i < kFeatureReportSize)
            featureOut[size_t(i++)] = p;
    if (cmd && cmd->tail)
        std::memcpy(featureOut.data() + 6, kTail, sizeof kTail);
}

bool Hid_Thread::takeTokenOrLog(quint8 code)
{
    if (waitIdle())
        return true;
    const Command *cmd = findCommand(code);
    if (cmd && cmd->kind == Kind::Setting)
        qDebug().noquote() << QStringLiteral("cmd Failed ")
                                  + QString::number(code, 16).rightJustified(2, QLatin1Char('0')).toUpper();
    else
        qDebug("cmd Failed");
    return false;
}

void Hid_Thread::runSetting(quint8 code, std::initializer_list<quint8> params, const uchar *payload)
{
    if (!takeTokenOrLog(code))
        return;
    frameRequest(code, params);
    const Command *cmd = findCommand(code);
    const int length = cmd ? cmd->payload : 0;
    if (payload && length > 0)
        std::memcpy(dataBuf.data(), payload, size_t(length));
    // Fire and forget: the pool thread gives the token back when it is done.
    QThreadPool::globalInstance()->start([this, length] { sendCommand(length); });
    if (cmd && cmd->pauseAfter)
        QThread::msleep(kReportPauseMs);
}

Hid_Thread::QueryResult Hid_Thread::runQuery(quint8 code, std::initializer_list<quint8> params,
                                             std::initializer_list<uchar *> outputs, uchar *data)
{
    if (!takeTokenOrLog(code))
        return QueryResult::Busy;
    frameRequest(code, params);
    // The answer's output positions start with the caller's values, so a failed
    // transaction hands them back unchanged.
    featureIn = featureOut;
    size_t at = 2;
    for (uchar *out : outputs)
        featureIn[at++] = *out;
    const Command *cmd = findCommand(code);
    const int length = data && cmd ? cmd->payload : 0;
    if (length > 0)
        std::memcpy(dataBuf.data(), data, size_t(length));
    const bool ok = queryCommand(length);
    if (length > 0)
        std::memcpy(data, dataBuf.data(), size_t(length));
    at = 2;
    for (uchar *out : outputs)
        *out = featureIn[at++];
    return ok ? QueryResult::Ok : QueryResult::Failed;
}

void Hid_Thread::swichCurDevice(uint did)
{
    curDevice = did;
    startListener(did);
}

void Hid_Thread::hid_02H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3)
{
    runSetting(0x02, {byte1, byte2, byte3});
}

void Hid_Thread::hid_04H_SetButtonSensitivity(uchar sens1)
{
    runSetting(0x04, {sens1});
}

void Hid_Thread::hid_08H_SetLEDType(uchar type, uchar brightness, uchar speed, uchar direction,
                                    uchar color, uchar bl0, uchar bl1)
{
    runSetting(0x08, {type, brightness, speed, direction, color, bl0, bl1});
}

void Hid_Thread::hid_09H_StopMacroSending()
{
    runSetting(0x09, {0xAA, 0xCC, 0xEE});
}

void Hid_Thread::hid_0CH_SetKeyMatrix_1(uchar *src128)
{
    runSetting(0x0C, {}, src128);
}

void Hid_Thread::hid_0DH_SetKeyMatrix_2(uchar *src128)
{
    runSetting(0x0D, {}, src128);
}

void Hid_Thread::hid_0FH_SetISPBootLoader()
{
    const quint8 *s = kBootLoaderSignature;
    runSetting(0x0F, {s[0], s[1], s[2], s[3], s[4], s[5], s[6]});
}

void Hid_Thread::hid_10H_SetMacroKey(uchar macroId, uchar *src128)
{
    runSetting(0x10, {0x00, macroId}, src128);
}

void Hid_Thread::hid_12H_SetUserPicture(uchar index, uchar colorIndex, uchar *src128)
{
    runSetting(0x12, {0x00, index, colorIndex}, src128);
}

void Hid_Thread::hid_13H_SetRecoveryData()
{
    runSetting(0x13, {0xFF, 0x1F});
}

void Hid_Thread::hid_21H_SetCurrentProfile(uchar profileId)
{
    runSetting(0x21, {profileId});
}

void Hid_Thread::hid_30H_SetSevenColor(uchar *src64)
{
    runSetting(0x30, {}, src64);
}

void Hid_Thread::hid_80H_GetFWVersion(ushort &version, uchar &mode_UsUk)
{
    uchar high = 0, low = 0, mode = 0;
    // Unlike the other queries the outputs change only when the keyboard answered.
    if (runQuery(0x80, {}, {&high, &low, &mode}) != QueryResult::Ok)
        return;
    version = ushort(high * 256 + low);
    mode_UsUk = uchar((mode >> 1) & 3);
}

void Hid_Thread::hid_82H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3)
{
    runQuery(0x82, {}, {&byte1, &byte2, &byte3});
}

void Hid_Thread::hid_84H_GetButtonSensitivity(uchar &sens1)
{
    runQuery(0x84, {}, {&sens1});
}

bool Hid_Thread::hid_88H_GetLEDType(uchar &type, uchar &brightness, uchar &speed, uchar &direction,
                                    uchar &color, uchar &bl0, uchar &bl1)
{
    return runQuery(0x88, {}, {&type, &brightness, &speed, &direction, &color, &bl0, &bl1})
           == QueryResult::Ok;
}

void Hid_Thread::hid_8CH_GetKeyMatrix_1(uchar *src128)
{
    runQuery(0x8C, {}, {}, src128);
}

void Hid_Thread::hid_8DH_GetKeyMatrix_2(uchar *src128)
{
    runQuery(0x8D, {}, {}, src128);
}

void Hid_Thread::hid_90H_GetMacroKey(uchar macroId, uchar *src128)
{
    runQuery(0x90, {0x00, macroId}, {}, src128);
}

void Hid_Thread::hid_92H_GetUserPicture(uchar index, uchar colorIndex, uchar *src128)
{
    runQuery(0x92, {0x00, index, colorIndex}, {}, src128);
}

void Hid_Thread::hid_A1H_GetCurrentProfile(uchar &profileId)
{
    // Starts from the request's byte 2, so a failed query yields 0.
    uchar answer = 0;
    if (runQuery(0xA1, {}, {&answer}) != QueryResult::Busy)
        profileId = answer;
}

bool Hid_Thread::hid_B0H_GetSevenColor(uchar *src64)
{
    return runQuery(0xB0, {}, {}, src64) == QueryResult::Ok;
}

// ---------------------------------------------------------------- listener

void Hid_Thread::startListener(uint did)
{
    isListening.store(false);
    // Also wait for a listener that ended by itself: two must never share eventHandle.
    listenerFuture.waitForFinished();
    isListening.store(true);
    listenerFuture = QtConcurrent::run(QThreadPool::globalInstance(), [this, did] { listenEvents(did); });
}

void Hid_Thread::stopListener()
{
    isListening.store(false);
    listenerFuture.waitForFinished();
}

void Hid_Thread::listenEvents(uint did)
{
    const QString path2 = pathOf(did, true);
    if (path2.isEmpty())
        return;
    while (isListening.load()) {
        rawio::close(eventHandle);
        eventHandle = rawio::open(path2);
        if (!eventHandle) {
            qDebug("Device removed");
            clearPath(did, true);
            isListening.store(false);
            return;
        }
        quint8 report[kEventReportSize] = {};
        const int n = rawio::read(eventHandle, report, sizeof report, kListenTimeoutMs);
        if (n == kEventReportSize) {
            QList<int> ledType;
            for (int i = 4; i <= 10; ++i)
                ledType.append(report[i]);
            // The view's settings belong to the GUI thread: store and refresh there.
            QMetaObject::invokeMethod(this, [this, ledType] { storeLightingReport(ledType); },
                                      Qt::QueuedConnection);
        }
        rawio::close(eventHandle);
    }
}

void Hid_Thread::storeLightingReport(const QList<int> &ledType)
{
    if (!owner)
        return;
    if (QSettings *profile = owner->currentProfileSettings()) {
        QVariantList values;
        for (int v : ledType)
            values.append(v);
        profile->setValue(QStringLiteral("color/ledType"), values);
    }
    owner->lightingChanged();
}
