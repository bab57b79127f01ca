#include "shellmaps/startup_shellmap.h"

#include "controls/user_control1.h"
#include "controls/vorn_controls.h"
#include "core/dialog_service.h"
#include "core/translation_keys.h"
#include "i18n/translate_form.h"
#include "shellmaps/shellmaps_artwork.h"

#include <QLabel>
#include <QRandomGenerator>

namespace marvok {
namespace {

RandomSource& randomSource() {
    static RandomSource source;
    return source;
}

double draw() {
    return randomSource() ? randomSource()() : QRandomGenerator::global()->generateDouble();
}

} // namespace

Form4::Form4(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("ShellMap détectée"));
    setFixedSize(420, 138);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(informationPicture());
    picture->setGeometry(16, 16, 32, 32);

    auto* text = new QLabel(
        QStringLiteral("Le programme a détecté qu'une ShellMap était déjà installée. La ShellMap a été "
                       "sauvegardée dans le dossier \"Maps/ShellMapSAV\" du répertoire du jeux."),
        this);
    text->setObjectName(QStringLiteral("Label1"));
    setTranslationKey(text, "ShellMapDetected");
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    text->setGeometry(62, 16, 342, 52);

    m_hide = new VornCheckBox(this);
    m_hide->setObjectName(QStringLiteral("Check1"));
    setTranslationKey(m_hide, "HideMessage");
    m_hide->setCaption(QStringLiteral("Ne plus afficher ce message"));
    m_hide->setGeometry(62, 78, 250, 17);

    auto* ok = new UserControl1(this);
    ok->setObjectName(QStringLiteral("Command1"));
    setTranslationKey(ok, "OK");
    ok->setCaption(QStringLiteral("OK"));
    ok->setGeometry(316, 104, 88, 21);
    connect(ok, &UserControl1::Click, this, &Form4::ok);
}

void Form4::load() {
    translateAtLoading(this);
}

void Form4::ok() {
    setDetectedShellMapNoticeHidden(m_hide->value() == 1);
    accept();
}

bool PrepareStartupShellMap(GameKind game) {
    RotationHooks hooks;
    hooks.random = draw;
    hooks.showNotice = [] {
        Form4 notice;
        notice.load();
        dialogs().runModal(notice);
    };
    return rotateStartupShellMap(game, environment(), hooks);
}

void setShellMapRandomSource(RandomSource source) {
    randomSource() = std::move(source);
}

} // namespace marvok
