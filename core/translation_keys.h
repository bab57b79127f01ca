#pragma once
// Every translatable control carries a short key fixed when it is built; a language file gives the
// text for each key. Several controls may share a key.
#include <QString>

class QObject;

namespace marvok {

inline constexpr char TranslationKeyProperty[] = "translationKey";

void setTranslationKey(QObject* control, const char* key);
QString translationKey(const QObject* control);

// Object names of controls of an array: "Label2(4)".
QString arrayName(const char* name, int index);

} // namespace marvok
