#pragma once

#include <stdexcept>
#include <string>

namespace faultward::office {

// What a reader throws when a document's bytes are not what its format says:
// the message names the structure and the cause ("the compound file's FAT
// chain of stream 'dir' loops"), and the caller adds the document's name.
class FormatError : public std::runtime_error {
public:
    explicit FormatError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace faultward::office
