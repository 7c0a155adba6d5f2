#pragma once

#include <functional>
#include <streambuf>
#include <string>
#include <string_view>

namespace faultward::win32 {

// A stream buffer that writes straight to a Windows handle, past the C
// runtime, whose text mode would turn every line feed into CR LF.
class OutputBuffer : public std::streambuf {
public:
    // Shows UTF-16 text on a console; false when that failed.
    using ConsoleWriter = std::function<bool(std::u16string_view)>;

    // A file, a pipe or a device (a HANDLE): the bytes as they are.
    explicit OutputBuffer(void* handle);
    // A console: the bytes are UTF-8 text, handed on as characters, each whole
    // even when a flush falls inside it.
    explicit OutputBuffer(ConsoleWriter console);
    ~OutputBuffer() override;

    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool flushBuffer();

    void* handle_ = nullptr;
    ConsoleWriter console_;
    std::string pending_; // the start of a character cut off by the last flush
    char buffer_[4096];
};

} // namespace faultward::win32
