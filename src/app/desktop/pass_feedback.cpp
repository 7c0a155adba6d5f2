#include "app/desktop/pass_feedback.h"

#include "app/commands/pass_driver.h"
#include "app/texts/texts.h"
#include "platform/display_text.h"

#include <algorithm>

namespace faultward {

PassFeedback::PassFeedback(MainWindowView& main, ProjectFilesView& files)
    : main_(main), files_(files) {}

PassFeedback::~PassFeedback() {
    if (running_)
        finish();
}

void PassFeedback::passStarted(PassKind kind, int minimum, int maximum) {
    if (leftoversShown_ < leftovers_.size()) {
        const std::vector<Leftover> fresh(leftovers_.begin() + static_cast<long>(leftoversShown_),
                                          leftovers_.end());
        leftoversShown_ = leftovers_.size();
        main_.showMessage(leftoversMessage(fresh),
                          leftoversWarn(fresh) ? MessageIcon::Warning : MessageIcon::None,
                          leftoversDetails(fresh));
    }
    running_ = true;
    // The removal pass names its work before it turns the pointer, the
    // insertion pass the other way round.
    if (kind == PassKind::Insertion) {
        main_.showBusyPointer();
        main_.setCaption(kInsertingCaption);
    } else if (kind == PassKind::Numbering || kind == PassKind::Unnumbering) {
        main_.setCaption(kind == PassKind::Numbering ? kNumberingCaption : kUnnumberingCaption);
        main_.showBusyPointer();
    } else {
        main_.setCaption(kRemovingCaption);
        main_.showBusyPointer();
    }
    // A range with no room in it (a list of one entry, or none) is refused,
    // and the bar keeps the range it had.
    if (maximum > minimum)
        files_.setProgressRange(minimum, maximum);
    files_.setProgressValue(minimum);
    files_.setProgressVisible(true);
}

void PassFeedback::entryMadeCurrent(int index) {
    files_.setCurrentEntry(index);
}

void PassFeedback::progressValue(int value) {
    files_.setProgressValue(value);
}

void PassFeedback::lineLimitExceeded(int /*index*/, std::string_view entry) {
    main_.showMessage(entryDisplayText(lineLimitMessage(entry)), MessageIcon::None, {});
}

void PassFeedback::procedureLeftWhole(int /*index*/, std::string_view message, bool renumberable) {
    notes_.leftWhole.emplace_back(message);
    notes_.renumberable += renumberable;
}

void PassFeedback::procedureRenumbered(int /*index*/, std::string_view message) {
    notes_.renumbered.emplace_back(message);
}

void PassFeedback::leftoverFound(const Leftover& leftover) {
    const bool known = std::any_of(leftovers_.begin(), leftovers_.end(), [&](const Leftover& seen) {
        return seen.leftover == leftover.leftover;
    });
    if (!known)
        leftovers_.push_back(leftover);
}

void PassFeedback::passFinished(PassKind /*kind*/) {
    finish();
}

void PassFeedback::finish() {
    running_ = false;
    files_.setCurrentEntry(-1);
    files_.setProgressVisible(false);
    main_.showDefaultPointer();
    main_.setCaption(kCompletedCaption);
}

void PassFeedback::documentSaved(const DocumentSave& saved, std::string_view shown) {
    // Said at once: it is what the user agreed to.
    if (!saved.droppedSignatures.empty())
        main_.showMessage(signatureDroppedMessage(shown, saved.droppedSignatures),
                          MessageIcon::None, {});
}

} // namespace faultward
