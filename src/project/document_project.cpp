#include "project/document_project.h"

#include <new>
#include <stdexcept>

namespace faultward {

SourceKind sourceKindOf(office::ModuleKind kind) {
    switch (kind) {
    case office::ModuleKind::Procedural:
        return SourceKind::Module;
    case office::ModuleKind::Class:
        return SourceKind::Class;
    case office::ModuleKind::Document:
        return SourceKind::Document;
    case office::ModuleKind::Designer:
        break;
    }
    return SourceKind::Form;
}

std::string moduleEntry(const office::VbaModule& module) {
    switch (sourceKindOf(module.kind)) {
    case SourceKind::Module:
        return module.name + ".bas";
    case SourceKind::Form:
        return module.name + ".frm";
    default:
        return module.name + ".cls";
    }
}

DocumentProject::Opened DocumentProject::open(const std::filesystem::path& file) {
    Opened opened;
    std::unique_ptr<DocumentProject> project(new DocumentProject(file));
    opened.status = readRegularFile(file, project->bytes_);
    if (opened.status != ReadStatus::Ok)
        return opened;
    try {
        project->document_ = office::readVbaDocument(project->bytes_);
    } catch (const office::DocumentRefusal& refusal) {
        opened.refusal = refusal.what();
        return opened;
    } catch (const std::bad_alloc&) {
        opened.refusal = "its VBA project does not fit in memory";
        return opened;
    }
    if (project->document_.project.protection.lockedForViewing) {
        // The office layer's words for it, which a signature does not change.
        opened.refusal = office::writeRefusal(project->document_, true)->what();
        return opened;
    }
    for (office::VbaModule& module : project->document_.project.modules) {
        const std::string entry = moduleEntry(module);
        project->moduleOfEntry_.emplace(entry, module.name);
        // The passes hold the one copy of each source from here on.
        project->sources_.add(entry, std::move(module.source));
        module.source.clear();
    }
    opened.project = std::move(project);
    return opened;
}

std::vector<ProjectEntry> DocumentProject::entries(SourceKinds kinds) const {
    std::vector<ProjectEntry> entries;
    for (const office::VbaModule& module : document_.project.modules)
        if (kinds.has(sourceKindOf(module.kind)))
            entries.push_back({moduleEntry(module), sourceKindOf(module.kind)});
    return entries;
}

std::optional<std::string> DocumentProject::writeRefusal(bool dropSignature) const {
    if (const auto refusal = office::writeRefusal(document_, dropSignature))
        return std::string(refusal->what());
    return std::nullopt;
}

DocumentSave DocumentProject::save(bool dropSignature) {
    DocumentSave saved;
    office::SourceChanges changes;
    changes.dropSignature = dropSignature;
    for (auto& [entry, source] : sources_.changed())
        changes.sources.emplace(moduleOfEntry_.at(entry), std::move(source));
    if (changes.sources.empty())
        return saved;
    try {
        office::WrittenDocument written = office::writeVbaDocument(bytes_, changes);
        saved.changedModules = written.changedModules;
        if (written.changedModules == 0)
            return saved;
        saved.writeStatus = replaceFileContents(file(), written.bytes);
        if (saved.writeStatus != WriteStatus::Ok)
            return saved;
        saved.written = true;
        saved.droppedSignatures = std::move(written.droppedSignatures);
        bytes_ = std::move(written.bytes);
    } catch (const office::DocumentRefusal& refusal) {
        saved.refusal = refusal.what();
    } catch (const std::invalid_argument& fault) {
        saved.refusal = fault.what(); // a module the document no longer names
    } catch (const std::bad_alloc&) {
        saved.refusal = "the new document does not fit in memory";
    }
    return saved;
}

} // namespace faultward
