#include "office/vba_project.h"

#include <algorithm>
#include <atomic>
#include <span>
#include <thread>

#include "office/format_error.h"
#include "office/vba_compression.h"
#include "office/vba_dir_stream.h"

namespace faultward::office {
namespace {

std::u16string widened(std::string_view bytes) {
    return std::u16string(bytes.begin(), bytes.end());
}

const CompoundEntry& required(const CompoundEntry& storage, std::u16string_view name,
                              const std::string& what) {
    const CompoundEntry* e = storage.child(name);
    if (e == nullptr) {
        throw FormatError("the VBA project has no " + what);
    }
    return *e;
}

CompoundEntry& vbaStorage(CompoundEntry& storage) {
    CompoundEntry* vba = storage.child(u"VBA");
    if (vba == nullptr || !vba->isStorage()) {
        throw FormatError("the VBA project has no VBA storage");
    }
    return *vba;
}

// The module's stream: by its UTF-16 name where the dir stream gives one,
// else by its bytes (which is exact for ASCII names).
CompoundEntry* moduleStream(CompoundEntry& vba, const DirModule& module) {
    CompoundEntry* e = nullptr;
    if (!module.unicodeStreamName.empty()) {
        e = vba.child(module.unicodeStreamName);
    }
    if (e == nullptr) {
        e = vba.child(widened(module.streamName));
    }
    if (e == nullptr || e->isStorage()) {
        throw FormatError("the VBA project has no stream '" + module.streamName +
                          "' for its module '" + module.name + "'");
    }
    return e;
}

// Every module's stream, each a stream of its own: one stream for two
// modules, or a module in the dir stream or _VBA_PROJECT, would have a write
// put one source over another.
std::vector<CompoundEntry*> moduleStreams(CompoundEntry& vba, const DirStream& dir) {
    std::vector<CompoundEntry*> streams;
    for (const auto& module : dir.modules) {
        CompoundEntry* e = moduleStream(vba, module);
        if (e->name == u"dir" || e->name == u"_VBA_PROJECT" || e->name.rfind(u"__SRP_", 0) == 0 ||
            std::find(streams.begin(), streams.end(), e) != streams.end()) {
            throw FormatError("the module '" + module.name + "' is kept in the stream '" +
                              e->displayName() + "', which is not its own");
        }
        streams.push_back(e);
    }
    return streams;
}

DirStream readDir(const CompoundEntry& vba, std::string& decompressed) {
    const CompoundEntry& dir = required(vba, u"dir", "dir stream");
    try {
        decompressed = decompressVba(dir.data);
        return parseDirStream(decompressed);
    } catch (const FormatError& e) {
        throw FormatError(std::string("the VBA project's dir stream: ") + e.what());
    }
}

std::string moduleSource(const CompoundEntry& stream, const DirModule& module) {
    if (module.textOffset > stream.data.size()) {
        throw FormatError("the module '" + module.name + "' has its source at byte " +
                          std::to_string(module.textOffset) + " of a stream of " +
                          std::to_string(stream.data.size()));
    }
    try {
        return decompressVba(std::string_view(stream.data).substr(module.textOffset));
    } catch (const FormatError& e) {
        throw FormatError("the module '" + module.name + "': " + e.what());
    }
}

struct Compression {
    CompoundEntry* stream;
    const std::string* source;
};

// Each module's source compressed into its stream, on every core: the
// modules are independent, and compression is most of a write's time.
void compressAll(std::span<const Compression> work) {
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
        for (std::size_t i = next++; i < work.size(); i = next++) {
            work[i].stream->data = compressVba(*work[i].source);
        }
    };
    const std::size_t threads =
        std::min<std::size_t>(work.size(), std::max(1u, std::thread::hardware_concurrency()));
    std::vector<std::jthread> helpers;
    for (std::size_t t = 1; t < threads; ++t) {
        helpers.emplace_back(worker);
    }
    worker();
}

} // namespace

bool isSignatureEntryName(std::u16string_view name) {
    return name.substr(0, 17) == u"\x05"
                                 u"DigitalSignature";
}

bool holdsVbaProject(const CompoundEntry& storage) {
    const CompoundEntry* vba = storage.child(u"VBA");
    return vba != nullptr && vba->isStorage() && vba->child(u"dir") != nullptr;
}

VbaProject readVbaProject(const CompoundEntry& storage) {
    CompoundEntry& vba = vbaStorage(const_cast<CompoundEntry&>(storage));
    std::string decompressed;
    const DirStream dir = readDir(vba, decompressed);
    const ProjectStream properties =
        parseProjectStream(required(storage, u"PROJECT", "PROJECT stream").data);
    VbaProject project;
    project.name = dir.projectName;
    project.codePage = dir.codePage;
    project.protection = properties.protection;
    const auto streams = moduleStreams(vba, dir);
    for (std::size_t i = 0; i < dir.modules.size(); ++i) {
        const DirModule& module = dir.modules[i];
        VbaModule m;
        m.name = module.name;
        m.streamName = module.streamName;
        const auto kind = properties.kinds.find(module.name);
        m.kind = kind != properties.kinds.end() ? kind->second
                 : module.procedural            ? ModuleKind::Procedural
                                                : ModuleKind::Class;
        m.source = moduleSource(*streams[i], module);
        project.modules.push_back(std::move(m));
    }
    for (const auto& c : storage.children) {
        if (isSignatureEntryName(c.name)) {
            project.signatureEntries.push_back(c.name);
        }
    }
    return project;
}

std::size_t replaceModuleSources(CompoundEntry& storage,
                                 const std::map<std::string, std::string>& sources,
                                 const VbaProject* read) {
    CompoundEntry& vba = vbaStorage(storage);
    std::string decompressed;
    const DirStream dir = readDir(vba, decompressed);
    const auto streams = moduleStreams(vba, dir);
    std::vector<std::size_t> changed;
    std::vector<Compression> compressions;
    for (const auto& change : sources) {
        const std::string& name = change.first;
        const std::string& source = change.second;
        const auto it = std::find_if(dir.modules.begin(), dir.modules.end(),
                                     [&](const DirModule& m) { return m.name == name; });
        if (it == dir.modules.end()) {
            throw FormatError("the VBA project has no module '" + name + "'");
        }
        CompoundEntry* stream = streams[static_cast<std::size_t>(it - dir.modules.begin())];
        const auto index = static_cast<std::size_t>(it - dir.modules.begin());
        const bool same =
            read != nullptr && index < read->modules.size() && read->modules[index].name == name
                ? read->modules[index].source == source
                : moduleSource(*stream, *it) == source;
        if (same) {
            continue;
        }
        compressions.push_back({stream, &source});
        changed.push_back(index);
    }
    compressAll(compressions);
    if (changed.empty()) {
        return 0;
    }
    vba.child(u"dir")->data = compressVba(withZeroOffsets(decompressed, dir, changed));
    CompoundEntry* header = vba.child(u"_VBA_PROJECT");
    if (header == nullptr) {
        throw FormatError("the VBA project has no _VBA_PROJECT stream");
    }
    header->data = std::string(kVersionIndependentVbaProject);
    std::erase_if(vba.children, [](const CompoundEntry& e) {
        return !e.isStorage() && e.name.rfind(u"__SRP_", 0) == 0;
    });
    return changed.size();
}

void removeSignatureEntries(CompoundEntry& storage) {
    std::erase_if(storage.children,
                  [](const CompoundEntry& e) { return isSignatureEntryName(e.name); });
}

} // namespace faultward::office
