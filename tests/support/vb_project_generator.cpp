#include "support/vb_project_generator.h"

#include "support/split_mix.h"
#include "support/vb_code_writer.h"
#include "support/vb_file_headers.h"
#include "support/vb_text.h"
#include "support/vb_words.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace faultward::testing {
namespace {

constexpr std::array<std::string_view, 8> kProjectNames = {
    "Ledger", "Inventory", "Payroll", "Dispatch", "Clinic", "Lending", "Rental", "Workshop",
};

// One form or module: its name inside the project and its entry text, which
// uses backslashes as the project file does.
struct SourceFile {
    ModuleKind kind = ModuleKind::Form;
    std::string name;
    std::string entry;
};

class Planner {
public:
    explicit Planner(SplitMix64& random) : random_(random) {}

    // The main form and, with room for it, the module holding Sub Main come
    // first; the rest are forms and modules at random, some forms in a
    // sub-folder.
    std::vector<SourceFile> plan(int files) {
        std::vector<SourceFile> planned;
        for (int i = 0; i < files; ++i) {
            if (i == 0)
                planned.push_back(form("frmMain", ""));
            else if (i == 1 || random_.chance(45))
                planned.push_back(module(i == 1 ? "modMain" : uniqueName("mod")));
            else if (random_.chance(25))
                planned.push_back(form(uniqueName("dlg"), "Dialogs\\"));
            else
                planned.push_back(form(uniqueName("frm"), ""));
        }
        return planned;
    }

    std::string uniqueName(std::string_view prefix) {
        std::string name = std::string(prefix) + std::string(random_.pick(kNouns));
        for (int n = 2; !names_.insert(name).second; ++n)
            name = std::string(prefix) + std::string(random_.pick(kNouns)) + std::to_string(n);
        return name;
    }

private:
    SourceFile form(std::string name, std::string_view folder) {
        names_.insert(name);
        return {ModuleKind::Form, name, std::string(folder) + name + ".frm"};
    }
    SourceFile module(std::string name) {
        names_.insert(name);
        return {ModuleKind::Standard, name, "Modules\\" + name + ".bas"};
    }

    SplitMix64& random_;
    std::set<std::string> names_;
};

std::string hexDigits(std::uint64_t value, int digits) {
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[value & 15];
    return text;
}

std::string guid(SplitMix64& random) {
    const std::uint64_t high = random.next();
    const std::uint64_t low = random.next();
    return "{" + hexDigits(high >> 32, 8) + "-" + hexDigits(high >> 16, 4) + "-" +
           hexDigits(high, 4) + "-" + hexDigits(low >> 48, 4) + "-" + hexDigits(low, 12) + "}";
}

std::string projectText(std::string_view title, const std::vector<SourceFile>& files,
                        const SourceFile& cls, SplitMix64& random) {
    VbText text;
    text.line("Type=Exe");
    text.line("Reference=*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#"
              "..\\..\\..\\WINDOWS\\system32\\stdole2.tlb#OLE Automation");
    text.line("Reference=*\\G" + guid(random) + "#1.0#0#..\\Common\\" + std::string(title) +
              "Data.tlb#" + std::string(title) + " Data Objects");
    for (const SourceFile& file : files) {
        if (file.kind == ModuleKind::Form)
            text.line("Form=" + file.entry);
        else
            text.line("Module=" + file.name + "; " + file.entry);
    }
    text.line("Class=" + cls.name + "; " + cls.entry);
    const bool subMain = files.size() > 1 && random.chance(50);
    text.line(subMain ? "Startup=\"Sub Main\"" : "Startup=\"frmMain\"");
    text.line("HelpFile=\"\"");
    text.line("Title=\"" + std::string(title) + "\"");
    text.line("ExeName32=\"" + std::string(title) + ".exe\"");
    text.line("Command32=\"\"");
    text.line("Name=\"" + std::string(title) + "\"");
    text.line("HelpContextID=\"0\"");
    text.line("CompatibleMode=\"0\"");
    text.line("MajorVer=1");
    text.line("MinorVer=" + std::to_string(random.between(0, 9)));
    text.line("RevisionVer=" + std::to_string(random.between(0, 300)));
    text.line("AutoIncrementVer=0");
    text.line("ServerSupportFiles=0");
    text.line("VersionCompanyName=\"" + std::string(random.pick(kEightBitWords)) + " Ltd\"");
    text.line("CompilationType=0");
    text.line("OptimizationType=0");
    text.line("NoAliasing=0");
    text.line("BoundsCheck=0");
    return text.bytes;
}

std::string sourceText(const SourceFile& file, int targetLines, bool holdsMain,
                       SplitMix64& random) {
    VbText text;
    CodeOptions code;
    code.kind = file.kind;
    code.holdsMain = holdsMain;
    code.targetLines = targetLines;
    if (file.kind == ModuleKind::Form)
        code.events = writeFormHeader(text, file.name, random.pick(kCaptions), random);
    else if (file.kind == ModuleKind::Class)
        writeClassHeader(text, file.name);
    else
        writeModuleHeader(text, file.name);
    writeCode(text, code, random);
    return text.bytes;
}

fs::path entryPath(const fs::path& folder, std::string entry) {
    for (char& c : entry)
        if (c == '\\')
            c = '/';
    return folder / entry;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

} // namespace

fs::path generateVbProject(const fs::path& outDir, const GeneratorOptions& options) {
    if (options.files < 1 || options.lines < 1)
        throw std::invalid_argument("a project needs at least one file of at least one line");
    SplitMix64 random(options.seed);
    const std::string title(random.pick(kProjectNames));
    Planner planner(random);
    const std::vector<SourceFile> files = planner.plan(options.files);
    const std::string className = planner.uniqueName("C");
    const SourceFile cls{ModuleKind::Class, className, "Classes\\" + className + ".cls"};

    const fs::path project = outDir / (title + ".vbp");
    writeFile(project, projectText(title, files, cls, random));
    for (const SourceFile& file : files) {
        // Files of one project differ in size; the mean stays near the option.
        const int target = std::max(1, options.lines * random.between(75, 125) / 100);
        writeFile(entryPath(outDir, file.entry),
                  sourceText(file, target, file.name == "modMain", random));
    }
    writeFile(entryPath(outDir, cls.entry),
              sourceText(cls, std::max(1, options.lines / 4), false, random));
    return project;
}

} // namespace faultward::testing
