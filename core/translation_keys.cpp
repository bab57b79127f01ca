#include "core/translation_keys.h"

#include <QObject>
#include <QVariant>

namespace marvok {

void setTranslationKey(QObject* control, const char* key) {
    control->setProperty(TranslationKeyProperty, QString::fromLatin1(key));
}

QString translationKey(const QObject* control) {
    return control->property(TranslationKeyProperty).toString();
}

QString arrayName(const char* name, int index) {
    return QString::fromLatin1(name) + u'(' + QString::number(index) + u')';
}

} // namespace marvok
