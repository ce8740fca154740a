#pragma once

#include "inputsource.h"
#include "linuxkeymap.h"

#include <QMap>
#include <QObject>
#include <QString>

class QFileSystemWatcher;
class QSocketNotifier;

// Reads every readable keyboard and mouse under /dev/input (event* nodes),
// picking up devices plugged in later. Needs read access to the nodes (root
// or the input group); used where the X server cannot be recorded, for
// example in a Wayland session.
class EvdevSource : public QObject, public InputSource
{
    Q_OBJECT
public:
    explicit EvdevSource(const QString &directory = QStringLiteral("/dev/input"));
    ~EvdevSource() override;

    bool start() override;
    void stop() override;
    const char *name() const override { return "evdev"; }

    int deviceCount() const { return int(devices.size()); }

    // Handles one evdev event (type, code, value); public for the benchmark.
    void handleEvent(unsigned type, unsigned code, int value);

private:
    struct Device
    {
        int fd = -1;
        QSocketNotifier *notifier = nullptr;
    };

    void scan();
    bool openDevice(const QString &path);
    void closeDevice(const QString &path);
    void readDevice(const QString &path);

    QString dir;
    QMap<QString, Device> devices;
    QFileSystemWatcher *watcher = nullptr;
    linuxkeys::KeyFeeder feeder;
    bool running = false;
};
