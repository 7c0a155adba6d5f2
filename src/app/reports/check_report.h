#pragma once

#include "rewrite/procedure_survey.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// "1 marked line", "2 marked lines".
std::string counted(std::size_t count, std::string_view word);

// Line numbers as ranges: "2, 5-8, 12".
std::string lineRanges(const std::vector<std::size_t>& lines);

// What check prints for one file: a summary line, then a line for every
// procedure without a trap, each starting with the entry so that the output
// reads like a compiler's and compares line by line.
std::string checkReport(std::string_view entry, const FileSurvey& survey);

// The totals over the files of a check.
struct CheckTotals {
    std::size_t markedLines = 0;
    std::size_t untrapped = 0;
    void add(const FileSurvey& survey);
};

} // namespace faultward
