#include "core/registry_runtime.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

#include <algorithm>

namespace marvok::fuzz {
namespace {

// A key path and a value name that address exactly one value: plain text, no empty parts.
bool isPlainKeyPath(const QString& path) {
    return isPlainAscii(path) && !path.isEmpty() && !path.startsWith(u'\\') && !path.endsWith(u'\\') &&
           !path.contains(QStringLiteral("\\\\")) && !path.contains(u'[') && !path.contains(u']') &&
           path == path.trimmed() && !path.contains(QStringLiteral(" \\")) &&
           !path.contains(QStringLiteral("\\ "));
}

} // namespace

// Input: key path (below HKEY_LOCAL_MACHINE), value name and text, each zero-ended, then the store.
void settingsStore(QByteArrayView input) {
    const Fields fields = takeFields(input, 3);
    const QString& keyPath = fields.fields[0];
    const QString& name = fields.fields[1];
    const QString& text = fields.fields[2];
    const QString folder = freshScratchFolder();
    const QString store = folder + u"/registry.reg";
    writeInput(store, fields.content);

    // No Wine prefix: only the store is read.
    RegistryRuntime registry(store, QString());
    const QString settingBefore =
        registry.GetString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"));
    registry.GetDword(HKEY_CURRENT_USER, keyPath, name);
    registry.GetString(HKEY_LOCAL_MACHINE, keyPath, name);

    registry.SaveString(HKEY_LOCAL_MACHINE, keyPath, name, text);
    require(treeBelow(folder) == QStringList{QStringLiteral("registry.reg")}, "a write leaves no other file");
    // Any text reads back but one with lone surrogates, which UTF-8 cannot carry.
    const bool surrogates = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSurrogate(); });
    if (!isPlainKeyPath(keyPath) || !isPlainAscii(name) || surrogates)
        return;
    require(registry.GetString(HKEY_LOCAL_MACHINE, keyPath, name) == text.left(text.indexOf(QChar(0))),
            "a stored text reads back");
    const bool sameValue = keyPath.compare(SettingsKey, Qt::CaseInsensitive) == 0 &&
                           name.compare(u"TradFileName", Qt::CaseInsensitive) == 0;
    if (!sameValue)
        require(registry.GetString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName")) ==
                    settingBefore,
                "a write changes no other value");

    const qint32 number = qint32(text.size() * 7919 - 40000);
    registry.SaveDword(HKEY_LOCAL_MACHINE, keyPath, name, number);
    require(registry.GetDword(HKEY_LOCAL_MACHINE, keyPath, name) == number, "a stored number reads back");
    registry.DeleteValue(HKEY_LOCAL_MACHINE, keyPath, name);
    registry.DeleteKey(HKEY_LOCAL_MACHINE, keyPath);
    require(treeBelow(folder) == QStringList{QStringLiteral("registry.reg")}, "a write leaves no other file");
}

} // namespace marvok::fuzz
