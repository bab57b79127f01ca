#include "tests/i18n/i18n_fixture.h"

#include "core/text_codec.h"
#include "core/translation_keys.h"
#include "i18n/translate_form.h"

#include <QObject>

namespace marvok::test {

QByteArray languageFileBytes(const QString& language, const QStringList& captions,
                             const QStringList& messages) {
    QStringList lines = {QStringLiteral("; made by the test"), QStringLiteral("[Infos]"),
                         u"Language=" + language, QStringLiteral("[LNG]")};
    lines << captions;
    if (!messages.isEmpty())
        lines << QStringLiteral("[MsgStrings]") << messages;
    const QString text = lines.join(QStringLiteral("\r\n")) + u"\r\n";
    return *encodeWindows1252(text);
}

QStringList captionsOfKey(const QObject* window, const QString& key) {
    QStringList found;
    for (const QObject* control : window->findChildren<QObject*>()) {
        QString caption;
        if (translationKey(control) == key && controlCaption(control, &caption))
            found << control->objectName() + u'=' + caption;
    }
    found.sort();
    return found;
}

} // namespace marvok::test
