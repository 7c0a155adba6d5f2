#include "app/reports/reports.h"

#include "app/reports/check_report.h"
#include "app/reports/dry_run_report.h"
#include "app/texts/texts.h"
#include "rewrite/dry_run_files.h"

#include <algorithm>
#include <memory>
#include <set>
#include <thread>

namespace faultward {
namespace {

// The reports' passes show nothing while they run; what earlier runs left
// beside the files is named at the end of the report, each once.
class QuietObserver final : public CommandObserver {
public:
    void leftoverFound(const Leftover& leftover) override {
        if (named_.insert(leftover.leftover).second)
            notes_ += leftoverMessage(leftover) + "\n";
    }
    // An empty line, then the notes; nothing when there are none.
    std::string notes() const { return notes_.empty() ? notes_ : "\n" + notes_; }

private:
    std::set<std::filesystem::path> named_;
    std::string notes_;
};

// The preview's two halves, written as the pass hands on the files: the
// counts, and the differences that follow them; for a group, each half
// project by project, each project's part after a line that names it.
class PreviewText final : public DryRunListener {
public:
    PreviewText(const std::filesystem::path& projectFolder, std::span<const ListPart> parts)
        : parts_(parts) {
        for (std::size_t part = 0; part < std::max<std::size_t>(1, parts.size()); ++part) {
            const std::filesystem::path& folder =
                parts.empty() ? projectFolder : parts[part].folder;
            counts_.push_back(std::make_unique<DryRunReport>(
                folder, false, [this](std::string_view text) { countsText_ += text; }));
            diffs_.push_back(std::make_unique<DryRunReport>(
                folder, true, [this](std::string_view text) { diffText_ += text; }));
        }
    }

    void filesNamed(std::span<const NamedFile> files) override {
        for (std::size_t part = 0; part < diffs_.size(); ++part) {
            std::vector<NamedFile> own;
            for (const NamedFile& file : files)
                if (partOf(static_cast<std::size_t>(file.index)) == part)
                    own.push_back(file);
            diffs_[part]->filesNamed(own);
        }
    }

    void fileWouldChange(const DryRunChange& change) override {
        const std::size_t part = partOf(static_cast<std::size_t>(change.index));
        reachPart(part);
        counts_[part]->fileWouldChange(change);
        diffs_[part]->fileWouldChange(change);
        anyChange_ = true;
    }

    // The counts, then what follows them, then, after an empty line, the
    // differences when any file would change.
    std::string text(std::string_view afterCounts) {
        reachPart(counts_.size());
        countsText_ += afterCounts;
        if (!anyChange_)
            return std::move(countsText_);
        countsText_ += '\n';
        // The differences are the bulk: the counts go in front of them.
        diffText_.insert(0, countsText_);
        return std::move(diffText_);
    }

private:
    std::size_t partOf(std::size_t index) const {
        std::size_t part = 0;
        while (part + 1 < parts_.size() && index >= parts_[part + 1].firstEntry)
            ++part;
        return part;
    }

    // Ends the parts before part, and names each project as its part begins.
    void reachPart(std::size_t part) {
        for (; reached_ <= part && reached_ <= counts_.size(); ++reached_) {
            if (reached_ > 0) {
                counts_[reached_ - 1]->finish();
                diffs_[reached_ - 1]->finish();
            }
            if (reached_ < parts_.size()) {
                const std::string name = "project: " + parts_[reached_].name + "\n";
                countsText_ += name;
                diffText_ += name;
            }
        }
    }

    std::span<const ListPart> parts_;
    std::vector<std::unique_ptr<DryRunReport>> counts_;
    std::vector<std::unique_ptr<DryRunReport>> diffs_;
    std::string countsText_;
    std::string diffText_;
    std::size_t reached_ = 0; // parts begun
    bool anyChange_ = false;
};

// Nothing is written, so the files are read a core at a time.
int coreCount() {
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

} // namespace

ReportRun previewReport(const PassTargets& targets, const std::filesystem::path& projectFolder,
                        std::span<const ListPart> parts) {
    PreviewText preview(projectFolder, parts);
    DryRunFiles dryRun(preview, true);
    PassTargets run = targets;
    run.dryRun = &dryRun;
    // Each file read once; the bytes are those of the two passes. Nothing is
    // written, so the files are read a core at a time, as the command line
    // reads them; the report keeps the list's order whatever the number.
    run.oneReadInsert = true;
    run.jobs = coreCount();
    QuietObserver observer;
    ReportRun report;
    report.failures = runPassCommand(PassCommand::Insert, run, observer);
    // A group's counts go without the notes on long files.
    const std::string limits = parts.empty() ? lineLimitNotes(dryRun) : std::string();
    report.text = preview.text(limits);
    report.text += observer.notes();
    return report;
}

ReportRun checkProjectReport(const PassTargets& targets, std::span<const ListPart> parts) {
    QuietObserver observer;
    ReportRun report;
    std::size_t named = 0;
    const auto nameProjectsUpTo = [&](std::size_t index) {
        for (; named < parts.size() && parts[named].firstEntry <= index; ++named)
            report.text += "project: " + parts[named].name + "\n";
    };
    PassTargets run = targets;
    run.jobs = coreCount();
    report.failures = runSurveyCommand(
        run, observer, [&](int index, const ListEntry& entry, const FileSurvey& survey) {
            nameProjectsUpTo(static_cast<std::size_t>(index));
            report.text += checkReport(entry.text, survey);
        });
    nameProjectsUpTo(static_cast<std::size_t>(-1));
    report.text += observer.notes();
    return report;
}

} // namespace faultward
