#pragma once

#include "app/settings/profile_store.h"

#include <map>
#include <optional>
#include <string>

namespace faultward::testing {

// A settings store in memory, keyed "section/key", that counts its writes.
class MemoryStore final : public ProfileStore {
public:
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t bufferSize) override;
    bool writeString(std::string_view section, std::string_view key,
                     std::string_view value) override;
    std::optional<std::string> commitEdit() override { return commitProblem; }
    std::map<std::string, std::string> values;
    int writes = 0;
    // What commitEdit answers: the cause of a save that failed.
    std::optional<std::string> commitProblem;
};

} // namespace faultward::testing
