#include "platform/standard_streams.h"

#include <iostream>
#include <unistd.h>

namespace faultward {

bool isTerminal(StandardStream stream) {
    return ::isatty(stream == StandardStream::Output ? STDOUT_FILENO : STDERR_FILENO) == 1;
}

std::ostream& standardStream(StandardStream stream) {
    return stream == StandardStream::Output ? std::cout : std::cerr;
}

} // namespace faultward
