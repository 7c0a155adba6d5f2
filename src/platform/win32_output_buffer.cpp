#include "platform/win32_output_buffer.h"

#include "platform/utf16.h"

#include <algorithm>

#include <windows.h>

namespace faultward::win32 {
namespace {

bool writeBytes(HANDLE handle, const char* data, std::size_t size) {
    while (size > 0) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(handle, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

OutputBuffer::OutputBuffer(void* handle) : handle_(handle) {
    setp(buffer_, buffer_ + sizeof buffer_);
}

OutputBuffer::OutputBuffer(ConsoleWriter console) : console_(std::move(console)) {
    setp(buffer_, buffer_ + sizeof buffer_);
}

OutputBuffer::~OutputBuffer() {
    flushBuffer();
    // A character cut off for good is shown as one that cannot be read.
    if (console_ && !pending_.empty())
        console_(u"\uFFFD");
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
    if (!flushBuffer())
        return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int OutputBuffer::sync() {
    return flushBuffer() ? 0 : -1;
}

bool OutputBuffer::flushBuffer() {
    const std::string_view bytes(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_, buffer_ + sizeof buffer_);
    if (!console_)
        return writeBytes(static_cast<HANDLE>(handle_), bytes.data(), bytes.size());
    pending_.append(bytes);
    std::u16string text;
    pending_.erase(0, appendUtf16FromWtf8(pending_, text));
    return text.empty() || console_(text);
}

} // namespace faultward::win32
