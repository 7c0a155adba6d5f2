#include "platform/terminal_text.h"

namespace faultward {
namespace {

constexpr std::size_t kPassAt = 1 << 16;

void appendEscape(std::string& out, unsigned char byte) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

// The length of the UTF-8 character starting at text[at], or 0 when the bytes
// there are none.
std::size_t utf8Length(std::string_view text, std::size_t at) {
    const auto byte = static_cast<unsigned char>(text[at]);
    const std::size_t length = byte > 0xF4    ? 0
                               : byte >= 0xF0 ? 4
                               : byte >= 0xE0 ? 3
                               : byte >= 0xC2 ? 2
                                              : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    const auto second = static_cast<unsigned char>(text[at + 1]);
    // Overlong forms, surrogates and values past U+10FFFF are no characters.
    if ((byte == 0xE0 && second < 0xA0) || (byte == 0xED && second >= 0xA0) ||
        (byte == 0xF0 && second < 0x90) || (byte == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

// How many bytes at the end of text may still become a CR LF or a character
// once more text comes.
std::size_t unfinishedTail(std::string_view text) {
    if (text.empty())
        return 0;
    if (text.back() == '\r')
        return 1;
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t wanted = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return wanted > back ? back : 0;
        }
    }
    return 0;
}

} // namespace

std::string terminalSafeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte == '\n' || byte == '\t' ||
            (byte == '\r' && at + 1 < text.size() && text[at + 1] == '\n')) {
            out += static_cast<char>(byte);
            ++at;
        } else if (byte < 0x20 || byte == 0x7F) {
            appendEscape(out, byte);
            ++at;
        } else if (byte < 0x80) {
            out += static_cast<char>(byte);
            ++at;
        } else if (const std::size_t length = utf8Length(text, at); length > 0) {
            const bool c1 = byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
            for (std::size_t i = 0; i < length; ++i) {
                if (c1)
                    appendEscape(out, static_cast<unsigned char>(text[at + i]));
                else
                    out += text[at + i];
            }
            at += length;
        } else {
            if (byte < 0xA0)
                appendEscape(out, byte);
            else
                out += static_cast<char>(byte);
            ++at;
        }
    }
    return out;
}

TerminalTextBuffer::~TerminalTextBuffer() {
    sync();
}

TerminalTextBuffer::int_type TerminalTextBuffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (pending_.size() >= kPassAt)
        pass(false);
    return c;
}

std::streamsize TerminalTextBuffer::xsputn(const char* text, std::streamsize count) {
    pending_.append(text, static_cast<std::size_t>(count));
    if (pending_.size() >= kPassAt)
        pass(false);
    return count;
}

int TerminalTextBuffer::sync() {
    pass(true);
    return target_.pubsync();
}

void TerminalTextBuffer::pass(bool all) {
    const std::size_t kept = all ? 0 : unfinishedTail(pending_);
    const std::string shown =
        terminalSafeText(std::string_view(pending_).substr(0, pending_.size() - kept));
    target_.sputn(shown.data(), static_cast<std::streamsize>(shown.size()));
    pending_.erase(0, pending_.size() - kept);
}

} // namespace faultward
