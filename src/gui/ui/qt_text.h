#pragma once

#include <QString>
#include <string>

namespace kelmor {

// The core keeps text as bytes in the locale's 8-bit encoding; the widgets keep QString.
inline QString toQt(const std::string& bytes) {
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string toLocal(const QString& text) {
    QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace kelmor
