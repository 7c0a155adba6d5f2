#include "office/document_container.h"
#include "office/office_document.h"
#include "platform/utf16.h"

namespace faultward::office {

VbaDocument readVbaDocument(std::string_view bytes) {
    DocumentContainer container = openDocumentContainer(bytes);
    return documentIn(container);
}

VbaDocument documentIn(DocumentContainer& container) {
    VbaDocument document;
    document.kind = container.kind;
    document.projectLocation = container.projectLocation();
    document.project = readingWhole("the VBA project in " + document.projectLocation,
                                    [&] { return readVbaProject(container.projectStorage()); });
    document.signatures = container.signatureParts;
    for (const auto& name : container.rootSignatures) {
        CompoundEntry shown;
        shown.name = name;
        document.signatures.push_back(shown.displayName());
    }
    for (const auto& name : document.project.signatureEntries) {
        CompoundEntry shown;
        shown.name = name;
        document.signatures.push_back(document.projectLocation + "/" + shown.displayName());
    }
    return document;
}

} // namespace faultward::office
