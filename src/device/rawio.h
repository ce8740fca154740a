#pragma once

#include <QLoggingCategory>
#include <QString>
#include <cstddef>

struct hid_device_;

Q_DECLARE_LOGGING_CATEGORY(lcDevice)

// Every report to and from the keyboard passes these functions, so one logging
// category ("k3.device", off by default) can show all traffic in hex.
namespace rawio {

hid_device_ *open(const QString &path);
void close(hid_device_ *&handle);
int sendFeature(hid_device_ *handle, const unsigned char *data, size_t length);
int getFeature(hid_device_ *handle, unsigned char *data, size_t length);
int write(hid_device_ *handle, const unsigned char *data, size_t length);
// Waits at most timeoutMs (-1: no limit); 0 means nothing arrived in time.
int read(hid_device_ *handle, unsigned char *data, size_t length, int timeoutMs);

} // namespace rawio
