#pragma once

#include <cstdint>

// Desktop-wide key and mouse-button capture. Key events are translated to USB
// HID keyboard usage codes; mouse-button events carry 0xF0 (left), 0xF1 (right)
// or 0xF2 (middle). Capture never consumes an event. The callbacks are called
// on the thread that called install() (the GUI thread).

// Keyboard callback: usbCode, isDown, the context registered with it.
typedef void (*KeyboardHookCallback)(std::uint8_t usbCode, bool isDown, void *context);
// Mouse callback: button code, isDown, screen point, the context registered with it.
typedef void (*MouseHookCallback)(std::uint8_t code, bool isDown, std::int32_t x, std::int32_t y,
                                  void *context);

class InputHook
{
public:
    InputHook() = default;
    ~InputHook();
    InputHook(const InputHook &) = delete;
    InputHook &operator=(const InputHook &) = delete;

    // Fills the translation tables and starts the platform capture. Returns false
    // when no capture source could be started; the program then runs on without it.
    bool install(bool nonUsBackslash);
    void setKeyboardCallback(KeyboardHookCallback callback, void *context);
    void setMouseCallback(MouseHookCallback callback, void *context);
    // Stops the capture; safe to call when nothing is installed.
    void uninstall();

    // Which source delivers events: "x11-record", "evdev", "windows-hooks" or "none".
    static const char *sourceName();

    // When true the key with virtual key 0xDC (scan 0x2B) reports USB 0x32
    // (non-US "#"), otherwise 0x31 ("\"). Read only by install().
    bool nonUsBackslash = false;
};
