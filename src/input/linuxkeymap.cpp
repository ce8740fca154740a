#include "linuxkeymap.h"

#include "capturecore.h"

#include <linux/input-event-codes.h>

namespace linuxkeys {
namespace {

constexpr bool E = true;  // extended (E0-prefixed) scan code
constexpr bool N = false;

// Codes 1..83 of the main block and the keypad equal their set-1 scan codes.
// Two keys follow what the Windows low-level hook reports rather than the
// plain scan code: Num Lock arrives flagged extended, and so does Right Shift.
constexpr Set1Key kTable[] = {
    {KEY_ESC, 0x01, N}, {KEY_1, 0x02, N}, {KEY_2, 0x03, N}, {KEY_3, 0x04, N},
    {KEY_4, 0x05, N}, {KEY_5, 0x06, N}, {KEY_6, 0x07, N}, {KEY_7, 0x08, N},
    {KEY_8, 0x09, N}, {KEY_9, 0x0A, N}, {KEY_0, 0x0B, N}, {KEY_MINUS, 0x0C, N},
    {KEY_EQUAL, 0x0D, N}, {KEY_BACKSPACE, 0x0E, N}, {KEY_TAB, 0x0F, N}, {KEY_Q, 0x10, N},
    {KEY_W, 0x11, N}, {KEY_E, 0x12, N}, {KEY_R, 0x13, N}, {KEY_T, 0x14, N},
    {KEY_Y, 0x15, N}, {KEY_U, 0x16, N}, {KEY_I, 0x17, N}, {KEY_O, 0x18, N},
    {KEY_P, 0x19, N}, {KEY_LEFTBRACE, 0x1A, N}, {KEY_RIGHTBRACE, 0x1B, N}, {KEY_ENTER, 0x1C, N},
    {KEY_LEFTCTRL, 0x1D, N}, {KEY_A, 0x1E, N}, {KEY_S, 0x1F, N}, {KEY_D, 0x20, N},
    {KEY_F, 0x21, N}, {KEY_G, 0x22, N}, {KEY_H, 0x23, N}, {KEY_J, 0x24, N},
    {KEY_K, 0x25, N}, {KEY_L, 0x26, N}, {KEY_SEMICOLON, 0x27, N}, {KEY_APOSTROPHE, 0x28, N},
    {KEY_GRAVE, 0x29, N}, {KEY_LEFTSHIFT, 0x2A, N}, {KEY_BACKSLASH, 0x2B, N}, {KEY_Z, 0x2C, N},
    {KEY_X, 0x2D, N}, {KEY_C, 0x2E, N}, {KEY_V, 0x2F, N}, {KEY_B, 0x30, N},
    {KEY_N, 0x31, N}, {KEY_M, 0x32, N}, {KEY_COMMA, 0x33, N}, {KEY_DOT, 0x34, N},
    {KEY_SLASH, 0x35, N}, {KEY_RIGHTSHIFT, 0x36, E}, {KEY_KPASTERISK, 0x37, N}, {KEY_LEFTALT, 0x38, N},
    {KEY_SPACE, 0x39, N}, {KEY_CAPSLOCK, 0x3A, N}, {KEY_F1, 0x3B, N}, {KEY_F2, 0x3C, N},
    {KEY_F3, 0x3D, N}, {KEY_F4, 0x3E, N}, {KEY_F5, 0x3F, N}, {KEY_F6, 0x40, N},
    {KEY_F7, 0x41, N}, {KEY_F8, 0x42, N}, {KEY_F9, 0x43, N}, {KEY_F10, 0x44, N},
    {KEY_NUMLOCK, 0x45, E}, {KEY_SCROLLLOCK, 0x46, N}, {KEY_KP7, 0x47, N}, {KEY_KP8, 0x48, N},
    {KEY_KP9, 0x49, N}, {KEY_KPMINUS, 0x4A, N}, {KEY_KP4, 0x4B, N}, {KEY_KP5, 0x4C, N},
    {KEY_KP6, 0x4D, N}, {KEY_KPPLUS, 0x4E, N}, {KEY_KP1, 0x4F, N}, {KEY_KP2, 0x50, N},
    {KEY_KP3, 0x51, N}, {KEY_KP0, 0x52, N}, {KEY_KPDOT, 0x53, N},
    {KEY_102ND, 0x56, N}, {KEY_F11, 0x57, N}, {KEY_F12, 0x58, N},
    {KEY_KPENTER, 0x1C, E}, {KEY_RIGHTCTRL, 0x1D, E}, {KEY_KPSLASH, 0x35, E}, {KEY_SYSRQ, 0x37, E},
    {KEY_RIGHTALT, 0x38, E}, {KEY_PAUSE, 0x45, N}, {KEY_HOME, 0x47, E},
    {KEY_UP, 0x48, E}, {KEY_PAGEUP, 0x49, E}, {KEY_LEFT, 0x4B, E}, {KEY_RIGHT, 0x4D, E},
    {KEY_END, 0x4F, E}, {KEY_DOWN, 0x50, E}, {KEY_PAGEDOWN, 0x51, E}, {KEY_INSERT, 0x52, E},
    {KEY_DELETE, 0x53, E}, {KEY_LEFTMETA, 0x5B, E}, {KEY_RIGHTMETA, 0x5C, E}, {KEY_COMPOSE, 0x5D, E},
    // Keypad extras and the Japanese, Korean and Brazilian keys.
    {KEY_KPEQUAL, 0x59, N}, {KEY_KPCOMMA, 0x7E, N}, {KEY_RO, 0x73, N}, {KEY_YEN, 0x7D, N},
    {KEY_KATAKANAHIRAGANA, 0x70, N}, {KEY_HENKAN, 0x79, N}, {KEY_MUHENKAN, 0x7B, N},
    {KEY_HANGEUL, 0x72, N}, {KEY_HANJA, 0x71, N},
    // F13..F24.
    {KEY_F13, 0x64, N}, {KEY_F14, 0x65, N}, {KEY_F15, 0x66, N}, {KEY_F16, 0x67, N},
    {KEY_F17, 0x68, N}, {KEY_F18, 0x69, N}, {KEY_F19, 0x6A, N}, {KEY_F20, 0x6B, N},
    {KEY_F21, 0x6C, N}, {KEY_F22, 0x6D, N}, {KEY_F23, 0x6E, N}, {KEY_F24, 0x76, N},
    // Media, browser and power keys.
    {KEY_MUTE, 0x20, E}, {KEY_VOLUMEDOWN, 0x2E, E}, {KEY_VOLUMEUP, 0x30, E}, {KEY_POWER, 0x5E, E},
    {KEY_SLEEP, 0x5F, E}, {KEY_WAKEUP, 0x63, E}, {KEY_NEXTSONG, 0x19, E}, {KEY_PREVIOUSSONG, 0x10, E},
    {KEY_PLAYPAUSE, 0x22, E}, {KEY_STOPCD, 0x24, E}, {KEY_CALC, 0x21, E}, {KEY_MAIL, 0x6C, E},
    {KEY_HOMEPAGE, 0x32, E}, {KEY_SEARCH, 0x65, E}, {KEY_BOOKMARKS, 0x66, E}, {KEY_REFRESH, 0x67, E},
    {KEY_STOP, 0x68, E}, {KEY_FORWARD, 0x69, E}, {KEY_BACK, 0x6A, E}, {KEY_COMPUTER, 0x6B, E},
    {KEY_MEDIA, 0x6D, E},
};

constexpr int kCount = int(sizeof(kTable) / sizeof(kTable[0]));

// Linux key codes fit in 10 bits; a direct index keeps the lookup cheap.
struct Index
{
    std::int16_t pos[KEY_MAX + 1];
    Index()
    {
        for (auto &p : pos)
            p = -1;
        for (int i = 0; i < kCount; ++i)
            pos[kTable[i].linuxCode] = std::int16_t(i);
    }
};

const Index &index()
{
    static const Index idx;
    return idx;
}

unsigned bitFor(std::uint32_t code, std::uint32_t left, std::uint32_t right)
{
    return code == left ? 1u : code == right ? 2u : 0u;
}

} // namespace

bool toSet1(std::uint32_t linuxCode, std::uint8_t *scan, bool *extended)
{
    if (linuxCode > KEY_MAX)
        return false;
    const int i = index().pos[linuxCode];
    if (i < 0)
        return false;
    *scan = kTable[i].scan;
    *extended = kTable[i].extended;
    return true;
}

const Set1Key *table(int *count)
{
    *count = kCount;
    return kTable;
}

void KeyFeeder::feed(std::uint32_t linuxCode, int value)
{
    const bool isDown = value != 0;
    if (unsigned bit = bitFor(linuxCode, KEY_LEFTALT, KEY_RIGHTALT))
        altMask = isDown ? (altMask | bit) : (altMask & ~bit);
    if (unsigned bit = bitFor(linuxCode, KEY_LEFTCTRL, KEY_RIGHTCTRL))
        ctrlMask = isDown ? (ctrlMask | bit) : (ctrlMask & ~bit);

    std::uint8_t scan = 0;
    bool extended = false;
    if (!toSet1(linuxCode, &scan, &extended))
        return;
    const bool alt = altMask != 0;
    if (linuxCode == KEY_SYSRQ && alt) {
        scan = 0x54; // a PC keyboard sends SysRq for Alt+Print Screen
        extended = false;
    } else if (linuxCode == KEY_PAUSE && ctrlMask) {
        scan = 0x46; // and an extended Scroll Lock for Ctrl+Pause (Break)
        extended = true;
    }
    capture::keyEvent(scan, extended, alt, isDown);
}

std::uint32_t evdevButtonMessage(std::uint32_t btnCode, bool isDown)
{
    switch (btnCode) {
    case BTN_LEFT: return isDown ? capture::LButtonDown : capture::LButtonUp;
    case BTN_RIGHT: return isDown ? capture::RButtonDown : capture::RButtonUp;
    case BTN_MIDDLE: return isDown ? capture::MButtonDown : capture::MButtonUp;
    default: return 0;
    }
}

std::uint32_t x11ButtonMessage(unsigned button, bool isDown)
{
    switch (button) {
    case 1: return evdevButtonMessage(BTN_LEFT, isDown);
    case 2: return evdevButtonMessage(BTN_MIDDLE, isDown);
    case 3: return evdevButtonMessage(BTN_RIGHT, isDown);
    default: return 0; // 4..7 are the wheel, 8 and 9 the side buttons
    }
}

} // namespace linuxkeys
