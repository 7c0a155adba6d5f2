#include <algorithm>
#include <optional>
#include <stdexcept>

#include "office/compound_file.h"
#include "office/document_container.h"
#include "office/office_document.h"
#include "office/opc_package.h"

namespace faultward::office {
namespace {

using Cause = DocumentRefusal::Cause;

[[noreturn]] void differs(const std::string& what) {
    throw DocumentRefusal(Cause::WrittenDocumentDiffers,
                          "the document written did not read back as meant: " + what);
}

// The first difference between two trees, or nothing.
std::optional<std::string> treeDifference(const CompoundEntry& a, const CompoundEntry& b,
                                          const std::string& path) {
    const std::string here = path.empty() ? a.displayName() : path + "/" + a.displayName();
    if (a.name != b.name || a.kind != b.kind || a.clsid != b.clsid || a.stateBits != b.stateBits ||
        a.created != b.created || a.modified != b.modified || a.data != b.data ||
        a.children.size() != b.children.size()) {
        return here;
    }
    for (std::size_t i = 0; i < a.children.size(); ++i) {
        if (auto d = treeDifference(a.children[i], b.children[i], here)) {
            return d;
        }
    }
    return std::nullopt;
}

struct PackageEdits {
    std::map<std::string, std::optional<std::string>> changes;
};

// Leaves the signature parts out of the package, with their content types
// and the project's relationships to them.
void dropSignatureParts(std::string_view original, const DocumentContainer& c,
                        PackageEdits& edits) {
    auto dropped = [&](std::string_view part) {
        const ZipEntry* e = entryOfPart(c.archive, part);
        return e != nullptr && std::find(c.signatureParts.begin(), c.signatureParts.end(),
                                         e->name) != c.signatureParts.end();
    };
    for (const auto& part : c.signatureParts) {
        edits.changes[part] = std::nullopt;
    }
    std::vector<XmlElement> overrides;
    const std::string relsPart = relationshipsPartOf(c.projectPart);
    const ZipEntry* rels = c.archive.find(relsPart);
    bool relsGoes = false;
    if (rels != nullptr) {
        const std::string text = readZipEntry(original, *rels);
        const auto all = findXmlElements(text, "Relationship");
        std::vector<XmlElement> signatures;
        for (const auto& r : all) {
            const auto target = r.attributes.find("Target");
            if (target != r.attributes.end() &&
                dropped(resolveTarget(c.projectPart, target->second))) {
                signatures.push_back(r);
            }
        }
        if (!signatures.empty()) {
            relsGoes = signatures.size() == all.size();
            edits.changes[rels->name] =
                relsGoes ? std::nullopt : std::optional(withoutXmlElements(text, signatures));
        }
    }
    for (const auto& o : findXmlElements(c.contentTypes, "Override")) {
        const auto name = o.attributes.find("PartName");
        if (name == o.attributes.end()) {
            continue;
        }
        const ZipEntry* e = entryOfPart(c.archive, name->second);
        if (dropped(name->second) || (relsGoes && e == rels)) {
            overrides.push_back(o);
        }
    }
    if (!overrides.empty()) {
        edits.changes[std::string(kContentTypesPart)] =
            withoutXmlElements(c.contentTypes, overrides);
    }
}

std::string recordOf(std::string_view bytes, const ZipEntry& e) {
    return std::string(bytes.substr(e.localOffset, e.recordEnd - e.localOffset));
}

void checkPackage(std::string_view original, const DocumentContainer& before,
                  std::string_view written, const PackageEdits& edits) {
    const ZipArchive after = readZipArchive(written);
    std::size_t expectedCount = 0;
    for (const auto& e : before.archive.entries) {
        const auto change = edits.changes.find(e.name);
        const ZipEntry* now = after.find(e.name);
        if (change != edits.changes.end() && !change->second) {
            if (now != nullptr) {
                differs(e.name + " is still there");
            }
            continue;
        }
        ++expectedCount;
        if (now == nullptr) {
            differs(e.name + " is missing");
        }
        if (change == edits.changes.end()) {
            if (recordOf(written, *now) != recordOf(original, e)) {
                differs(e.name + " changed");
            }
        } else if (e.name != before.projectPart && readZipEntry(written, *now) != *change->second) {
            differs(e.name + " does not hold what was meant");
        }
    }
    if (after.entries.size() != expectedCount) {
        differs("the package holds other entries");
    }
}

} // namespace

std::optional<DocumentRefusal> writeRefusal(const VbaDocument& document, bool dropSignature) {
    if (document.project.protection.lockedForViewing) {
        return DocumentRefusal(Cause::LockedForViewing, "the VBA project is locked for viewing");
    }
    if (document.isSigned() && !dropSignature) {
        std::string names;
        for (const auto& s : document.signatures) {
            names += (names.empty() ? "" : ", ") + s;
        }
        return DocumentRefusal(Cause::Signed, "the VBA project is signed (" + names +
                                                  "), and a change would break its signature");
    }
    return std::nullopt;
}

WrittenDocument writeVbaDocument(std::string_view original, const SourceChanges& changes) {
    DocumentContainer container = openDocumentContainer(original);
    const VbaDocument before = documentIn(container);
    for (const auto& change : changes.sources) {
        const std::string& name = change.first;
        if (std::none_of(before.project.modules.begin(), before.project.modules.end(),
                         [&](const VbaModule& m) { return m.name == name; })) {
            throw std::invalid_argument("the VBA project has no module '" + name + "'");
        }
    }
    if (std::optional<DocumentRefusal> refusal = writeRefusal(before, changes.dropSignature)) {
        throw *refusal;
    }
    const std::size_t changed = readingWhole("the VBA project in " + before.projectLocation, [&] {
        return replaceModuleSources(container.projectStorage(), changes.sources, &before.project);
    });
    WrittenDocument result;
    if (changed == 0) {
        result.bytes = std::string(original);
        return result;
    }
    result.changedModules = changed;
    if (before.isSigned()) {
        removeSignatureEntries(container.projectStorage());
        if (container.kind != DocumentKind::OpenXmlPackage) {
            removeSignatureEntries(container.compound.root);
        }
        result.droppedSignatures = before.signatures;
    }
    PackageEdits edits;
    try {
        if (container.kind == DocumentKind::OpenXmlPackage) {
            edits.changes[container.projectPart] = writeCompoundFile(container.compound);
            if (before.isSigned()) {
                dropSignatureParts(original, container, edits);
            }
            result.bytes = rewriteZipArchive(original, container.archive, edits.changes);
        } else {
            result.bytes = writeCompoundFile(container.compound);
        }
    } catch (const FormatError& e) {
        throw DocumentRefusal(Cause::CannotBeWritten,
                              std::string("the new document cannot be made: ") + e.what());
    }

    // Read back before it is handed out.
    try {
        DocumentContainer written = openDocumentContainer(result.bytes);
        const VbaDocument after = documentIn(written);
        if (after.isSigned()) {
            differs("it is still signed");
        }
        if (after.project.modules.size() != before.project.modules.size()) {
            differs("it holds another number of modules");
        }
        for (std::size_t i = 0; i < after.project.modules.size(); ++i) {
            const VbaModule& was = before.project.modules[i];
            const VbaModule& now = after.project.modules[i];
            const auto source = changes.sources.find(was.name);
            const std::string& meant =
                source != changes.sources.end() ? source->second : was.source;
            if (now.name != was.name || now.kind != was.kind || now.source != meant) {
                differs("the module '" + was.name + "' does not hold the source meant");
            }
        }
        if (auto d = treeDifference(written.compound.root, container.compound.root, "")) {
            differs(*d + " is not as meant");
        }
        if (container.kind == DocumentKind::OpenXmlPackage) {
            checkPackage(original, container, result.bytes, edits);
        }
    } catch (const DocumentRefusal& e) {
        if (e.cause() == Cause::WrittenDocumentDiffers) {
            throw;
        }
        differs(e.what());
    } catch (const FormatError& e) {
        differs(e.what());
    }
    return result;
}

} // namespace faultward::office
