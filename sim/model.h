#pragma once

// The keyboard's stored data (what its flash keeps) and its text form.

#include "k3sim.h"

#include <cstdint>
#include <string>

namespace k3sim::model {

constexpr int kProfiles = 10;
constexpr int kMacroSlots = 17;
constexpr int kPictures = 5;
constexpr int kPlanes = 4;
constexpr int kMacroBytes = 128;
constexpr int kEffectCount = 12;   // effect types 0x00..0x0B

struct State
{
    uint8_t current = 0;
    Profile profiles[kProfiles];
    uint8_t macros[kMacroSlots][kMacroBytes] = {};
    uint8_t options[3] = {};
    uint8_t sensitivity = 0;

    State() { factory(); }
    void factory();
    Profile &profile() { return profiles[current < kProfiles ? current : 0]; }
};

// Text form: "[keyboard]" and "[profileN]" sections of key=hex lines.
std::string toText(const State &state);
// Reads over `state`: entries that parse replace their value, the rest keep
// theirs. Returns false when anything was malformed or unknown.
bool fromText(const std::string &text, State &state);

} // namespace k3sim::model
