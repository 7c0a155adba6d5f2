#pragma once

#include <QDialog>
#include <QString>

#include <string_view>

class QPlainTextEdit;

namespace faultward {

class ReportWindow;

// The report's bytes as the window shows them: each byte one character of
// Windows-1252, the code page of the files, carriage returns dropped so that
// no line ends in a box.
QString reportText(std::string_view bytes);

// A modal, read-only text window over the core's ReportWindow: the text in a
// fixed-width font without line wrap, and a button for each of the core's
// buttons. Escape and the close box press Close.
class ReportDialog final : public QDialog {
public:
    explicit ReportDialog(ReportWindow& window, QWidget* parent = nullptr);

    void reject() override;
    QPlainTextEdit* textView() const { return text_; }

private:
    ReportWindow& window_;
    QPlainTextEdit* text_ = nullptr;
};

} // namespace faultward
