#include "office/document_container.h"

#include <algorithm>

#include "office/byte_order.h"
#include "office/opc_package.h"
#include "office/vba_project.h"
#include "platform/utf16.h"

namespace faultward::office {
namespace {

using Cause = DocumentRefusal::Cause;

const std::vector<std::string_view> kSignatureContentTypes = {
    "application/vnd.ms-office.vbaProjectSignature",
    "application/vnd.ms-office.vbaProjectSignatureAgile",
    "application/vnd.ms-office.vbaProjectSignatureV3",
};

bool isSignatureRelationship(std::string_view type) {
    for (std::string_view suffix :
         {"/vbaProjectSignature", "/vbaProjectSignatureAgile", "/vbaProjectSignatureV3"}) {
        if (type.size() >= suffix.size() && type.substr(type.size() - suffix.size()) == suffix) {
            return true;
        }
    }
    return false;
}

void openPackage(std::string_view bytes, DocumentContainer& c) {
    c.archive = readingWhole("the ZIP package", [&] { return readZipArchive(bytes); });
    const ZipEntry* types = c.archive.find(kContentTypesPart);
    if (types == nullptr) {
        throw DocumentRefusal(Cause::NotAnOfficeDocument,
                              "a ZIP file without [Content_Types].xml is not an Office document");
    }
    c.contentTypes =
        readingWhole("[Content_Types].xml", [&] { return readZipEntry(bytes, *types); });
    const auto projects = partsOfContentType(c.archive, c.contentTypes, {kVbaProjectContentType});
    if (projects.empty()) {
        throw DocumentRefusal(Cause::NoVbaProject, "the document holds no VBA project");
    }
    if (projects.size() > 1) {
        throw DocumentRefusal(Cause::Unreadable, "the document holds more than one VBA project (" +
                                                     projects[0] + ", " + projects[1] + ")");
    }
    c.projectPart = projects[0];
    const std::string part = readingWhole(
        c.projectPart, [&] { return readZipEntry(bytes, *c.archive.find(c.projectPart)); });
    c.compound = readingWhole(c.projectPart, [&] { return readCompoundFile(part); });

    std::vector<std::string> signatures =
        partsOfContentType(c.archive, c.contentTypes, kSignatureContentTypes);
    if (const ZipEntry* rels = c.archive.find(relationshipsPartOf(c.projectPart))) {
        const std::string text =
            readingWhole(rels->name, [&] { return readZipEntry(bytes, *rels); });
        for (const auto& r : findXmlElements(text, "Relationship")) {
            const auto type = r.attributes.find("Type");
            const auto target = r.attributes.find("Target");
            if (type == r.attributes.end() || target == r.attributes.end() ||
                !isSignatureRelationship(type->second)) {
                continue;
            }
            if (const ZipEntry* e =
                    entryOfPart(c.archive, resolveTarget(c.projectPart, target->second))) {
                signatures.push_back(e->name);
            }
        }
    }
    for (const auto& s : signatures) {
        if (std::find(c.signatureParts.begin(), c.signatureParts.end(), s) ==
            c.signatureParts.end()) {
            c.signatureParts.push_back(s);
        }
    }
}

// BIFF8's FILEPASS record in the workbook's first substream.
bool excelIsEncrypted(const std::string& workbook) {
    std::size_t at = 0;
    while (at + 4 <= workbook.size()) {
        const std::uint16_t type = readU16(workbook, at);
        const std::uint16_t size = readU16(workbook, at + 2);
        if (type == 0x002F) {
            return true;
        }
        if (type == 0x000A) { // EOF of the globals
            return false;
        }
        at += 4 + size;
    }
    return false;
}

// The FIB's fEncrypted bit.
bool wordIsEncrypted(const std::string& wordDocument) {
    return wordDocument.size() >= 12 && (readU16(wordDocument, 10) & 0x0100) != 0;
}

void openBinary(std::string_view bytes, DocumentContainer& c) {
    c.compound = readingWhole("the compound file", [&] { return readCompoundFile(bytes); });
    const CompoundEntry& root = c.compound.root;
    if (root.child(u"EncryptionInfo") != nullptr && root.child(u"EncryptedPackage") != nullptr) {
        throw DocumentRefusal(Cause::Encrypted,
                              "the document is encrypted (it needs a password to open)");
    }
    if (root.child(u"PowerPoint Document") != nullptr) {
        throw DocumentRefusal(Cause::FormatNotHandled,
                              "a PowerPoint 97-2003 presentation keeps its VBA project compressed "
                              "inside its own stream, which is not handled");
    }
    if (const CompoundEntry* workbook = root.child(u"Workbook")) {
        c.kind = DocumentKind::BinaryExcel;
        c.storageName = u"_VBA_PROJECT_CUR";
        if (excelIsEncrypted(workbook->data)) {
            throw DocumentRefusal(Cause::Encrypted,
                                  "the workbook is encrypted (it needs a password to open)");
        }
    } else if (const CompoundEntry* word = root.child(u"WordDocument")) {
        c.kind = DocumentKind::BinaryWord;
        c.storageName = u"Macros";
        if (wordIsEncrypted(word->data)) {
            throw DocumentRefusal(Cause::Encrypted,
                                  "the document is encrypted (it needs a password to open)");
        }
    } else {
        throw DocumentRefusal(
            Cause::FormatNotHandled,
            "a compound file that is not an Excel or Word document is not handled");
    }
    for (const auto& e : root.children) {
        if (isSignatureEntryName(e.name)) {
            c.rootSignatures.push_back(e.name);
        }
    }
    const CompoundEntry* storage = root.child(c.storageName);
    if (storage == nullptr || !storage->isStorage()) {
        throw DocumentRefusal(Cause::NoVbaProject, "the document holds no VBA project");
    }
}

} // namespace

CompoundEntry& DocumentContainer::projectStorage() {
    return storageName.empty() ? compound.root : *compound.root.child(storageName);
}

std::string DocumentContainer::projectLocation() const {
    return storageName.empty() ? projectPart : wtf8FromUtf16(storageName);
}

DocumentContainer openDocumentContainer(std::string_view bytes) {
    DocumentContainer c;
    if (hasZipSignature(bytes)) {
        c.kind = DocumentKind::OpenXmlPackage;
        openPackage(bytes, c);
    } else if (hasCompoundFileSignature(bytes)) {
        openBinary(bytes, c);
    } else if (bytes.size() >= 19 && (bytes.substr(4, 15) == "Standard Jet DB" ||
                                      bytes.substr(4, 15) == "Standard ACE DB")) {
        throw DocumentRefusal(Cause::FormatNotHandled, "an Access database is not handled");
    } else {
        throw DocumentRefusal(Cause::NotAnOfficeDocument,
                              "not an Office document (neither a ZIP package nor a compound file)");
    }
    if (!holdsVbaProject(c.projectStorage())) {
        throw DocumentRefusal(c.kind == DocumentKind::OpenXmlPackage ? Cause::Unreadable
                                                                     : Cause::NoVbaProject,
                              c.kind == DocumentKind::OpenXmlPackage
                                  ? c.projectPart + " holds no VBA storage with a dir stream"
                                  : "the document holds no VBA project");
    }
    return c;
}

} // namespace faultward::office
