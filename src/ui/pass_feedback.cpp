#include "pass_feedback.h"

#include "form1.h"
#include "list_entries.h"
#include "mdi_form1.h"
#include "pointer.h"

#include <QListWidget>
#include <QProgressBar>

namespace faultward {

PassFeedback::PassFeedback(Form1& form, MDIForm1& main, FailureCollector* failures,
                           PassObserver* watcher)
    : form_(form), main_(main), failures_(failures), watcher_(watcher) {}

PassFeedback::~PassFeedback() {
    if (running_)
        finish();
}

void PassFeedback::passStarted(PassKind kind, int minimum, int maximum) {
    running_ = true;
    showBusyPointer();
    main_.setWindowTitle(
        QString::fromUtf8(kind == PassKind::Insertion ? kInsertingCaption : kRemovingCaption));
    QProgressBar& bar = form_.ProgressBar1();
    // A range with no room in it (a list of one entry, or none) is refused,
    // and the bar keeps the range it had.
    if (maximum > minimum)
        bar.setRange(minimum, maximum);
    bar.setValue(minimum);
    bar.show();
    bar.raise();
    // The pass keeps the event loop waiting, so paint what changed now.
    main_.repaint();
    if (watcher_)
        watcher_->passStarted(kind, minimum, maximum);
}

void PassFeedback::entryMadeCurrent(int index) {
    QListWidget& list = form_.List1();
    list.setCurrentRow(index);
    list.scrollToItem(list.item(index));
    list.viewport()->repaint();
    if (watcher_)
        watcher_->entryMadeCurrent(index);
}

void PassFeedback::progressValue(int value) {
    form_.ProgressBar1().setValue(value);
    form_.ProgressBar1().repaint();
    if (watcher_)
        watcher_->progressValue(value);
}

void PassFeedback::lineLimitExceeded(int index, std::string_view message) {
    main_.messageBoxes().showMessage(&main_, displayText(message), MessageIcon::None);
    if (watcher_)
        watcher_->lineLimitExceeded(index, message);
}

void PassFeedback::fileProcessed(int index, std::string_view entry, FileOutcome outcome) {
    if (failures_)
        failures_->record(index, entry, outcome);
    if (watcher_)
        watcher_->fileProcessed(index, entry, outcome);
}

void PassFeedback::passFinished(PassKind kind) {
    finish();
    if (watcher_)
        watcher_->passFinished(kind);
}

void PassFeedback::finish() {
    running_ = false;
    QListWidget& list = form_.List1();
    list.setCurrentRow(-1);
    list.clearSelection();
    form_.ProgressBar1().hide();
    showDefaultPointer();
    main_.setWindowTitle(QString::fromUtf8(kCompletedCaption));
    main_.repaint();
}

} // namespace faultward
