#include "rewrite/pass_run.h"

#include "platform/path_bytes.h"
#include "platform/run_journal.h"
#include "platform/source_file.h"
#include "rewrite/carried_states.h"
#include "rewrite/file_claims.h"
#include "rewrite/ordered_work.h"
#include "rewrite/reinsertion.h"
#include "rewrite/transforms.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <set>
#include <string>

namespace faultward {
namespace {

// A worker's buffers, kept from one file to the next so that a large project
// does not allocate per file.
struct Buffers {
    std::string content;
    OutputPieces output;
    Reinsertion reinsertion;
    std::string staged; // the text numbering works on after another transform
};

// The file name without the folders an entry may name it in.
std::string_view fileNameOf(std::string_view entry) {
    const std::size_t slash = entry.find_last_of("\\/");
    return slash == std::string_view::npos ? entry : entry.substr(slash + 1);
}

// One pass over the entries: the files are looked up, then worked on by one
// or more workers, and each outcome is reported in list order.
class PassRun {
public:
    PassRun(std::span<const ListEntry> entries, const PassSources& sources, PassObserver& observer,
            const PassSetup& setup)
        : entries_(entries), sources_(sources), observer_(observer), setup_(setup),
          states_(static_cast<int>(entries.size())), results_(entries.size()) {
        if (sources.held)
            containerName_ = fileNameOf(bytesFromPath(sources.held->container()));
        claims_.emplace(entries, sources);
    }

    std::vector<EntryResult> run() {
        const bool touchesDisk = !setup_.dryRun && setup_.work != Work::Survey;
        // A file put back may be one that was not there when first looked for.
        if (lookForLeftovers(touchesDisk))
            claims_.emplace(entries_, sources_);
        const int count = static_cast<int>(entries_.size());
        const int workers = std::max(1, std::min(setup_.jobs, count));
        buffers_.resize(static_cast<std::size_t>(workers));
        if (DryRunListener* listener = setup_.dryRun ? setup_.dryRun->listener() : nullptr)
            listener->filesNamed(namedFiles());
        observer_.passStarted(setup_.kind, 0,
                              setup_.kind == PassKind::Insertion ? count - 1 : count);
        runInOrder(
            count, workers, [&](int worker, int index) { work(worker, index); },
            [&](int index) { observer_.entryMadeCurrent(index); },
            [&](int index) { report(index); });
        observer_.passFinished(setup_.kind);
        return std::move(results_);
    }

private:
    const ListEntry& entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }

    // A held source's file is its document, which {file} names.
    SourceFacts factsOf(const ListEntry& listed) const {
        return {sources_.held ? std::string_view(containerName_) : fileNameOf(listed.text),
                isClassLike(listed.kind), listed.project, listed.text};
    }

    // Names what earlier runs left beside the files, once a folder, and
    // settles what this user's ended runs left when the pass writes. True
    // when a file's old contents were put back.
    bool lookForLeftovers(bool settle) {
        bool putBack = false;
        // A folder reached by two spellings ("..\\Here") is looked at once.
        std::set<std::filesystem::path> spellings;
        std::set<FileIdentity> folders;
        FileIdentity folder;
        for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
            if (const auto& path = claims_->path(i))
                // Held sources are written back into their document, in its folder.
                if (const std::filesystem::path place =
                        sources_.held ? sources_.held->container().parent_path()
                                      : path->parent_path();
                    spellings.insert(place).second &&
                    (identifyFile(place, folder) != ReadStatus::Ok ||
                     folders.insert(folder).second))
                    for (const Leftover& found :
                         RunJournal::ofThisProcess().leftoversIn(place, settle)) {
                        observer_.leftoverFound(found);
                        putBack = putBack || found.kind == LeftoverKind::PutBack;
                    }
        return putBack;
    }

    std::vector<NamedFile> namedFiles() const {
        std::vector<NamedFile> named;
        for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
            if (const auto& path = claims_->path(i))
                named.push_back({i, *path});
        return named;
    }

    void report(int index) {
        EntryResult& result = results_[static_cast<std::size_t>(index)];
        if (result.survey) {
            (*setup_.surveyed)(index, entry(index), *result.survey);
            result.survey.reset();
        }
        if (result.outcome) {
            if (result.lineLimitExceeded) {
                observer_.lineLimitExceeded(index, entry(index).text);
                if (setup_.dryRun)
                    setup_.dryRun->overLineLimit(index, entry(index).text);
            }
            for (const EntryResult::NumberingNote& note : result.numberingNotes)
                if (note.left)
                    observer_.procedureLeftWhole(index, note.message, note.renumberable);
                else
                    observer_.procedureRenumbered(index, note.message);
            observer_.fileProcessed(index, entry(index).text, *result.outcome);
        }
        if (result.lineChanges) {
            // Removal and insertion together may give back the very same bytes.
            const LineChanges& lines = *result.lineChanges;
            if (lines.added + lines.removed > 0)
                setup_.dryRun->listener()->fileWouldChange(
                    {index, entry(index).text, *claims_->path(index), lines, result.hunks});
            result.lineChanges.reset();
            std::string().swap(result.hunks);
        }
        observer_.progressValue(index);
    }

    // One entry's turn, on a worker. Whatever happens, the entry settles its
    // claim and its state, which later entries may be waiting for.
    void work(int worker, int index) {
        EntryResult& result = results_[static_cast<std::size_t>(index)];
        bool claimSettled = false;
        bool stateSettled = false;
        const auto settleClaim = [&](bool taken) {
            claims_->settle(index, taken);
            claimSettled = true;
        };
        const auto settleState = [&](const InsertionState* own) {
            states_.settle(index, own);
            stateSettled = true;
        };
        const auto settleWhatIsLeft = [&] {
            if (!claimSettled)
                claims_->settle(index, false);
            if (!stateSettled)
                states_.settle(index, nullptr);
        };
        Buffers& buffers = buffers_[static_cast<std::size_t>(worker)];
        try {
            if (entry(index).selected)
                result.outcome = workOnFile(index, buffers, settleClaim, settleState, result);
        } catch (const std::bad_alloc&) {
            // A file whose new contents do not fit in memory is left as it is;
            // the buffers are given back so the files after it still fit.
            buffers = Buffers();
            std::string().swap(result.hunks);
            result.outcome = FileOutcome::TooLarge;
        } catch (...) {
            settleWhatIsLeft();
            throw;
        }
        settleWhatIsLeft();
    }

    template <typename SettleClaim, typename SettleState>
    FileOutcome workOnFile(int index, Buffers& buffers, SettleClaim settleClaim,
                           SettleState settleState, EntryResult& result) {
        if (claims_->takenBefore(index)) {
            settleClaim(true);
            return FileOutcome::SameFileAsBefore;
        }
        const std::optional<FileOutcome> earlierFailure = removalFailure(index);
        const auto& path = claims_->path(index);
        FileIdentity identity;
        const ReadStatus status =
            !path           ? ReadStatus::NotFound
            : sources_.held ? sources_.held->read(entry(index).text, buffers.content, identity)
                            : readRegularFile(*path, buffers.content, &identity);
        settleClaim(status == ReadStatus::Ok);
        if (status != ReadStatus::Ok)
            return earlierFailure ? *earlierFailure : readFailure(status);
        if (setup_.dryRun && !setup_.dryRun->listener()) {
            // A dry run reads on from what an earlier pass would have written.
            std::lock_guard lock(dryRunMutex_);
            if (const std::string* pending = setup_.dryRun->contents(identity))
                buffers.content = *pending;
        }
        const std::string_view content = buffers.content;
        OutputPieces& out = buffers.output;
        out.clear();
        TransformResult transformed;
        switch (earlierFailure ? Work::Reinsertion : setup_.work) {
        case Work::Removal:
            transformed = removeMarkedLinesOutside({setup_.leave, entry(index).text}, content, out);
            break;
        case Work::Insertion:
        case Work::Reinsertion:
            transformed =
                insertWithCarriedState(index, content, buffers, settleState,
                                       earlierFailure || setup_.work == Work::Reinsertion);
            result.lineLimitExceeded = transformed.lineLimitExceeded;
            break;
        case Work::Survey:
            result.survey = surveyFile(content, *setup_.insertion, factsOf(entry(index)));
            return FileOutcome::Unchanged;
        case Work::Numbering:
        case Work::Unnumbering:
            transformed.changed = renumber(index, content, out, result);
            break;
        }
        if (setup_.numbering && setup_.work != Work::Numbering && setup_.work != Work::Unnumbering)
            transformed.changed =
                renumberAfter(index, content, transformed.changed, buffers, result);
        if (earlierFailure)
            return *earlierFailure;
        if (!transformed.changed)
            return FileOutcome::Unchanged;
        if (setup_.dryRun && setup_.dryRun->listener()) {
            // Worked out here, on the worker, from the pieces a write would take.
            result.lineChanges = compareLines(
                content, out.pieces(), setup_.dryRun->wantsHunks() ? &result.hunks : nullptr);
            return FileOutcome::Rewritten;
        }
        if (setup_.dryRun) {
            std::lock_guard lock(dryRunMutex_);
            setup_.dryRun->keep(identity, index, entry(index).text, *path, content, out.joined());
            return FileOutcome::Rewritten;
        }
        if (sources_.held) {
            sources_.held->write(entry(index).text, out.pieces());
            return FileOutcome::Rewritten;
        }
        return writeOutcome(replaceFileContents(*path, out.pieces()));
    }

    // Numbers or unnumbers text into out; whether out then differs from the
    // original file.
    bool renumber(int index, std::string_view text, OutputPieces& out, EntryResult& result) {
        const std::string_view listed = entry(index).text;
        const NumberingResult numbered =
            setup_.work == Work::Removal || setup_.work == Work::Unnumbering
                ? unnumberLines(text, *setup_.numbering, out, listed)
                : numberLines(text, *setup_.numbering, out, listed);
        // Both lists are in file order.
        auto renumbered = numbered.renumbered.begin();
        const auto noteRenumbered = [&] {
            result.numberingNotes.push_back({renumberedMessage(listed, *renumbered++), false});
        };
        for (const ProcedureLeftWhole& procedure : numbered.leftWhole) {
            while (renumbered != numbered.renumbered.end() && renumbered->line < procedure.line)
                noteRenumbered();
            result.numberingNotes.push_back({leftWholeMessage(listed, procedure), true,
                                             procedure.reason == LeftWholeReason::UsersNumbers});
        }
        while (renumbered != numbered.renumbered.end())
            noteRenumbered();
        return numbered.changed;
    }

    // The line numbers after removal or insertion: worked out on their
    // output, which a transform that changed nothing may have left incomplete.
    bool renumberAfter(int index, std::string_view original, bool changed, Buffers& buffers,
                       EntryResult& result) {
        OutputPieces& out = buffers.output;
        std::string_view text = original;
        if (changed) {
            out.joinInto(buffers.staged);
            text = buffers.staged;
        }
        out.clear();
        if (!renumber(index, text, out, result)) {
            out.clear();
            out.keep(text);
        }
        return !out.holdsExactly(original);
    }

    std::optional<FileOutcome> removalFailure(int index) const {
        if (!setup_.removal)
            return std::nullopt;
        const EntryResult& removal = (*setup_.removal)[static_cast<std::size_t>(index)];
        if (removal.outcome && isFailure(*removal.outcome))
            return removal.outcome;
        return std::nullopt;
    }

    // Inserts with the state the files before leave. While that is not known
    // yet, the file is worked on as if it started afresh, which gives the same
    // bytes unless an end line comes before its first head; only then does
    // it wait for the files before it and work again. The state it leaves is
    // settled before the file is written, so later files need not wait for
    // the write.
    template <typename SettleState>
    TransformResult insertWithCarriedState(int index, std::string_view content, Buffers& buffers,
                                           SettleState settleState, bool removeFirst) {
        const SourceFacts facts = factsOf(entry(index));
        if (removeFirst)
            buffers.reinsertion.clean(content, listedIn(*setup_.insertion, facts));
        const auto insert = [&](InsertionState& state) {
            if (removeFirst)
                return buffers.reinsertion.insert(*setup_.insertion, facts, state, buffers.output);
            buffers.output.clear();
            return insertHandlers(content, *setup_.insertion, facts, state, buffers.output);
        };
        InsertionState state;
        const bool known = states_.knownFor(index, state);
        TransformResult transformed = insert(state);
        if (!known && transformed.carriedStateUsed) {
            state = states_.waitFor(index);
            transformed = insert(state);
        }
        settleState(transformed.headFound ? &state : nullptr);
        return transformed;
    }

    std::span<const ListEntry> entries_;
    const PassSources& sources_;
    std::string containerName_;
    PassObserver& observer_;
    const PassSetup& setup_;
    std::optional<FileClaims> claims_;
    CarriedStates states_;
    std::vector<EntryResult> results_;
    std::vector<Buffers> buffers_;
    std::mutex dryRunMutex_;
};

} // namespace

std::vector<EntryResult> runPass(std::span<const ListEntry> entries, const PassSources& sources,
                                 PassObserver& observer, const PassSetup& setup) {
    return PassRun(entries, sources, observer, setup).run();
}

} // namespace faultward
