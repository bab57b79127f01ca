#pragma once
// The fuzz targets. Each takes one input the way the program meets outside data (as a file on disk,
// or the bytes read from one), runs the reader on it and checks what must hold whatever the bytes:
// no crash, no hang, no write outside its folder, and where the program writes back what it read,
// that the write succeeds and reads back the same. libFuzzer runs them through fuzz_main.cpp; the
// normal test suite replays the files of regressions/<name>/ through the same functions.
//
// The language files are read by LanguageFile (the language target, where i18n/ is built); the INI
// target reads language-file sections ("Infos", "LNG", "MsgStrings") from every input too.
#include <QByteArrayView>

namespace marvok::fuzz {

// A BIG archive: the index, then extraction of every entry and a rewrite of the whole archive.
void bigArchive(QByteArrayView input);
// A CSF string table: reading, and a rewrite that reads back the same rows.
void csfTable(QByteArrayView input);
// A replay: the header window, the replay-list row and the players tree of its slot list; the input
// is also taken as a slot list by itself.
void replayHeader(QByteArrayView input);
// An INI file behind a section, a key and a value (see takeFields): reads, and a write that reads back.
void iniFile(QByteArrayView input);
// The settings store behind a key path, a value name and a text (see takeFields).
void settingsStore(QByteArrayView input);
// A ZIP archive unpacked into a folder two levels down a scratch folder, with and without its
// folders: nothing may land outside the target, and no link is made.
void zipExtraction(QByteArrayView input);
// A ShellMap catalogue: its entries, rewritten as a removal does, read back the same.
void shellMapCatalogue(QByteArrayView input);
// A language file behind a section and a key (see takeFields): read as INIRuntime reads it.
void languageFile(QByteArrayView input);

struct Target {
    const char* name; // the executable is fuzz_<name>, its regressions regressions/<name>/
    void (*run)(QByteArrayView input);
};

inline constexpr Target Targets[] = {
    {"big", bigArchive},
    {"csf", csfTable},
    {"replay", replayHeader},
    {"ini", iniFile},
    {"registry", settingsStore},
    {"zip", zipExtraction},
    {"shellmap_catalogue", shellMapCatalogue},
#ifdef MARVOK_FUZZ_LANGUAGE_FILE
    {"language", languageFile},
#endif
};

} // namespace marvok::fuzz
