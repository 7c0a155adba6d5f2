#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "office/zip_package.h"

namespace faultward::office {

// The Open Packaging Conventions over a ZIP package: which part has which
// content type ([Content_Types].xml), which part a part's relationships name
// (_rels/NAME.rels), and the few edits that drop parts without touching any
// other byte of those files.

// An element of an XML part: where its text lies (from '<' to '>') and its
// attributes, their entities decoded.
struct XmlElement {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::map<std::string, std::string> attributes;
};

// The elements of that local name (any namespace prefix) in the order they come.
std::vector<XmlElement> findXmlElements(std::string_view xml, std::string_view localName);

// The text without the given elements (each removed from '<' to '>', every
// other byte kept).
std::string withoutXmlElements(std::string_view xml, const std::vector<XmlElement>& elements);

inline constexpr std::string_view kContentTypesPart = "[Content_Types].xml";
inline constexpr std::string_view kVbaProjectContentType = "application/vnd.ms-office.vbaProject";

// The ZIP entry of a part name ("/xl/vbaProject.bin"), matched without regard
// to letter case as part names are; null when there is none.
const ZipEntry* entryOfPart(const ZipArchive& archive, std::string_view partName);

// The part names (entry names) whose content type is one of those given:
// through the Override elements, or the Default of their extension.
std::vector<std::string> partsOfContentType(const ZipArchive& archive,
                                            std::string_view contentTypes,
                                            const std::vector<std::string_view>& types);

// The relationships part of a part: "xl/vbaProject.bin" -> "xl/_rels/vbaProject.bin.rels".
std::string relationshipsPartOf(std::string_view partName);

// A relationship's target as an entry name, relative to the part that has it.
std::string resolveTarget(std::string_view sourcePart, std::string_view target);

} // namespace faultward::office
