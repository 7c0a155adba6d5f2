#include "app/reports.h"

#include "app/check_report.h"
#include "app/dry_run_report.h"
#include "rewrite/dry_run_files.h"

#include <algorithm>
#include <thread>

namespace faultward {
namespace {

// The reports' passes show nothing while they run.
class QuietObserver final : public CommandObserver {};

} // namespace

ReportRun previewReport(const PassTargets& targets, const std::filesystem::path& projectFolder) {
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
    report.text = dryRunReport(dryRun, projectFolder, false);
    const std::string diff = dryRunReport(dryRun, projectFolder, true);
    if (!diff.empty())
        report.text += "\n" + diff;
    return report;
}

ReportRun checkProjectReport(const PassTargets& targets) {
    QuietObserver observer;
    ReportRun report;
    report.failures = runSurveyCommand(targets, observer,
                                       [&](int, const ListEntry& entry, const FileSurvey& survey) {
                                           report.text += checkReport(entry.text, survey);
                                       });
    return report;
}

} // namespace faultward
