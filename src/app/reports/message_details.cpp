#include "app/reports/message_details.h"

namespace faultward {

std::string_view leadParagraph(std::string_view text) {
    return text.substr(0, text.find("\n\n"));
}

} // namespace faultward
