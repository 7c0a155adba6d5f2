#pragma once

#include "platform/registry.h"

#include <string>
#include <string_view>

namespace faultward::about {

// Reads one registry value as text into keyValue. True when it was read; an
// unopenable key or unreadable value (data over 1024 bytes included) gives
// false and an empty keyValue. A string value loses one trailing zero byte; a
// kRegDword becomes its decimal number; any other type leaves keyValue as it
// was passed. Throws std::runtime_error for zero-length data and for numeric
// data wider than 32 bits.
bool GetKeyValue(Registry& registry, RegistryKey root, std::string_view keyName,
                 std::string_view subKeyRef, std::string& keyValue);

} // namespace faultward::about
