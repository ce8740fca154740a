#include "rawio.h"

#include <hidapi.h>

Q_LOGGING_CATEGORY(lcDevice, "k3.device", QtWarningMsg)

namespace rawio {
namespace {

void dump(const char *what, hid_device *handle, const unsigned char *data, size_t length, int result)
{
    if (!lcDevice().isDebugEnabled())
        return;
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(length));
    qCDebug(lcDevice).noquote() << what << static_cast<const void *>(handle) << "len" << length
                                << "->" << result << bytes.toHex(' ');
}

} // namespace

hid_device_ *open(const QString &path)
{
    const QByteArray native = path.toLocal8Bit();
    hid_device *handle = hid_open_path(native.constData());
    qCDebug(lcDevice).noquote() << "open" << path << (handle ? "ok" : "failed");
    if (handle)
        hid_set_nonblocking(handle, 0);
    return handle;
}

void close(hid_device_ *&handle)
{
    if (!handle)
        return;
    hid_close(handle);
    handle = nullptr;
}

int sendFeature(hid_device_ *handle, const unsigned char *data, size_t length)
{
    const int r = hid_send_feature_report(handle, data, length);
    dump("feature>", handle, data, length, r);
    return r;
}

int getFeature(hid_device_ *handle, unsigned char *data, size_t length)
{
    const int r = hid_get_feature_report(handle, data, length);
    dump("feature<", handle, data, length, r);
    return r;
}

int write(hid_device_ *handle, const unsigned char *data, size_t length)
{
    const int r = hid_write(handle, data, length);
    dump("output>", handle, data, length, r);
    return r;
}

int read(hid_device_ *handle, unsigned char *data, size_t length, int timeoutMs)
{
    const int r = hid_read_timeout(handle, data, length, timeoutMs);
    dump("input<", handle, data, r > 0 ? size_t(r) : 0, r);
    return r;
}

} // namespace rawio
