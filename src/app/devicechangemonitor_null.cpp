#include "devicechangemonitor.h"

// Platforms where the main window receives device changes as native messages.
struct DeviceChangeMonitor::Private {};

DeviceChangeMonitor::DeviceChangeMonitor(QObject *parent)
    : QObject(parent), d(new Private) {}
DeviceChangeMonitor::~DeviceChangeMonitor() { delete d; }
bool DeviceChangeMonitor::isActive() const { return false; }
