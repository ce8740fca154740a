#pragma once

#include "devinfo.h"

#include <QFuture>
#include <QList>
#include <QMutex>
#include <QThread>
#include <array>
#include <atomic>

struct hid_device_;
class DeviceOwner;

// The device link. The QThread base is never started: every slot runs on the
// caller's (GUI) thread, write transactions and the event listener run on the
// global thread pool. One idle token lets exactly one transaction run at a time.
class Hid_Thread : public QThread
{
    Q_OBJECT
public:
    explicit Hid_Thread(QObject *parent = nullptr);
    ~Hid_Thread() override;

    // Set by the main window right after construction.
    DeviceOwner *owner = nullptr;

    // Replaces `devices` from a catalogue by searching the HID bus. The caller
    // must have stopped the listener and hold the idle token.
    void scanDevices(const QList<DevInfoEntry> &catalogue);
    // Stops the listener, takes the token, rescans, gives the token back.
    // Returns false (and keeps the old list) when the token stays taken.
    bool rescan(const QList<DevInfoEntry> &catalogue);

    bool waitIdle();
    hid_device_ *openCmdInterface(uint did);
    bool sendCommand(int dataLength);
    bool queryCommand(int dataLength);

    void startListener(uint did);
    void stopListener();
    bool isListenerRunning() const { return isListening.load(); }

    QList<HidDevice> deviceList() const;
    uint currentDevice() const { return curDevice.load(); }
    bool isTokenFree() const { return isIdle.load(); }

    // Limit for one data input report of a query; a silent keyboard fails the
    // transaction after this instead of blocking the GUI thread for ever.
    static constexpr int kDataReadTimeoutMs = 1000;
    // Read time-out of the event listener; bounds how long a stop blocks.
    static constexpr int kListenTimeoutMs = 500;
    static constexpr int kIdlePollMs = 8;
    static constexpr int kIdlePolls = 255;

public slots:
    void swichCurDevice(uint did);

    void hid_02H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3);
    void hid_04H_SetButtonSensitivity(uchar sens1);
    void hid_08H_SetLEDType(uchar type, uchar brightness, uchar speed, uchar direction,
                            uchar color, uchar bl0, uchar bl1);
    void hid_09H_StopMacroSending();
    void hid_0CH_SetKeyMatrix_1(uchar *src128);
    void hid_0DH_SetKeyMatrix_2(uchar *src128);
    void hid_0FH_SetISPBootLoader();
    void hid_10H_SetMacroKey(uchar macroId, uchar *src128);
    void hid_12H_SetUserPicture(uchar index, uchar colorIndex, uchar *src128);
    void hid_13H_SetRecoveryData();
    void hid_21H_SetCurrentProfile(uchar profileId);
    void hid_30H_SetSevenColor(uchar *src64);
    void hid_80H_GetFWVersion(ushort &version, uchar &mode_UsUk);
    void hid_82H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3);
    void hid_84H_GetButtonSensitivity(uchar &sens1);
    bool hid_88H_GetLEDType(uchar &type, uchar &brightness, uchar &speed, uchar &direction,
                            uchar &color, uchar &bl0, uchar &bl1);
    void hid_8CH_GetKeyMatrix_1(uchar *src128);
    void hid_8DH_GetKeyMatrix_2(uchar *src128);
    void hid_90H_GetMacroKey(uchar macroId, uchar *src128);
    void hid_92H_GetUserPicture(uchar index, uchar colorIndex, uchar *src128);
    void hid_A1H_GetCurrentProfile(uchar &profileId);
    bool hid_B0H_GetSevenColor(uchar *src64);

private:
    void listenEvents(uint did);
    void storeLightingReport(const QList<int> &ledType);

    enum class QueryResult { Busy, Failed, Ok };

    // Fills featureOut from the command table: code, parameters, tail.
    void frameRequest(quint8 code, std::initializer_list<quint8> params);
    bool takeTokenOrLog(quint8 code);
    // A setting: frame it, copy its payload, hand the write to the pool.
    void runSetting(quint8 code, std::initializer_list<quint8> params, const uchar *payload = nullptr);
    // A query on this thread. `outputs` are answer bytes 2, 3, ... in order.
    QueryResult runQuery(quint8 code, std::initializer_list<quint8> params,
                         std::initializer_list<uchar *> outputs, uchar *data = nullptr);
    QString pathOf(uint did, bool eventInterface) const;
    int reportLengthOf(uint did) const;
    bool finishTransaction(bool ok);
    bool sendRequest(uint did);
    int chunkFor(uint did, int dataLength) const;
    void clearPath(uint did, bool eventInterface);

    // The listener and write tasks clear paths from pool threads while the GUI
    // thread reads them, so record access goes through this lock.
    mutable QMutex devicesLock;
    QList<HidDevice> devices;
    std::atomic_uint curDevice{0};  // read by write tasks on the pool
    hid_device_ *cmdHandle = nullptr;
    hid_device_ *eventHandle = nullptr;
    std::atomic_bool isIdle{true};
    std::atomic_bool isListening{false};
    QFuture<void> listenerFuture;
    std::array<quint8, 9> featureOut{};
    std::array<quint8, 9> featureIn{};
    std::array<quint8, 128> dataBuf{};
};
