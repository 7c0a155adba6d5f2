#pragma once

#include <windows.h>

namespace faultward {
class ReportWindow;
} // namespace faultward

namespace faultward::win {

// The report window of the resource script, modal over owner: the report in
// a text view (win/text_view.h), and a button for each the core offers,
// which the core answers. Returns once the window has closed; while
// it is open, shownAt holds it, so that the boxes it leads to belong to it.
void runReportWindow(HWND owner, ReportWindow& report, HWND& shownAt);

} // namespace faultward::win
