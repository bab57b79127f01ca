#pragma once
// The registry of a Wine prefix, read-only: where a Linux player's games and folders are when the
// games run under Wine.
//
// A prefix holds two registry files, "system.reg" (HKEY_LOCAL_MACHINE) and "user.reg"
// (HKEY_CURRENT_USER), in Wine's own format:
//   WINE REGISTRY Version 2
//   ;; All keys relative to \\Machine
//   #arch=win64
//
//   [Software\\Electronic Arts\\EA Games\\Generals] 1700000000
//   #time=1da1b2c3d4e5f60
//   "InstallPath"="C:\\Program Files\\EA Games\\Command & Conquer Generals\\"
//   "Version"=dword:00010008
//   "Path"=str(2):"%ProgramFiles%\\x"
//   "Bin"=hex:01,02,03,...   (long hex data goes on over lines ending with a backslash)
// Key lines are relative to the root, with "\" doubled, followed by a time stamp. Strings use C
// escapes (\\, \", \n, \0 octal) and \xHHHH for characters outside ASCII. Lines starting with "#" or
// ";" are metadata or comments. A 64-bit prefix ("#arch=win64") keeps the keys of 32-bit programs,
// such as the games, under "Software\Wow6432Node".
//
// The drive letters of a prefix are the links "dosdevices/c:" (to "../drive_c"), "dosdevices/z:"
// (to "/") and so on.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>
#include <memory>
#include <optional>

namespace marvok {

enum class WineRoot { LocalMachine, CurrentUser };

enum class WineValueKind { String, Dword, Other };

// The bytes of a hex list such as "4a,00,ff" (regedit's files and Wine's write them alike);
// nothing when a part is no byte.
std::optional<QByteArray> parseHexBytes(QStringView list);

struct WineValue {
    WineValueKind kind = WineValueKind::Other;
    QString text;      // String: the data as stored, expandable strings not expanded
    qint32 number = 0; // Dword
};

// Files larger than this are not read: a registry this size is damaged or not a registry.
constexpr qint64 MaxWineRegistrySize = 256LL * 1024 * 1024;

// One registry file: its bytes and an index of its keys; values are parsed when asked for.
class WineRegistryFile {
public:
    // Nothing when the text does not begin "WINE REGISTRY Version 2"; `error` says why. Lines that
    // make no sense are skipped, so a truncated file gives what it holds.
    static std::optional<WineRegistryFile> parse(QByteArray bytes, QString* error = nullptr);

    // Reads through a cache keyed by path, size and modification time, so that start-up parses each
    // file once. Null when the file is missing, unreadable, too large or not a Wine registry.
    static std::shared_ptr<const WineRegistryFile> load(const QString& path, QString* error = nullptr);

    bool isWin64() const { return m_win64; }
    bool hasKey(const QString& key) const;
    // `key` relative to the root ("Software\Electronic Arts"); key and name ignore case; "" is the
    // key's default value.
    std::optional<WineValue> value(const QString& key, const QString& name) const;

private:
    struct Block {
        qsizetype begin = 0; // first byte after the key line
        qsizetype end = 0;
    };
    const Block* findBlock(const QString& key) const;

    QByteArray m_bytes;
    QHash<QString, Block> m_blocks; // by case-folded key path
    bool m_win64 = false;
};

// $WINEPREFIX when set, else ~/.wine, when that folder holds a "system.reg"; else empty.
QString defaultWinePrefix();

// Reads a value of the prefix: HKEY_LOCAL_MACHINE from "system.reg", HKEY_CURRENT_USER from
// "user.reg". In a 64-bit prefix a key below "Software" is looked for under "Software\Wow6432Node"
// first, where Wine keeps it for 32-bit programs, then where it is named.
std::optional<WineValue> readWineValue(const QString& prefix, WineRoot root, const QString& key,
                                       const QString& name);

// The folder of this file system that the Windows path ("C:\Program Files\EA Games",
// "z:/home/me") names in the prefix: the drive through "dosdevices", each part in the spelling found
// on disk without regard to case (parts that do not exist keep their spelling; "." and ".." are
// resolved as Windows does, never above the drive). A trailing separator is kept. Empty when the
// path has no drive letter or the drive's link is missing or points nowhere.
QString linuxPathInPrefix(const QString& prefix, const QString& windowsPath);

} // namespace marvok
