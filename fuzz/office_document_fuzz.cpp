// Reads arbitrary bytes as an Office document: nothing crashes or hangs, every
// fault is a refusal, and a project that reads is written with a changed
// module, which must read back as meant (the writer's own check holds) and
// give that module's source.
#include "fuzz_check.h"
#include "office/office_document.h"
#include "office/vba_compression.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace faultward::office;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        decompressVba(bytes);
    } catch (const FormatError&) {
    }
    VbaDocument document;
    try {
        document = readVbaDocument(bytes);
    } catch (const DocumentRefusal&) {
        return 0;
    }
    if (document.project.modules.empty() || document.project.protection.lockedForViewing) {
        return 0;
    }
    const VbaModule& module = document.project.modules.front();
    const std::string source = module.source + "Sub Fuzzed()\r\nEnd Sub\r\n";
    try {
        const WrittenDocument written =
            writeVbaDocument(bytes, {{{module.name, source}}, /*dropSignature=*/true});
        FUZZ_CHECK(readVbaDocument(written.bytes).project.modules.front().source == source);
    } catch (const DocumentRefusal& e) {
        // A project that reads must write; only names the compound file
        // cannot hold may stop it, which the refusal says as unreadable.
        FUZZ_CHECK(e.cause() != DocumentRefusal::Cause::WrittenDocumentDiffers);
    }
    return 0;
}
