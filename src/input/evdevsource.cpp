#include "evdevsource.h"

#include "capturecore.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr std::size_t longBits = sizeof(unsigned long) * 8;

bool testBit(const unsigned long *bits, unsigned bit)
{
    return (bits[bit / longBits] >> (bit % longBits)) & 1UL;
}

// A keyboard has letter keys; a mouse has a left button.
bool isKeyboardOrMouse(int fd)
{
    unsigned long keys[(KEY_MAX + longBits) / longBits] = {};
    if (ioctl(fd, EVIOCGBIT(EV_KEY, sizeof(keys)), keys) < 0)
        return false;
    return testBit(keys, KEY_A) || testBit(keys, KEY_ENTER) || testBit(keys, BTN_LEFT);
}

} // namespace

EvdevSource::EvdevSource(const QString &directory)
    : dir(directory)
{
}

EvdevSource::~EvdevSource()
{
    stop();
}

bool EvdevSource::start()
{
    running = true;
    feeder.reset();
    scan();
    if (devices.isEmpty()) {
        running = false;
        return false;
    }
    // New nodes appear in the folder when a device is plugged in; their access
    // rights are set a moment later, so look again shortly after.
    watcher = new QFileSystemWatcher(QStringList{dir}, this);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        scan();
        QTimer::singleShot(1000, this, [this] { if (running) scan(); });
    });
    return true;
}

void EvdevSource::stop()
{
    running = false;
    delete watcher;
    watcher = nullptr;
    const QStringList paths = devices.keys();
    for (const QString &path : paths)
        closeDevice(path);
}

void EvdevSource::scan()
{
    const QStringList names = QDir(dir).entryList({QStringLiteral("event*")}, QDir::System | QDir::Files);
    for (const QString &name : names) {
        const QString path = dir + QLatin1Char('/') + name;
        if (!devices.contains(path))
            openDevice(path);
    }
}

bool EvdevSource::openDevice(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (!isKeyboardOrMouse(fd)) {
        ::close(fd);
        return false;
    }
    Device dev;
    dev.fd = fd;
    dev.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(dev.notifier, &QSocketNotifier::activated, this, [this, path] { readDevice(path); });
    devices.insert(path, dev);
    return true;
}

void EvdevSource::closeDevice(const QString &path)
{
    const auto it = devices.find(path);
    if (it == devices.end())
        return;
    delete it->notifier;
    ::close(it->fd);
    devices.erase(it);
}

void EvdevSource::readDevice(const QString &path)
{
    const auto it = devices.constFind(path);
    if (it == devices.constEnd())
        return;
    const int fd = it->fd;
    input_event events[64];
    for (;;) {
        const ssize_t n = ::read(fd, events, sizeof(events));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                closeDevice(path); // unplugged (ENODEV) or broken
            return;
        }
        if (n == 0) {
            closeDevice(path);
            return;
        }
        const std::size_t count = std::size_t(n) / sizeof(input_event);
        for (std::size_t i = 0; i < count; ++i)
            handleEvent(events[i].type, events[i].code, events[i].value);
        // The callbacks may have stopped the capture.
        if (!devices.contains(path))
            return;
        if (std::size_t(n) < sizeof(events))
            return;
    }
}

void EvdevSource::handleEvent(unsigned type, unsigned code, int value)
{
    if (type != EV_KEY)
        return;
    if (code >= BTN_MISC && code < KEY_OK) {
        const bool isDown = value != 0;
        if (value == 2)
            return; // buttons do not repeat; a repeat here is not a press
        if (std::uint32_t message = linuxkeys::evdevButtonMessage(code, isDown)) {
            // evdev has no screen position: take the pointer's.
            const QPoint p = qGuiApp ? QCursor::pos() : QPoint();
            capture::mouseEvent(message, p.x(), p.y());
        }
        return;
    }
    feeder.feed(code, value);
}
