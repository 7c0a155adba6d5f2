#include "project/module_folder.h"

#include "platform/entry_path.h"
#include "platform/folder_listing.h"
#include "platform/path_bytes.h"
#include "platform/windows_names.h"
#include "rewrite/text_lines.h"

#include <optional>

namespace faultward {
namespace {

// The kind a file of the folder is by its extension, if it is a module at all.
std::optional<SourceKind> kindByExtension(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    const std::string_view extension = name.substr(dot);
    if (equalIgnoringAsciiCase(extension, ".bas"))
        return SourceKind::Module;
    if (equalIgnoringAsciiCase(extension, ".cls"))
        return SourceKind::Class;
    if (equalIgnoringAsciiCase(extension, ".frm"))
        return SourceKind::Form;
    return std::nullopt;
}

} // namespace

std::string moduleFolderName(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::path normal = std::filesystem::absolute(folder, error).lexically_normal();
    while (!normal.has_filename() && normal.has_relative_path())
        normal = normal.parent_path();
    return bytesFromPath(normal.filename());
}

bool isDocumentModule(std::string_view classText) {
    // An exported class starts with its VERSION line and its BEGIN ... END
    // block; its Attribute lines follow, and its code after them.
    LineCursor lines(classText);
    std::string_view line;
    bool inBlock = false;
    while (lines.next(line)) {
        if (inBlock) {
            inBlock = !line.starts_with("END");
            continue;
        }
        if (line.starts_with("VERSION "))
            continue;
        if (line.starts_with("BEGIN")) {
            inBlock = true;
            continue;
        }
        if (!line.starts_with("Attribute "))
            return false;
        if (line.starts_with("Attribute VB_Base "))
            return true;
    }
    return false;
}

ModuleFolderRead readModuleFolder(const std::filesystem::path& folder, SourceKinds kinds) {
    ModuleFolderRead read;
    FolderListing listing;
    read.status = listFolder(folder, listing);
    if (read.status != ReadStatus::Ok)
        return read;
    read.unnamable = std::move(listing.unnamable);
    // Only a choice between classes and document modules needs the file;
    // with both or neither chosen, a document module may pass for a class.
    const bool telling = kinds.has(SourceKind::Class) != kinds.has(SourceKind::Document);
    for (FolderListing::Item& item : listing.items) {
        std::optional<SourceKind> kind = kindByExtension(item.entry);
        if (item.isFolder || !kind)
            continue;
        if (*kind == SourceKind::Class && telling) {
            std::string text;
            const auto path = literalEntryPath(item.entry, folder);
            if (path && readRegularFile(*path, text) == ReadStatus::Ok && isDocumentModule(text))
                kind = SourceKind::Document;
        }
        if (kinds.has(*kind))
            read.entries.push_back({std::move(item.entry), *kind});
    }
    return read;
}

} // namespace faultward
