#include "rewrite/passes.h"

#include "rewrite/pass_run.h"

namespace faultward {

void runRemovalPass(std::span<const ListEntry> entries, const PassSources& sources,
                    PassObserver& observer, DryRunFiles* dryRun, int jobs,
                    const NumberingOptions* lineNumbers,
                    const std::shared_ptr<const LeaveList>& leave) {
    PassSetup setup{PassKind::Removal, Work::Removal, nullptr, dryRun, jobs};
    setup.numbering = lineNumbers;
    setup.leave = leave.get();
    runPass(entries, sources, observer, setup);
}

void runInsertionPass(std::span<const ListEntry> entries, const PassSources& sources,
                      const InsertionOptions& options, PassObserver& observer,
                      DryRunFiles* dryRun) {
    runPass(entries, sources, observer, {PassKind::Insertion, Work::Insertion, &options, dryRun});
}

void runRemovalAndInsertionPasses(std::span<const ListEntry> entries, const PassSources& sources,
                                  const InsertionOptions& options, PassObserver& observer,
                                  DryRunFiles* dryRun, const NumberingOptions* lineNumbers) {
    if (dryRun && dryRun->listener()) {
        // The insertion pass reads what the removal pass would have left.
        DryRunFiles kept;
        runRemovalAndInsertionPasses(entries, sources, options, observer, &kept, lineNumbers);
        kept.handOn(*dryRun);
        return;
    }
    PassSetup removalSetup{PassKind::Removal, Work::Removal, nullptr, dryRun};
    removalSetup.leave = options.leave.get();
    const std::vector<EntryResult> removal = runPass(entries, sources, observer, removalSetup);
    PassSetup insertion{PassKind::Insertion, Work::Insertion, &options, dryRun, 1, &removal};
    insertion.numbering = lineNumbers;
    runPass(entries, sources, observer, insertion);
}

void runReinsertionPass(std::span<const ListEntry> entries, const PassSources& sources,
                        const InsertionOptions& options, PassObserver& observer,
                        DryRunFiles* dryRun, int jobs, const NumberingOptions* lineNumbers) {
    PassSetup setup{PassKind::Insertion, Work::Reinsertion, &options, dryRun, jobs};
    setup.numbering = lineNumbers;
    runPass(entries, sources, observer, setup);
}

void runNumberingPass(std::span<const ListEntry> entries, const PassSources& sources,
                      const NumberingOptions& options, PassObserver& observer, DryRunFiles* dryRun,
                      int jobs) {
    PassSetup setup{PassKind::Numbering, Work::Numbering, nullptr, dryRun, jobs};
    setup.numbering = &options;
    runPass(entries, sources, observer, setup);
}

void runUnnumberingPass(std::span<const ListEntry> entries, const PassSources& sources,
                        ProcedureKinds procedures, PassObserver& observer, DryRunFiles* dryRun,
                        int jobs, const std::shared_ptr<const LeaveList>& leave) {
    NumberingOptions options;
    options.procedures = procedures;
    options.leave = leave;
    runUnnumberingPass(entries, sources, options, observer, dryRun, jobs);
}

void runUnnumberingPass(std::span<const ListEntry> entries, const PassSources& sources,
                        const NumberingOptions& options, PassObserver& observer,
                        DryRunFiles* dryRun, int jobs) {
    PassSetup setup{PassKind::Unnumbering, Work::Unnumbering, nullptr, dryRun, jobs};
    setup.numbering = &options;
    runPass(entries, sources, observer, setup);
}

void runSurveyPass(std::span<const ListEntry> entries, const PassSources& sources,
                   const InsertionOptions& options, PassObserver& observer,
                   const SurveyReceiver& surveyed, int jobs) {
    PassSetup setup{PassKind::Survey, Work::Survey, &options, nullptr, jobs};
    setup.surveyed = &surveyed;
    runPass(entries, sources, observer, setup);
}

} // namespace faultward
