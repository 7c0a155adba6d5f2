#pragma once

#include <string_view>

namespace faultward::office {

// The order the compound file keeps names in: a shorter name first, then
// character by character in upper case (for the Latin letters; other
// characters as they are).
int compareCompoundNames(std::u16string_view a, std::u16string_view b);

bool sameCompoundName(std::u16string_view a, std::u16string_view b);

} // namespace faultward::office
