#include "app/commands/consent_records.h"

#include "platform/path_bytes.h"
#include "platform/source_file.h"

#include <algorithm>
#include <set>
#include <vector>

namespace fs = std::filesystem;

namespace faultward {
namespace {

// The newest answers kept: a line is 65 bytes, and old projects fall away.
constexpr std::size_t kAnswersKept = 4096;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

} // namespace

ConsentRecords::ConsentRecords(std::optional<fs::path> folder) {
    if (folder)
        file_ = *folder / "outside-answers";
}

bool ConsentRecords::given(std::span<const std::string> keys) const {
    std::string text;
    if (!file_ || readRegularFile(*file_, text) != ReadStatus::Ok)
        return keys.empty();
    const std::vector<std::string> lines = linesOf(text);
    const std::set<std::string> answers(lines.begin(), lines.end());
    return std::all_of(keys.begin(), keys.end(),
                       [&](const std::string& key) { return answers.contains(key); });
}

std::optional<std::string> ConsentRecords::remember(std::span<const std::string> keys) {
    if (!file_)
        return "The answer cannot be remembered: there is no folder for this user's records; "
               "the next command asks again.";
    std::error_code error;
    const fs::path folder = file_->parent_path();
    if (fs::create_directories(folder, error))
        fs::permissions(folder, fs::perms::owner_all, error); // the user's alone
    std::string text;
    readRegularFile(*file_, text);
    std::vector<std::string> lines = linesOf(text);
    for (const std::string& key : keys)
        if (std::find(lines.begin(), lines.end(), key) == lines.end())
            lines.push_back(key);
    if (lines.size() > kAnswersKept)
        lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(kAnswersKept));
    text.clear();
    for (const std::string& line : lines)
        text += line + '\n';
    if (createOrReplaceFile(*file_, text) != WriteStatus::Ok)
        return "The answer could not be remembered in " + pathDisplayText(bytesFromPath(*file_)) +
               "; the next command asks again.";
    return std::nullopt;
}

} // namespace faultward
