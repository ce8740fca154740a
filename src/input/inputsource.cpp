#include "inputsource.h"

#if defined(_WIN32)
#include "winhooksource.h"
#else
#include "evdevsource.h"
#include "x11recordsource.h"
#endif

std::unique_ptr<InputSource> startInputSource()
{
#if defined(_WIN32)
    std::unique_ptr<InputSource> hooks(new WinHookSource);
    if (hooks->start())
        return hooks;
#else
    // The X server's own stream first: it needs no rights and sees exactly what
    // the desktop sees. Raw devices only where no X server can be recorded.
    std::unique_ptr<InputSource> x11(new X11RecordSource);
    if (x11->start())
        return x11;
    std::unique_ptr<InputSource> evdev(new EvdevSource);
    if (evdev->start())
        return evdev;
#endif
    return nullptr;
}
