#pragma once

#include <array>
#include <string_view>

namespace faultward::testing {

// Words the made-up sources are built from. Text with 8-bit characters is in
// code page 1252, as the Windows editors saved it: raw bytes, not UTF-8.

inline constexpr std::array<std::string_view, 16> kNouns = {
    "Orders",  "Customers", "Totals",   "Grid",   "Invoice", "Stock", "Prices",    "Report",
    "Options", "Ledger",    "Accounts", "Labels", "Rates",   "Batch", "Suppliers", "Journal",
};

inline constexpr std::array<std::string_view, 16> kVerbs = {
    "Load",  "Save", "Refresh", "Validate", "Print", "Export", "Import", "Recalc",
    "Clear", "Fill", "Update",  "Check",    "Apply", "Open",   "Close",  "Post",
};

// 0xE9, 0xFC, 0xF6, 0xDF, 0xE0, 0xF1, 0xE7 are letters in code page 1252,
// 0x80 is its euro sign. A literal is split where a hex digit follows a byte.
inline constexpr std::array<std::string_view, 8> kEightBitWords = {
    "caf\xE9",
    "M\xFCller",
    "Gr\xF6\xDF"
    "e",
    "d\xE9j\xE0 vu",
    "Se\xF1or",
    "\x80 12,50",
    "Pre\xE7o",
    "r\xE9sum\xE9",
};

inline constexpr std::array<std::string_view, 8> kCaptions = {
    "OK",
    "Cancel",
    "&Save",
    "Customer:",
    "Total \x80",
    "Stra\xDF"
    "e:",
    "Cr\xE9"
    "dit",
    "Print preview",
};

} // namespace faultward::testing
