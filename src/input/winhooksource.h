#pragma once

#include "inputsource.h"

// The Windows low-level keyboard and mouse hooks (WH_KEYBOARD_LL, WH_MOUSE_LL).
// Windows calls their procedures in the installing thread while it processes
// its messages.
class WinHookSource : public InputSource
{
public:
    ~WinHookSource() override { stop(); }
    bool start() override;
    void stop() override;
    const char *name() const override { return "windows-hooks"; }
};
