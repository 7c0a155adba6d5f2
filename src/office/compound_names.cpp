#include "office/compound_names.h"

namespace faultward::office {
namespace {

char16_t upper(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x03B1 && c <= 0x03C9 && c != 0x03C2) { // Greek
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x0430 && c <= 0x044F) { // Cyrillic
        return static_cast<char16_t>(c - 0x20);
    }
    if (c >= 0x0450 && c <= 0x045F) {
        return static_cast<char16_t>(c - 0x50);
    }
    return c;
}

} // namespace

int compareCompoundNames(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char16_t x = upper(a[i]);
        const char16_t y = upper(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return 0;
}

bool sameCompoundName(std::u16string_view a, std::u16string_view b) {
    return compareCompoundNames(a, b) == 0;
}

} // namespace faultward::office
