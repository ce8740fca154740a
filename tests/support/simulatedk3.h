#pragma once

#include "devinfo.h"

// The K3's catalogue entry as the compiled-in catalogue gives it: what tests
// hand to the device link's scan to find the simulated keyboard.
inline DevInfoEntry simulatedK3Entry()
{
    DevInfoEntry e;
    e.vid = 0x04D9;
    e.pid = 0xA1CD;
    e.usagePage = 0xFF01;
    e.usage = 0x0001;
    e.usagePage2 = 0xFF02;
    e.usage2 = 0x0001;
    e.productName = QStringLiteral("K3");
    e.reportLength = 64;
    return e;
}
