#include "model.h"

#include <cstring>
#include <sstream>

namespace k3sim::model {
namespace {

// The factory state equals the shipped default profile, so a profile reset in
// the program and a factory restore of the keyboard agree.
// Lighting: effect 2, full brightness, speed 4, colour loop; the backlight bytes
// hold effect 0 at level 7, speed 4 and the colour loop.
constexpr uint8_t kFactoryLed[7] = {0x02, 0x3F, 0x04, 0x00, 0x07, 0xE0, 0x3C};
// Red, orange, yellow, green, cyan, blue, magenta at the keyboard's 0..63 scale.
constexpr uint8_t kFactoryColors[21] = {63, 0, 0, 63, 32, 0, 63, 63, 0, 0, 63, 0,
                                        0, 63, 63, 0, 0, 63, 63, 0, 63};
// USB usage of every matrix position (row x 16 + column) in the ANSI layout.
constexpr uint8_t kFactoryKeys[128] = {
     41,  58,  59,  60,  61,  62,  63,  64,  65,  66,  67,  68,  69,  70,  71,  72,
     30,  31,  32,  33,  34,  35,  36,  37,  38,  39,  45,  46,  42,  73,  74,  75,
     20,  26,   8,  21,  23,  28,  24,  12,  18,  19,  47,  48,  49,  76,  77,  78,
      4,  22,   7,   9,  10,  11,  13,  14,  15,  51,  52,  40,  44,  44,   0,   0,
     29,  27,   6,  25,   5,  17,  16,  54,  55,  56, 229, 225, 225,   0,   0,  82,
    224, 227, 226,  53,  43,  57,   0,   0, 230, 240, 101, 228,  79,   0,  80,  81,
     83,  84,  85,  86,  89,  95,  96,  97,  87,  92,  93,  94,  88,  90,  98,  99,
      0,   0,   0,  91,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,
};

std::string hex(const uint8_t *data, size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string s;
    s.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) {
        s += digits[data[i] >> 4];
        s += digits[data[i] & 15];
    }
    return s;
}

int nibble(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Exactly n bytes of hex, or nothing is written.
bool unhex(const std::string &s, uint8_t *out, size_t n)
{
    if (s.size() != n * 2)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (nibble(s[2 * i]) < 0 || nibble(s[2 * i + 1]) < 0)
            return false;
    for (size_t i = 0; i < n; ++i)
        out[i] = uint8_t(nibble(s[2 * i]) << 4 | nibble(s[2 * i + 1]));
    return true;
}

std::string trim(const std::string &s)
{
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool parseIndex(const std::string &s, int limit, int &out)
{
    if (s.empty() || s.size() > 3)
        return false;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v >= limit)
        return false;
    out = v;
    return true;
}

} // namespace

void State::factory()
{
    current = 0;
    for (Profile &p : profiles) {
        p = Profile();
        std::memcpy(p.ledType, kFactoryLed, sizeof kFactoryLed);
        std::memcpy(p.colors, kFactoryColors, sizeof kFactoryColors);
        for (int pos = 0; pos < 128; ++pos)
            p.keyMatrix[2 * pos] = kFactoryKeys[pos];   // high byte 0: standard key
    }
    std::memset(macros, 0, sizeof macros);
    std::memset(options, 0, sizeof options);
    sensitivity = 3;
}

std::string toText(const State &s)
{
    std::ostringstream o;
    o << "[keyboard]\n"
      << "current=" << hex(&s.current, 1) << "\n"
      << "options=" << hex(s.options, 3) << "\n"
      << "sensitivity=" << hex(&s.sensitivity, 1) << "\n";
    for (int m = 0; m < kMacroSlots; ++m)
        o << "macro" << m << "=" << hex(s.macros[m], kMacroBytes) << "\n";
    for (int i = 0; i < kProfiles; ++i) {
        const Profile &p = s.profiles[i];
        o << "\n[profile" << i << "]\n"
          << "ledType=" << hex(p.ledType, 7) << "\n"
          << "colors=" << hex(p.colors, 64) << "\n"
          << "keyMatrix=" << hex(p.keyMatrix, 256) << "\n";
        for (int pic = 0; pic < kPictures; ++pic)
            for (int plane = 0; plane < kPlanes; ++plane)
                o << "picture" << pic << "." << plane << "="
                  << hex(p.userPicture[pic][plane], 128) << "\n";
    }
    return o.str();
}

bool fromText(const std::string &text, State &s)
{
    bool ok = true;
    int profile = -2;   // -1: [keyboard], -2: before any section
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#' || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            const std::string name = line.substr(1, line.size() - 2);
            int index = 0;
            if (name == "keyboard")
                profile = -1;
            else if (name.rfind("profile", 0) == 0 && parseIndex(name.substr(7), kProfiles, index))
                profile = index;
            else {
                profile = -2;
                ok = false;
            }
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos || profile == -2) {
            ok = false;
            continue;
        }
        const std::string key = trim(line.substr(0, eq));
        const std::string value = trim(line.substr(eq + 1));
        bool done = false;
        int index = 0;
        if (profile == -1) {
            uint8_t cur = 0;
            if (key == "current")
                done = unhex(value, &cur, 1) && cur < kProfiles && ((s.current = cur), true);
            else if (key == "options")
                done = unhex(value, s.options, 3);
            else if (key == "sensitivity")
                done = unhex(value, &s.sensitivity, 1);
            else if (key.rfind("macro", 0) == 0 && parseIndex(key.substr(5), kMacroSlots, index))
                done = unhex(value, s.macros[index], kMacroBytes);
        } else {
            Profile &p = s.profiles[profile];
            int plane = 0;
            const auto dot = key.find('.');
            if (key == "ledType")
                done = unhex(value, p.ledType, 7);
            else if (key == "colors")
                done = unhex(value, p.colors, 64);
            else if (key == "keyMatrix")
                done = unhex(value, p.keyMatrix, 256);
            else if (key.rfind("picture", 0) == 0 && dot != std::string::npos
                     && parseIndex(key.substr(7, dot - 7), kPictures, index)
                     && parseIndex(key.substr(dot + 1), kPlanes, plane))
                done = unhex(value, p.userPicture[index][plane], 128);
        }
        ok = ok && done;
    }
    return ok;
}

} // namespace k3sim::model
