#include "controls/user_control1.h"
#include "controls/vorn_controls.h"
#include "core/ini_runtime.h"
#include "core/messages.h"
#include "core/translation_keys.h"
#include "i18n/language_file.h"
#include "i18n/translate_form.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/fuzz_targets.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QSet>

namespace marvok::fuzz {
namespace {

// Each key costs a read of the whole file through INIRuntime.
constexpr qsizetype MaxKeysCompared = 32;

// The fuzzer's own process has no application yet; the regression test's has one.
void ensureApplication() {
    if (QApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_language";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

// The file applied to a window with a control of each kind that has a caption, keyed with `key` and
// with the first keys of the file: a caption changes only to a text the file gives, the built-in
// French stays otherwise, and the messages are refilled unless the file is the built-in French.
void applyToWindow(const LanguageFile& file, const QString& path, const QString& key) {
    ensureApplication();
    QStringList keys = file.keys(QStringLiteral("LNG")).mid(0, 3);
    keys.prepend(key);
    const QByteArray latinKeys[] = {keys.value(0).toLatin1(), keys.value(1).toLatin1(),
                                    keys.value(2).toLatin1(), keys.value(3).toLatin1()};

    QWidget window;
    auto* button = new UserControl1(&window);
    button->setCaption(QStringLiteral("Enregistrer"));
    auto* label = new QLabel(QStringLiteral("Fichier :"), &window);
    auto* frame = new QGroupBox(QStringLiteral("Capture d'écran"), &window);
    auto* check = new VornCheckBox(frame);
    check->setCaption(QStringLiteral("Ajouter une capture d'écran"));
    QObject* const controls[] = {button, label, frame, check};
    const bool french = file.value(QStringLiteral("Infos"), QStringLiteral("Language")) == u"Fr";
    QStringList expected;
    for (int i = 0; i < 4; ++i) {
        setTranslationKey(controls[i], latinKeys[i].constData());
        QString builtIn;
        controlCaption(controls[i], &builtIn);
        const QString key = translationKey(controls[i]);
        const QString given = key.isEmpty() ? QString() : file.value(QStringLiteral("LNG"), key);
        expected << (french || given.isEmpty() ? builtIn : given);
    }

    MsgStrings().fill(QStringLiteral("before"));
    windowLoaded(&window);
    TranslateForm(path);
    QStringList shown;
    for (QObject* control : controls) {
        QString caption;
        require(controlCaption(control, &caption), "every control keeps a caption");
        shown << caption;
    }
    require(shown == expected, "a caption changes to the file's text only, and not for \"Fr\"");
    for (int number = 0; number < MessageCount; ++number) {
        const QString text = french ? QStringLiteral("before")
                                    : file.value(QStringLiteral("MsgStrings"), QString::number(number));
        require(MsgStrings()[number] == text, "the messages are refilled unless the file is French");
    }
    MsgStrings().fill(QString());
}

} // namespace

// Input: a section and a key, each zero-ended, then the file. A language file is read whole, once,
// with the rules of INIRuntime: every value must be the one ReadINI gives; then it is applied to a
// window whose first control carries the key.
void languageFile(QByteArrayView input) {
    const Fields fields = takeFields(input, 2);
    const QString folder = freshScratchFolder();
    const QString path = folder + u"/input.lng";
    writeInput(path, fields.content);

    const std::optional<LanguageFile> file = LanguageFile::read(path);
    require(file.has_value(), "a language file that exists is read");
    const INIRuntime ini;
    for (const QString& section :
         {QStringLiteral("Infos"), QStringLiteral("LNG"), QStringLiteral("MsgStrings"), fields.fields[0]}) {
        QStringList keys = file->keys(section);
        QSet<QString> folded;
        for (const QString& key : keys)
            folded.insert(key.toCaseFolded());
        require(folded.size() == keys.size(), "each key of a section is listed once");
        keys = keys.mid(0, MaxKeysCompared);
        keys << fields.fields[1] << QStringLiteral("Language") << QStringLiteral("0");
        for (const QString& key : keys)
            require(file->value(section, key) == ini.ReadINI(section, key, path),
                    "a language file reads as INIRuntime reads it");
    }
    applyToWindow(*file, path, fields.fields[1]);
}

} // namespace marvok::fuzz
