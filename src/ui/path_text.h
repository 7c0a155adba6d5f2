#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <string>
#include <string_view>

namespace faultward {

// Path bytes as Qt shows them, and back, in the system's file-name encoding.
inline QString pathText(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

inline std::string pathBytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

} // namespace faultward
