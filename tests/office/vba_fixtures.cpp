#include "office/vba_fixtures.h"

#include <fstream>
#include <sstream>

#include "office/byte_order.h"
#include "office/vba_compression.h"
#include "office/zip_builder.h"

namespace faultward::office::testing {
namespace {

constexpr char kProjectId[] = "{4D1A3A6E-2F10-4C8A-9C15-6E3B0A1F2B7C}";

void record(std::string& out, std::uint16_t id, std::string_view data) {
    appendU16(out, id);
    appendU32(out, static_cast<std::uint32_t>(data.size()));
    out += data;
}

std::string u32(std::uint32_t v) {
    std::string s;
    appendU32(s, v);
    return s;
}

std::string u16(std::uint16_t v) {
    std::string s;
    appendU16(s, v);
    return s;
}

std::string utf16(std::string_view ascii) {
    std::string s;
    for (char c : ascii) {
        appendU16(s, static_cast<unsigned char>(c));
    }
    return s;
}

std::u16string wide(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::string dirStream(const BuiltProject& p) {
    std::string d;
    record(d, 0x0001, u32(1));
    record(d, 0x0002, u32(0x409));
    record(d, 0x0014, u32(0x409));
    record(d, 0x0003, u16(1252));
    record(d, 0x0004, p.name);
    record(d, 0x0005, "");
    record(d, 0x0040, "");
    record(d, 0x0006, "");
    record(d, 0x003D, "");
    record(d, 0x0007, u32(0));
    record(d, 0x0008, u32(0));
    appendU16(d, 0x0009); // PROJECTVERSION: its size reads 4, six bytes follow
    d += u32(4) + u32(1) + u16(2);
    record(d, 0x000C, "");
    record(d, 0x003C, "");
    record(d, 0x0016, "stdole");
    record(d, 0x003E, utf16("stdole"));
    const std::string libid =
        "*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#stdole2.tlb#OLE Automation";
    record(d, 0x000D, u32(static_cast<std::uint32_t>(libid.size())) + libid + u32(0) + u16(0));
    record(d, 0x000F, u16(static_cast<std::uint16_t>(p.modules.size())));
    record(d, 0x0013, u16(0xFFFF));
    for (const auto& m : p.modules) {
        record(d, 0x0019, m.name);
        record(d, 0x0047, utf16(m.name));
        record(d, 0x001A, m.name);
        record(d, 0x0032, utf16(m.name));
        record(d, 0x001C, "");
        record(d, 0x0048, "");
        record(d, 0x0031, u32(static_cast<std::uint32_t>(m.cacheBytes)));
        record(d, 0x001E, u32(0));
        record(d, 0x002C, u16(0xFFFF));
        record(d, m.kind == ModuleKind::Procedural ? 0x0021 : 0x0022, "");
        record(d, 0x002B, "");
    }
    appendU16(d, 0x0010);
    d += u32(0);
    return d;
}

unsigned char projectKey() {
    unsigned char key = 0;
    for (const char* c = kProjectId; *c != '\0'; ++c) {
        key = static_cast<unsigned char>(key + static_cast<unsigned char>(*c));
    }
    return key;
}

std::string projectText(const BuiltProject& p) {
    std::string t = std::string("ID=\"") + kProjectId + "\"\r\n";
    for (const auto& m : p.modules) {
        switch (m.kind) {
        case ModuleKind::Procedural:
            t += "Module=" + m.name + "\r\n";
            break;
        case ModuleKind::Class:
            t += "Class=" + m.name + "\r\n";
            break;
        case ModuleKind::Document:
            t += "Document=" + m.name + "/&H00000000\r\n";
            break;
        case ModuleKind::Designer:
            t += "BaseClass=" + m.name + "\r\n";
            break;
        }
    }
    const unsigned char key = projectKey();
    t += "Name=\"" + p.name + "\"\r\nHelpContextID=\"0\"\r\nVersionCompatible32=\"393222000\"\r\n";
    t += "CMG=\"" + encryptProjectValue(u32(p.withPassword ? 1 : 0), 0x47, key) + "\"\r\n";
    t += "DPB=\"" +
         encryptProjectValue(p.withPassword ? std::string(29, '\x5A') : std::string(1, '\0'), 0x9B,
                             key) +
         "\"\r\n";
    t += "GC=\"" +
         encryptProjectValue(std::string(1, p.lockedForViewing ? '\0' : '\xFF'), 0x3C, key) +
         "\"\r\n\r\n";
    t += "[Host Extender "
         "Info]\r\n&H00000001={3832D640-CF90-11CF-8E43-00A0C911005A};VBE;&H00000000\r\n\r\n";
    t += "[Workspace]\r\n";
    for (const auto& m : p.modules) {
        t += m.name + "=0, 0, 0, 0, C\r\n";
    }
    return t;
}

CompoundEntry stream(std::u16string name, std::string data) {
    CompoundEntry e;
    e.name = std::move(name);
    e.data = std::move(data);
    return e;
}

CompoundEntry storage(std::u16string name) {
    CompoundEntry e;
    e.name = std::move(name);
    e.kind = CompoundEntry::Kind::Storage;
    return e;
}

} // namespace

std::string BuiltModule::source() const {
    std::string s = "Attribute VB_Name = \"" + name + "\"\r\n";
    if (kind == ModuleKind::Class) {
        s += "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = False\r\n"
             "Attribute VB_PredeclaredId = False\r\nAttribute VB_Exposed = False\r\n";
    } else if (kind == ModuleKind::Document) {
        s += "Attribute VB_Base = \"0{00020906-0000-0000-C000-000000000046}\"\r\n"
             "Attribute VB_GlobalNameSpace = False\r\nAttribute VB_Creatable = False\r\n"
             "Attribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = True\r\n";
    }
    return s + body;
}

BuiltProject sampleProject() {
    BuiltProject p;
    std::string longBody = "Public Function Total() As Long\r\n";
    for (int i = 0; i < 150; ++i) {
        longBody += "    Total = Total + " + std::to_string(i) + " ' caf\xE9 line\r\n";
    }
    longBody += "End Function\r\n";
    p.modules = {
        {"ThisDocument", ModuleKind::Document, "Private Sub Document_Open()\r\nEnd Sub\r\n", 0},
        {"Module1", ModuleKind::Procedural, longBody, 300},
        {"Module2", ModuleKind::Procedural, "Sub Hello()\r\n    MsgBox \"Hello\"\r\nEnd Sub\r\n",
         40},
        {"Class1", ModuleKind::Class, "Public Value As Long\r\n", 12},
    };
    return p;
}

CompoundEntry projectStorage(const BuiltProject& p, std::u16string name) {
    CompoundEntry root = storage(std::move(name));
    CompoundEntry vba = storage(u"VBA");
    insertInNameOrder(vba.children, stream(u"dir", compressVba(dirStream(p))));
    std::string header = "\xCC\x61\xB5\x00\x00\x01\x00\xFF\x09\x04\x00\x00";
    if (!p.compiledState) {
        header = "\xCC\x61\xFF\xFF\x00\x00\x00";
    } else {
        header.resize(300, '\x5C');
    }
    insertInNameOrder(vba.children, stream(u"_VBA_PROJECT", header));
    for (std::size_t i = 0; i < p.modules.size(); ++i) {
        const auto& m = p.modules[i];
        insertInNameOrder(
            vba.children,
            stream(wide(m.name), std::string(m.cacheBytes, static_cast<char>('A' + i)) +
                                     compressVba(m.source())));
        if (p.compiledState) {
            insertInNameOrder(vba.children, stream(u"__SRP_" + wide(std::to_string(i)),
                                                   std::string(64 + i, '\x01')));
        }
    }
    insertInNameOrder(root.children, std::move(vba));
    insertInNameOrder(root.children, stream(u"PROJECT", projectText(p)));
    std::string names;
    for (const auto& m : p.modules) {
        names += m.name + '\0' + utf16(m.name) + std::string(2, '\0');
    }
    insertInNameOrder(root.children, stream(u"PROJECTwm", names + std::string(2, '\0')));
    if (p.signatureStream) {
        insertInNameOrder(root.children, stream(u"\x05"
                                                u"DigitalSignature",
                                                std::string(200, '\x30')));
    }
    return root;
}

std::string vbaProjectBin(const BuiltProject& p) {
    CompoundFile file;
    file.root = projectStorage(p, u"Root Entry");
    return writeCompoundFile(file);
}

std::string wordPackage(const BuiltProject& p, bool signaturePart) {
    std::string types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.ms-word.document.macroEnabled.main+xml\"/>"
        "<Override PartName=\"/word/vbaProject.bin\" "
        "ContentType=\"application/vnd.ms-office.vbaProject\"/>";
    if (signaturePart) {
        types += "<Override PartName=\"/word/vbaProjectSignature.bin\" "
                 "ContentType=\"application/vnd.ms-office.vbaProjectSignature\"/>";
    }
    types += "</Types>";
    const std::string rootRels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        "officeDocument\" Target=\"word/document.xml\"/>"
        "</Relationships>";
    const std::string document =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
        "<w:body><w:p><w:r><w:t>A document for a VBA "
        "project.</w:t></w:r></w:p></w:body></w:document>";
    const std::string documentRels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" "
        "Type=\"http://schemas.microsoft.com/office/2006/relationships/vbaProject\" "
        "Target=\"vbaProject.bin\"/>"
        "</Relationships>";
    std::vector<BuiltEntry> entries = {
        {"[Content_Types].xml", types},
        {"_rels/.rels", rootRels},
        {"word/document.xml", document, true, BuiltEntry::Descriptor::Signed},
        {"word/_rels/document.xml.rels", documentRels},
        {"word/vbaProject.bin", vbaProjectBin(p)},
    };
    if (signaturePart) {
        entries.push_back({"word/_rels/vbaProject.bin.rels",
                           "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                           "<Relationships "
                           "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                           "<Relationship Id=\"rId1\" "
                           "Type=\"http://schemas.microsoft.com/office/2006/relationships/"
                           "vbaProjectSignature\" Target=\"vbaProjectSignature.bin\"/>"
                           "</Relationships>"});
        entries.push_back({"word/vbaProjectSignature.bin", std::string(300, '\x30'), false});
    }
    return buildZip(entries);
}

std::string wordBinary(std::string_view plainDocument, const BuiltProject& p) {
    CompoundFile file = readCompoundFile(plainDocument);
    insertInNameOrder(file.root.children, projectStorage(p, u"Macros"));
    return writeCompoundFile(file);
}

std::string fixture(std::string_view name) {
    std::ifstream in(std::string(FAULTWARD_OFFICE_FIXTURES) + "/" + std::string(name),
                     std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace faultward::office::testing
