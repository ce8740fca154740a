#pragma once

#include "inputsource.h"
#include "linuxkeymap.h"

#include <QObject>

class QSocketNotifier;

// Reads the X server's device events through the RECORD extension, on a display
// connection of its own, from a socket notifier in the GUI thread. Works on any
// X server with RECORD: a desktop X11 session, XWayland, Xvfb.
class X11RecordSource : public QObject, public InputSource
{
    Q_OBJECT
public:
    X11RecordSource();
    ~X11RecordSource() override;

    bool start() override;
    void stop() override;
    const char *name() const override { return "x11-record"; }

    // Handles one recorded X event (the 32-byte protocol record); public so
    // the benchmark can drive the decoding path without a server.
    void handleEvent(const unsigned char *event, int length);
    // Set once the server confirmed that recording runs.
    bool recording = false;

private:
    void readReplies();

    void *controlDisplay = nullptr; // Display*, kept opaque here to keep X11 macros out
    void *dataDisplay = nullptr;
    unsigned long context = 0;
    QSocketNotifier *notifier = nullptr;
    linuxkeys::KeyFeeder feeder;
};
