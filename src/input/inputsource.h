#pragma once

#include <memory>

// A platform source of desktop-wide input. It hands each event to the capture
// core (capturecore.h) on the thread that started it.
class InputSource
{
public:
    virtual ~InputSource() = default;
    // Starts delivering events; false when this source cannot run here.
    virtual bool start() = 0;
    virtual void stop() = 0;
    virtual const char *name() const = 0;
};

// Picks and starts the source for this platform and session, or returns null
// when none can be started. The only place where the choice is made.
std::unique_ptr<InputSource> startInputSource();
