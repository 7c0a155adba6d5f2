// Insertion followed by removal gives back every byte of the file, line
// endings of every kind included, whenever it held no marker of its own;
// removal of such a file changes nothing; insertion sees lines, not line
// endings. The same holds with a list of procedures left alone.
#include "fuzz_check.h"
#include "normalised_lines.h"
#include "rewrite/handler_format.h"
#include "rewrite/leave_list.h"
#include "rewrite/reinsertion.h"
#include "rewrite/text_lines.h"
#include "rewrite/transforms.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

using namespace faultward;

namespace {

// The first byte picks the handling mode, including values that are none of
// the three.
HandlingMode modeFrom(std::uint8_t byte) {
    switch (byte % 6) {
    case 0:
        return HandlingMode::ShowMessage;
    case 1:
        return HandlingMode::ResumeNext;
    case 2:
        return HandlingMode::CentralHandler;
    case 3:
        return handlingModeOf(-5);
    case 4:
        return handlingModeOf(3);
    default:
        return handlingModeOf(32767);
    }
}

std::size_t countLines(std::string_view content) {
    LineCursor cursor(content);
    std::string_view line;
    std::size_t count = 0;
    while (cursor.next(line))
        ++count;
    return count;
}

// What a transform produced: its output, or the input itself when it reports
// that nothing changed (the output buffer may then be left empty). A change
// that gives the same bytes would rewrite files for nothing.
std::string outcome(const TransformResult& result, std::string_view input, OutputPieces& pieces) {
    const std::string out = pieces.joined();
    if (!result.changed) {
        FUZZ_CHECK(out.empty() || out == input);
        return std::string(input);
    }
    FUZZ_CHECK(out != input);
    return out;
}

std::string inserted(std::string_view content, HandlingMode mode, std::string& name) {
    OutputPieces out;
    const TransformResult result = insertHandlers(content, mode, name, out);
    return outcome(result, content, out);
}

std::string removed(std::string_view content) {
    OutputPieces out;
    const TransformResult result = removeMarkedLines(content, out);
    return outcome(result, content, out);
}

// Removal and insertion in one go give what the two transforms give one
// after the other, and call it a change exactly when a byte differs.
void checkReinsertion(std::string_view content, HandlingMode mode) {
    std::string name;
    const std::string twoSteps = inserted(removed(content), mode, name);
    Reinsertion reinsertion;
    reinsertion.clean(content);
    InsertionState state;
    OutputPieces out;
    const TransformResult result = reinsertion.insert(InsertionOptions(mode), {}, state, out);
    FUZZ_CHECK(out.joined() == twoSteps);
    FUZZ_CHECK(result.changed == (twoSteps != content));
    FUZZ_CHECK(state.name == name);
}

// With the procedures whose names hold an "a" left alone, in every kind:
// one read gives what removal around them and then insertion give, and
// removal around them takes out exactly what insertion put in.
void checkListed(std::string_view content, HandlingMode mode) {
    static const auto leave = std::make_shared<const LeaveList>(std::vector<std::string>{"*:*a*"});
    const ListedProcedures listed{leave.get(), "M.bas"};
    InsertionOptions options(mode);
    options.procedures = kAllProcedureKinds;
    options.leave = leave;
    const SourceFacts facts{"M.bas", false, {}, "M.bas"};
    const auto removedAround = [&](std::string_view text) {
        OutputPieces out;
        return outcome(removeMarkedLinesOutside(listed, text, out), text, out);
    };
    const std::string cleaned = removedAround(content);
    InsertionState state;
    OutputPieces out;
    const std::string twoSteps =
        outcome(insertHandlers(cleaned, options, facts, state, out), cleaned, out);
    Reinsertion reinsertion;
    reinsertion.clean(content, listed);
    InsertionState oneReadState;
    OutputPieces oneRead;
    const TransformResult result = reinsertion.insert(options, facts, oneReadState, oneRead);
    FUZZ_CHECK(oneRead.joined() == twoSteps);
    FUZZ_CHECK(result.changed == (twoSteps != content));
    if (content.find(kMarker) == std::string_view::npos)
        FUZZ_CHECK(removedAround(twoSteps) == content);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const HandlingMode mode = modeFrom(data[0]);
    const std::string_view payload(reinterpret_cast<const char*>(data) + 1, size - 1);
    // With the top three bits of the first byte set, blank lines in front
    // bring the payload's first lines to the insertion line limit, which small
    // inputs would never reach. Only now and then: such inputs are slow.
    const bool atLineLimit = (data[0] & 0xE0) == 0xE0;
    std::string padded;
    if (atLineLimit) {
        const std::string_view ending = lineEnding(detectLineBreaks(payload));
        padded.reserve((kInsertionLineLimit - 8) * ending.size() + payload.size());
        for (std::size_t i = 0; i + 8 < kInsertionLineLimit; ++i)
            padded.append(ending);
        padded.append(payload);
    }
    const std::string_view content = atLineLimit ? std::string_view(padded) : payload;

    checkReinsertion(content, mode);
    checkListed(content, mode);

    std::string name;
    const std::string withHandlers = inserted(content, mode, name);
    FUZZ_CHECK(countLines(withHandlers) >= countLines(content));

    const std::string withoutHandlers = removed(withHandlers);
    // Removal drops marked lines only, so doing it again is a no-op.
    FUZZ_CHECK(removed(withoutHandlers) == withoutHandlers);

    if (content.find(kMarker) != std::string_view::npos) {
        FUZZ_CHECK(removed(removed(content)) == removed(content));
        return 0;
    }

    FUZZ_CHECK(withoutHandlers == content);
    FUZZ_CHECK(removed(content) == content);

    // The same lines with other endings get the same insertions.
    const std::string plain = normalised(content);
    std::string nameAgain;
    FUZZ_CHECK(lineTexts(inserted(plain, mode, nameAgain)) == lineTexts(withHandlers));
    FUZZ_CHECK(nameAgain == name);
    return 0;
}
