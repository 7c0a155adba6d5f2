#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace faultward {

// The user's answers that let the desktop program write files outside a
// project's folder, kept in the user's own state folder, where no project can
// plant one. Each answer is a key of app/commands/outside_files.h (consentKeys), one a
// line in the file "outside-answers".
class ConsentRecords {
public:
    // folder: the user's state folder; without one nothing is remembered and
    // every command asks.
    explicit ConsentRecords(std::optional<std::filesystem::path> folder);

    // Whether the user agreed to every one of the keys.
    bool given(std::span<const std::string> keys) const;
    // Keeps the keys; the message when they could not be kept.
    std::optional<std::string> remember(std::span<const std::string> keys);

private:
    std::optional<std::filesystem::path> file_;
};

} // namespace faultward
