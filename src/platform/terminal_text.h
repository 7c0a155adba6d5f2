#pragma once

#include <streambuf>
#include <string>
#include <string_view>

namespace faultward {

// Text bound for a terminal with every character shown that a terminal would
// act on instead: C0 controls and DEL as the escape of their byte (ESC as
// \x1b), a C1 control (U+0080 to U+009F) as the escapes of the two bytes
// UTF-8 carries it in (\xc2\x9b), and a byte 0x80 to 0x9F that belongs to no
// UTF-8 character as its own escape, since an 8-bit terminal takes it for a
// C1 control. Line feeds, tabs and a carriage return before a line feed stay:
// they lay the text out. A name from a project file can then set no window
// title, write no clipboard and hide no line.
std::string terminalSafeText(std::string_view text);

// Passes what is written to it on to target as terminalSafeText, holding
// back a carriage return or the start of a UTF-8 character until what follows
// is known, as long as nothing asks for a flush.
class TerminalTextBuffer : public std::streambuf {
public:
    explicit TerminalTextBuffer(std::streambuf& target) : target_(target) {}
    ~TerminalTextBuffer() override;
    TerminalTextBuffer(const TerminalTextBuffer&) = delete;
    TerminalTextBuffer& operator=(const TerminalTextBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    // Hands on what is pending, all of it or up to an unfinished tail.
    void pass(bool all);

    std::streambuf& target_;
    std::string pending_;
};

} // namespace faultward
