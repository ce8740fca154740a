#pragma once

// Ends the event loop cleanly on SIGTERM, SIGINT and SIGHUP (a session logout,
// a terminal's Ctrl+C), so the listener is stopped and pending writes complete.
void quitOnTerminationSignals();
