#pragma once
#include <QByteArray>

namespace marvok::test {

// The bytes of a literal, zeros included.
template <qsizetype N> QByteArray raw(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

} // namespace marvok::test
