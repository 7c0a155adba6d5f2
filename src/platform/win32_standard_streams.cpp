#include "platform/standard_streams.h"

#include "platform/terminal_text.h"
#include "platform/win32_output_buffer.h"

#include <algorithm>
#include <memory>

#include <windows.h>

namespace faultward {
namespace {

HANDLE handleOf(StandardStream stream) {
    return ::GetStdHandle(stream == StandardStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

// Only a console has a console mode; the C runtime's isatty also says yes
// for NUL and every other character device.
bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

std::unique_ptr<win32::OutputBuffer> bufferFor(HANDLE handle) {
    if (!isConsole(handle))
        return std::make_unique<win32::OutputBuffer>(handle);
    // The progress line clears itself with an escape sequence, which a
    // console since Windows 10 follows once asked to.
    DWORD mode = 0;
    if (::GetConsoleMode(handle, &mode))
        ::SetConsoleMode(handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
    // WriteConsoleW shows every character, whatever the console's code page.
    return std::make_unique<win32::OutputBuffer>([handle](std::u16string_view text) {
        while (!text.empty()) {
            const auto chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 8192));
            DWORD written = 0;
            if (!::WriteConsoleW(handle, text.data(), chunk, &written, nullptr) || written == 0)
                return false;
            text.remove_prefix(written);
        }
        return true;
    });
}

// On a console, text goes through escaping first; control carries the
// program's own control bytes past it.
struct Stream {
    explicit Stream(StandardStream which)
        : buffer(bufferFor(handleOf(which))), control(buffer.get()),
          escaped(isConsole(handleOf(which)) ? std::make_unique<TerminalTextBuffer>(*buffer)
                                             : nullptr),
          stream(escaped ? static_cast<std::streambuf*>(escaped.get()) : buffer.get()) {
        if (which == StandardStream::Error) {
            stream.setf(std::ios::unitbuf);
            control.setf(std::ios::unitbuf);
        }
    }
    ~Stream() {
        stream.flush();
        control.flush();
    }
    std::unique_ptr<win32::OutputBuffer> buffer;
    std::ostream control;
    std::unique_ptr<TerminalTextBuffer> escaped;
    std::ostream stream;
};

Stream& streamOf(StandardStream stream) {
    static Stream output(StandardStream::Output);
    static Stream error(StandardStream::Error);
    return stream == StandardStream::Output ? output : error;
}

} // namespace

bool isTerminal(StandardStream stream) {
    return isConsole(handleOf(stream));
}

std::ostream& standardStream(StandardStream stream) {
    return streamOf(stream).stream;
}

std::ostream& terminalControlStream(StandardStream stream) {
    Stream& chosen = streamOf(stream);
    chosen.stream.flush();
    return chosen.control;
}

} // namespace faultward
