#pragma once

#include "office/office_document.h"
#include "platform/source_file.h"
#include "project/project_reader.h"
#include "rewrite/held_sources.h"

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace faultward {

// What writing a document back gave.
struct DocumentSave {
    bool written = false; // the document's bytes were replaced
    std::size_t changedModules = 0;
    // The signature parts and streams left out, as names to show.
    std::vector<std::string> droppedSignatures;
    // Why it was not written, in the office layer's words; or the disk's
    // failure in writeStatus. Either way the document is as it was.
    std::optional<std::string> refusal;
    WriteStatus writeStatus = WriteStatus::Ok;

    bool failed() const { return refusal || writeStatus != WriteStatus::Ok; }
};

// An Office document's VBA project as a project: its modules are the
// entries ("Module1.bas", "Class1.cls", "ThisWorkbook.cls", "UserForm1.frm"),
// their sources held in memory while the passes read and write them, and
// the document is written once, after the passes.
class DocumentProject {
public:
    struct Opened {
        std::unique_ptr<DocumentProject> project;
        ReadStatus status = ReadStatus::Ok; // the file could not be read
        std::string refusal;                // the office layer's words: no project, encrypted, ...
    };
    // Reads the document whole. A project locked for viewing is refused
    // too: its code is not for showing, let alone changing.
    static Opened open(const std::filesystem::path& file);

    const std::filesystem::path& file() const { return sources_.container(); }
    const office::VbaDocument& document() const { return document_; }
    // For a template's {project}: the VBA project's name.
    const std::string& projectName() const { return document_.project.name; }
    // The modules of the given kinds, in the project's order.
    std::vector<ProjectEntry> entries(SourceKinds kinds) const;
    HeldSources& sources() { return sources_; }

    // Why a change would be refused before the passes begin: a signed
    // project without dropSignature, in the office layer's words.
    std::optional<std::string> writeRefusal(bool dropSignature) const;
    // Writes the modules whose sources changed into the document: the new
    // bytes are checked by reading them back, then put in place by the safe
    // replace. Nothing is written when no source changed.
    DocumentSave save(bool dropSignature);

private:
    explicit DocumentProject(const std::filesystem::path& file) : sources_(file) {}

    std::string bytes_;
    office::VbaDocument document_;
    HeldSources sources_;
    std::map<std::string, std::string> moduleOfEntry_;
};

// The entry a module is listed as: its name and the extension its kind is
// exported with (.bas, .cls, .frm).
std::string moduleEntry(const office::VbaModule& module);
SourceKind sourceKindOf(office::ModuleKind kind);

} // namespace faultward
