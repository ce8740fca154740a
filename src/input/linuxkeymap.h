#pragma once

#include <cstdint>

// Linux input key codes (as evdev reports them; X11 key codes are these + 8)
// to the set-1 scan codes and extended flag that the capture core expects.
namespace linuxkeys {

struct Set1Key
{
    std::uint16_t linuxCode;
    std::uint8_t scan;
    bool extended;
};

// False when the key has no set-1 scan code.
bool toSet1(std::uint32_t linuxCode, std::uint8_t *scan, bool *extended);

// The whole table, for lookups in the other direction.
const Set1Key *table(int *count);

// Turns Linux key events into capture-core key events. It tracks the Alt and
// Ctrl keys to supply the ALT flag and to produce the scan codes a PC keyboard
// sends for Alt+Print Screen (SysRq) and Ctrl+Pause (Break).
class KeyFeeder
{
public:
    // value: 0 release, 1 press, 2 automatic repeat (counts as a press).
    void feed(std::uint32_t linuxCode, int value);
    void reset() { altMask = ctrlMask = 0; }

private:
    unsigned altMask = 0;
    unsigned ctrlMask = 0;
};

// Linux/X11 mouse buttons to the capture core's mouse messages; 0 for other buttons.
std::uint32_t evdevButtonMessage(std::uint32_t btnCode, bool isDown);
std::uint32_t x11ButtonMessage(unsigned button, bool isDown);

} // namespace linuxkeys
