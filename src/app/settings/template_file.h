#pragma once

#include "rewrite/handler_template.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace faultward {

// A template is a few lines; anything larger is some other file.
inline constexpr std::uintmax_t kMaxTemplateSize = 64 * 1024;

// A template file read and parsed, or why not. problem names the file as
// shownName and the cause, with the line where there is one:
// "template T.txt is larger than 64 KiB", "template T.txt: no such file",
// "template T.txt, line 3: unknown placeholder {x}; ...".
struct TemplateFileRead {
    std::shared_ptr<const HandlerTemplate> handlerTemplate;
    std::string problem;
    bool contentsRefused = false; // the file was read, its text is no template
};

// fileBytes is the path as bytes.
TemplateFileRead readTemplateFile(const std::string& fileBytes, std::string_view shownName);

} // namespace faultward
