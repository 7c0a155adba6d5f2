#include "office/compound_file.h"

#include <algorithm>

#include "office/compound_names.h"
#include "platform/utf16.h"

namespace faultward::office {

CompoundEntry* CompoundEntry::child(std::u16string_view childName) {
    for (auto& c : children) {
        if (sameCompoundName(c.name, childName)) {
            return &c;
        }
    }
    return nullptr;
}

const CompoundEntry* CompoundEntry::child(std::u16string_view childName) const {
    return const_cast<CompoundEntry*>(this)->child(childName);
}

std::string CompoundEntry::displayName() const {
    std::u16string shown;
    for (char16_t c : name) {
        // The names of property streams begin with a control character.
        if (c < 0x20) {
            static constexpr char16_t hex[] = u"0123456789ABCDEF";
            shown += u"\\x";
            shown.push_back(hex[c >> 4]);
            shown.push_back(hex[c & 0xF]);
        } else {
            shown.push_back(c);
        }
    }
    return wtf8FromUtf16(shown);
}

void insertInNameOrder(std::vector<CompoundEntry>& siblings, CompoundEntry entry) {
    const auto place = std::find_if(siblings.begin(), siblings.end(), [&](const CompoundEntry& s) {
        return compareCompoundNames(entry.name, s.name) < 0;
    });
    siblings.insert(place, std::move(entry));
}

} // namespace faultward::office
