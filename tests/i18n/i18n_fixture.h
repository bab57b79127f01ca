#pragma once
// Language files made in code, as translators write them: Windows-1252 with CR LF.
#include <QString>
#include <QStringList>

class QObject;

namespace marvok::test {

// "[Infos]" with `language`, "[LNG]" with `captions` and, when given, "[MsgStrings]" with
// `messages`, each a list of "key=text" lines.
QByteArray languageFileBytes(const QString& language, const QStringList& captions,
                             const QStringList& messages = {});

// The controls of `window` that carry `key`, by object name, each with its caption.
QStringList captionsOfKey(const QObject* window, const QString& key);

} // namespace marvok::test
