#include "app/reports/reports.h"

#include "app/reports/check_report.h"
#include "app/reports/dry_run_report.h"
#include "app/texts/texts.h"
#include "rewrite/dry_run_files.h"

#include <algorithm>
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

std::size_t partEnd(std::span<const ListPart> parts, std::size_t part) {
    return part + 1 < parts.size() ? parts[part + 1].firstEntry : static_cast<std::size_t>(-1);
}

// The counts or the differences of a group, project by project.
std::string groupReport(const std::vector<const DryRunFiles::File*>& changed,
                        std::span<const ListPart> parts, bool diff) {
    std::string text;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        std::vector<const DryRunFiles::File*> own;
        for (const DryRunFiles::File* file : changed) {
            const auto index = static_cast<std::size_t>(file->firstIndex);
            if (index >= parts[part].firstEntry && index < partEnd(parts, part))
                own.push_back(file);
        }
        text += "project: " + parts[part].name + "\n";
        text += dryRunReport(own, parts[part].folder, diff);
    }
    return text;
}

bool anyChange(const std::vector<const DryRunFiles::File*>& changed) {
    return std::any_of(changed.begin(), changed.end(),
                       [](const DryRunFiles::File* file) { return file->before != file->after; });
}

} // namespace

ReportRun previewReport(const PassTargets& targets, const std::filesystem::path& projectFolder,
                        std::span<const ListPart> parts) {
    DryRunFiles dryRun;
    PassTargets run = targets;
    run.dryRun = &dryRun;
    // Each file read once; the bytes are those of the two passes. Nothing is
    // written, so the files are read a core at a time, as the command line
    // reads them; the report keeps the list's order whatever the number.
    run.oneReadInsert = true;
    run.jobs = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    QuietObserver observer;
    ReportRun report;
    report.failures = runPassCommand(PassCommand::Insert, run, observer);
    const std::vector<const DryRunFiles::File*> changed = dryRun.files();
    if (parts.empty()) {
        report.text = dryRunReport(changed, projectFolder, false) + lineLimitNotes(dryRun);
        const std::string diff = dryRunReport(changed, projectFolder, true);
        if (!diff.empty()) {
            report.text.reserve(report.text.size() + 1 + diff.size());
            report.text += '\n';
            report.text += diff;
        }
        report.text += observer.notes();
        return report;
    }
    report.text = groupReport(changed, parts, false);
    if (anyChange(changed)) {
        report.text += '\n';
        report.text += groupReport(changed, parts, true);
    }
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
    report.failures = runSurveyCommand(
        targets, observer, [&](int index, const ListEntry& entry, const FileSurvey& survey) {
            nameProjectsUpTo(static_cast<std::size_t>(index));
            report.text += checkReport(entry.text, survey);
        });
    nameProjectsUpTo(static_cast<std::size_t>(-1));
    report.text += observer.notes();
    return report;
}

} // namespace faultward
