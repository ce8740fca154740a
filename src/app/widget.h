#pragma once

#include "deviceowner.h"
#include "hid_thread.h"

#include <QTimer>
#include <QWidget>

class Ui_Controler;
class DeviceChangeMonitor;
class myQQuickView;

// The one top-level window. Owns the device link, the device re-check timer
// and the controller that hosts the view.
class Widget : public QWidget, public DeviceOwner
{
    Q_OBJECT
public:
    explicit Widget(QWidget *parent = nullptr);
    ~Widget() override;

    // Locks the UI, queues the root's initUI and posts the start event.
    void beginUi();

    Ui_Controler *controller() const { return ctl; }
    myQQuickView *view() const;
    Hid_Thread &device() { return hid; }
    const QTimer &recheckTimer() const { return checkTimer; }

    // DeviceOwner: the listener's lighting report lands in the view's current profile.
    QSettings *currentProfileSettings() override;
    void lightingChanged() override;

    static constexpr int kRecheckMs = 2048;

public slots:
    void checkDevice();
    // Any device came or went: re-check 2048 ms after the last such change.
    void deviceChanged();

protected:
    void customEvent(QEvent *event) override;
#ifdef Q_OS_WIN
    bool nativeEvent(const QByteArray &eventType, void *message, qintptr *result) override;
#endif

private:
    QTimer checkTimer;
    Ui_Controler *ctl = nullptr;
    Hid_Thread hid;
    DeviceChangeMonitor *monitor = nullptr;
};
