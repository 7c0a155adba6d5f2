#pragma once

#include "app/report_lines.h"

#include <QPlainTextEdit>
#include <QString>

#include <string_view>

namespace faultward {

// The report's bytes as the view shows them: each byte one character of
// Windows-1252, the code page of the files, and every break the core's
// ReportLines finds (LF, CR LF, a lone CR) one line feed, so that the view's
// blocks are the core's lines, one for one.
QString reportText(std::string_view bytes);

// A read-only text view for text that may be long: a report, whose lines are
// drawn on the background of their kind, or plain text. Fixed-width font, no
// wrapping; selecting and copying as in any text box.
class ReportTextView final : public QPlainTextEdit {
public:
    explicit ReportTextView(QWidget* parent = nullptr);

    // Fills the view in one call: appending line by line would lay out the
    // text again for each of a large project's lines. The lines (found in
    // bytes) stay the caller's, and must outlive the view or the next call.
    void showReport(std::string_view bytes, const ReportLines& lines);
    void showPlainText(const QString& text);

    // The kind of the line a block shows.
    ReportLineKind kindOf(int block) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ReportLines* lines_ = nullptr;
};

} // namespace faultward
