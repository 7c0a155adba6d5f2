// Times what Preview Insertion and Check Project build for a project, in the
// core and without windows, against a floor on the same files: reading each
// ticked file and appending its bytes to one text, which every report must do
// at least. Then what the windows add in the core before they show the
// preview: finding its lines (the line index) and their kinds, against the
// preview itself. Usage: desktop_reports PROJECT.vbp [ROUNDS]
#include "app/commands/list_source.h"
#include "app/commands/pass_settings.h"
#include "app/reports/report_lines.h"
#include "app/reports/reports.h"
#include "platform/entry_path.h"
#include "platform/path_bytes.h"
#include "platform/source_file.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace faultward;

namespace {

double seconds(const std::function<std::size_t()>& work, std::size_t& size) {
    const auto start = std::chrono::steady_clock::now();
    size = work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: desktop_reports PROJECT.vbp [ROUNDS]\n");
        return 2;
    }
    const std::string project = argv[1];
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    const ListSource source = readListSource(project, kDefaultSourceKinds);
    if (!source.opened) {
        std::fprintf(stderr, "desktop_reports: cannot read %s\n", project.c_str());
        return 1;
    }
    const fs::path folder = pathFromBytes(project).parent_path();
    const HandlerSettings defaults;
    const PassSettings settings =
        surveySettings(defaults, HandlingMode::ShowMessage, source.projectName);
    PassTargets targets{source.entries, folder, settings.insertion};

    const auto floor = [&] {
        std::string all;
        std::string bytes;
        for (const ListEntry& entry : source.entries) {
            const auto path = resolveEntryPath(entry.text, folder);
            if (path && readRegularFile(*path, bytes) == ReadStatus::Ok)
                all += bytes;
        }
        return all.size();
    };
    const auto preview = [&] { return previewReport(targets, folder).text.size(); };
    const auto check = [&] { return checkProjectReport(targets).text.size(); };

    std::vector<double> floors, previews, checks, previewRatios, checkRatios;
    std::size_t floorSize = 0, previewSize = 0, checkSize = 0;
    for (int round = 0; round < rounds; ++round) {
        floors.push_back(seconds(floor, floorSize));
        previews.push_back(seconds(preview, previewSize));
        checks.push_back(seconds(check, checkSize));
        previewRatios.push_back(previews.back() / floors.back());
        checkRatios.push_back(checks.back() / floors.back());
    }
    std::printf("%zu files, %zu bytes read, %d rounds (medians)\n", source.entries.size(),
                floorSize, rounds);
    std::printf("%-24s%10s%10s\n", "", "seconds", "/ floor");
    std::printf("%-24s%10.4f%10.2f\n", "floor (read all)", median(floors), 1.0);
    std::printf("%-24s%10.4f%10.2f   %zu bytes of text\n", "preview text", median(previews),
                median(previewRatios), previewSize);
    std::printf("%-24s%10.4f%10.2f   %zu bytes of text\n", "check report", median(checks),
                median(checkRatios), checkSize);

    const std::string previewText = previewReport(targets, folder).text;
    std::size_t lineCount = 0;
    const auto index = [&] { return lineCount = ReportLines::ofPlainText(previewText).size(); };
    const auto kinds = [&] { return ReportLines::ofReport(previewText).size(); };
    std::vector<double> indexes, classifications, indexRatios, classificationRatios;
    for (int round = 0; round < rounds; ++round) {
        std::size_t size = 0;
        const double previewSeconds = seconds(preview, size);
        indexes.push_back(seconds(index, size));
        classifications.push_back(seconds(kinds, size));
        indexRatios.push_back(indexes.back() / previewSeconds);
        classificationRatios.push_back(classifications.back() / previewSeconds);
    }
    std::printf("\nthe preview's %zu lines, against building the preview\n", lineCount);
    std::printf("%-24s%10s%10s\n", "", "seconds", "/ preview");
    std::printf("%-24s%10.4f%10.3f\n", "line index", median(indexes), median(indexRatios));
    std::printf("%-24s%10.4f%10.3f\n", "index and kinds", median(classifications),
                median(classificationRatios));
    return 0;
}
