#pragma once

#include "app/desktop/views.h"
#include "app/reports/report_lines.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// The buttons a report window offers, left to right.
enum class ReportButton { Insert, SaveAs, Close };

// What a modal, read-only text window does, whatever shows it: Preview
// Insertion's differences and Check Project's report. The front end shows
// title() and text() (bytes as the passes wrote them, line by line as
// lines() finds them, each set apart by its kind, in a fixed-width font), a
// button for each of buttons() with its caption, and closes the window when
// press() returns true, Escape and the window's close box counting as Close.
class ReportWindow {
public:
    enum class Kind { Preview, Check };
    ReportWindow(Kind kind, std::string text, MainWindowView& main);

    Kind kind() const { return kind_; }
    std::string_view title() const;
    const std::string& text() const { return text_; }
    const ReportLines& lines() const { return lines_; }
    std::span<const ReportButton> buttons() const;
    static std::string_view caption(ReportButton button);

    // True when the window closes. Save As asks for a path and writes text()
    // unchanged there, telling the user when it cannot; the window stays.
    // Insert closes the window, and the core then runs Insert.
    bool press(ReportButton button);
    bool insertChosen() const { return insertChosen_; }

private:
    void saveAs();

    Kind kind_;
    std::string text_;
    ReportLines lines_;
    MainWindowView& main_;
    bool insertChosen_ = false;
};

inline constexpr std::string_view kPreviewTitle = "Preview Insertion";
inline constexpr std::string_view kCheckTitle = "Check Project";
inline constexpr std::string_view kDiffFilter = "Differences (*.diff)|*.diff|All Files (*.*)|*.*";
inline constexpr std::string_view kReportFilter = "Text files (*.txt)|*.txt|All Files (*.*)|*.*";

} // namespace faultward
