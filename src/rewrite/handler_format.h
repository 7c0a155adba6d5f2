#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace faultward {

// Every line the tool adds ends with this comment; removal looks for nothing else.
inline constexpr std::string_view kMarker = "'~Faultward~";

// The handling modes. Any other value writes the ResumeNext block.
enum HandlingMode : std::int16_t { ShowMessage = 0, ResumeNext = 1, CentralHandler = 2 };

void appendTrapLine(std::string& out, std::string_view procedureName, std::string_view ending);
void appendHandlerBlock(std::string& out, std::string_view procedureName, int mode,
                        std::string_view ending);

// One marked line without its line ending, for tests and documentation.
std::string trapLine(std::string_view procedureName);

} // namespace faultward
