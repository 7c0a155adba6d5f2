#include "platform/standard_streams.h"

#include "platform/terminal_text.h"

#include <iostream>
#include <unistd.h>

namespace faultward {
namespace {

std::ostream& rawStream(StandardStream stream) {
    return stream == StandardStream::Output ? std::cout : std::cerr;
}

// The stream a terminal is given: escaped text over the plain stream's buffer.
struct TerminalStream {
    explicit TerminalStream(StandardStream which)
        : buffer(*rawStream(which).rdbuf()), stream(&buffer) {
        if (which == StandardStream::Error)
            stream.setf(std::ios::unitbuf);
    }
    ~TerminalStream() { stream.flush(); }
    TerminalTextBuffer buffer;
    std::ostream stream;
};

} // namespace

bool isTerminal(StandardStream stream) {
    return ::isatty(stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

std::ostream& standardStream(StandardStream stream) {
    static const bool outputShown = isTerminal(StandardStream::Output);
    static const bool errorShown = isTerminal(StandardStream::Error);
    if (stream == StandardStream::Output ? !outputShown : !errorShown)
        return rawStream(stream);
    static TerminalStream output(StandardStream::Output);
    static TerminalStream error(StandardStream::Error);
    return stream == StandardStream::Output ? output.stream : error.stream;
}

std::ostream& terminalControlStream(StandardStream stream) {
    standardStream(stream).flush();
    return rawStream(stream);
}

} // namespace faultward
