// Writes the first inputs of every fuzz target with the program's own writers, one folder per
// target below the folder given as the one argument: fuzz_seeds OUT (scripts/fuzz.sh runs it).
#include "big/big_archive.h"
#include "core/ini_runtime.h"
#include "core/registry_runtime.h"
#include "csf/csf_file.h"
#include "replays/replay_writer.h"
#include "shellmaps/shellmap_catalogue.h"
#include "tests/fuzz/fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <zip.h>

using namespace marvok;

namespace {

bool failed = false;

void check(bool done, const QString& what) {
    if (!done) {
        std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", qPrintable(what));
        failed = true;
    }
}

void writeFile(const QString& path, QByteArrayView bytes) {
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(bytes.data(), bytes.size()) == bytes.size(),
          path);
}

void bigSeeds(const QString& out) {
    const QString data = out + u"/data.bin";
    writeFile(data, "0123456789abcdef");
    writeFile(out + u"/empty.bin", "");
    const auto fromFile = [&](const QString& source, const char* name) {
        return SaveItem::fromFile(source, QString::fromLatin1(name));
    };
    check(WriteArchive(out + u"/none.big", {}, {}, {}, nullptr), QStringLiteral("none.big"));
    check(WriteArchive(out + u"/one.big", {fromFile(data, "data\\one.ini")}, {}, {}, nullptr),
          QStringLiteral("one.big"));
    check(WriteArchive(out + u"/several.big",
                       {fromFile(data, "Data\\INI\\a.ini"), fromFile(out + u"/empty.bin", "empty"),
                        fromFile(data, "/art/b.tga"), fromFile(data, "..\\c\xe9.w3d")},
                       {}, {}, nullptr, nullptr, ArchiveMagic::Big4),
          QStringLiteral("several.big"));
    QFile::remove(data);
    QFile::remove(out + u"/empty.bin");
}

void csfSeeds(const QString& out) {
    const CsfTable rows = {
        {QStringLiteral("GUI:Start"), QStringLiteral("Démarrer"), false, {}},
        {QStringLiteral("GUI:Quit"), QStringLiteral("Quitter\nle jeu"), false, {}},
        {QStringLiteral("DIALOG:Intro"), QString::fromUtf16(u"\u4e2d\u6587 \U0001F600"), true, "intro.wav"},
        {QStringLiteral("GUI:Quit"), QString(), false, {}},
    };
    check(WriteCsf(out + u"/table.csf", rows, 2).ok(), QStringLiteral("table.csf"));
    check(WriteCsf(out + u"/one.csf", {rows[0]}, 0).ok(), QStringLiteral("one.csf"));
}

void replaySeeds(const QString& out) {
    const QByteArray slotLists[] = {
        "HAnna,0,0,TT,2,6,1,0,1:CE,4,3,-1,0:O:X:X:X:X:X",
        "HBob,1A2B3C4D,8088,FT,-1,-2,-1,-1,1:HEve,0,0,TT,3,10,2,1,0:CH,1,7,3,7:CM,5,-1,0,2",
        "HGandalf,0,0,TT,0,3,0,0,0:HSaruman,0,0,TT,1,5,1,1,0:X:O",
    };
    int n = 0;
    for (GameKind game : {Generals, ZeroHour, BattleForMiddleEarth}) {
        for (const QByteArray& slotList : slotLists) {
            ReplayRecording recording;
            recording.game = game;
            recording.startTime = QDateTime::fromSecsSinceEpoch(1700000000);
            recording.endTime = recording.startTime.addSecs(600);
            recording.title = QStringLiteral("Version finale");
            recording.gameInformation = gameInformationText(game, "03maps/alpine assault", slotList);
            recording.recordedGame = QByteArray(64, '\x01');
            check(writeReplay(out + QStringLiteral("/r%1.rep").arg(++n), recording),
                  QStringLiteral("replay"));
        }
        writeFile(out + QStringLiteral("/slots%1").arg(n), slotLists[n % 3]);
    }
}

void iniSeeds(const QString& out) {
    const INIRuntime ini;
    const QString language = out + u"/language.tmp";
    ini.WriteINI(QStringLiteral("Infos"), QStringLiteral("Language"), QStringLiteral("English"), language);
    ini.WriteINI(QStringLiteral("Infos"), QStringLiteral("Traductor"), QStringLiteral("Zéphyr"), language);
    ini.WriteINI(QStringLiteral("LNG"), QStringLiteral("Tools"), QStringLiteral("Tools"), language);
    ini.WriteINI(QStringLiteral("LNG"), QStringLiteral("Startup"), QStringLiteral("Start-up"), language);
    ini.WriteINI(QStringLiteral("MsgStrings"), QStringLiteral("2"), QStringLiteral("Error %1"), language);
    const QString options = out + u"/options.tmp";
    ini.WriteINI(QStringLiteral("Gen"), QStringLiteral("Options"), QStringLiteral("win,nologo"), options);
    ini.WriteINI(QStringLiteral("ZH"), QStringLiteral("Options"), QString::fromUtf16(u"win,\u4e2d"), options);
    const QByteArray languageFile = fuzz::fileBytes(language);
    writeFile(out + u"/language",
              fuzz::joinFields({QStringLiteral("LNG"), QStringLiteral("Save"), QStringLiteral("Enregistrer")},
                               languageFile));
    writeFile(out + u"/options",
              fuzz::joinFields({QStringLiteral("BFME"), QStringLiteral("Options"), QStringLiteral(" win ")},
                               fuzz::fileBytes(options)));
    writeFile(
        out + u"/comments",
        fuzz::joinFields(
            {QStringLiteral("infos"), QStringLiteral("LANGUAGE"), QStringLiteral("Fr")},
            "; comment\r\n[Infos]\r\nLanguage = English \r\n\r\n[LNG\nbroken\n[MsgStrings]\n0=\xe9t\xe9"));
    QFile::remove(language);
    QFile::remove(options);
}

void languageSeeds(const QString& out) {
    const INIRuntime ini;
    const QString language = out + u"/language.tmp";
    ini.WriteINI(QStringLiteral("Infos"), QStringLiteral("Language"), QStringLiteral("Deutsch"), language);
    ini.WriteINI(QStringLiteral("Infos"), QStringLiteral("Traductor"), QStringLiteral("Jürgen"), language);
    ini.WriteINI(QStringLiteral("LNG"), QStringLiteral("Tools"), QStringLiteral("Werkzeuge"), language);
    ini.WriteINI(QStringLiteral("LNG"), QStringLiteral("noshellmap"), QStringLiteral("Ohne ShellMap"),
                 language);
    ini.WriteINI(QStringLiteral("MsgStrings"), QStringLiteral("18"), QStringLiteral("Fehler %1"), language);
    writeFile(out + u"/language",
              fuzz::joinFields({QStringLiteral("lng"), QStringLiteral("TOOLS")}, fuzz::fileBytes(language)));
    writeFile(
        out + u"/repeated",
        fuzz::joinFields({QStringLiteral("LNG"), QStringLiteral("Save")},
                         "[LNG]\r\nSave = Speichern \r\nsave=twice\r\n[Infos]\r\nLanguage=Fr\r\n[lng]\r\n"
                         "Save=repeated section\r\n;Save=comment\r\n[MsgStrings\r\n0=\xe9\r\n"));
    QFile::remove(language);
}

void registrySeeds(const QString& out) {
    const QString store = out + u"/store.tmp";
    RegistryRuntime registry(store, QString());
    registry.SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("TradFileName"),
                        QStringLiteral("/home/me/marvok/English.lng"));
    registry.SaveString(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("Note"),
                        QStringLiteral("two\nlines"));
    registry.SaveDword(HKEY_LOCAL_MACHINE, SettingsKey, QStringLiteral("Count"), 42);
    registry.SaveString(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Electronic Arts\\EA Games\\Generals"),
                        QStringLiteral("InstallPath"), QStringLiteral("C:\\Games\\Généraux\\"));
    registry.SaveString(
        HKEY_CURRENT_USER,
        QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"),
        QStringLiteral("Personal"), QStringLiteral("/home/me/Documents"));
    const QByteArray bytes = fuzz::fileBytes(store);
    writeFile(out + u"/store",
              fuzz::joinFields({SettingsKey, QStringLiteral("TradFileName"), QStringLiteral("/tmp/fr.lng")},
                               bytes));
    writeFile(out + u"/newkey",
              fuzz::joinFields({QStringLiteral("Software\\New"), QString(), QStringLiteral("x")}, bytes));
    writeFile(out + u"/regedit4",
              fuzz::joinFields(
                  {QStringLiteral("Software\\A"), QStringLiteral("B"), QStringLiteral("C")},
                  "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\A]\r\n\"B\"=\"\xe9\"\r\n"
                  "\"H\"=hex(4):2a,00,00,00\r\n\"L\"=hex:01,02,\\\r\n  03\r\n[-HKEY_LOCAL_MACHINE\\X]\r\n"));
    QByteArray utf16("\xff\xfe", 2);
    for (QChar c : QStringLiteral("Windows Registry Editor Version "
                                  "5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n\"V\"=dword:00000001\r\n"))
        utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    writeFile(out + u"/utf16",
              fuzz::joinFields({QStringLiteral("K"), QStringLiteral("V"), QString()}, utf16));
    QFile::remove(store);
}

struct ZipEntry {
    const char* name;
    QByteArray data;
    bool folder = false;
    zip_uint16_t encryption = ZIP_EM_NONE;
    bool link = false;
};

void writeZip(const QString& path, const QList<ZipEntry>& entries) {
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return check(false, path);
    for (const ZipEntry& entry : entries) {
        if (entry.folder) {
            check(zip_dir_add(archive, entry.name, 0) >= 0, path);
            continue;
        }
        zip_source_t* source =
            zip_source_buffer(archive, entry.data.constData(), zip_uint64_t(entry.data.size()), 0);
        const zip_int64_t index = zip_file_add(archive, entry.name, source, ZIP_FL_ENC_UTF_8);
        check(index >= 0, path);
        if (index < 0)
            continue;
        if (entry.encryption != ZIP_EM_NONE)
            check(zip_file_set_encryption(archive, zip_uint64_t(index), entry.encryption, "secret") == 0,
                  path);
        if (entry.link)
            zip_file_set_external_attributes(archive, zip_uint64_t(index), 0, ZIP_OPSYS_UNIX,
                                             (0120777u) << 16);
    }
    check(zip_close(archive) == 0, path);
}

void zipSeeds(const QString& out) {
    const QByteArray text = QByteArray("a map of the desert, ").repeated(20);
    writeZip(out + u"/maps.zip", {{"Maps/", {}, true},
                                  {"Maps/Desert/", {}, true},
                                  {"Maps/Desert/Desert.map", text},
                                  {"Maps/Desert/Desert.tga", QByteArray(300, '\x7f')},
                                  {"readme.txt", "hello"}});
    writeZip(out + u"/odd-names.zip", {{"../climb.txt", "x"},
                                       {"a/../../b.txt", "x"},
                                       {"/absolute.txt", "x"},
                                       {"C:\\drive.txt", "x"},
                                       {"dir\\back\\slash.txt", "x"},
                                       {"./dot/./x.txt", "x"},
                                       {"link", "/etc/passwd", false, ZIP_EM_NONE, true}});
    writeZip(out + u"/encrypted.zip", {{"aes.txt", text, false, ZIP_EM_AES_256},
                                       {"pkware.txt", text, false, ZIP_EM_TRAD_PKWARE},
                                       {"plain.txt", "plain"}});
    writeZip(out + u"/same-name.zip", {{"x", "file"}, {"x/y", "below a file"}, {"X", "other case"}});
}

void catalogueSeeds(const QString& out) {
    QList<CatalogueEntry> entries = {
        {QStringLiteral("01/02/2024"), QStringLiteral("/home/me/shot.jpg"), QStringLiteral("Désert"),
         QStringLiteral("A ShellMap of the desert"), QStringLiteral("http://example.org")},
        {QStringLiteral("03/04/2024"), QString(), QString::fromUtf16(u"\u4e2d"), QString(), QString()},
    };
    check(writeCatalogue(out + u"/two.ini", entries), QStringLiteral("two.ini"));
    check(writeCatalogue(out + u"/one.ini", {entries[0]}), QStringLiteral("one.ini"));
    check(writeCatalogue(out + u"/none.ini", {}), QStringLiteral("none.ini"));
    writeFile(out + u"/damaged.ini", "[Global]\nCount=99999999\n[ShellMap0]\nName=a\r\n[ShellMap0]\nName=b");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUT\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const std::pair<const char*, void (*)(const QString&)> targets[] = {
        {"big", bigSeeds},
        {"csf", csfSeeds},
        {"replay", replaySeeds},
        {"ini", iniSeeds},
        {"registry", registrySeeds},
        {"zip", zipSeeds},
        {"shellmap_catalogue", catalogueSeeds},
        {"language", languageSeeds},
    };
    for (const auto& [name, write] : targets) {
        const QString folder = root + u'/' + QLatin1String(name);
        QDir().mkpath(folder);
        write(folder);
    }
    return failed ? 1 : 0;
}
