// Insertion with the command line's options (procedure kinds, procedures left
// alone, classes, a template) followed by removal gives back every byte of
// the file whenever neither the file nor the template held the marker; and
// insertion sees lines, not line endings.
//
// The first byte picks the options. With its top bit set, the payload up to
// its first NUL byte is a template, the rest the file.
#include "fuzz_check.h"
#include "normalised_lines.h"
#include "rewrite/handler_format.h"
#include "rewrite/text_lines.h"
#include "rewrite/transforms.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace faultward;

namespace {

std::string inserted(std::string_view content, const InsertionOptions& options,
                     const SourceFacts& facts, InsertionState& state) {
    OutputPieces out;
    const TransformResult result = insertHandlers(content, options, facts, state, out);
    return result.changed ? out.joined() : std::string(content);
}

std::string removed(std::string_view content) {
    OutputPieces out;
    return removeMarkedLines(content, out).changed ? out.joined() : std::string(content);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);

    InsertionOptions options(handlingModeOf(static_cast<std::int16_t>(choice % 3)));
    options.procedures = {};
    if (choice & 0x01)
        options.procedures = options.procedures | ProcedureKind::Sub;
    if (choice & 0x02)
        options.procedures = options.procedures | ProcedureKind::Function;
    if (choice & 0x04)
        options.procedures = options.procedures | ProcedureKind::Property;
    options.skipHandled = (choice & 0x08) != 0;
    options.projectName = "Fuzz\nProject";
    const SourceFacts facts{"odd\rname.cls", (choice & 0x10) != 0};
    if (choice & 0x80) {
        const std::size_t split = content.find('\0');
        const std::string_view text = content.substr(0, split);
        content = split == std::string_view::npos ? std::string_view() : content.substr(split + 1);
        std::string error;
        std::optional<HandlerTemplate> parsed = HandlerTemplate::parse(text, error);
        FUZZ_CHECK(parsed.has_value() == error.empty());
        if (!parsed)
            return 0;
        options.handlerTemplate = std::make_shared<const HandlerTemplate>(std::move(*parsed));
    }
    if (content.find(kMarker) != std::string_view::npos)
        return 0;

    InsertionState state;
    const std::string withHandlers = inserted(content, options, facts, state);
    FUZZ_CHECK(removed(withHandlers) == content);

    InsertionState again;
    FUZZ_CHECK(lineTexts(inserted(normalised(content), options, facts, again)) ==
               lineTexts(withHandlers));
    FUZZ_CHECK(again.name == state.name && again.handled == state.handled);
    return 0;
}
