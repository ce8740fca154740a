#pragma once

// Test control of the simulated K3 keyboard. The simulation itself is reached
// through the ordinary hidapi C API (hidapi.h); this header only steers it.

#include <cstdint>
#include <string>
#include <vector>

namespace k3sim {

// One HID interface as hid_enumerate reports it.
struct Interface
{
    std::string path;
    uint16_t vid = 0x04D9;
    uint16_t pid = 0xA1CD;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
};

// One hidapi call as the simulation saw it.
struct LogEntry
{
    std::string call;                 // "hid_open_path", "hid_send_feature_report", ...
    std::string path;                 // path of the handle (or the open argument)
    std::vector<uint8_t> bytes;       // bytes sent, or bytes returned for reads
    int length = 0;                   // length argument of the call
    int result = 0;                   // what the call returned
    bool error = false;               // a framing or state error the simulation detected
    std::string note;                 // reason of an error, or why a call failed without
                                      // one ("injected failure", "device unplugged", "stalled")
};

// Paths of the keyboard's two interfaces in the default enumeration.
extern const char *const kCommandPath;  // usage page FF01, usage 0001
extern const char *const kEventPath;    // usage page FF02, usage 0001

// Back to a freshly plugged keyboard in factory state: default enumeration,
// no faults, empty log, report length 64, firmware 0x0102, US/UK bits 0.
// Handles still open stay open but dead. The K3SIM_* outside control stays.
void reset();

void plug();
void unplug();
// Called after every plug and unplug (through the API or the control FIFO), on
// the thread that caused it, as a device-change notice; null removes it.
void setPlugListener(void (*listener)(void *context), void *context);
bool isPlugged();

// Replaces the enumeration that hid_enumerate returns while plugged (for
// discovery tests); reset() restores the two default interfaces.
void setInterfaces(const std::vector<Interface> &interfaces);

// Report length of the data reports (payload bytes per report; 64 on the real keyboard).
void setReportLength(int bytes);
int reportLength();

void failNextOpens(int count);
// The next call of the named hidapi function fails (returns -1, or null for opens),
// after `skip` successful ones. With `path` set only calls on that interface
// count; otherwise calls on any interface do (mind the device listener's reads).
void failCall(const std::string &call, int skip = 0, const std::string &path = std::string());
// While stalled, the keyboard accepts requests but sends no data input reports
// and no answer feature report (reads time out, hid_get_feature_report fails after the wait).
void setStalled(bool stalled);
// Delay before every answer (feature answer and data input report).
void setAnswerDelayMs(int ms);

// The keyboard's own lighting report with these seven values (bytes 4..10),
// delivered to the next read on the event interface. The keyboard reports its
// own state, so the current profile's LED type takes these values as well.
void injectLightingReport(const uint8_t values[7]);
// As if the user pressed the lighting key on the keyboard: the effect type
// advances, the current profile's LED type changes and a report is sent.
void pressLightingKey();

std::vector<LogEntry> log();         // the last 50000 calls
void clearLog();                     // also sets errorCount() back to 0
int errorCount();

void setFirmware(uint16_t version, uint8_t usUkBits);
uint16_t firmwareVersion();

// State of the keyboard, per profile where the keyboard keeps it per profile.
struct Profile
{
    uint8_t ledType[7] = {};
    uint8_t colors[64] = {};
    uint8_t keyMatrix[256] = {};
    uint8_t userPicture[5][4][128] = {};
};
int profileCount();                  // 10
uint8_t currentProfile();
Profile profile(int index);
std::vector<uint8_t> macro(int slot); // 128 bytes
int macroSlotCount();
void keyboardOptions(uint8_t out[3]);
uint8_t buttonSensitivity();
bool bootLoaderRequested();
bool macroStopRequested();
int openHandleCount();                // handles not yet closed
int pendingLightingReports();         // queued, not yet read on the event interface

// Preset the keyboard's state (tests of the layers above).
void setProfile(int index, const Profile &profile);
void setCurrentProfile(uint8_t index);
void setMacro(int slot, const std::vector<uint8_t> &bytes);  // zero-padded to 128
void setKeyboardOptions(const uint8_t options[3]);
void setButtonSensitivity(uint8_t value);

// The keyboard's stored state as text (the format of the K3SIM_STATE file).
std::string stateText();
bool loadStateText(const std::string &text);   // false: malformed; what parsed is kept

// Reads K3SIM_LOG, K3SIM_STATE, K3SIM_FW, K3SIM_USUK and K3SIM_CTL again (done
// once by itself on the first hidapi call). An empty or unset variable turns
// that outside control off; a state file that exists is loaded.
void reloadEnvironment();

} // namespace k3sim
