#pragma once

#include <QObject>

// Tells when any HID device came or went. Linux: a udev monitor on "hidraw".
// On Windows the main window sees WM_DEVICECHANGE itself and this stays silent.
class DeviceChangeMonitor : public QObject
{
    Q_OBJECT
public:
    explicit DeviceChangeMonitor(QObject *parent = nullptr);
    ~DeviceChangeMonitor() override;

    bool isActive() const;

signals:
    void changed();

private:
    struct Private;
    Private *d = nullptr;
};
