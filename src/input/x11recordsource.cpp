#include "x11recordsource.h"

#include "capturecore.h"

#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QSocketNotifier>

#include <poll.h>

// X11 headers after Qt's: their macros collide with Qt names.
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>
#undef KeyPress
#undef KeyRelease
#undef Bool
#undef Status
#undef None
#undef Unsorted
#undef CursorShape
#undef FocusIn
#undef FocusOut

namespace {

Q_LOGGING_CATEGORY(lcX11, "k3.input.x11")

constexpr int kKeyPress = 2;
constexpr int kKeyRelease = 3;
constexpr int kButtonPress = 4;
constexpr int kButtonRelease = 5;
constexpr int kX11KeycodeOffset = 8; // X key code = Linux key code + 8
constexpr int kStartTimeoutMs = 2000;

int setupErrors = 0;
int countError(Display *, XErrorEvent *)
{
    ++setupErrors;
    return 0;
}

void recordCallback(XPointer closure, XRecordInterceptData *data)
{
    auto *source = reinterpret_cast<X11RecordSource *>(closure);
    if (data->category == XRecordFromServer)
        source->handleEvent(data->data, int(data->data_len) * 4);
    else if (data->category == XRecordStartOfData)
        source->recording = true;
    XRecordFreeData(data);
}

Display *dpy(void *p) { return static_cast<Display *>(p); }

} // namespace

X11RecordSource::X11RecordSource() = default;

X11RecordSource::~X11RecordSource()
{
    stop();
}

bool X11RecordSource::start()
{
    // A missing display (no DISPLAY, or a refused connection) or a server
    // without RECORD leaves this source unavailable. The error handler keeps a
    // refused request from ending the program.
    Display *control = XOpenDisplay(nullptr);
    if (!control) {
        qCDebug(lcX11) << "no X display";
        return false;
    }
    Display *data = nullptr;
    XRecordContext ctx = 0;
    auto fail = [&](const char *why) {
        qCDebug(lcX11) << why;
        if (ctx)
            XRecordFreeContext(control, ctx);
        if (data)
            XCloseDisplay(data);
        XCloseDisplay(control);
        return false;
    };
    int major = 0, minor = 0;
    if (!XRecordQueryVersion(control, &major, &minor))
        return fail("the X server has no RECORD extension");
    data = XOpenDisplay(DisplayString(control));
    if (!data)
        return fail("second X connection refused");

    XRecordRange *range = XRecordAllocRange();
    if (!range)
        return fail("out of memory");
    range->device_events.first = kKeyPress;
    range->device_events.last = kButtonRelease;
    XRecordClientSpec clients = XRecordAllClients;
    int (*previous)(Display *, XErrorEvent *) = XSetErrorHandler(countError);
    setupErrors = 0;
    ctx = XRecordCreateContext(control, 0, &clients, 1, &range, 1);
    XFree(range);
    XSync(control, False);
    XSetErrorHandler(previous);
    if (!ctx || setupErrors)
        return fail("RECORD context refused");

    feeder.reset();
    recording = false;
    if (!XRecordEnableContextAsync(data, ctx, recordCallback, reinterpret_cast<XPointer>(this)))
        return fail("RECORD context not enabled");
    // Wait (briefly) for the server's first reply, which says that recording
    // runs: from then on no event is missed. It also must be read before the
    // socket is watched.
    XFlush(data);
    QDeadlineTimer deadline(kStartTimeoutMs);
    XRecordProcessReplies(data);
    while (!recording && !deadline.hasExpired()) {
        pollfd pfd{ConnectionNumber(data), POLLIN, 0};
        ::poll(&pfd, 1, int(deadline.remainingTime()));
        XRecordProcessReplies(data);
    }
    if (!recording)
        qCDebug(lcX11) << "RECORD has not confirmed the start yet";

    controlDisplay = control;
    dataDisplay = data;
    context = ctx;
    notifier = new QSocketNotifier(ConnectionNumber(data), QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &X11RecordSource::readReplies);
    return true;
}

void X11RecordSource::stop()
{
    if (!controlDisplay)
        return;
    delete notifier;
    notifier = nullptr;
    XRecordDisableContext(dpy(controlDisplay), context);
    XSync(dpy(controlDisplay), False);
    XRecordFreeContext(dpy(controlDisplay), context);
    XCloseDisplay(dpy(dataDisplay));
    XCloseDisplay(dpy(controlDisplay));
    controlDisplay = dataDisplay = nullptr;
    context = 0;
}

void X11RecordSource::readReplies()
{
    // Reads what the socket holds and runs recordCallback for each event; it
    // never waits for more.
    if (dataDisplay)
        XRecordProcessReplies(dpy(dataDisplay));
}

void X11RecordSource::handleEvent(const unsigned char *event, int length)
{
    if (!event || length < int(sizeof(xEvent)))
        return;
    const xEvent *ev = reinterpret_cast<const xEvent *>(event);
    const int type = ev->u.u.type & 0x7F;
    const unsigned detail = ev->u.u.detail;
    switch (type) {
    case kKeyPress:
    case kKeyRelease:
        if (detail >= kX11KeycodeOffset)
            feeder.feed(detail - kX11KeycodeOffset, type == kKeyPress ? 1 : 0);
        break;
    case kButtonPress:
    case kButtonRelease:
        if (std::uint32_t message = linuxkeys::x11ButtonMessage(detail, type == kButtonPress))
            capture::mouseEvent(message, ev->u.keyButtonPointer.rootX, ev->u.keyButtonPointer.rootY);
        break;
    default:
        break;
    }
}
