#include "platform/terminal_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

namespace faultward {
namespace {

TEST(TerminalText, controlCharactersAreShownAsTheEscapesOfTheirBytes) {
    // A name that would set the window title, and one that rings and erases.
    EXPECT_EQ(terminalSafeText("M\x1b]0;pwned\x07.bas"), "M\\x1b]0;pwned\\x07.bas");
    EXPECT_EQ(terminalSafeText(std::string("a\0b\x7f", 4)), "a\\x00b\\x7f");
    // A lone carriage return would let a name hide what came before it.
    EXPECT_EQ(terminalSafeText("ok\rfake"), "ok\\x0dfake");
    EXPECT_EQ(terminalSafeText("end\r"), "end\\x0d");
    // The text's own layout stays.
    EXPECT_EQ(terminalSafeText("a\tb\r\nc\n"), "a\tb\r\nc\n");
}

TEST(TerminalText, c1ControlsAreEscapedAndOtherCharactersPass) {
    // U+009B (CSI) and U+009D (OSC) as UTF-8, and the raw bytes an 8-bit
    // terminal takes for them.
    EXPECT_EQ(terminalSafeText("x\xc2\x9b"
                               "2J"),
              "x\\xc2\\x9b2J");
    EXPECT_EQ(terminalSafeText("\x9d"
                               "0;t"),
              "\\x9d0;t");
    // Letters beyond ASCII, in UTF-8 or as Latin-1 bytes, are shown.
    EXPECT_EQ(terminalSafeText("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"),
              "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80");
    EXPECT_EQ(terminalSafeText("caf\xe9"), "caf\xe9");
    // A broken sequence is no character: its C1-range byte is escaped.
    EXPECT_EQ(terminalSafeText("\xe2\x82"), "\xe2\\x82");
}

TEST(TerminalText, streamHoldsBackWhatTheNextWriteMayFinish) {
    std::ostringstream shown;
    TerminalTextBuffer buffer(*shown.rdbuf());
    std::ostream out(&buffer);
    // A long report is handed on before it ends (every 64 KiB); where it is
    // cut, a CR LF and a character are still themselves.
    const std::string filler((1 << 16) - 1, 'a');
    out << filler << "\r";
    out << "\n" << filler.substr(2) << "\xe2\x82";
    out << "\xac";
    out.flush();
    const std::string text = filler + "\r\n" + filler.substr(2) + "\xe2\x82\xac";
    EXPECT_EQ(shown.str(), text);
    // A flush hands everything on, an unfinished tail as it stands.
    out << "half\r" << std::flush;
    EXPECT_TRUE(shown.str().ends_with("half\\x0d"));
}

} // namespace
} // namespace faultward
