#pragma once

#include <cstdint>

// The portable heart of the capture, shared by every platform source: the two
// translation tables, the key state and the forwarding to the registered
// callbacks. Process-wide, used from one thread only.
namespace capture {

// Mouse messages as the low-level mouse hook names them.
enum MouseMessage : std::uint32_t {
    LButtonDown = 0x201, LButtonUp = 0x202, LButtonDblClk = 0x203,
    RButtonDown = 0x204, RButtonUp = 0x205, RButtonDblClk = 0x206,
    MButtonDown = 0x207, MButtonUp = 0x208,
};

// Fills scanToVirtualKey and virtualKeyToUsb; 0xDC maps to 0x32 when
// nonUsBackslash is true, to 0x31 otherwise.
void fillTables(bool nonUsBackslash);

// 0 when there is no entry. key = scan * 256 + extended flag.
std::uint8_t scanToVirtualKey(std::uint16_t key);
std::uint8_t virtualKeyToUsb(std::uint8_t vk);
int scanTableSize();
int usbTableSize();

// Scan code, extended flag and ALT flag to a USB usage code, 0 when the key is
// not reported. Applies the Ctrl+Break and Alt+Print Screen overrides.
std::uint8_t translateKey(std::uint32_t scanCode, bool extended, bool altDown);

// One key event from a platform source: translates, drops repeats of the same
// state and calls the keyboard callback.
void keyEvent(std::uint32_t scanCode, bool extended, bool altDown, bool isDown);
// One mouse event: message is one of MouseMessage (others are ignored).
void mouseEvent(std::uint32_t message, std::int32_t x, std::int32_t y);

void setKeyboardCallback(void (*callback)(std::uint8_t, bool, void *), void *context);
void setMouseCallback(void (*callback)(std::uint8_t, bool, std::int32_t, std::int32_t, void *),
                      void *context);

// The key state is kept for the life of the process; tests reset it between cases.
void resetKeyDownState();

} // namespace capture
