#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "office/format_error.h"
#include "office/vba_project.h"

namespace faultward::office {

// An Office document with a VBA project: an Office Open XML package (the
// project is its part of the content type application/vnd.ms-office.vbaProject,
// a compound file), or a binary Excel or Word document (a compound file with
// the project's storage: _VBA_PROJECT_CUR, Macros).

enum class DocumentKind { OpenXmlPackage, BinaryExcel, BinaryWord };

struct VbaDocument {
    DocumentKind kind = DocumentKind::OpenXmlPackage;
    // The project's part ("xl/vbaProject.bin") or storage ("_VBA_PROJECT_CUR").
    std::string projectLocation;
    VbaProject project;
    // The project's signatures: parts of the package ("xl/vbaProjectSignature.bin")
    // and entries of the project's storage ("\x05DigitalSignature"), as names to show.
    std::vector<std::string> signatures;

    bool isSigned() const { return !signatures.empty(); }
};

// What a document is refused for. Its message says it in words and names the
// part or stream at fault; the caller adds the document's name.
class DocumentRefusal : public FormatError {
public:
    enum class Cause {
        NotAnOfficeDocument, // neither a package nor a compound file
        FormatNotHandled,    // Access, PowerPoint 97-2003, another compound file
        NoVbaProject,
        Encrypted,              // a password to open
        Signed,                 // writing only: the signature would no longer match
        LockedForViewing,       // writing only
        Unreadable,             // the project or its container cannot be read whole
        CannotBeWritten,        // writing only: the new document cannot be made (ZIP64 sizes)
        WrittenDocumentDiffers, // writing only: the result did not read back as meant
    };
    DocumentRefusal(Cause cause, const std::string& message)
        : FormatError(message), cause_(cause) {}
    Cause cause() const { return cause_; }

private:
    Cause cause_;
};

// Reads the document's VBA project. A project locked for viewing or signed is
// read and said to be so; every other fault throws DocumentRefusal.
VbaDocument readVbaDocument(std::string_view bytes);

struct SourceChanges {
    // Module name (VbaModule::name) to its new source.
    std::map<std::string, std::string> sources;
    // Write a signed project, leaving its signature out.
    bool dropSignature = false;
};

struct WrittenDocument {
    // The new document; the original's bytes when nothing changes.
    std::string bytes;
    std::size_t changedModules = 0;
    // The signature parts and streams left out, as names to show.
    std::vector<std::string> droppedSignatures;
};

// Why writeVbaDocument would refuse to change the document before it tries:
// a project locked for viewing, or a signed one without dropSignature.
std::optional<DocumentRefusal> writeRefusal(const VbaDocument& document, bool dropSignature);

// The document with the modules' new sources, checked before it is handed
// out: read back, every module gives exactly the source meant and every other
// stream and part is as it was. A project locked for viewing is refused, and
// so is a signed one unless dropSignature; every other fault throws
// DocumentRefusal too. A name in changes that is no module's is the caller's
// fault: std::invalid_argument.
WrittenDocument writeVbaDocument(std::string_view original, const SourceChanges& changes);

} // namespace faultward::office
