#include "rewrite/passes.h"

#include "platform/entry_path.h"
#include "platform/source_file.h"
#include "rewrite/transforms.h"

#include <new>
#include <optional>
#include <set>

namespace faultward {

bool isFailure(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::Rewritten:
    case FileOutcome::Unchanged:
    case FileOutcome::SameFileAsBefore:
        return false;
    default:
        return true;
    }
}

std::string_view describe(FileOutcome outcome) {
    switch (outcome) {
    case FileOutcome::Rewritten:
        return "rewritten";
    case FileOutcome::Unchanged:
        return "unchanged";
    case FileOutcome::SameFileAsBefore:
        return "same file as an earlier entry";
    case FileOutcome::NotFound:
        return "not found";
    case FileOutcome::NotRegularFile:
        return "not a regular file";
    case FileOutcome::NotReadable:
        return "not readable";
    case FileOutcome::NotWritable:
        return "not writable";
    case FileOutcome::WriteFailed:
        return "write failed";
    case FileOutcome::InUse:
        return "in use by another program";
    }
    return "unknown";
}

std::string lineLimitMessage(std::string_view entryText) {
    std::string message = "The file ";
    message.append(entryText);
    message.append(" has exceeded ");
    message.append(std::to_string(kInsertionLineLimit));
    message.append(" lines of code!  Error handling cannot be inserted for the rest of this "
                   "file.  Please reduce the number lines in this file and try again.");
    return message;
}

namespace {

FileOutcome outcomeOf(ReadStatus status) {
    switch (status) {
    case ReadStatus::NotFound:
        return FileOutcome::NotFound;
    case ReadStatus::NotRegularFile:
        return FileOutcome::NotRegularFile;
    case ReadStatus::InUse:
        return FileOutcome::InUse;
    default:
        return FileOutcome::NotReadable;
    }
}

FileOutcome outcomeOf(WriteStatus status) {
    switch (status) {
    case WriteStatus::Ok:
        return FileOutcome::Rewritten;
    case WriteStatus::NotWritable:
        return FileOutcome::NotWritable;
    case WriteStatus::InUse:
        return FileOutcome::InUse;
    default:
        return FileOutcome::WriteFailed;
    }
}

// What one pass shares between its files: the buffers, reused so that a large
// project does not allocate per file, and the files already done.
class PassRunner {
public:
    // A pass with dryRun, or one that only reads, leaves the disk as it is.
    PassRunner(const std::filesystem::path& baseFolder, PassObserver& observer,
               DryRunFiles* dryRun = nullptr, bool onlyReads = false)
        : baseFolder_(baseFolder), observer_(observer), dryRun_(dryRun),
          touchesDisk_(!dryRun && !onlyReads) {}

    // Reads the entry's file into content(); an outcome when that failed or the
    // file was done already.
    std::optional<FileOutcome> load(std::string_view entry) {
        // Most entries name their file exactly; the letter-case search of the
        // folders is only needed when that fails.
        auto path = literalEntryPath(entry, baseFolder_);
        if (!path)
            return FileOutcome::NotFound;
        FileIdentity identity;
        ReadStatus status = readRegularFile(*path, content_, &identity);
        if (status == ReadStatus::NotFound) {
            path = resolveEntryPath(entry, baseFolder_);
            if (!path)
                return FileOutcome::NotFound;
            status = readRegularFile(*path, content_, &identity);
        }
        if (status != ReadStatus::Ok)
            return outcomeOf(status);
        // Two spellings of one file (letter case, links, "..") meet here.
        if (done_.count(identity))
            return FileOutcome::SameFileAsBefore;
        done_.insert(identity);
        // A dry run reads on from what it would have written.
        if (const std::string* pending = dryRun_ ? dryRun_->contents(identity) : nullptr)
            content_ = *pending;
        if (touchesDisk_) {
            const std::filesystem::path folder = path->parent_path();
            if (cleanedFolders_.insert(folder).second)
                removeStaleTemporaries(folder);
        }
        identity_ = identity;
        path_ = std::move(*path);
        output_.clear();
        return std::nullopt;
    }

    std::string_view content() const { return content_; }
    OutputPieces& output() { return output_; }

    // Writes output() over the file unless the transform changed no byte.
    FileOutcome store(const TransformResult& result, int index, std::string_view entry) {
        if (!result.changed)
            return FileOutcome::Unchanged;
        if (dryRun_) {
            dryRun_->keep(identity_, index, entry, path_, content_, output_.joined());
            return FileOutcome::Rewritten;
        }
        FileIdentity replaced;
        const WriteStatus status = replaceFileContents(path_, output_.pieces(), &replaced);
        // The rewritten file is a new inode; a later entry naming it is still the same file.
        if (status == WriteStatus::Ok)
            done_.insert(replaced);
        return outcomeOf(status);
    }

    template <typename Process>
    void run(PassKind kind, std::span<const ListEntry> entries, Process process) {
        const int count = static_cast<int>(entries.size());
        observer_.passStarted(kind, 0, kind == PassKind::Insertion ? count - 1 : count);
        for (int i = 0; i < count; ++i) {
            observer_.entryMadeCurrent(i);
            const ListEntry& entry = entries[static_cast<std::size_t>(i)];
            if (entry.selected) {
                FileOutcome outcome;
                if (const auto failed = load(entry.text))
                    outcome = *failed;
                else
                    outcome = processWithinMemory(i, entry, process);
                observer_.fileProcessed(i, entry.text, outcome);
            }
            observer_.progressValue(i);
        }
        observer_.passFinished(kind);
    }

private:
    // A file whose new contents do not fit in memory is left as it is and
    // reported; the buffers are given back so the files after it still fit.
    template <typename Process>
    FileOutcome processWithinMemory(int index, const ListEntry& entry, Process& process) {
        try {
            return process(index, entry);
        } catch (const std::bad_alloc&) {
            std::string().swap(content_);
            output_ = OutputPieces();
            return FileOutcome::WriteFailed;
        }
    }

    std::filesystem::path baseFolder_;
    PassObserver& observer_;
    DryRunFiles* dryRun_;
    bool touchesDisk_;
    std::string content_;
    OutputPieces output_;
    std::filesystem::path path_;
    FileIdentity identity_;
    std::set<FileIdentity> done_;
    std::set<std::filesystem::path> cleanedFolders_;
};

} // namespace

void runRemovalPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                    PassObserver& observer, DryRunFiles* dryRun) {
    PassRunner runner(baseFolder, observer, dryRun);
    runner.run(PassKind::Removal, entries, [&](int index, const ListEntry& entry) {
        return runner.store(removeMarkedLines(runner.content(), runner.output()), index,
                            entry.text);
    });
}

namespace {

// The file name without the folders an entry may name it in.
std::string_view fileNameOf(std::string_view entry) {
    const std::size_t slash = entry.find_last_of("\\/");
    return slash == std::string_view::npos ? entry : entry.substr(slash + 1);
}

} // namespace

void runInsertionPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                      const InsertionOptions& options, PassObserver& observer,
                      DryRunFiles* dryRun) {
    PassRunner runner(baseFolder, observer, dryRun);
    InsertionState state;
    runner.run(PassKind::Insertion, entries, [&](int index, const ListEntry& entry) {
        const SourceFacts facts{fileNameOf(entry.text), entry.kind == SourceKind::Class ||
                                                            entry.kind == SourceKind::UserControl};
        const TransformResult result =
            insertHandlers(runner.content(), options, facts, state, runner.output());
        if (result.lineLimitExceeded)
            observer.lineLimitExceeded(index, lineLimitMessage(entry.text));
        return runner.store(result, index, entry.text);
    });
}

void runSurveyPass(std::span<const ListEntry> entries, const std::filesystem::path& baseFolder,
                   ProcedureKinds procedures, PassObserver& observer,
                   const SurveyReceiver& surveyed) {
    PassRunner runner(baseFolder, observer, nullptr, true);
    runner.run(PassKind::Survey, entries, [&](int index, const ListEntry& entry) {
        surveyed(index, entry, surveyFile(runner.content(), procedures));
        return FileOutcome::Unchanged;
    });
}

} // namespace faultward
