#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

// Shows QStrings and byte arrays as text in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << QString::fromLatin1(bytes.toPercentEncoding(" <>/()-.!")).toStdString() << '"';
}
