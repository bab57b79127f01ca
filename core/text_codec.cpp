#include "core/text_codec.h"

#include <QStringDecoder>
#include <array>

namespace marvok {
namespace {

// Code points of the bytes 0x80..0x9F; every other byte is its own code point.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::optional<char> encodeChar(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == unit)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

QString decodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = QChar(value >= 0x80 && value < 0xA0 ? kHighControls[value - 0x80] : char16_t(value));
    }
    return text;
}

std::optional<QByteArray> encodeWindows1252(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (QChar c : text) {
        const auto encoded = encodeChar(c.unicode());
        if (!encoded)
            return std::nullopt;
        *out++ = *encoded;
    }
    return bytes;
}

bool fitsWindows1252(QStringView text) {
    for (QChar c : text) {
        if (!encodeChar(c.unicode()))
            return false;
    }
    return true;
}

QString firstCharacterOutsideWindows1252(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!encodeChar(text[i].unicode())) {
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
            return text.mid(i, pair ? 2 : 1).toString();
        }
    }
    return {};
}

bool isValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

QString decodeUtf8OrWindows1252(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    if (!decoder.hasError())
        return decoded;
    return decodeWindows1252(bytes);
}

} // namespace marvok
