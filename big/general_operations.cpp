#include "big/general_operations.h"

#include <QFileInfo>
#include <cmath>
#include <limits>

namespace marvok {
namespace {

constexpr QStringView kDigits = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool fitsInt32(double value) {
    return value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max();
}

// Leading blanks, an optional sign and the decimal digits that follow; the rest is ignored.
qint32 readDecimal(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    int sign = 1;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        sign = text[i] == u'-' ? -1 : 1;
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const qint64 next = value * 10 + sign * (text[i].unicode() - u'0');
        if (!fitsInt32(static_cast<double>(next)))
            break;
        value = next;
    }
    return static_cast<qint32>(value);
}

qint32 readInBase(const QString& text, int base) {
    qint32 value = 0;
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        const auto digit = kDigits.indexOf(text[i]);
        if (digit == 0)
            continue;
        const double next =
            value + static_cast<double>(digit) * std::pow(static_cast<double>(base), double(length - 1 - i));
        if (!std::isfinite(next) || !fitsInt32(next))
            break;
        value = static_cast<qint32>(next);
    }
    return value;
}

} // namespace

bool FileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

QString ConvertBase(const QString& text, int fromBase, int toBase) {
    qint32 value = fromBase == 10 ? readDecimal(text) : readInBase(text, fromBase);
    if (toBase == 0)
        return QString::number(value);
    if (toBase < 2 || toBase > kDigits.size())
        return {};
    QString result;
    while (value > 0) {
        result.prepend(kDigits[value % toBase]);
        value /= toBase;
    }
    return result;
}

} // namespace marvok
