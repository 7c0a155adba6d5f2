#include "office/exported_modules.h"

#include <fstream>

namespace faultward::office::testing {

std::string exportedName(const VbaModule& module) {
    switch (module.kind) {
    case ModuleKind::Procedural:
        return module.name + ".bas";
    case ModuleKind::Designer:
        return module.name + ".frm";
    default:
        return module.name + ".cls";
    }
}

std::string exportedText(const VbaModule& module) {
    switch (module.kind) {
    case ModuleKind::Procedural:
        return module.source;
    case ModuleKind::Designer:
        return "VERSION 5.00\r\nBegin {C62A69F0-16DC-11CE-9E98-00AA00574A4F} " + module.name +
               "\r\n   Caption         =   \"" + module.name + "\"\r\n   OleObjectBlob   =   \"" +
               module.name + ".frx\":0000\r\nEnd\r\n" + module.source;
    default:
        return "VERSION 1.0 CLASS\r\nBEGIN\r\n  MultiUse = -1  'True\r\nEND\r\n" + module.source;
    }
}

void exportModules(const VbaProject& project, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    for (const VbaModule& module : project.modules) {
        std::ofstream(folder / exportedName(module), std::ios::binary) << exportedText(module);
        if (module.kind == ModuleKind::Designer)
            std::ofstream(folder / (module.name + ".frx"), std::ios::binary) << "frx";
    }
}

std::string withoutExportHeader(std::string_view exported) {
    const std::size_t attributes = exported.find("Attribute VB_Name");
    return std::string(attributes == std::string_view::npos ? exported
                                                            : exported.substr(attributes));
}

} // namespace faultward::office::testing
