#pragma once

#include "app/desktop/text_view_model.h"

#include <QString>

#include <string_view>

namespace faultward {

// The two ways the Qt program's text view holds bytes: a report's are
// Windows-1252, the code page of the files; text for people (a message's
// details) is UTF-8.
enum class TextEncoding { Windows1252, Utf8 };

// How the bytes of an encoding make characters and cells.
CharacterShape shapeOf(TextEncoding encoding);

// The characters of bytes, byte for byte: a line feed stays one. In
// Windows-1252 each byte is one character; the five bytes it leaves
// undefined keep their Latin-1 control characters.
QString decodedText(std::string_view bytes, TextEncoding encoding);

} // namespace faultward
