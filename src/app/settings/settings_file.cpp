#include "app/settings/settings_file.h"

#include "app/settings/ini_text.h"
#include "app/texts/texts.h"
#include "platform/file_stamp.h"
#include "platform/settings_file_lock.h"
#include "platform/source_file.h"
#include "rewrite/pass_types.h"

#include <thread>

namespace faultward {

SettingsText readSettingsText(const std::filesystem::path& file,
                              std::optional<std::uint64_t> limit) {
    SettingsText text;
    const FileStamp stamp = fileStamp(file);
    if (!stamp.exists && isSymbolicLink(file)) {
        text.exists = text.refused = true;
        text.problem = std::string(kDanglingLinkCause);
        return text;
    }
    if (limit && stamp.size > *limit) {
        text.exists = text.refused = true;
        text.problem = settingsTooLargeCause(stamp.size, *limit);
        return text;
    }
    const ReadStatus status = readRegularFile(file, text.bytes);
    if (status == ReadStatus::NotFound) {
        text.bytes.clear();
        return text;
    }
    text.exists = true;
    if (status != ReadStatus::Ok)
        text.problem = std::string(describe(readFailure(status)));
    else if (limit && text.bytes.size() > *limit)
        text.problem = settingsTooLargeCause(text.bytes.size(), *limit);
    else if (beginsAsUtf16(text.bytes))
        text.problem = std::string(kUtf16SettingsCause);
    text.refused = status == ReadStatus::Ok && text.problem.has_value();
    return text;
}

std::optional<std::string> changeSettingsFile(const std::filesystem::path& file,
                                              const SettingsChange& change,
                                              std::optional<std::uint64_t> limit,
                                              const std::filesystem::path& fallback,
                                              FileStamp* ours, const SettingsWaits& waits) {
    if (isSymbolicLink(file))
        return std::string(kLinkNotWrittenCause);
    const std::optional<SettingsFileLock> lock = lockSettingsFolder(file, waits.lock);
    if (!lock)
        return settingsLockedCause(waits.lock);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + waits.settle;
    const auto pastDeadline = [&] { return Clock::now() >= deadline; };
    // A file's times can lag its size for a moment: one just truncated in
    // place by another program may show its new size with its old times. So
    // the file must also look the same to this program for a while: a short
    // while at the first look, the whole quiet time once it was seen to change.
    std::optional<FileStamp> seen;
    Clock::time_point stillUntil;
    for (;;) {
        const FileStamp before = fileStamp(file);
        if (!seen || before != *seen) {
            stillUntil = Clock::now() + (seen ? waits.quiet : waits.quiet / 4);
            seen = before;
        }
        const bool ourOwn = ours != nullptr && before == *ours;
        if (before.exists && !ourOwn &&
            (timeSinceChange(before) < waits.quiet || Clock::now() < stillUntil)) {
            // Another program may be writing it in place.
            if (pastDeadline())
                return std::string(kSettingsKeptChangingCause);
            std::this_thread::sleep_for(waits.quiet / 4);
            continue;
        }
        SettingsText text = readSettingsText(file, limit);
        if (text.problem)
            return text.problem;
        if (!text.exists && !fallback.empty()) {
            SettingsText old = readSettingsText(fallback, limit);
            if (old.problem)
                return old.problem;
            text.bytes = std::move(old.bytes);
        }
        const FileStamp after = fileStamp(file);
        if (after != before || after.size != (after.exists ? text.bytes.size() : 0)) {
            if (pastDeadline())
                return std::string(kSettingsKeptChangingCause);
            continue;
        }
        const std::string bytes = change(text.bytes);
        if ((text.exists && bytes == text.bytes) || (!text.exists && bytes.empty()))
            return std::nullopt;
        if (fileStamp(file) != after)
            continue;
        const WriteStatus status = createOrReplaceFile(file, bytes);
        if (status != WriteStatus::Ok)
            return std::string(describe(writeOutcome(status)));
        if (ours != nullptr)
            *ours = fileStamp(file);
        return std::nullopt;
    }
}

} // namespace faultward
