#pragma once
// Readable failure output for Qt's text types.
#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"';
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\r')
            *os << "\\r";
        else if (c == '\n')
            *os << "\\n";
        else if (b < 0x20 || b >= 0x7F || c == '"' || c == '\\')
            *os << "\\x"
                << "0123456789ABCDEF"[b >> 4] << "0123456789ABCDEF"[b & 15];
        else
            *os << c;
    }
    *os << '"';
}
