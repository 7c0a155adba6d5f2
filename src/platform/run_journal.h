#pragma once

#include "platform/journal_system.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What was found beside a file: a temporary or a copy of old bytes.
enum class LeftoverKind {
    PutBack,    // an interrupted run of this user's left the file half written; it is whole again
    NotPutBack, // as PutBack, but the old bytes could not go back: they stay in the copy
    WillBePutBack, // as PutBack, found by a run that writes nothing
    ChangedSince,  // the file changed after such a run: left as it is, its old bytes in the copy
    FileGone, // the file is gone since such a run: no file is made, the old bytes stay in the copy
    Stray,    // no interrupted run of this user's left it (planted, committed, another user's)
};

struct Leftover {
    LeftoverKind kind;
    std::filesystem::path file;     // the file it belongs to, or seems to by its name
    std::filesystem::path leftover; // the copy or the temporary
    bool copy = false;              // a copy of old bytes, not a temporary
};

class RunJournal;

// One file being replaced, in the journal from before its temporary or copy
// is made. finish() when the write is over and nothing of it is left beside
// the file; a record not finished stays for a later run to settle.
class JournalRecord {
public:
    JournalRecord() = default;
    JournalRecord(RunJournal* journal, int number) : journal_(journal), number_(number) {}
    JournalRecord(JournalRecord&& other) noexcept;
    JournalRecord& operator=(JournalRecord&& other) noexcept;
    JournalRecord(const JournalRecord&) = delete;
    JournalRecord& operator=(const JournalRecord&) = delete;

    // The temporary (for an in-place write, the copy in the making) exists.
    void temporaryMade(const FileIdentity& identity);
    // An in-place write is about to put these bytes into the file: they are
    // kept beside the journal, so that a later run can tell whether the file
    // holds what this write could have left and nothing else.
    void writingInPlace(std::span<const std::string_view> pieces);
    void finish();

private:
    RunJournal* journal_ = nullptr;
    int number_ = 0;
};

// The journal of this user's runs: each process keeps a file of its own in a
// folder of the user's (never one a project names), with a record for each
// file it is replacing. Only what the journal of a process that has ended
// names is ever removed or put back, and only where the journal and the disk
// agree; anything else that looks like a temporary or a copy is named and
// left as it is. Without a folder (none, or not writable) nothing is
// recorded: writes go on, and what an interrupted one leaves is only named.
class RunJournal {
public:
    using Liveness = std::function<bool(const ProcessMark&)>;
    explicit RunJournal(std::optional<std::filesystem::path> folder,
                        ProcessMark self = thisProcess(), Liveness running = processRunning);
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    // The journal every write of this process goes through: in
    // runs/ of the user's state folder.
    static RunJournal& ofThisProcess();

    // Before replacing target (before: its stamp, none for a new file) by
    // the temporary of that name beside it, or, with copyName, in place
    // behind a copy of that name, the temporary becoming the copy.
    JournalRecord replacing(const std::filesystem::path& target,
                            const std::optional<FileStamp>& before,
                            const std::string& temporaryName, const std::string& copyName = {});

    // The temporaries and copies in a folder, as Leftovers to name. With
    // act, what the journal of an ended process of this user's names is
    // settled: temporaries removed, old bytes put back where the file is
    // as that run left it; without, nothing is touched.
    std::vector<Leftover> leftoversIn(const std::filesystem::path& folder, bool act);

    // Settles what ended runs left of target before it is written again.
    void settleBefore(const std::filesystem::path& target);

private:
    friend class JournalRecord;
    struct Settling;

    void write(int number, const std::string& line, bool durable);
    void finish(int number);
    bool ensureOwnFile();
    std::unique_ptr<JournalFile> claimEnded(const std::filesystem::path& path) const;
    void settleJournal(const std::filesystem::path& path, Settling& settling);
    std::vector<std::filesystem::path> otherJournals() const;

    std::optional<std::filesystem::path> folder_;
    ProcessMark self_;
    Liveness running_;
    std::mutex mutex_;
    std::unique_ptr<JournalFile> own_;
    std::filesystem::path ownPath_;
    bool ownFailed_ = false;
    bool headerWritten_ = false;
    int next_ = 1;
    std::set<int> open_; // records not finished, by number
    // Journals of ended runs with records still open, by the names of the
    // files they name; looked up once, at the first write.
    std::optional<std::map<std::filesystem::path, std::set<std::string>>> ended_;
};

} // namespace faultward
