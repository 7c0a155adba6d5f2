#include "platform/utf16.h"

#include <gtest/gtest.h>

namespace faultward {
namespace {

// Every kind of UTF-16 a Windows name can hold comes back from its bytes:
// ASCII, two- and three-byte characters, a surrogate pair, and lone
// surrogates, which valid UTF-8 cannot hold.
TEST(Utf16, anyWindowsNameSurvivesTheRoundTrip) {
    const std::u16string names[] = {
        u"App.vbp",
        u"caf\u00e9 \u03a9\u65e5\u672c.frm",
        u"\U0001F600.bas",
        std::u16string{u'a', char16_t(0xD800), u'b'},
        std::u16string{char16_t(0xDC00), char16_t(0xD83D)},
        std::u16string{char16_t(0xDBFF)},
    };
    for (const std::u16string& name : names)
        EXPECT_EQ(utf16FromWtf8(wtf8FromUtf16(name)), name);
    EXPECT_EQ(wtf8FromUtf16(u"caf\u00e9"), "caf\xc3\xa9");
    EXPECT_EQ(wtf8FromUtf16(u"\U0001F600"), "\xf0\x9f\x98\x80");
    EXPECT_EQ(wtf8FromUtf16(std::u16string{char16_t(0xD800)}), "\xed\xa0\x80");
}

TEST(Utf16, bytesThatAreNoCharacterBecomeReplacementCharacters) {
    EXPECT_EQ(utf16FromWtf8("a\xff"
                            "b"),
              u"a\uFFFDb");
    EXPECT_EQ(utf16FromWtf8("\xc0\xaf"), u"\uFFFD\uFFFD");   // overlong slash
    EXPECT_EQ(utf16FromWtf8("\xe9.bas"), u"\uFFFD.bas");     // code page 1252, not UTF-8
    EXPECT_EQ(utf16FromWtf8("\xf4\x90\x80\x80"), u"\uFFFD"); // beyond U+10FFFF
    EXPECT_EQ(utf16FromWtf8("x\xe2\x82"), u"x\uFFFD");       // cut off at the end
}

} // namespace
} // namespace faultward
