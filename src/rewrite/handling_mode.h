#pragma once

#include <cstdint>

namespace faultward {

// What an added handler block does with an error: the Options menu's choice,
// stored as Error_Flag in ERRH.ini. The value is the stored 16-bit number, kept
// whole, so a stored 7 is written back as 7; effectiveMode() says what such a
// value does.
enum class HandlingMode : std::int16_t { ShowMessage = 0, ResumeNext = 1, CentralHandler = 2 };

// The modes that write a block of their own, in the order of their values,
// which is the Options menu's.
inline constexpr HandlingMode kHandlingModes[] = {
    HandlingMode::ShowMessage, HandlingMode::ResumeNext, HandlingMode::CentralHandler};

// The mode a value acts as: any value other than 0, 1 and 2 acts as 1 and
// writes the ResumeNext block.
constexpr HandlingMode effectiveMode(HandlingMode mode) {
    for (const HandlingMode each : kHandlingModes)
        if (mode == each)
            return mode;
    return HandlingMode::ResumeNext;
}

// The number that is stored, and that numbers the mode's Options item.
constexpr std::int16_t storedValue(HandlingMode mode) {
    return static_cast<std::int16_t>(mode);
}

// The mode of a stored number, whatever it is.
constexpr HandlingMode handlingModeOf(std::int16_t stored) {
    return static_cast<HandlingMode>(stored);
}

} // namespace faultward
