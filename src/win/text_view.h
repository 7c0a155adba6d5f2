#pragma once

#include "app/reports/report_lines.h"

#include <windows.h>

#include <string_view>

namespace faultward::win {

// A read-only text view for text that may be long, a window class of our
// own: it holds the text's bytes once, as given, finds the lines once and
// draws only those in sight, each on the background of its kind, in a
// fixed-width font of the system. The caret, selecting by mouse (a double
// click takes a word) and by Shift with the keys, Ctrl+A, Ctrl+C (and
// WM_COPY), the context menu's Copy and Select All, the Page keys, Home and
// End, the wheel and the scroll bars work as in the system's read-only text
// box, and a screen reader reads the caret's line (win/text_view_accessible). The scroll bars are
// those its style names, disabled while all shows. WM_GETTEXT gives the whole text, each line ended
// by CR LF but the last, and WM_GETFONT the font it draws with.
inline constexpr wchar_t kTextViewClass[] = L"FaultwardTextView";

// Registers the class once per process, before a window of it is made.
void registerTextViewClass();

// Shows bytes in the view: in the code page given (CP_ACP for a report's
// bytes, CP_UTF8 for text for people), in the lines given (found in those
// bytes). The bytes and the lines stay the caller's and must outlive their
// showing (until the next call or the view's end). The caret goes to the
// start, with nothing selected.
void showTextInView(HWND view, std::string_view bytes, const ReportLines& lines, UINT codePage);

// The size of so many cells by so many lines of the view's font, with the
// view's margins but without its frame and scroll bars.
SIZE textViewCellsSize(HWND view, int cells, int lines);
// The cells of the widest line it shows.
int textViewWidestCells(HWND view);

} // namespace faultward::win
