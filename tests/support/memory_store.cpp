#include "support/memory_store.h"

namespace faultward::testing {

std::string MemoryStore::readString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, std::size_t bufferSize) {
    const auto found = values.find(std::string(section) + "/" + std::string(key));
    const std::string value = found == values.end() ? std::string(defaultValue) : found->second;
    return value.substr(0, bufferSize - 1);
}

bool MemoryStore::writeString(std::string_view section, std::string_view key,
                              std::string_view value) {
    values[std::string(section) + "/" + std::string(key)] = std::string(value);
    ++writes;
    return true;
}

} // namespace faultward::testing
