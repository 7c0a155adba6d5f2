#include "support/handled_text.h"

#include "rewrite/transforms.h"

#include <cstdint>

namespace faultward::testing {

std::string withHandlers(std::string_view content, int mode) {
    std::string name;
    OutputPieces out;
    return insertHandlers(content, handlingModeOf(static_cast<std::int16_t>(mode)), name, out)
                   .changed
               ? out.joined()
               : std::string(content);
}

} // namespace faultward::testing
