#include "office/vba_dir_stream.h"

#include <optional>

#include "office/byte_order.h"

namespace faultward::office {
namespace {

// The record ids this reader looks at.
enum : std::uint16_t {
    kCodePage = 0x0003,
    kProjectName = 0x0004,
    kProjectVersion = 0x0009,
    kModuleCount = 0x000F,
    kDirEnd = 0x0010,
    kModuleName = 0x0019,
    kModuleStreamName = 0x001A,
    kModuleProcedural = 0x0021,
    kModuleNonProcedural = 0x0022,
    kModuleEnd = 0x002B,
    kModuleOffset = 0x0031,
    kModuleStreamNameUnicode = 0x0032,
    kModuleNameUnicode = 0x0047,
};

std::u16string utf16(std::string_view bytes) {
    std::u16string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        out.push_back(static_cast<char16_t>(readU16(bytes, i)));
    }
    return out;
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

DirStream parseDirStream(std::string_view data) {
    DirStream dir;
    std::optional<std::uint16_t> declaredModules;
    std::optional<DirModule> module;
    bool haveStreamName = false;
    bool haveOffset = false;
    std::size_t at = 0;
    auto finishModule = [&] {
        if (!module) {
            return;
        }
        if (!haveStreamName || !haveOffset) {
            throw FormatError("the dir stream's module '" + module->name + "' has no " +
                              (haveStreamName ? "source offset" : "stream name"));
        }
        dir.modules.push_back(std::move(*module));
        module.reset();
    };
    while (at < data.size()) {
        const std::uint16_t id = readU16(data, at, "a dir stream record");
        if (id == kDirEnd) {
            break;
        }
        // PROJECTVERSION's size field reads 4, but 6 bytes of version follow it.
        const std::uint32_t size =
            id == kProjectVersion ? 6 : readU32(data, at + 2, "a dir stream record");
        const std::size_t body = at + 6;
        requireBytes(data, body, size, "a dir stream record");
        const std::string_view value = data.substr(body, size);
        switch (id) {
        case kCodePage:
            dir.codePage = readU16(value, 0, "the dir stream's code page");
            break;
        case kProjectName:
            dir.projectName = std::string(value);
            break;
        case kModuleCount:
            declaredModules = readU16(value, 0, "the dir stream's module count");
            break;
        case kModuleName:
            finishModule();
            module.emplace();
            module->name = std::string(value);
            haveStreamName = haveOffset = false;
            break;
        default:
            if (!module) {
                break;
            }
            switch (id) {
            case kModuleNameUnicode:
                module->unicodeName = utf16(value);
                break;
            case kModuleStreamName:
                module->streamName = std::string(value);
                haveStreamName = true;
                break;
            case kModuleStreamNameUnicode:
                module->unicodeStreamName = utf16(value);
                break;
            case kModuleOffset:
                module->textOffset = readU32(value, 0, "a module's source offset");
                module->textOffsetAt = body;
                haveOffset = true;
                break;
            case kModuleProcedural:
                module->procedural = true;
                break;
            case kModuleNonProcedural:
                module->procedural = false;
                break;
            case kModuleEnd:
                finishModule();
                break;
            default:
                break;
            }
        }
        at = body + size;
    }
    finishModule();
    // A module is known by its name, and its stream is its own: two of one
    // name, or one stream for two, would have one's source written over the
    // other's.
    for (std::size_t i = 0; i < dir.modules.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (dir.modules[i].name == dir.modules[j].name) {
                throw FormatError("the dir stream names the module '" + dir.modules[i].name +
                                  "' twice");
            }
            if (sameIgnoringAsciiCase(dir.modules[i].streamName, dir.modules[j].streamName)) {
                throw FormatError("the modules '" + dir.modules[j].name + "' and '" +
                                  dir.modules[i].name + "' share the stream '" +
                                  dir.modules[i].streamName + "'");
            }
        }
    }
    if (declaredModules && *declaredModules != dir.modules.size()) {
        throw FormatError("the dir stream counts " + std::to_string(*declaredModules) +
                          " modules but describes " + std::to_string(dir.modules.size()));
    }
    return dir;
}

std::string withZeroOffsets(std::string_view decompressed, const DirStream& dir,
                            const std::vector<std::size_t>& moduleIndexes) {
    std::string out(decompressed);
    for (std::size_t index : moduleIndexes) {
        storeU32(out, dir.modules.at(index).textOffsetAt, 0);
    }
    return out;
}

} // namespace faultward::office
