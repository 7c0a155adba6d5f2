#pragma once

#include "rewrite/dry_run_files.h"
#include "rewrite/held_sources.h"
#include "rewrite/insertion_options.h"
#include "rewrite/leave_list.h"
#include "rewrite/line_numbering.h"
#include "rewrite/pass_types.h"
#include "rewrite/procedure_survey.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace faultward {

// Every pass works on the sources its entries name: files, or sources held
// in memory (PassSources).

// Drops every marked line from the selected entries' files, in list order.
// With dryRun, the files are read as the dry run left them and nothing is
// written; the new contents go to dryRun (or what they change, to its
// listener). With more than one job, that many
// files are worked on at a time; the files come out the same and the
// observer still hears of them in list order, on the calling thread.
// With lineNumbers, the line numbers of its procedures come out in the same
// pass. The procedures leave names keep their marked lines.
void runRemovalPass(std::span<const ListEntry> entries, const PassSources& sources,
                    PassObserver& observer, DryRunFiles* dryRun = nullptr, int jobs = 1,
                    const NumberingOptions* lineNumbers = nullptr,
                    const std::shared_ptr<const LeaveList>& leave = nullptr);

// Writes trap lines and handler blocks into the selected entries' files, in
// list order. dryRun as for runRemovalPass.
void runInsertionPass(std::span<const ListEntry> entries, const PassSources& sources,
                      const InsertionOptions& options, PassObserver& observer,
                      DryRunFiles* dryRun = nullptr);

// The removal pass, then the insertion pass over the same entries, each heard
// as a pass of its own. A file whose marked lines could not be taken out gets
// no handlers from the insertion pass (they would be a second set); it is
// reported with the removal's failure again. With lineNumbers, the insertion
// pass numbers the procedures afresh.
void runRemovalAndInsertionPasses(std::span<const ListEntry> entries, const PassSources& sources,
                                  const InsertionOptions& options, PassObserver& observer,
                                  DryRunFiles* dryRun = nullptr,
                                  const NumberingOptions* lineNumbers = nullptr);

// The same bytes in one pass that reads each file once: its marked lines are
// dropped and the handlers inserted in memory, and the file is written at
// most once, not at all when it would end as it began. Heard as one insertion
// pass. jobs as for runRemovalPass. With lineNumbers, the procedures are
// numbered afresh in the same pass: the bytes of insertion, then numbering.
void runReinsertionPass(std::span<const ListEntry> entries, const PassSources& sources,
                        const InsertionOptions& options, PassObserver& observer,
                        DryRunFiles* dryRun = nullptr, int jobs = 1,
                        const NumberingOptions* lineNumbers = nullptr);

// Numbers the body lines of the selected entries' files afresh (numbering),
// or takes their line numbers out. dryRun and jobs as for runRemovalPass.
// The procedures leave names keep theirs.
void runNumberingPass(std::span<const ListEntry> entries, const PassSources& sources,
                      const NumberingOptions& options, PassObserver& observer,
                      DryRunFiles* dryRun = nullptr, int jobs = 1);
void runUnnumberingPass(std::span<const ListEntry> entries, const PassSources& sources,
                        ProcedureKinds procedures, PassObserver& observer,
                        DryRunFiles* dryRun = nullptr, int jobs = 1,
                        const std::shared_ptr<const LeaveList>& leave = nullptr);
// The same with options.leave and options.renumber; their start and step mean nothing here.
void runUnnumberingPass(std::span<const ListEntry> entries, const PassSources& sources,
                        const NumberingOptions& options, PassObserver& observer,
                        DryRunFiles* dryRun = nullptr, int jobs = 1);

// Reads the selected entries' files, jobs at a time, and hands each survey
// to surveyed in list order, on the calling thread, judged by what insertion
// with options would do; writes nothing.
using SurveyReceiver = std::function<void(int index, const ListEntry&, const FileSurvey&)>;
void runSurveyPass(std::span<const ListEntry> entries, const PassSources& sources,
                   const InsertionOptions& options, PassObserver& observer,
                   const SurveyReceiver& surveyed, int jobs = 1);

} // namespace faultward
