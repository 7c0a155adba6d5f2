#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faultward {

// What a template's placeholders stand for, for one procedure.
struct TemplateValues {
    std::string_view procedure; // {procedure}: the procedure's name
    std::string_view module;    // {module}: the file's Attribute VB_Name
    std::string_view file;      // {file}: the file's name without its folders
    std::string_view project;   // {project}: the project's Name
    std::string_view exit;      // {exit}: EXIT SUB, EXIT FUNCTION or EXIT PROPERTY
};

// The trap lines and handler block lines of a template file. The file has a
// [trap] section and a [handler] section, each of at least one line; lines
// starting with ';' are comments and blank lines are passed over. In a line,
// {procedure}, {module}, {file}, {project} and {exit} are replaced, and {{ and
// }} stand for { and }. Every line written gets two blanks and the marker
// after it, so a template must not hold the marker itself, nor a line that
// goes on in the next one.
class HandlerTemplate {
public:
    // The template in text, or nothing with a message naming the line at
    // fault, or saying that the whole file is UTF-16 ("is saved as ...").
    // Refused besides what cannot be read: control characters, lines longer
    // than the editor takes, and a trap that jumps to a label the handler
    // lines do not define, which would not compile.
    static std::optional<HandlerTemplate> parse(std::string_view text, std::string& error);

    void appendTrap(std::string& out, const TemplateValues& values, std::string_view ending) const;
    void appendBlock(std::string& out, const TemplateValues& values, std::string_view ending) const;

    enum class Placeholder : std::uint8_t { None, Procedure, Module, File, Project, Exit };
    struct Piece {
        Placeholder placeholder = Placeholder::None;
        std::string literal; // when placeholder is None
    };
    using Line = std::vector<Piece>;

private:
    std::optional<std::string> undefinedTrapLabel() const;
    static void appendLines(std::string& out, const std::vector<Line>& lines,
                            const TemplateValues& values, std::string_view ending);

    std::vector<Line> trap_;
    std::vector<Line> block_;
    std::vector<std::size_t> trapLineNumbers_; // in the file, for messages
};

// Whether a template's bytes are UTF-16 text, which the lines of a source
// file cannot hold.
bool savedAsUtf16(std::string_view text);

} // namespace faultward
