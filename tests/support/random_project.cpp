#include "support/random_project.h"

#include "rewrite/handler_template.h"
#include "rewrite/transforms.h"
#include "support/split_mix.h"

#include <array>
#include <cctype>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace faultward::testing {
namespace {

constexpr std::array kHeads = {
    "Sub ",      "Public Sub ",       "Private Sub ",  "Friend Sub ",          "Static Sub ",
    "Function ", "Private Function ", "Property Get ", "Public Property Let ",
};
constexpr std::array kBody = {
    "    x = x + 1",           "    ' a comment",     "",          "    On Error GoTo Bad",
    "Dim y As Long",           "    s = \"End Sub\"", "  End Sub", "end sub",
    "    stray  '~Faultward~", "    x = 1: End Sub",
};

const char* endFor(const std::string& head) {
    if (head.find("Function") != std::string::npos)
        return "End Function";
    if (head.find("Property") != std::string::npos)
        return "End Property";
    return "End Sub";
}

void procedure(std::vector<std::string>& lines, SplitMix64& random, int number) {
    const std::string head = random.pick(kHeads);
    const std::string name = random.chance(3) ? "I_Process_Errors" : "P" + std::to_string(number);
    if (random.chance(15)) {
        lines.push_back(head + name + "(a As Long, _");
        lines.push_back("    b As Long)");
    } else {
        lines.push_back(head + name + (random.chance(10) ? "" : "()"));
    }
    if (random.chance(20))
        lines.push_back("Attribute " + name + ".VB_UserMemId = 0");
    for (int i = random.between(0, 4); i > 0; --i)
        lines.push_back(random.pick(kBody));
    if (random.chance(10))
        lines.push_back("err_" + name + ":"); // the handler's label, taken already
    lines.push_back(random.chance(10) ? std::string(endFor(head)) + "  ' done" : endFor(head));
}

// Lines that use the name carried in: an end line with no head of its own.
void headlessEnd(std::vector<std::string>& lines, SplitMix64& random) {
    if (random.chance(50))
        lines.push_back(random.chance(50) ? "Private Static Sub Hidden()" : "    x = 0");
    lines.push_back("End Sub");
}

std::string joined(const std::vector<std::string>& lines, SplitMix64& random) {
    const int shape = random.between(0, 9);
    const std::string ending = shape == 0 ? "\n" : "\r\n";
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        // Now and then a lone carriage return or line feed inside a file.
        text += shape == 1 && random.chance(5) ? (random.chance(50) ? "\r" : "\n") : ending;
    }
    if (shape == 2 && !text.empty())
        text.resize(text.size() - ending.size()); // no break after the last line
    return text;
}

std::string source(SplitMix64& random, int file, bool pastLineLimit) {
    std::vector<std::string> lines = {"Attribute VB_Name = \"M" + std::to_string(file) + "\""};
    if (pastLineLimit)
        lines.resize(kInsertionLineLimit - 3, "    ' filler");
    if (random.chance(35))
        headlessEnd(lines, random);
    const int procedures = random.chance(15) ? 0 : random.between(1, 6);
    for (int i = 0; i < procedures; ++i) {
        procedure(lines, random, file * 10 + i);
        if (random.chance(10))
            headlessEnd(lines, random);
        if (random.chance(5))
            lines.push_back("Sub Marked" + std::to_string(i) + "()  '~Faultward~");
    }
    std::string text = joined(lines, random);
    if (random.chance(40)) {
        // Handlers of another mode already in place.
        OutputPieces out;
        std::string name = random.chance(50) ? "Earlier" : "";
        if (insertHandlers(text, handlingModeOf(static_cast<std::int16_t>(random.between(0, 2))),
                           name, out)
                .changed)
            text = out.joined();
    }
    return text;
}

InsertionOptions randomOptions(SplitMix64& random) {
    InsertionOptions options(
        random.pick(std::array{HandlingMode::ShowMessage, HandlingMode::ResumeNext,
                               HandlingMode::CentralHandler, handlingModeOf(7)}));
    options.procedures = random.pick(std::array<ProcedureKinds, 3>{
        ProcedureKind::Sub, ProcedureKinds{ProcedureKind::Sub, ProcedureKind::Function},
        kAllProcedureKinds});
    options.skipHandled = random.chance(30);
    if (random.chance(25)) {
        std::string error;
        options.handlerTemplate = std::make_shared<const HandlerTemplate>(*HandlerTemplate::parse(
            "[trap]\nOn Error GoTo E_{procedure}\n[handler]\n{exit}\nE_{procedure}:\n"
            "  Log \"{module} {file} {project}\"\n",
            error));
        options.projectName = "Random";
    }
    return options;
}

} // namespace

RandomProject writeRandomProject(const fs::path& folder, std::uint64_t seed) {
    SplitMix64 random(seed);
    RandomProject project;
    project.options = randomOptions(random);
    const int files = random.between(3, 40);
    const int pastLimit = random.chance(20) ? random.between(0, files - 1) : -1;
    for (int file = 0; file < files; ++file) {
        const std::string name = (random.chance(30) ? "forms/F" : "M") + std::to_string(file) +
                                 (random.chance(50) ? ".frm" : ".bas");
        const fs::path path = folder / name;
        fs::create_directories(path.parent_path());
        std::string text = source(random, file, file == pastLimit);
        const bool readOnly = random.chance(8);
        // A read-only file whose handlers happen to be the ones the options
        // give would need no write from one read, yet its removal must fail:
        // a stray marked line makes every road want to write it.
        if (readOnly && text.find(kMarker) != std::string::npos)
            text += "    stray  '~Faultward~\r\n";
        std::ofstream(path, std::ios::binary) << text;
        if (readOnly)
            fs::permissions(
                path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                fs::perm_options::remove);
        const SourceKind kind = random.pick(std::array{SourceKind::Form, SourceKind::Module,
                                                       SourceKind::Class, SourceKind::UserControl});
        std::string entry = name;
        for (char& c : entry)
            if (c == '/')
                c = '\\';
        project.entries.push_back({entry, !random.chance(10), kind});
        // Another spelling of the same file, later in the list.
        if (random.chance(10))
            project.entries.push_back({".\\" + entry, true, kind});
        if (random.chance(8)) {
            std::string shouted = entry;
            for (char& c : shouted)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            project.entries.push_back({shouted, true, kind});
        }
        if (random.chance(6))
            project.entries.push_back({"Gone" + std::to_string(file) + ".bas", true, kind});
    }
    if (random.chance(30)) {
        fs::create_directory(folder / "Folder.bas");
        project.entries.push_back({"Folder.bas", true, SourceKind::Module});
    }
    random.shuffle(project.entries);
    return project;
}

} // namespace faultward::testing
