#pragma once
// The settings store: the program's own settings, the games' installation keys and the user's
// folders, addressed as in the Windows registry by a root key, a key path and a value name.
//
// It is kept in one text file in the registry-export format:
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\Quillon\Marvok\2.0]
//   "TradFileName"="/home/me/marvok/English.lng"
//   "Count"=dword:0000002a
// Strings use the "\\" and "\"" escapes; a string holding a NUL or a line break is stored as
// hex(1): (UTF-16LE), as regedit does. Key paths and value names match without regard to case. The
// file is written in UTF-8 with CR LF; files beginning "REGEDIT4" (Windows-1252) or with a UTF-16LE
// byte-order mark are read too. A read never creates anything; a write replaces the file through a
// temporary file and keeps every line it does not change.
//
// What the store does not have (key or value) is read, read-only, from the registry of a Wine prefix
// when there is one, so that games installed under Wine are found; the program's own settings key is
// never read from there. Every write goes to the store, never into the prefix.
#include "core/wine_registry.h"

#include <QString>
#include <QtGlobal>

namespace marvok {

constexpr quint32 HKEY_CURRENT_USER = 0x80000001u;
constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002u;

// The program's settings key, below HKEY_LOCAL_MACHINE.
inline const QString SettingsKey = QStringLiteral("Software\\Quillon\\Marvok\\2.0");

class RegistryRuntime {
public:
    // $MARVOK_REGISTRY, else $XDG_CONFIG_HOME/marvok/registry.reg (~/.config when unset).
    static QString defaultStorePath();

    // `winePrefix`: the prefix read for what the store does not have; empty: none.
    explicit RegistryRuntime(QString storePath = defaultStorePath(),
                             QString winePrefix = defaultWinePrefix());

    const QString& storePath() const { return m_storePath; }
    const QString& winePrefix() const { return m_winePrefix; }

    void SaveKey(quint32 hKey, const QString& strPath);
    QString GetString(quint32 hKey, const QString& strPath, const QString& strValue) const;
    // The same; `fromPrefix` gets the Wine prefix the value was read from, empty when it came from
    // the store or is absent.
    QString GetString(quint32 hKey, const QString& strPath, const QString& strValue,
                      QString* fromPrefix) const;
    void SaveString(quint32 hKey, const QString& strPath, const QString& strValue, const QString& strdata);
    qint32 GetDword(quint32 hKey, const QString& strPath, const QString& strValueName) const;
    void SaveDword(quint32 hKey, const QString& strPath, const QString& strValueName, qint32 lData);
    void DeleteKey(quint32 hKey, const QString& strKey);
    void DeleteValue(quint32 hKey, const QString& strPath, const QString& strValue);

private:
    QString m_storePath;
    QString m_winePrefix;
};

} // namespace marvok
