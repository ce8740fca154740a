#pragma once

#include <QtGlobal>

// The keyboard's command set as data: one row per command, shared by the device
// link (to frame requests) and the simulated keyboard (to check them).
namespace k3proto {

constexpr int kFeatureReportSize = 9;   // report ID, code, seven parameter bytes
constexpr int kMaxPayload = 128;        // largest data payload of any command
constexpr int kEventReportSize = 12;    // the keyboard's own lighting report
constexpr int kReportPauseMs = 8;       // pause after every data output report
constexpr quint8 kTail[3] = {0x55, 0xAA, 0x00};  // bytes 6..8 of most requests

// Entry signature of the boot loader, written as bytes 2..8 of command 0FH.
constexpr quint8 kBootLoaderSignature[7] = {0x4B, 0x33, 0x49, 0x53, 0x50, 0xA5, 0x5A};

enum class Kind : quint8 { Setting, Query };

struct Command
{
    quint8 code;
    Kind kind;
    quint8 payload;     // data bytes after the feature report: 0, 64 or 128
    bool tail;          // request ends in 55 AA 00
    bool pauseAfter;    // a setting that sleeps 8 ms after handing off its write
    const char *slot;
};

constexpr Command kCommands[] = {
    {0x02, Kind::Setting, 0, true, true, "hid_02H_SetKeyboardoption"},
    {0x04, Kind::Setting, 0, true, false, "hid_04H_SetButtonSensitivity"},
    {0x08, Kind::Setting, 0, false, false, "hid_08H_SetLEDType"},
    {0x09, Kind::Setting, 0, true, false, "hid_09H_StopMacroSending"},
    {0x0C, Kind::Setting, 128, true, true, "hid_0CH_SetKeyMatrix_1"},
    {0x0D, Kind::Setting, 128, true, true, "hid_0DH_SetKeyMatrix_2"},
    {0x0F, Kind::Setting, 0, false, false, "hid_0FH_SetISPBootLoader"},
    {0x10, Kind::Setting, 128, true, true, "hid_10H_SetMacroKey"},
    {0x12, Kind::Setting, 128, true, true, "hid_12H_SetUserPicture"},
    {0x13, Kind::Setting, 0, true, false, "hid_13H_SetRecoveryData"},
    {0x21, Kind::Setting, 0, true, false, "hid_21H_SetCurrentProfile"},
    {0x30, Kind::Setting, 64, true, true, "hid_30H_SetSevenColor"},
    {0x80, Kind::Query, 0, true, false, "hid_80H_GetFWVersion"},
    {0x82, Kind::Query, 0, true, false, "hid_82H_GetKeyboardoption"},
    {0x84, Kind::Query, 0, true, false, "hid_84H_GetButtonSensitivity"},
    {0x88, Kind::Query, 0, true, false, "hid_88H_GetLEDType"},
    {0x8C, Kind::Query, 128, true, false, "hid_8CH_GetKeyMatrix_1"},
    {0x8D, Kind::Query, 128, true, false, "hid_8DH_GetKeyMatrix_2"},
    {0x90, Kind::Query, 128, true, false, "hid_90H_GetMacroKey"},
    {0x92, Kind::Query, 128, true, false, "hid_92H_GetUserPicture"},
    {0xA1, Kind::Query, 0, true, false, "hid_A1H_GetCurrentProfile"},
    {0xB0, Kind::Query, 64, true, false, "hid_B0H_GetSevenColor"},
};
constexpr int kCommandCount = int(sizeof(kCommands) / sizeof(kCommands[0]));

// The row of `code`, or null for a code the keyboard does not know.
constexpr const Command *findCommand(quint8 code)
{
    for (const Command &c : kCommands)
        if (c.code == code)
            return &c;
    return nullptr;
}

} // namespace k3proto
