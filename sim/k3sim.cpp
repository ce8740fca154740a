// The simulated keyboard behind the hidapi C API. One process-wide device with
// a command interface (feature requests, data output and input reports) and an
// event interface (the keyboard's own lighting reports). All state lives in the
// device, not in the handles: the device link reopens the command interface
// before every report.

#include "k3sim.h"

#include <atomic>

#include "commandset.h"
#include "model.h"

#include <hidapi.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace k3sim {
const char *const kCommandPath = "k3sim:04d9:a1cd:ff01";
const char *const kEventPath = "k3sim:04d9:a1cd:ff02";
} // namespace k3sim

namespace {

using k3sim::Interface;
using k3sim::LogEntry;
using k3sim::Profile;
using k3proto::Command;
using k3proto::Kind;
namespace model = k3sim::model;

enum class Role { Command, Event, Other };

Role roleOf(uint16_t usagePage, uint16_t usage)
{
    if (usagePage == 0xFF01 && usage == 1)
        return Role::Command;
    if (usagePage == 0xFF02 && usage == 1)
        return Role::Event;
    return Role::Other;
}

constexpr int kDefaultReportLength = 64;
constexpr uint16_t kDefaultFirmware = 0x0102;
constexpr size_t kLogCap = 50000;           // in-memory log entries kept (oldest dropped)
constexpr size_t kEventQueueCap = 256;      // lighting reports kept while nobody reads
constexpr long kMaxStateFile = 4 << 20;
constexpr uint8_t kEventHeader[4] = {0x04, 0x00, 0x00, 0x00};
const wchar_t *const kManufacturer = L"k3sim";
const wchar_t *const kProduct = L"K3-KEYBOARD";
const wchar_t *const kSerial = L"K3SIM0001";

std::vector<Interface> defaultInterfaces()
{
    Interface cmd;
    cmd.path = k3sim::kCommandPath;
    cmd.usagePage = 0xFF01;
    cmd.usage = 1;
    Interface ev;
    ev.path = k3sim::kEventPath;
    ev.usagePage = 0xFF02;
    ev.usage = 1;
    return {cmd, ev};
}

std::string hex(const uint8_t *data, size_t n, bool spaced = false)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        if (spaced && i)
            s += ' ';
        s += digits[data[i] >> 4];
        s += digits[data[i] & 15];
    }
    return s;
}

std::string byteText(uint8_t b)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", b);
    return buf;
}

std::string codeText(uint8_t code)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02XH", code);
    return buf;
}

std::wstring widen(const std::string &s)
{
    return std::wstring(s.begin(), s.end());
}

// One command transaction on the command interface: a request, its answer
// feature report, and the data reports its payload needs.
struct Transaction
{
    const Command *cmd = nullptr;
    uint8_t request[9] = {};
    uint8_t answer[9] = {};
    bool answerPending = false;
    int expected = 0;               // data reports of the payload
    int reportLength = 0;           // payload bytes per data report when it began
    int done = 0;
    std::vector<uint8_t> payload;   // assembled (setting) or to deliver (query)
    bool discard = false;           // index out of range: take the reports, store nothing
    bool faulted = false;           // a simulated fault broke it off

    bool incomplete() const { return cmd && done < expected; }
};

// One call as it is being handled; becomes a LogEntry.
struct Call
{
    LogEntry e;
    Call(const char *name, const std::string &path, size_t length)
    {
        e.call = name;
        e.path = path;
        e.length = int(length);
    }
    void note(const std::string &n)
    {
        e.note = e.note.empty() ? n : e.note + "; " + n;
    }
    void error(const std::string &n)
    {
        e.error = true;
        note(n);
    }
    void bytes(const uint8_t *d, size_t n)
    {
        if (d)
            e.bytes.assign(d, d + n);
    }
};

thread_local std::wstring tGlobalError = L"Success";

} // namespace

struct hid_device_
{
    std::string path;
    Role role = Role::Other;
    uint64_t generation = 0;
    bool nonblocking = false;
    std::wstring error = L"Success";
    Interface iface;
    hid_device_info *info = nullptr;
};

namespace {

struct Fault
{
    std::string call;
    std::string path;
    int skip = 0;
};

struct Sim
{
    std::mutex m;
    std::condition_variable cv;
    std::once_flag once;

    bool plugged = true;
    uint64_t generation = 1;
    std::vector<Interface> interfaces = defaultInterfaces();
    std::set<hid_device *> handles;

    int failOpens = 0;
    std::vector<Fault> faults;
    bool stalled = false;
    int delayMs = 0;
    int reportLength = kDefaultReportLength;
    uint16_t firmware = kDefaultFirmware;
    uint8_t usUk = 0;

    model::State state;
    bool bootLoader = false;
    bool macroStop = false;
    Transaction tx;
    std::deque<std::array<uint8_t, k3proto::kEventReportSize>> events;

    std::deque<LogEntry> log;
    int errors = 0;

    // Outside control.
    FILE *logFile = nullptr;
    std::string statePath;
    std::string ctlPath;

    // -- bookkeeping (lock held) --
    void record(Call &c, hid_device *dev, int result);
    bool injectedFault(Call &c, const std::string &path);
    bool alive(hid_device *dev) const
    {
        return plugged && dev->generation == generation;
    }
    int checkHandle(Call &c, hid_device *dev);
    void saveState();
    void unplug();
    void plug();
    void queueReport();
    void setLed(const uint8_t values[7]);
    void pressKey();
    void applyEnvironment();

    // -- the keyboard (lock held) --
    int request(Call &c, const uint8_t *d, size_t len);
    int answer(Call &c, uint8_t *d, size_t len);
    int dataOut(Call &c, const uint8_t *d, size_t len);
    int dataIn(Call &c, uint8_t *d, size_t len);
    void applySetting(Call &c);
    void applyPayload();
};

// Told of every plug and unplug, as the operating system tells of device changes.
std::atomic<void (*)(void *)> plugListener{nullptr};
std::atomic<void *> plugListenerContext{nullptr};

void notifyPlugListener()
{
    if (auto listener = plugListener.load())
        listener(plugListenerContext.load());
}

// Never destroyed: the control thread may still run while the process exits.
Sim &S = *new Sim;

void guardAgainstRealLibrary()
{
    // Linked in place of hidapi, this library must be the only one: a real
    // hidapi in the same process could reach a real keyboard.
    void *other = dlsym(RTLD_NEXT, "hid_open_path");
    if (other && other != reinterpret_cast<void *>(&hid_open_path)) {
        std::fprintf(stderr, "k3sim: a real hidapi library is loaded in this process; stopping\n");
        std::abort();
    }
}

void ensureInit()
{
    std::call_once(S.once, [] {
        guardAgainstRealLibrary();
        std::lock_guard<std::mutex> lk(S.m);
        S.applyEnvironment();
    });
}

// --- bookkeeping -------------------------------------------------------------

std::string escapePath(const std::string &p)
{
    std::string s;
    for (char c : p) {
        if (c == ' ')
            s += "%20";
        else if (c == '\n' || c == '\r')
            s += '?';
        else
            s += c;
    }
    return s;
}

void Sim::record(Call &c, hid_device *dev, int result)
{
    c.e.result = result;
    if (c.e.error)
        ++errors;
    const std::wstring why = c.e.note.empty() ? (result < 0 ? L"failed" : L"Success") : widen(c.e.note);
    if (dev && handles.count(dev))
        dev->error = why;
    else
        tGlobalError = why;
    if (logFile) {
        std::string line = c.e.call + " " + (c.e.path.empty() ? "-" : escapePath(c.e.path)) + " "
                           + std::to_string(c.e.length) + " " + std::to_string(result) + " "
                           + (c.e.bytes.empty() ? "-" : hex(c.e.bytes.data(), c.e.bytes.size()));
        if (c.e.error)
            line += " ERROR " + c.e.note;
        else if (!c.e.note.empty())
            line += " NOTE " + c.e.note;
        std::fprintf(logFile, "%s\n", line.c_str());
        std::fflush(logFile);
    }
    log.push_back(std::move(c.e));
    if (log.size() > kLogCap)
        log.pop_front();
}

bool Sim::injectedFault(Call &c, const std::string &path)
{
    for (auto it = faults.begin(); it != faults.end(); ++it) {
        if (it->call != c.e.call || (!it->path.empty() && it->path != path))
            continue;
        if (it->skip > 0) {
            --it->skip;
            return false;
        }
        faults.erase(it);
        c.note("injected failure");
        tx.faulted = true;
        return true;
    }
    return false;
}

int Sim::checkHandle(Call &c, hid_device *dev)
{
    if (!dev || !handles.count(dev)) {
        c.error("call on a handle that is not open");
        return -1;
    }
    c.e.path = dev->path;
    if (!alive(dev)) {
        c.note("device unplugged");
        return -1;
    }
    return 0;
}

void Sim::saveState()
{
    if (statePath.empty())
        return;
    const std::string text = model::toText(state);
    const std::string tmp = statePath + ".tmp." + std::to_string(getpid());
    FILE *f = std::fopen(tmp.c_str(), "wb");
    bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (f)
        ok = (std::fclose(f) == 0) && ok;
    if (ok && std::rename(tmp.c_str(), statePath.c_str()) == 0)
        return;
    std::remove(tmp.c_str());
    std::fprintf(stderr, "k3sim: cannot write state file %s\n", statePath.c_str());
}

void Sim::unplug()
{
    plugged = false;
    ++generation;
    tx = Transaction();
    events.clear();
    cv.notify_all();
}

void Sim::plug()
{
    if (plugged)
        return;
    plugged = true;
    ++generation;
    cv.notify_all();
}

void Sim::queueReport()
{
    if (!plugged)
        return;
    std::array<uint8_t, k3proto::kEventReportSize> r{};
    std::memcpy(r.data(), kEventHeader, 4);
    std::memcpy(r.data() + 4, state.profile().ledType, 7);
    events.push_back(r);
    if (events.size() > kEventQueueCap)
        events.pop_front();
    cv.notify_all();
}

void Sim::setLed(const uint8_t values[7])
{
    std::memcpy(state.profile().ledType, values, 7);
    saveState();
}

void Sim::pressKey()
{
    if (!plugged)
        return;
    uint8_t *led = state.profile().ledType;
    led[0] = led[0] + 1 < model::kEffectCount ? uint8_t(led[0] + 1) : 0;
    saveState();
    queueReport();
}

// --- outside control ---------------------------------------------------------

const char *env(const char *name)
{
    const char *v = std::getenv(name);
    return v && *v ? v : nullptr;
}

bool parseHex16(const char *s, uint16_t &out)
{
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        s += 2;
    const size_t n = std::strlen(s);
    if (n == 0 || n > 4 || std::strspn(s, "0123456789abcdefABCDEF") != n)
        return false;
    out = uint16_t(std::strtoul(s, nullptr, 16));
    return true;
}

void handleControlLine(const std::string &raw, const std::string &fifo)
{
    std::string line = raw;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    if (line.empty())
        return;
    const bool plugChange = line == "unplug" || line == "plug";
    struct NotifyOnExit
    {
        bool active;
        ~NotifyOnExit()
        {
            if (active)
                notifyPlugListener();
        }
    } notify{plugChange};  // runs after the lock below is released
    std::lock_guard<std::mutex> lk(S.m);
    Call c("ctl", fifo, line.size());
    c.bytes(reinterpret_cast<const uint8_t *>(line.data()), line.size());
    int result = 0;
    char word[16] = {};
    int v[7];
    char extra = 0;
    if (line == "unplug")
        S.unplug();
    else if (line == "plug")
        S.plug();
    else if (line == "press")
        S.pressKey();
    else if (std::sscanf(line.c_str(), "%15s %i %i %i %i %i %i %i %c", word, &v[0], &v[1], &v[2], &v[3],
                         &v[4], &v[5], &v[6], &extra) == 8
             && std::strcmp(word, "report") == 0
             && std::all_of(v, v + 7, [](int x) { return x >= 0 && x <= 255; })) {
        uint8_t values[7];
        for (int i = 0; i < 7; ++i)
            values[i] = uint8_t(v[i]);
        if (S.plugged) {
            S.setLed(values);
            S.queueReport();
        }
    } else {
        c.error("unknown control command");
        result = -1;
    }
    S.record(c, nullptr, result);
}

void controlLoop(int fd, std::string fifo)
{
    std::string pending;
    char buf[256];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        pending.append(buf, size_t(n));
        size_t nl;
        while ((nl = pending.find('\n')) != std::string::npos) {
            handleControlLine(pending.substr(0, nl), fifo);
            pending.erase(0, nl + 1);
        }
        if (pending.size() > 4096)   // no newline in sight: drop the garbage
            pending.clear();
    }
    ::close(fd);
}

void Sim::applyEnvironment()
{
    if (logFile) {
        std::fclose(logFile);
        logFile = nullptr;
    }
    if (const char *path = env("K3SIM_LOG")) {
        logFile = std::fopen(path, "a");
        if (!logFile)
            std::fprintf(stderr, "k3sim: cannot open log file %s\n", path);
    }

    statePath.clear();
    if (const char *path = env("K3SIM_STATE")) {
        statePath = path;
        if (FILE *f = std::fopen(path, "rb")) {
            std::string text;
            char buf[65536];
            size_t n;
            while ((n = std::fread(buf, 1, sizeof buf, f)) > 0 && long(text.size()) <= kMaxStateFile)
                text.append(buf, n);
            std::fclose(f);
            if (long(text.size()) > kMaxStateFile) {
                std::fprintf(stderr, "k3sim: state file %s too large, ignored\n", path);
            } else {
                state.factory();
                if (!model::fromText(text, state))
                    std::fprintf(stderr, "k3sim: state file %s: malformed entries ignored\n", path);
            }
        }
    }

    if (const char *fw = env("K3SIM_FW")) {
        if (!parseHex16(fw, firmware))
            std::fprintf(stderr, "k3sim: K3SIM_FW=%s is not a hexadecimal version\n", fw);
    }
    if (const char *bits = env("K3SIM_USUK")) {
        if (bits[0] >= '0' && bits[0] <= '3' && !bits[1])
            usUk = uint8_t(bits[0] - '0');
        else
            std::fprintf(stderr, "k3sim: K3SIM_USUK=%s is not 0..3\n", bits);
    }

    const char *ctl = env("K3SIM_CTL");
    if (ctl && ctlPath != ctl) {
        struct stat st;
        if (::stat(ctl, &st) != 0 && ::mkfifo(ctl, 0600) != 0) {
            std::fprintf(stderr, "k3sim: cannot create control FIFO %s\n", ctl);
        } else if (::stat(ctl, &st) != 0 || !S_ISFIFO(st.st_mode)) {
            std::fprintf(stderr, "k3sim: %s is not a FIFO\n", ctl);
        } else {
            // Read and write: the FIFO then never reports end of file between writers,
            // and opening it does not block.
            const int fd = ::open(ctl, O_RDWR | O_CLOEXEC);
            if (fd < 0) {
                std::fprintf(stderr, "k3sim: cannot open control FIFO %s\n", ctl);
            } else {
                ctlPath = ctl;
                std::thread(controlLoop, fd, std::string(ctl)).detach();
            }
        }
    }
}

// --- the keyboard --------------------------------------------------------------

// Which of the parameter bytes 2..5 a command uses; the others must be zero.
unsigned freeParameterBytes(uint8_t code)
{
    switch (code) {
    case 0x02: return 1u << 2 | 1u << 3 | 1u << 4;
    case 0x04:
    case 0x21: return 1u << 2;
    case 0x10:
    case 0x90: return 1u << 3;
    case 0x12:
    case 0x92: return 1u << 3 | 1u << 4;
    default: return 0;
    }
}

std::string checkParameters(const Command &cmd, const uint8_t *d)
{
    static const uint8_t stopMacro[4] = {0xAA, 0xCC, 0xEE, 0x00};
    static const uint8_t recovery[4] = {0xFF, 0x1F, 0x00, 0x00};
    if (cmd.tail && std::memcmp(d + 6, k3proto::kTail, 3) != 0)
        return "missing 55 AA 00 tail";
    switch (cmd.code) {
    case 0x08:
        return {};
    case 0x0F:
        return std::memcmp(d + 2, k3proto::kBootLoaderSignature, 7) == 0 ? std::string()
                                                                          : "wrong boot loader signature";
    case 0x09:
        return std::memcmp(d + 2, stopMacro, 4) == 0 ? std::string() : "parameters are not AA CC EE 00";
    case 0x13:
        return std::memcmp(d + 2, recovery, 4) == 0 ? std::string() : "parameters are not FF 1F 00 00";
    default:
        break;
    }
    const unsigned free = freeParameterBytes(cmd.code);
    for (int i = 2; i <= 5; ++i)
        if (!(free & (1u << i)) && d[i] != 0)
            return "reserved byte " + std::to_string(i) + " is " + byteText(d[i]);
    return {};
}

int Sim::request(Call &c, const uint8_t *d, size_t len)
{
    if (tx.incomplete()) {
        const std::string what = "previous " + codeText(tx.cmd->code) + " left unfinished ("
                                 + std::to_string(tx.done) + " of " + std::to_string(tx.expected)
                                 + " data reports)";
        if (tx.faulted)
            c.note(what);
        else
            c.error(what);
    }
    tx = Transaction();
    if (len != k3proto::kFeatureReportSize) {
        c.error("feature report of " + std::to_string(len) + " bytes, expected 9");
        return -1;
    }
    if (d[0] != 0) {
        c.error("report ID " + byteText(d[0]) + ", expected 0x00");
        return -1;
    }
    const Command *cmd = k3proto::findCommand(d[1]);
    if (!cmd) {
        c.error("unknown command " + byteText(d[1]));
        return -1;
    }
    const std::string why = checkParameters(*cmd, d);
    if (!why.empty()) {
        c.error(codeText(cmd->code) + ": " + why);
        return -1;
    }

    tx.cmd = cmd;
    std::memcpy(tx.request, d, 9);
    std::memcpy(tx.answer, d, 9);
    tx.answerPending = true;
    tx.reportLength = reportLength;
    tx.expected = (cmd->payload + reportLength - 1) / reportLength;
    tx.payload.assign(cmd->payload, 0);
    Profile &p = state.profile();
    const uint8_t index = d[3];
    const uint8_t plane = d[4];

    if (cmd->kind == Kind::Setting) {
        if (cmd->code == 0x10 && index >= model::kMacroSlots) {
            c.error("10H: macro slot " + std::to_string(index) + " out of range");
            tx.discard = true;
        } else if (cmd->code == 0x12 && (index >= model::kPictures || plane >= model::kPlanes)) {
            c.error("12H: user picture " + std::to_string(index) + " plane " + std::to_string(plane)
                    + " out of range");
            tx.discard = true;
        }
        if (cmd->payload == 0)
            applySetting(c);
        return int(len);
    }

    uint8_t *a = tx.answer;
    switch (cmd->code) {
    case 0x80:
        a[2] = uint8_t(firmware >> 8);
        a[3] = uint8_t(firmware);
        a[4] = uint8_t((usUk & 3) << 1);
        break;
    case 0x82: std::memcpy(a + 2, state.options, 3); break;
    case 0x84: a[2] = state.sensitivity; break;
    case 0x88: std::memcpy(a + 2, p.ledType, 7); break;
    case 0xA1: a[2] = state.current; break;
    case 0x8C: std::memcpy(tx.payload.data(), p.keyMatrix, 128); break;
    case 0x8D: std::memcpy(tx.payload.data(), p.keyMatrix + 128, 128); break;
    case 0xB0: std::memcpy(tx.payload.data(), p.colors, 64); break;
    case 0x90:
        if (index < model::kMacroSlots)
            std::memcpy(tx.payload.data(), state.macros[index], 128);
        else
            c.error("90H: macro slot " + std::to_string(index) + " out of range");
        break;
    case 0x92:
        if (index < model::kPictures && plane < model::kPlanes)
            std::memcpy(tx.payload.data(), p.userPicture[index][plane], 128);
        else
            c.error("92H: user picture " + std::to_string(index) + " plane " + std::to_string(plane)
                    + " out of range");
        break;
    default: break;
    }
    return int(len);
}

void Sim::applySetting(Call &c)
{
    const uint8_t *d = tx.request;
    switch (tx.cmd->code) {
    case 0x02: std::memcpy(state.options, d + 2, 3); break;
    case 0x04: state.sensitivity = d[2]; break;
    case 0x08: std::memcpy(state.profile().ledType, d + 2, 7); break;
    case 0x09: macroStop = true; return;
    case 0x0F: bootLoader = true; return;
    case 0x13: state.factory(); break;
    case 0x21:
        if (d[2] >= model::kProfiles) {
            c.error("21H: profile " + std::to_string(d[2]) + " out of range");
            return;
        }
        state.current = d[2];
        break;
    default: return;
    }
    saveState();
}

void Sim::applyPayload()
{
    if (tx.discard)
        return;
    const uint8_t *d = tx.payload.data();
    Profile &p = state.profile();
    switch (tx.cmd->code) {
    case 0x0C: std::memcpy(p.keyMatrix, d, 128); break;
    case 0x0D: std::memcpy(p.keyMatrix + 128, d, 128); break;
    case 0x10: std::memcpy(state.macros[tx.request[3]], d, 128); break;
    case 0x12: std::memcpy(p.userPicture[tx.request[3]][tx.request[4]], d, 128); break;
    case 0x30: std::memcpy(p.colors, d, 64); break;
    default: return;
    }
    saveState();
}

int Sim::answer(Call &c, uint8_t *d, size_t len)
{
    if (len != k3proto::kFeatureReportSize) {
        c.error("answer buffer of " + std::to_string(len) + " bytes, expected 9");
        return -1;
    }
    if (d[0] != 0) {
        c.error("report ID " + byteText(d[0]) + ", expected 0x00");
        return -1;
    }
    if (stalled) {
        c.note("stalled");
        tx.faulted = true;
        return -1;
    }
    if (!tx.cmd || !tx.answerPending) {
        c.error("answer requested without a request");
        return -1;
    }
    std::memcpy(d, tx.answer, 9);
    tx.answerPending = false;
    c.bytes(d, 9);
    return 9;
}

int Sim::dataOut(Call &c, const uint8_t *d, size_t len)
{
    if (len != size_t(reportLength) + 1) {
        c.error("data report of " + std::to_string(len) + " bytes, expected "
                + std::to_string(reportLength + 1));
        return -1;
    }
    if (d[0] != 0) {
        c.error("report ID " + byteText(d[0]) + ", expected 0x00");
        return -1;
    }
    if (!tx.cmd || tx.cmd->kind != Kind::Setting || tx.expected == 0) {
        c.error(tx.cmd ? "data report after " + codeText(tx.cmd->code) + ", which takes none"
                       : "data report without a request");
        return -1;
    }
    if (tx.done >= tx.expected) {
        c.error("data report beyond the " + std::to_string(tx.expected) + " that "
                + codeText(tx.cmd->code) + " takes");
        return -1;
    }
    const int offset = tx.done * tx.reportLength;
    const int chunk = std::clamp(int(tx.payload.size()) - offset, 0, std::min(tx.reportLength, reportLength));
    std::memcpy(tx.payload.data() + offset, d + 1, size_t(chunk));
    if (++tx.done == tx.expected)
        applyPayload();
    return int(len);
}

int Sim::dataIn(Call &c, uint8_t *d, size_t len)
{
    const int n = std::min(int(len), reportLength);
    std::memset(d, 0, size_t(n));
    const int offset = tx.done * tx.reportLength;
    const int chunk = std::clamp(int(tx.payload.size()) - offset, 0, std::min(tx.reportLength, n));
    std::memcpy(d, tx.payload.data() + offset, size_t(chunk));
    ++tx.done;
    c.bytes(d, size_t(n));
    return n;
}

bool dataPending()
{
    return S.tx.cmd && S.tx.cmd->kind == Kind::Query && S.tx.done < S.tx.expected;
}

// hid_read and hid_read_timeout; `ms` < 0 waits without limit.
int readReport(const char *name, hid_device *dev, unsigned char *data, size_t length, int ms)
{
    ensureInit();
    std::unique_lock<std::mutex> lk(S.m);
    Call c(name, std::string(), length);
    if (S.checkHandle(c, dev) < 0) {
        S.record(c, dev, -1);
        return -1;
    }
    if (!data || length == 0) {
        c.error("no buffer");
        S.record(c, dev, -1);
        return -1;
    }
    if (S.injectedFault(c, dev->path)) {
        S.record(c, dev, -1);
        return -1;
    }

    if (dev->role == Role::Event) {
        auto ready = [&] { return !S.events.empty() || !S.handles.count(dev) || !S.alive(dev); };
        if (ms < 0)
            S.cv.wait(lk, ready);
        else if (ms > 0)
            S.cv.wait_for(lk, std::chrono::milliseconds(ms), ready);
        if (!S.handles.count(dev))
            return -1;   // closed by another thread meanwhile
        if (!S.alive(dev)) {
            c.note("device unplugged");
            S.record(c, dev, -1);
            return -1;
        }
        if (S.events.empty()) {
            S.record(c, dev, 0);
            return 0;
        }
        const auto r = S.events.front();
        S.events.pop_front();
        const size_t n = std::min(length, r.size());
        std::memcpy(data, r.data(), n);
        c.bytes(data, n);
        S.record(c, dev, int(n));
        return int(n);
    }

    if (dev->role != Role::Command) {
        c.error("interface sends no reports");
        S.record(c, dev, -1);
        return -1;
    }
    if (!dataPending()) {
        c.error("read with no data pending");
        S.record(c, dev, -1);
        return -1;
    }
    // The answer delay and the stall happen without the lock.
    const int delay = S.delayMs;
    if (delay > 0) {
        const int wait = ms >= 0 ? std::min(ms, delay) : delay;
        lk.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        lk.lock();
        if (!S.handles.count(dev))
            return -1;   // closed by another thread meanwhile
        if (S.checkHandle(c, dev) < 0) {
            S.record(c, dev, -1);
            return -1;
        }
        if (ms >= 0 && delay > ms) {
            S.tx.faulted = true;
            c.note("answer delayed beyond the time-out");
            S.record(c, dev, 0);
            return 0;
        }
    }
    const uint64_t gen = S.generation;
    auto unstalled = [&] { return !S.stalled || S.generation != gen || !S.handles.count(dev); };
    if (ms < 0)
        S.cv.wait(lk, unstalled);
    else if (ms > 0)
        S.cv.wait_for(lk, std::chrono::milliseconds(ms), unstalled);
    if (!S.handles.count(dev))
        return -1;
    if (S.checkHandle(c, dev) < 0) {
        S.record(c, dev, -1);
        return -1;
    }
    if (S.stalled) {
        S.tx.faulted = true;
        c.note("stalled");
        S.record(c, dev, 0);
        return 0;
    }
    if (!dataPending()) {
        c.error("read with no data pending");
        S.record(c, dev, -1);
        return -1;
    }
    const int r = S.dataIn(c, data, length);
    S.record(c, dev, r);
    return r;
}

hid_device *openInterface(const Interface *iface, const std::string &path, Call &c)
{
    if (S.injectedFault(c, path))
        return nullptr;
    if (path.rfind("/dev/", 0) == 0 || path.rfind("/sys/", 0) == 0) {
        c.error("refused to open a real device path");
        return nullptr;
    }
    if (!S.plugged) {
        c.note("device unplugged");
        return nullptr;
    }
    if (!iface) {
        c.note("no such interface");
        return nullptr;
    }
    if (S.failOpens > 0) {
        --S.failOpens;
        c.note("injected open failure");
        return nullptr;
    }
    auto *dev = new hid_device;
    dev->path = iface->path;
    dev->iface = *iface;
    dev->role = roleOf(iface->usagePage, iface->usage);
    dev->generation = S.generation;
    S.handles.insert(dev);
    return dev;
}

wchar_t *wdup(const wchar_t *s)
{
    const size_t n = std::wcslen(s) + 1;
    auto *p = static_cast<wchar_t *>(std::malloc(n * sizeof(wchar_t)));
    if (p)
        std::wmemcpy(p, s, n);
    return p;
}

hid_device_info *makeInfo(const Interface &i, int number)
{
    auto *info = static_cast<hid_device_info *>(std::calloc(1, sizeof(hid_device_info)));
    if (!info)
        return nullptr;
    info->path = strdup(i.path.c_str());
    info->vendor_id = i.vid;
    info->product_id = i.pid;
    info->serial_number = wdup(kSerial);
    info->release_number = S.firmware;
    info->manufacturer_string = wdup(kManufacturer);
    info->product_string = wdup(kProduct);
    info->usage_page = i.usagePage;
    info->usage = i.usage;
    info->interface_number = number;
    info->bus_type = HID_API_BUS_USB;
    return info;
}

void freeInfo(hid_device_info *info)
{
    std::free(info->path);
    std::free(info->serial_number);
    std::free(info->manufacturer_string);
    std::free(info->product_string);
    std::free(info);
}

int deviceString(const char *name, hid_device *dev, wchar_t *string, size_t maxlen, const wchar_t *value)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c(name, std::string(), maxlen);
    int r = S.checkHandle(c, dev);
    if (r == 0 && (!string || maxlen == 0)) {
        c.error("no buffer");
        r = -1;
    }
    if (r == 0 && S.injectedFault(c, dev->path))
        r = -1;
    if (r == 0) {
        std::wcsncpy(string, value, maxlen);
        string[maxlen - 1] = L'\0';
    }
    S.record(c, dev, r);
    return r;
}

} // namespace

// --- the hidapi C API ------------------------------------------------------------

extern "C" {

int HID_API_EXPORT HID_API_CALL hid_init(void)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_init", std::string(), 0);
    const int r = S.injectedFault(c, std::string()) ? -1 : 0;
    S.record(c, nullptr, r);
    return r;
}

int HID_API_EXPORT HID_API_CALL hid_exit(void)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_exit", std::string(), 0);
    S.record(c, nullptr, 0);
    return 0;
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_enumerate(unsigned short vendor_id, unsigned short product_id)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_enumerate", std::string(), 0);
    const uint8_t ids[4] = {uint8_t(vendor_id >> 8), uint8_t(vendor_id), uint8_t(product_id >> 8),
                            uint8_t(product_id)};
    c.bytes(ids, 4);
    hid_device_info *head = nullptr;
    hid_device_info **tail = &head;
    int count = 0;
    if (!S.injectedFault(c, std::string()) && S.plugged) {
        int number = 0;
        for (const Interface &i : S.interfaces) {
            const int n = number++;
            if ((vendor_id && vendor_id != i.vid) || (product_id && product_id != i.pid))
                continue;
            if (hid_device_info *info = makeInfo(i, n)) {
                *tail = info;
                tail = &info->next;
                ++count;
            }
        }
    }
    S.record(c, nullptr, count);
    return head;
}

void HID_API_EXPORT HID_API_CALL hid_free_enumeration(struct hid_device_info *devs)
{
    ensureInit();
    {
        std::lock_guard<std::mutex> lk(S.m);
        Call c("hid_free_enumeration", std::string(), 0);
        S.record(c, nullptr, 0);
    }
    while (devs) {
        hid_device_info *next = devs->next;
        freeInfo(devs);
        devs = next;
    }
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open(unsigned short vendor_id, unsigned short product_id,
                                                 const wchar_t *serial_number)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_open", std::string(), 0);
    const Interface *iface = nullptr;
    for (const Interface &i : S.interfaces) {
        if (i.vid == vendor_id && i.pid == product_id && (!serial_number || std::wcscmp(serial_number, kSerial) == 0)) {
            iface = &i;
            break;
        }
    }
    if (iface)
        c.e.path = iface->path;
    hid_device *dev = openInterface(iface, c.e.path, c);
    S.record(c, dev, dev ? 0 : -1);
    return dev;
}

HID_API_EXPORT hid_device *HID_API_CALL hid_open_path(const char *path)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    const std::string p = path ? path : "";
    Call c("hid_open_path", p, p.size());
    const Interface *iface = nullptr;
    for (const Interface &i : S.interfaces)
        if (i.path == p)
            iface = &i;
    hid_device *dev = nullptr;
    if (!path)
        c.error("no path");
    else
        dev = openInterface(iface, p, c);
    S.record(c, dev, dev ? 0 : -1);
    return dev;
}

namespace {

// A report from the host to the command interface: checks common to output and
// feature reports, then the keyboard's own handling.
int commandInterfaceReport(const char *call, const char *kind, hid_device *dev, const unsigned char *data,
                           size_t length, int (Sim::*handle)(Call &, const uint8_t *, size_t))
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c(call, std::string(), length);
    c.bytes(data, length);
    int r = S.checkHandle(c, dev);
    if (r == 0 && !data) {
        c.error("no data");
        r = -1;
    }
    if (r == 0 && S.injectedFault(c, dev->path))
        r = -1;
    if (r == 0) {
        if (dev->role != Role::Command) {
            c.error(std::string(kind) + " report on an interface that takes none");
            r = -1;
        } else {
            r = (S.*handle)(c, data, length);
        }
    }
    S.record(c, dev, r);
    return r;
}

} // namespace

int HID_API_EXPORT HID_API_CALL hid_write(hid_device *dev, const unsigned char *data, size_t length)
{
    return commandInterfaceReport("hid_write", "output", dev, data, length, &Sim::dataOut);
}

int HID_API_EXPORT HID_API_CALL hid_read_timeout(hid_device *dev, unsigned char *data, size_t length, int milliseconds)
{
    return readReport("hid_read_timeout", dev, data, length, milliseconds < 0 ? -1 : milliseconds);
}

int HID_API_EXPORT HID_API_CALL hid_read(hid_device *dev, unsigned char *data, size_t length)
{
    bool nonblocking = false;
    {
        ensureInit();
        std::lock_guard<std::mutex> lk(S.m);
        nonblocking = S.handles.count(dev) && dev->nonblocking;
    }
    return readReport("hid_read", dev, data, length, nonblocking ? 0 : -1);
}

int HID_API_EXPORT HID_API_CALL hid_set_nonblocking(hid_device *dev, int nonblock)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_set_nonblocking", std::string(), size_t(nonblock));
    int r = S.checkHandle(c, dev);
    if (r == 0 && S.injectedFault(c, dev->path))
        r = -1;
    if (r == 0)
        dev->nonblocking = nonblock != 0;
    S.record(c, dev, r);
    return r;
}

int HID_API_EXPORT HID_API_CALL hid_send_feature_report(hid_device *dev, const unsigned char *data, size_t length)
{
    return commandInterfaceReport("hid_send_feature_report", "feature", dev, data, length, &Sim::request);
}

int HID_API_EXPORT HID_API_CALL hid_get_feature_report(hid_device *dev, unsigned char *data, size_t length)
{
    ensureInit();
    std::unique_lock<std::mutex> lk(S.m);
    Call c("hid_get_feature_report", std::string(), length);
    int r = S.checkHandle(c, dev);
    if (r == 0 && !data) {
        c.error("no buffer");
        r = -1;
    }
    if (r == 0 && S.delayMs > 0) {
        const int delay = S.delayMs;
        lk.unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        lk.lock();
        if (!S.handles.count(dev))
            return -1;
        r = S.checkHandle(c, dev);
    }
    if (r == 0 && S.injectedFault(c, dev->path))
        r = -1;
    if (r == 0) {
        if (dev->role != Role::Command) {
            c.error("feature report on an interface that takes none");
            r = -1;
        } else {
            r = S.answer(c, data, length);
        }
    }
    S.record(c, dev, r);
    return r;
}

int HID_API_EXPORT HID_API_CALL hid_get_input_report(hid_device *dev, unsigned char *data, size_t length)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_get_input_report", std::string(), length);
    (void)data;
    if (S.checkHandle(c, dev) == 0)
        c.error("input reports on request are not supported");
    S.record(c, dev, -1);
    return -1;
}

void HID_API_EXPORT HID_API_CALL hid_close(hid_device *dev)
{
    if (!dev)
        return;
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_close", std::string(), 0);
    if (!S.handles.count(dev)) {
        c.error("close of a handle that is not open");
        S.record(c, nullptr, -1);
        return;
    }
    c.e.path = dev->path;
    S.handles.erase(dev);
    S.record(c, nullptr, 0);
    if (dev->info)
        freeInfo(dev->info);
    delete dev;
    S.cv.notify_all();   // a reader blocked on this handle gives up
}

int HID_API_EXPORT_CALL hid_get_manufacturer_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return deviceString("hid_get_manufacturer_string", dev, string, maxlen, kManufacturer);
}

int HID_API_EXPORT_CALL hid_get_product_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return deviceString("hid_get_product_string", dev, string, maxlen, kProduct);
}

int HID_API_EXPORT_CALL hid_get_serial_number_string(hid_device *dev, wchar_t *string, size_t maxlen)
{
    return deviceString("hid_get_serial_number_string", dev, string, maxlen, kSerial);
}

struct hid_device_info HID_API_EXPORT *HID_API_CALL hid_get_device_info(hid_device *dev)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_get_device_info", std::string(), 0);
    if (S.checkHandle(c, dev) < 0) {
        S.record(c, dev, -1);
        return nullptr;
    }
    if (!dev->info)
        dev->info = makeInfo(dev->iface, 0);
    S.record(c, dev, 0);
    return dev->info;
}

int HID_API_EXPORT_CALL hid_get_indexed_string(hid_device *dev, int string_index, wchar_t *string, size_t maxlen)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    Call c("hid_get_indexed_string", std::string(), maxlen);
    (void)string_index;
    (void)string;
    if (S.checkHandle(c, dev) == 0)
        c.note("no indexed strings");
    S.record(c, dev, -1);
    return -1;
}

HID_API_EXPORT const wchar_t *HID_API_CALL hid_error(hid_device *dev)
{
    ensureInit();
    std::lock_guard<std::mutex> lk(S.m);
    if (dev && S.handles.count(dev))
        return dev->error.c_str();
    return tGlobalError.c_str();
}

HID_API_EXPORT const struct hid_api_version *HID_API_CALL hid_version(void)
{
    static const hid_api_version version = {HID_API_VERSION_MAJOR, HID_API_VERSION_MINOR,
                                            HID_API_VERSION_PATCH};
    return &version;
}

HID_API_EXPORT const char *HID_API_CALL hid_version_str(void)
{
    return HID_API_VERSION_STR;
}

} // extern "C"

// --- test control ------------------------------------------------------------------

namespace k3sim {

namespace {
struct Locked
{
    Locked() : lk((ensureInit(), S.m)) {}
    std::lock_guard<std::mutex> lk;
};
} // namespace

void reset()
{
    Locked l;
    S.plugged = true;
    ++S.generation;
    S.interfaces = defaultInterfaces();
    S.failOpens = 0;
    S.faults.clear();
    S.stalled = false;
    S.delayMs = 0;
    S.reportLength = kDefaultReportLength;
    S.firmware = kDefaultFirmware;
    S.usUk = 0;
    S.state.factory();
    S.bootLoader = false;
    S.macroStop = false;
    S.tx = Transaction();
    S.events.clear();
    S.log.clear();
    S.errors = 0;
    S.cv.notify_all();
}

void plug()
{
    {
        Locked l;
        S.plug();
    }
    notifyPlugListener();
}

void unplug()
{
    {
        Locked l;
        if (S.plugged)
            S.unplug();
    }
    notifyPlugListener();
}

void setPlugListener(void (*listener)(void *context), void *context)
{
    plugListener.store(nullptr);
    plugListenerContext.store(context);
    plugListener.store(listener);
}

bool isPlugged()
{
    Locked l;
    return S.plugged;
}

void setInterfaces(const std::vector<Interface> &interfaces)
{
    Locked l;
    S.interfaces = interfaces;
}

void setReportLength(int bytes)
{
    Locked l;
    S.reportLength = std::clamp(bytes, 1, 1024);
}

int reportLength()
{
    Locked l;
    return S.reportLength;
}

void failNextOpens(int count)
{
    Locked l;
    S.failOpens = std::max(0, count);
}

void failCall(const std::string &call, int skip, const std::string &path)
{
    Locked l;
    S.faults.push_back({call, path, std::max(0, skip)});
}

void setStalled(bool stalled)
{
    Locked l;
    S.stalled = stalled;
    S.cv.notify_all();
}

void setAnswerDelayMs(int ms)
{
    Locked l;
    S.delayMs = std::max(0, ms);
}

void injectLightingReport(const uint8_t values[7])
{
    Locked l;
    if (!S.plugged)
        return;
    S.setLed(values);
    S.queueReport();
}

void pressLightingKey()
{
    Locked l;
    S.pressKey();
}

std::vector<LogEntry> log()
{
    Locked l;
    return {S.log.begin(), S.log.end()};
}

void clearLog()
{
    Locked l;
    S.log.clear();
    S.errors = 0;
}

int errorCount()
{
    Locked l;
    return S.errors;
}

void setFirmware(uint16_t version, uint8_t usUkBits)
{
    Locked l;
    S.firmware = version;
    S.usUk = usUkBits & 3;
}

uint16_t firmwareVersion()
{
    Locked l;
    return S.firmware;
}

int profileCount()
{
    return model::kProfiles;
}

uint8_t currentProfile()
{
    Locked l;
    return S.state.current;
}

Profile profile(int index)
{
    Locked l;
    return index >= 0 && index < model::kProfiles ? S.state.profiles[index] : Profile();
}

std::vector<uint8_t> macro(int slot)
{
    Locked l;
    if (slot < 0 || slot >= model::kMacroSlots)
        return std::vector<uint8_t>(model::kMacroBytes, 0);
    return {S.state.macros[slot], S.state.macros[slot] + model::kMacroBytes};
}

int macroSlotCount()
{
    return model::kMacroSlots;
}

void keyboardOptions(uint8_t out[3])
{
    Locked l;
    std::memcpy(out, S.state.options, 3);
}

uint8_t buttonSensitivity()
{
    Locked l;
    return S.state.sensitivity;
}

bool bootLoaderRequested()
{
    Locked l;
    return S.bootLoader;
}

bool macroStopRequested()
{
    Locked l;
    return S.macroStop;
}

int openHandleCount()
{
    Locked l;
    return int(S.handles.size());
}

int pendingLightingReports()
{
    Locked l;
    return int(S.events.size());
}

void setProfile(int index, const Profile &p)
{
    Locked l;
    if (index >= 0 && index < model::kProfiles)
        S.state.profiles[index] = p;
}

void setCurrentProfile(uint8_t index)
{
    Locked l;
    if (index < model::kProfiles)
        S.state.current = index;
}

void setMacro(int slot, const std::vector<uint8_t> &bytes)
{
    Locked l;
    if (slot < 0 || slot >= model::kMacroSlots)
        return;
    std::memset(S.state.macros[slot], 0, model::kMacroBytes);
    std::memcpy(S.state.macros[slot], bytes.data(), std::min<size_t>(bytes.size(), model::kMacroBytes));
}

void setKeyboardOptions(const uint8_t options[3])
{
    Locked l;
    std::memcpy(S.state.options, options, 3);
}

void setButtonSensitivity(uint8_t value)
{
    Locked l;
    S.state.sensitivity = value;
}

std::string stateText()
{
    Locked l;
    return model::toText(S.state);
}

bool loadStateText(const std::string &text)
{
    Locked l;
    return model::fromText(text, S.state);
}

void reloadEnvironment()
{
    Locked l;
    S.applyEnvironment();
}

} // namespace k3sim
