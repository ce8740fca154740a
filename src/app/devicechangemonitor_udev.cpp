#include "devicechangemonitor.h"

#include <QDebug>
#include <QSocketNotifier>

#include <libudev.h>

struct DeviceChangeMonitor::Private
{
    udev *context = nullptr;
    udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr;
};

DeviceChangeMonitor::DeviceChangeMonitor(QObject *parent)
    : QObject(parent), d(new Private)
{
    d->context = udev_new();
    if (!d->context)
        return;
    d->monitor = udev_monitor_new_from_netlink(d->context, "udev");
    if (!d->monitor
        || udev_monitor_filter_add_match_subsystem_devtype(d->monitor, "hidraw", nullptr) < 0
        || udev_monitor_enable_receiving(d->monitor) < 0) {
        qWarning("device change monitor unavailable; plug the keyboard in before start");
        return;
    }
    d->notifier = new QSocketNotifier(udev_monitor_get_fd(d->monitor), QSocketNotifier::Read, this);
    connect(d->notifier, &QSocketNotifier::activated, this, [this] {
        // Drain the event; what changed does not matter, only that something did.
        if (udev_device *dev = udev_monitor_receive_device(d->monitor))
            udev_device_unref(dev);
        emit changed();
    });
}

DeviceChangeMonitor::~DeviceChangeMonitor()
{
    delete d->notifier;
    if (d->monitor)
        udev_monitor_unref(d->monitor);
    if (d->context)
        udev_unref(d->context);
    delete d;
}

bool DeviceChangeMonitor::isActive() const
{
    return d->notifier != nullptr;
}
