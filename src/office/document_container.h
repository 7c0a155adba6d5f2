#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "office/compound_file.h"
#include "office/office_document.h"
#include "office/zip_package.h"

namespace faultward::office {

// A document opened down to its VBA project's storage, for reading and
// writing alike.
struct DocumentContainer {
    DocumentKind kind = DocumentKind::OpenXmlPackage;

    // A package: its directory, its content types, the project's part and
    // that part read as a compound file, the signature parts.
    ZipArchive archive;
    std::string contentTypes;
    std::string projectPart;
    std::vector<std::string> signatureParts;

    // The compound file that holds the project: the project part's, or the
    // binary document itself.
    CompoundFile compound;
    // The project's storage in it: empty for the root (vbaProject.bin).
    std::u16string storageName;
    // Signature streams at the root of a binary document, beside the
    // project's storage: taken as the project's too, so that a signature is
    // never dropped unasked.
    std::vector<std::u16string> rootSignatures;

    CompoundEntry& projectStorage();
    std::string projectLocation() const;
};

// Throws DocumentRefusal.
DocumentContainer openDocumentContainer(std::string_view bytes);
// The document as readVbaDocument gives it, from a container opened.
VbaDocument documentIn(DocumentContainer& container);

// Runs a step of reading, turning a FormatError into the refusal of a
// project that cannot be read whole.
template <typename Step>
auto readingWhole(const std::string& where, Step step) -> decltype(step()) {
    try {
        return step();
    } catch (const DocumentRefusal&) {
        throw;
    } catch (const FormatError& e) {
        throw DocumentRefusal(DocumentRefusal::Cause::Unreadable,
                              where + " cannot be read whole: " + e.what());
    }
}

} // namespace faultward::office
