#pragma once

namespace faultward {

// Lets a screen reader read a ReportTextView as it reads the system's
// read-only text box: an editable-text role, read-only and multi-line, whose
// value is the whole text, with a text interface (the text at an offset,
// by character, word, sentence or line, the caret, the selection, where a
// character is drawn). Offsets count UTF-16 units, each line break one.
// Installed once per program; every view asks for it when it is made.
void installReportTextAccessibility();

} // namespace faultward
