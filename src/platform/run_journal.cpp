#include "platform/run_journal.h"

#include "platform/path_bytes.h"
#include "platform/user_folders.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <thread>
#include <utility>

namespace fs = std::filesystem;

namespace faultward {
namespace {

constexpr std::string_view kHeader = "faultward-journal 1";
constexpr std::string_view kJournalPrefix = "run-";
constexpr std::string_view kJournalSuffix = ".journal";

// A field of a record: bytes with no space, line break or other control
// byte, and never empty.
std::string field(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    if (bytes.empty())
        return "-";
    std::string out;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == '%' || byte == 0x7F || (bytes.size() == 1 && byte == '-')) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unfield(std::string_view text) {
    if (text == "-")
        return std::string();
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size())
            return std::nullopt;
        const auto [end, error] =
            std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (error != std::errc() || end != text.data() + i + 3)
            return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

template <typename Number> std::optional<Number> number(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string identityField(const FileIdentity& identity) {
    return std::to_string(identity.volume) + ":" + std::to_string(identity.file);
}

std::string stampField(const std::optional<FileStamp>& stamp) {
    if (!stamp)
        return "-";
    return identityField(stamp->identity) + ":" + std::to_string(stamp->size) + ":" +
           std::to_string(stamp->modified) + ":" + std::to_string(stamp->changed);
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos)
            return parts;
        text.remove_prefix(at + 1);
    }
}

std::optional<FileIdentity> parseIdentity(std::string_view text) {
    const auto parts = split(text, ':');
    if (parts.size() != 2)
        return std::nullopt;
    const auto volume = number<std::uint64_t>(parts[0]);
    const auto file = number<std::uint64_t>(parts[1]);
    if (!volume || !file)
        return std::nullopt;
    return FileIdentity{*volume, *file};
}

std::optional<FileStamp> parseStamp(std::string_view text) {
    const auto parts = split(text, ':');
    if (parts.size() != 5)
        return std::nullopt;
    const auto identity = parseIdentity(std::string(parts[0]) + ":" + std::string(parts[1]));
    const auto size = number<std::uint64_t>(parts[2]);
    const auto modified = number<std::int64_t>(parts[3]);
    const auto changed = number<std::int64_t>(parts[4]);
    if (!identity || !size || !modified || !changed)
        return std::nullopt;
    return FileStamp{.exists = true,
                     .size = *size,
                     .modified = *modified,
                     .changed = *changed,
                     .identity = *identity,
                     .regular = true};
}

// One file being replaced, as a journal tells it.
struct JournalEntry {
    fs::path target;
    std::optional<FileStamp> before;
    std::string temporary; // name beside the target
    std::string copy;      // name beside the target; empty for a replace by rename
    std::optional<FileIdentity> made;
    std::optional<std::string> newBytes; // name beside the journal
    bool done = false;
};

struct ParsedJournal {
    ProcessMark owner;
    std::map<int, JournalEntry> entries;
};

// A journal's records; a line cut short by the end of its process, or one
// not understood, says nothing.
std::optional<ParsedJournal> parseJournal(std::string_view text) {
    ParsedJournal parsed;
    bool headed = false;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        if (end == std::string_view::npos)
            break;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const auto parts = split(line, ' ');
        if (!headed) {
            if (parts.size() != 4 || std::string(parts[0]) + " " + std::string(parts[1]) != kHeader)
                return std::nullopt;
            const auto id = number<std::uint64_t>(parts[2]);
            const auto start = unfield(parts[3]);
            if (!id || !start)
                return std::nullopt;
            parsed.owner = {*id, *start};
            headed = true;
            continue;
        }
        if (parts.size() < 2)
            continue;
        const auto index = number<int>(parts[1]);
        if (!index)
            continue;
        if (parts[0] == "R" && parts.size() == 6) {
            const auto target = unfield(parts[2]);
            const auto temporary = unfield(parts[4]);
            const auto copy = unfield(parts[5]);
            if (!target || !temporary || !copy || temporary->empty())
                continue;
            JournalEntry entry;
            entry.target = pathFromBytes(*target);
            entry.before = parseStamp(parts[3]);
            entry.temporary = *temporary;
            entry.copy = *copy;
            parsed.entries[*index] = std::move(entry);
            continue;
        }
        const auto found = parsed.entries.find(*index);
        if (found == parsed.entries.end())
            continue;
        JournalEntry& entry = found->second;
        if (parts[0] == "T" && parts.size() == 3)
            entry.made = parseIdentity(parts[2]);
        else if (parts[0] == "N" && parts.size() == 3)
            entry.newBytes = unfield(parts[2]);
        else if (parts[0] == "D" && parts.size() == 2)
            entry.done = true;
    }
    if (!headed)
        return std::nullopt;
    return parsed;
}

// What a file written in place holds, judged against its old bytes (the
// copy) and the new ones the write meant to put in.
enum class Held { Old, New, HalfWritten, SomethingElse };

// The write puts the new bytes in from the start and then cuts the file to
// their length, so an interruption leaves the first k new bytes followed by
// the old ones from k on (or just those k, when they reach past the old
// end). Anything else was written by someone else.
Held judgeHeld(std::string_view file, std::string_view old,
               const std::optional<std::string>& fresh) {
    if (file == old)
        return Held::Old;
    if (!fresh)
        return Held::SomethingElse; // the write had not begun
    if (file == *fresh)
        return Held::New;
    std::size_t prefix = 0; // bytes the file has in common with the new ones
    const std::size_t most = std::min(file.size(), fresh->size());
    while (prefix < most && file[prefix] == (*fresh)[prefix])
        ++prefix;
    if (file.size() > old.size())
        return prefix == file.size() ? Held::HalfWritten : Held::SomethingElse;
    if (file.size() < old.size())
        return Held::SomethingElse;
    std::size_t suffix = 0; // bytes at the end it has in common with the old ones
    while (suffix < file.size() && file[file.size() - 1 - suffix] == old[old.size() - 1 - suffix])
        ++suffix;
    return file.size() - suffix <= prefix ? Held::HalfWritten : Held::SomethingElse;
}

bool isOwn(const fs::path& path, const std::optional<FileIdentity>& made) {
    const auto stamp = stampOf(path);
    return made && stamp && stamp->regular && stamp->identity == *made;
}

// A run may end between making its temporary and recording it: the
// temporary then holds nothing yet.
bool isOwnTemporary(const fs::path& path, const std::optional<FileIdentity>& made) {
    if (made)
        return isOwn(path, made);
    const auto stamp = stampOf(path);
    return stamp && stamp->regular && stamp->size == 0;
}

} // namespace

// Settles the records of journals of ended runs that name files in one
// folder (or one file), and gathers the names they account for.
struct RunJournal::Settling {
    std::optional<FileIdentity> folder; // where the files are
    std::optional<std::string> name;    // only this file; all when none
    fs::path shown;                     // the folder as the caller names it
    fs::path journalFolder;
    bool act = false;
    std::vector<Leftover> found;
    std::set<std::string> accounted; // names in the folder a journal explains

    Settling(const fs::path& where, bool acting) : shown(where), act(acting) {
        if (FileIdentity identity; identifyFile(where, identity) == ReadStatus::Ok)
            folder = identity;
    }

    bool concerns(const JournalEntry& entry) {
        if (name && bytesFromPath(entry.target.filename()) != *name)
            return false;
        FileIdentity identity;
        const fs::path parent = entry.target.parent_path();
        const auto known = folders.find(parent);
        const std::optional<FileIdentity> of =
            known != folders.end()
                ? known->second
                : (identifyFile(parent, identity) == ReadStatus::Ok ? std::optional(identity)
                                                                    : std::nullopt);
        folders[parent] = of;
        return of && folder && *of == *folder;
    }

    // What an ended run's record leaves; true when nothing of it is left.
    bool settle(JournalEntry& entry) {
        const fs::path folderPath = entry.target.parent_path();
        const fs::path temporary = folderPath / pathFromBytes(entry.temporary);
        bool left = false;
        if (isOwnTemporary(temporary, entry.made)) {
            accounted.insert(entry.temporary);
            left = !(act && removeFile(temporary));
        }
        if (entry.copy.empty())
            return !left;
        const fs::path copy = folderPath / pathFromBytes(entry.copy);
        const auto copyStamp = stampOf(copy);
        // The copy is whole once it has its name: its size is the file's.
        if (!isOwn(copy, entry.made) || !copyStamp || !entry.before ||
            copyStamp->size != entry.before->size)
            return !left && settledNewBytes(entry);
        accounted.insert(entry.copy);
        Leftover said{LeftoverKind::ChangedSince, shown / entry.target.filename(),
                      shown / pathFromBytes(entry.copy), true};
        const auto now = stampOf(entry.target);
        if (!now) {
            said.kind = LeftoverKind::FileGone;
            found.push_back(said);
            return false;
        }
        // Only the bytes tell: a write and a later edit may both fall within
        // one tick of the file's clock, or leave its times as they were.
        const Held held = now->regular && now->identity == entry.before->identity
                              ? judgeBytes(entry, copy)
                              : Held::SomethingElse;
        if (held == Held::SomethingElse) {
            found.push_back(said);
            return false;
        }
        if (held == Held::HalfWritten) {
            if (!act) {
                said.kind = LeftoverKind::WillBePutBack;
                found.push_back(said);
                return false;
            }
            const bool back = writeBackInPlace(entry.target, *now, copy) && removeFile(copy);
            said.kind = back ? LeftoverKind::PutBack : LeftoverKind::NotPutBack;
            found.push_back(said);
            return back && !left && settledNewBytes(entry);
        }
        // The file holds the old or the new bytes whole: the copy is of no more use.
        return act && removeFile(copy) && !left && settledNewBytes(entry);
    }

    Held judgeBytes(const JournalEntry& entry, const fs::path& copy) {
        std::string file;
        std::string old;
        if (readRegularFile(entry.target, file) != ReadStatus::Ok ||
            readRegularFile(copy, old) != ReadStatus::Ok)
            return Held::SomethingElse;
        std::optional<std::string> fresh;
        if (entry.newBytes) {
            fresh.emplace();
            if (readRegularFile(journalFolder / pathFromBytes(*entry.newBytes), *fresh) !=
                ReadStatus::Ok)
                fresh.reset();
        }
        return judgeHeld(file, old, fresh);
    }

    bool settledNewBytes(const JournalEntry& entry) {
        if (!entry.newBytes || !act)
            return act;
        const fs::path kept = journalFolder / pathFromBytes(*entry.newBytes);
        return removeFile(kept) || !stampOf(kept);
    }

    std::map<fs::path, std::optional<FileIdentity>> folders;
};

JournalRecord::JournalRecord(JournalRecord&& other) noexcept
    : journal_(std::exchange(other.journal_, nullptr)), number_(other.number_) {}

JournalRecord& JournalRecord::operator=(JournalRecord&& other) noexcept {
    journal_ = std::exchange(other.journal_, nullptr);
    number_ = other.number_;
    return *this;
}

void JournalRecord::temporaryMade(const FileIdentity& identity) {
    if (journal_)
        journal_->write(number_, "T " + std::to_string(number_) + " " + identityField(identity),
                        false);
}

void JournalRecord::writingInPlace(std::span<const std::string_view> pieces) {
    if (!journal_)
        return;
    std::lock_guard lock(journal_->mutex_);
    if (!journal_->own_)
        return;
    const std::string name =
        bytesFromPath(journal_->ownPath_.filename()) + "." + std::to_string(number_) + ".new";
    if (!writePrivateFile(journal_->ownPath_.parent_path() / pathFromBytes(name), pieces))
        return;
    journal_->own_->append("N " + std::to_string(number_) + " " + field(name) + "\n", true);
}

void JournalRecord::finish() {
    if (journal_)
        std::exchange(journal_, nullptr)->finish(number_);
}

RunJournal::RunJournal(std::optional<fs::path> folder, ProcessMark self, Liveness running)
    : folder_(std::move(folder)), self_(std::move(self)), running_(std::move(running)) {}

RunJournal::~RunJournal() {
    // A journal with no open record says nothing; one with open records
    // stays for a later run.
    if (own_ && open_.empty())
        own_->remove();
}

RunJournal& RunJournal::ofThisProcess() {
    static RunJournal journal([]() -> std::optional<fs::path> {
        if (const auto state = userStateFolder())
            return *state / "runs";
        return std::nullopt;
    }());
    return journal;
}

bool RunJournal::ensureOwnFile() {
    if (own_)
        return true;
    if (ownFailed_ || !folder_)
        return false;
    ownFailed_ = true;
    if (!makePrivateFolder(*folder_))
        return false;
    const std::string stem = std::string(kJournalPrefix) + std::to_string(self_.id);
    // A journal of an earlier process that had this id may still be there.
    for (int extra = 0; extra < 100 && !own_; ++extra) {
        // Appended apart: "-" + a temporary trips GCC 12's false overlap warning.
        std::string name = stem;
        if (extra > 0) {
            name += '-';
            name += std::to_string(extra);
        }
        name += kJournalSuffix;
        ownPath_ = *folder_ / name;
        own_ = JournalFile::create(ownPath_);
    }
    ownFailed_ = !own_;
    return own_ != nullptr;
}

JournalRecord RunJournal::replacing(const fs::path& target, const std::optional<FileStamp>& before,
                                    const std::string& temporaryName, const std::string& copyName) {
    std::lock_guard lock(mutex_);
    if (!ensureOwnFile())
        return {};
    std::string text;
    if (!headerWritten_)
        text =
            std::string(kHeader) + " " + std::to_string(self_.id) + " " + field(self_.start) + "\n";
    const int number = next_++;
    std::error_code error;
    const fs::path absolute = fs::absolute(target, error).lexically_normal();
    text += "R " + std::to_string(number) + " " + field(bytesFromPath(error ? target : absolute)) +
            " " + stampField(before) + " " + field(temporaryName) + " " + field(copyName) + "\n";
    if (!own_->append(text, false))
        return {};
    headerWritten_ = true;
    open_.insert(number);
    return JournalRecord(this, number);
}

void RunJournal::write(int /*number*/, const std::string& line, bool durable) {
    std::lock_guard lock(mutex_);
    if (own_)
        own_->append(line + "\n", durable);
}

void RunJournal::finish(int number) {
    std::lock_guard lock(mutex_);
    open_.erase(number);
    if (!own_)
        return;
    const std::string kept =
        bytesFromPath(ownPath_.filename()) + "." + std::to_string(number) + ".new";
    removeFile(ownPath_.parent_path() / pathFromBytes(kept));
    if (open_.empty()) {
        // Nothing open: the journal starts afresh at the next record.
        if (own_->clear())
            headerWritten_ = false;
        else
            own_->append("D " + std::to_string(number) + "\n", false);
    } else {
        own_->append("D " + std::to_string(number) + "\n", false);
    }
}

std::vector<fs::path> RunJournal::otherJournals() const {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(*folder_, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = bytesFromPath(it->path().filename());
        if (name.starts_with(kJournalPrefix) && name.ends_with(kJournalSuffix) &&
            it->path() != ownPath_)
            found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

namespace {

// The names of the files a journal of an ended run still has open records for.
std::set<std::string> openTargets(const ParsedJournal& journal) {
    std::set<std::string> names;
    for (const auto& [number, entry] : journal.entries)
        if (!entry.done)
            names.insert(bytesFromPath(entry.target.filename()));
    return names;
}

// A record of which neither the temporary nor the copy is left (its folder
// may be long gone) has nothing more to settle.
bool nothingLeft(const JournalEntry& entry) {
    const fs::path folder = entry.target.parent_path();
    return !stampOf(folder / pathFromBytes(entry.temporary)) &&
           (entry.copy.empty() || !stampOf(folder / pathFromBytes(entry.copy)));
}

} // namespace

// A journal whose run has ended is held only by a run settling it, for as
// long as that takes: worth waiting for, or a run beside this one (on
// another project, say) would keep this one from putting its files right.
std::unique_ptr<JournalFile> RunJournal::claimEnded(const fs::path& path) const {
    using namespace std::chrono_literals;
    const auto giveUp = std::chrono::steady_clock::now() + 5s;
    for (;;) {
        if (auto held = JournalFile::claim(path))
            return held;
        if (std::chrono::steady_clock::now() > giveUp)
            return nullptr;
        // Windows lets no one read a journal while another run holds it.
        if (const auto text = JournalFile::peek(path)) {
            const auto parsed = parseJournal(*text);
            // Emptied, or claimed by an owner that runs.
            if (!parsed || running_(parsed->owner))
                return nullptr;
        } else if (std::error_code error; !fs::exists(path, error)) {
            return nullptr;
        }
        std::this_thread::sleep_for(5ms);
    }
}

void RunJournal::settleJournal(const fs::path& path, Settling& settling) {
    std::unique_ptr<JournalFile> held;
    if (settling.act) {
        // Unreadable: another run holds it (Windows), so its run has ended.
        const auto peeked = JournalFile::peek(path);
        const auto parsed = peeked ? parseJournal(*peeked) : std::nullopt;
        held = !peeked || (parsed && !running_(parsed->owner)) ? claimEnded(path)
                                                               : JournalFile::claim(path);
    }
    const std::optional<std::string> text = held ? held->contents() : JournalFile::peek(path);
    std::optional<ParsedJournal> parsed = text ? parseJournal(*text) : std::nullopt;
    if (!parsed) {
        // Empty: its process ended with nothing open.
        if (held && text && text->empty())
            held->remove();
        return;
    }
    const bool ended = !running_(parsed->owner);
    std::string done;
    for (auto& [number, entry] : parsed->entries) {
        if (entry.done)
            continue;
        if (!settling.concerns(entry)) {
            if (held && ended && nothingLeft(entry)) {
                entry.done = true;
                done += "D " + std::to_string(number) + "\n";
            }
            continue;
        }
        if (!ended || (settling.act && !held)) {
            // A run still going, or one another run is settling.
            settling.accounted.insert(entry.temporary);
            if (!entry.copy.empty())
                settling.accounted.insert(entry.copy);
            continue;
        }
        if (settling.settle(entry) && held) {
            entry.done = true;
            done += "D " + std::to_string(number) + "\n";
        }
    }
    if (!held || !ended)
        return;
    if (openTargets(*parsed).empty())
        held->remove();
    else if (!done.empty())
        held->append(done, false);
}

std::vector<Leftover> RunJournal::leftoversIn(const fs::path& folder, bool act) {
    std::lock_guard lock(mutex_);
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    Settling settling(where, act);
    if (folder_) {
        settling.journalFolder = *folder_;
        for (const fs::path& path : otherJournals())
            settleJournal(path, settling);
    }
    for (const LeftoverName& name : leftoverNamesIn(where)) {
        // This process makes none while a folder is looked at.
        if (name.owner == self_.id ||
            settling.accounted.contains(bytesFromPath(name.path.filename())))
            continue;
        settling.found.push_back({LeftoverKind::Stray, name.file, name.path, name.copy});
    }
    if (act)
        ended_.reset(); // looked up again at the next write
    return std::move(settling.found);
}

void RunJournal::settleBefore(const fs::path& target) {
    std::lock_guard lock(mutex_);
    if (!folder_)
        return;
    if (!ended_) {
        ended_.emplace();
        for (const fs::path& path : otherJournals()) {
            const auto text = JournalFile::peek(path);
            if (text && text->empty()) {
                // A run that ended with nothing open; its owner, while it
                // runs, holds it.
                if (const auto held = JournalFile::claim(path))
                    if (const auto now = held->contents(); now && now->empty())
                        held->remove();
                continue;
            }
            const auto parsed = text ? parseJournal(*text) : std::nullopt;
            if (parsed && !running_(parsed->owner))
                if (auto names = openTargets(*parsed); !names.empty())
                    (*ended_)[path] = std::move(names);
        }
    }
    const std::string name = bytesFromPath(target.filename());
    std::error_code error;
    const fs::path folder = fs::absolute(target, error).parent_path();
    for (auto it = ended_->begin(); it != ended_->end();) {
        if (!it->second.contains(name)) {
            ++it;
            continue;
        }
        Settling settling(folder, true);
        settling.name = name;
        settling.journalFolder = *folder_;
        settleJournal(it->first, settling);
        // Looked at again only if this file is written again.
        it->second.erase(name);
        if (it->second.empty())
            it = ended_->erase(it);
        else
            ++it;
    }
}

} // namespace faultward
