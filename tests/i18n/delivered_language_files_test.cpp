#include "core/ini_runtime.h"
#include "core/messages.h"
#include "core/paths.h"
#include "core/text_codec.h"
#include "i18n/language_file.h"
#include "launch/startup_options.h"
#include "tests/i18n/every_window.h"
#include "tests/support/test_files.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace marvok;
using marvok::test::readBytes;

namespace {

QString delivered(const char* name) {
    return joinPath(QStringLiteral(MARVOK_DELIVERED_DIR), QString::fromLatin1(name));
}

QSet<QString> folded(const QStringList& names) {
    QSet<QString> set;
    for (const QString& name : names)
        set.insert(name.toCaseFolded());
    return set;
}

// The start-up options of every game in the delivered "soptions.ini".
QStringList optionNames() {
    QStringList names;
    for (int game = 0; game < GameCount; ++game) {
        for (const QString& name : offeredOptions(INIRuntime(), delivered("soptions.ini"), GameKind(game))) {
            if (!names.contains(name))
                names << name;
        }
    }
    return names;
}

// Windows-1252 with CR LF line ends and the [Infos] header.
void expectWellFormed(const char* name, const QString& language) {
    const QByteArray bytes = readBytes(delivered(name));
    ASSERT_FALSE(bytes.isEmpty()) << name;
    EXPECT_TRUE(bytes.endsWith("\r\n")) << name;
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << name;
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    EXPECT_TRUE(ascii || !isValidUtf8(bytes)) << name << " must read as Windows-1252";
    const auto file = LanguageFile::read(delivered(name));
    ASSERT_TRUE(file.has_value()) << name;
    EXPECT_EQ(file->value(QStringLiteral("Infos"), QStringLiteral("Language")), language) << name;
    EXPECT_FALSE(file->value(QStringLiteral("Infos"), QStringLiteral("Traductor")).isEmpty()) << name;
    EXPECT_EQ(file->value(QStringLiteral("Infos"), QStringLiteral("Version")), QStringLiteral("2.2.5"))
        << name;
}

} // namespace

TEST(DeliveredLanguageFiles, EnglishTranslatesEveryKeyOptionAndMessage) {
    expectWellFormed("English.lng", QStringLiteral("English"));
    const auto english = LanguageFile::read(delivered("English.lng"));
    ASSERT_TRUE(english.has_value());

    const QStringList windowKeys = test::everyWindowKey();
    for (const char* key : {"SelectMods", "Size", "FoldersFromStore", "FoldersFromPrefix", "Save"})
        EXPECT_TRUE(windowKeys.contains(QString::fromLatin1(key))) << key;
    const QStringList options = optionNames();
    ASSERT_FALSE(options.isEmpty());
    // Exactly the keys of the windows and the options: a key no control carries is a stale one.
    const QStringList captions = english->keys(QStringLiteral("LNG"));
    EXPECT_EQ(folded(captions), folded(windowKeys) + folded(options));
    for (const QString& key : windowKeys + options)
        EXPECT_FALSE(english->value(QStringLiteral("LNG"), key).isEmpty()) << key.toStdString();

    for (int number = 0; number < MessageCount; ++number) {
        const QString french = messageInfo(number).text;
        const QString translated = english->value(QStringLiteral("MsgStrings"), QString::number(number));
        EXPECT_EQ(translated.isEmpty(), french.isEmpty()) << "message " << number;
        EXPECT_EQ(translated.contains(u"%1"), french.contains(u"%1")) << "message " << number;
    }
    for (const QString& key : english->keys(QStringLiteral("MsgStrings")))
        EXPECT_EQ(key, QString::number(key.toInt())) << key.toStdString();
}

TEST(DeliveredLanguageFiles, FrenchIsNotAppliedButDescribesEveryOption) {
    expectWellFormed("Francais.lng", QStringLiteral("Fr"));
    const auto french = LanguageFile::read(delivered("Francais.lng"));
    ASSERT_TRUE(french.has_value());
    const QStringList options = optionNames();
    EXPECT_EQ(folded(french->keys(QStringLiteral("LNG"))), folded(options));
    for (const QString& option : options)
        EXPECT_FALSE(french->value(QStringLiteral("LNG"), option).isEmpty()) << option.toStdString();
    EXPECT_TRUE(french->value(QStringLiteral("LNG"), QStringLiteral("win")).contains(u"fenêtre"));
}
