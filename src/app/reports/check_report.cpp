#include "app/reports/check_report.h"

#include <algorithm>
#include <utility>

namespace faultward {
namespace {

// A procedure that insertion leaves alone on purpose is no fault of the
// insertion's, trapped or not.
bool lacksTrap(const SurveyedProcedure& procedure) {
    return !procedure.trapped && procedure.leftAlone == LeftAlone::No;
}

std::size_t untrappedIn(const FileSurvey& survey) {
    std::size_t count = 0;
    for (const SurveyedProcedure& procedure : survey.procedures)
        count += lacksTrap(procedure);
    return count;
}

// ", 2 left alone: one-line" for each reason, in the order of first appearance.
std::string leftAloneCounts(const FileSurvey& survey) {
    std::vector<std::pair<std::string, std::size_t>> reasons;
    for (const SurveyedProcedure& procedure : survey.procedures) {
        if (procedure.leftAlone == LeftAlone::No)
            continue;
        const std::string reason = leftAloneReason(procedure.leftAlone, procedure.kind);
        auto known = std::find_if(reasons.begin(), reasons.end(),
                                  [&](const auto& counted) { return counted.first == reason; });
        if (known == reasons.end())
            reasons.emplace_back(reason, 1);
        else
            ++known->second;
    }
    std::string text;
    for (const auto& [reason, count] : reasons)
        text += ", " + std::to_string(count) + " left alone: " + reason;
    return text;
}

} // namespace

std::string counted(std::size_t count, std::string_view word) {
    std::string text = std::to_string(count) + " " + std::string(word);
    if (count != 1)
        text += 's';
    return text;
}

std::string lineRanges(const std::vector<std::size_t>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size();) {
        std::size_t last = i;
        while (last + 1 < lines.size() && lines[last + 1] == lines[last] + 1)
            ++last;
        if (!text.empty())
            text += ", ";
        text += std::to_string(lines[i]);
        if (last > i) {
            text += '-';
            text += std::to_string(lines[last]);
        }
        i = last + 1;
    }
    return text;
}

std::string checkReport(std::string_view entry, const FileSurvey& survey) {
    std::string text(entry);
    text += ": " + counted(survey.procedures.size(), "procedure") + ", " +
            std::to_string(untrappedIn(survey)) + " without a trap" + leftAloneCounts(survey);
    if (survey.numberedProcedures > 0)
        text += ", " + std::to_string(survey.numberedProcedures) + " numbered";
    text += "; ";
    if (survey.markedLines.empty())
        text += "no marked lines\n";
    else
        text += counted(survey.markedLines.size(), "marked line") + ": " +
                lineRanges(survey.markedLines) + "\n";
    // A line a procedure: appended piece by piece, since a file has thousands.
    for (const SurveyedProcedure& procedure : survey.procedures) {
        if (procedure.leftAlone == LeftAlone::No && procedure.trapped)
            continue;
        text += entry;
        text += ':';
        text += std::to_string(procedure.line);
        text += ": ";
        text += procedure.keyword;
        text += ' ';
        text += procedure.name;
        if (procedure.leftAlone != LeftAlone::No) {
            text += " left alone: ";
            text += leftAloneReason(procedure.leftAlone, procedure.kind);
            text += '\n';
        } else {
            text += " has no trap\n";
        }
    }
    return text;
}

void CheckTotals::add(const FileSurvey& survey) {
    markedLines += survey.markedLines.size();
    untrapped += untrappedIn(survey);
}

} // namespace faultward
