#include "ui/code_page_text.h"

namespace faultward {
namespace {

// Windows-1252 where it differs from Latin-1.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

CharacterShape shapeOf(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? CharacterShape::utf8() : CharacterShape::singleByte();
}

QString decodedText(std::string_view bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8)
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = code >= 0x80 && code < 0xA0 ? QChar(kHighControls[code - 0x80])
                                             : QChar(static_cast<char16_t>(code));
    }
    return text;
}

} // namespace faultward
