#pragma once

#include <QDialog>

namespace faultward {

class ReportTextView;
class ReportWindow;

// A modal window over the core's ReportWindow: the report in a
// ReportTextView, and a button for each of the core's buttons. Escape and
// the close box press Close.
class ReportDialog final : public QDialog {
public:
    explicit ReportDialog(ReportWindow& window, QWidget* parent = nullptr);

    void reject() override;
    ReportTextView* textView() const { return text_; }

private:
    ReportWindow& window_;
    ReportTextView* text_ = nullptr;
};

} // namespace faultward
