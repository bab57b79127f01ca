#include "shellmaps/shellmap_dialogs.h"

#include "controls/control_factory.h"
#include "controls/user_control1.h"
#include "controls/vorn_controls.h"
#include "core/dialog_service.h"
#include "core/ini_runtime.h"
#include "core/message_box.h"
#include "i18n/translate_form.h"
#include "shellmaps/shellmap_catalogue.h"
#include "shellmaps/shellmap_install.h"
#include "shellmaps/shellmaps_artwork.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <utility>

namespace marvok {
namespace {

const QString kTitle = QStringLiteral("Ajouter une ShellMap");
const QString kArchiveFilter = QStringLiteral("Fichiers ZIP (*.zip)|*.zip");
const QString kImageFilter = QStringLiteral("Images|*.jpeg;*.jpg;*.bmp;*.gif");

template <typename T>
T* makeToggle(QWidget* parent, const char* name, const char* caption, const char* key, QRect at) {
    auto* toggle = named(new T(parent), name, key);
    toggle->setCaption(QString::fromUtf8(caption));
    // See-through, so that the frame's background shows around the caption.
    toggle->setBackStyle(0);
    toggle->setGeometry(at);
    return toggle;
}

// A path given on a command line may come with its quotes.
QString withoutQuotes(QString path) {
    path = path.trimmed();
    if (path.size() >= 2 && path.startsWith(u'"') && path.endsWith(u'"'))
        path = path.mid(1, path.size() - 2);
    return path;
}

void showPicture(QLabel* label, const QPixmap& picture) {
    label->setPixmap(
        picture.scaled(label->contentsRect().size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

} // namespace

Form2::Form2(const QString& commandLineArchive, QWidget* parent)
    : QDialog(parent)
    , m_pendingArchive(withoutQuotes(commandLineArchive))
    , m_forCommandLineFile(!m_pendingArchive.isEmpty()) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(kTitle);
    setFixedSize(440, 332);

    makeLabel(this, "Label1", "Fichier :", "File", {14, 15, 60, 18});
    m_archive = makePathLabel(this, "Label4", "-", {74, 15, 258, 18});
    UserControl1* chooseArchive = makeButton(this, "CommandButton4", "Choisir", "Choose", {340, 13, 86, 21});

    m_addScreenshot = makeToggle<VornCheckBox>(this, "Check1", "Ajouter une capture d'écran", "AddCapture",
                                               {14, 48, 300, 17});
    m_addScreenshot->setEnabled(false);

    m_screenshotFrame = named(new QGroupBox(QStringLiteral("Capture d'écran"), this), "Frame1", "Capture");
    m_screenshotFrame->setGeometry(14, 72, 412, 178);
    m_fromZip = makeToggle<VornOptionButton>(m_screenshotFrame, "Option1", "Capture d'écran du fichier ZIP",
                                             "CaptureZIP", {12, 24, 300, 17});
    m_images = named(new QListWidget(m_screenshotFrame), "File1");
    m_images->setGeometry(30, 44, 370, 64);
    m_images->setEnabled(false);
    m_fromFile =
        makeToggle<VornOptionButton>(m_screenshotFrame, "Option2", "Capture d'écran d'un autre fichier",
                                     "CaptureFile", {12, 118, 300, 17});
    m_chooseImage = makeButton(m_screenshotFrame, "CommandButton1", "Choisir", "Choose", {30, 142, 86, 21});
    m_imagePath = makePathLabel(m_screenshotFrame, "Label2", "", {124, 144, 254, 18});
    m_ellipsis = makeLabel(m_screenshotFrame, "Label3", "...", nullptr, {380, 144, 24, 18});
    m_ellipsis->hide();

    makeLabel(this, "Label5", "Jeu :", "Game", {14, 266, 60, 18});
    m_game = named(new QComboBox(this), "Combo1");
    m_game->setGeometry(74, 263, 258, 24);
    m_game->addItems({QStringLiteral("Generals"), QStringLiteral("Generals : Heure H"),
                      QStringLiteral("Bataille pour la Terre du Milieu")});

    m_next = makeButton(this, "CommandButton2", "Suivant >>", "Next", {244, 300, 88, 21});
    UserControl1* cancel = makeButton(this, "CommandButton3", "Annuler", "Cancel", {340, 300, 86, 21});

    connect(chooseArchive, &UserControl1::Click, this, &Form2::chooseArchive);
    connect(m_addScreenshot, &VornCheckBox::Changed, this, &Form2::checkChanged);
    connect(m_fromZip, &VornOptionButton::Changed, this, &Form2::zipScreenshotSelected);
    connect(m_fromFile, &VornOptionButton::Changed, this, &Form2::otherScreenshotSelected);
    connect(m_images, &QListWidget::itemClicked, m_next, [this] { m_next->setEnabled(true); });
    connect(m_chooseImage, &UserControl1::Click, this, &Form2::chooseOtherScreenshot);
    connect(m_next, &UserControl1::Click, this, &Form2::next);
    connect(cancel, &UserControl1::Click, this, &QDialog::reject);
}

bool Form2::load() {
    translateAtLoading(this);
    if (inGeneratorMode())
        return true;
    showScreenshotControls(m_addScreenshot->value() == 1);
    m_game->setCurrentIndex(environment().CurrentGame);
    return chooseArchive();
}

bool Form2::chooseArchive() {
    QString archive = std::exchange(m_pendingArchive, QString());
    if (archive.isEmpty())
        archive = dialogs().openFile(QString(), kArchiveFilter, QString());
    if (archive.isEmpty()) {
        reject();
        return false;
    }
    m_archive->setText(archive);
    m_archive->setToolTip(archive);
    unpackIntoTemporaryFolder(
        archive, [](const QString& prompt) { return dialogs().inputBox(prompt, QString(), QString()); });
    m_images->clear();
    m_images->addItems(listImages(temporaryFolder()));
    m_images->setEnabled(true);
    if (m_images->count() == 0) {
        m_fromZip->setEnabled(false);
        m_fromFile->setValue(1);
    }
    m_addScreenshot->setEnabled(true);
    showScreenshotControls(m_addScreenshot->value() == 1);
    return true;
}

void Form2::showScreenshotControls(bool ticked) {
    m_screenshotFrame->setEnabled(ticked);
    // Without images in the archive only the other file is left to choose.
    m_fromZip->setEnabled(ticked && m_images->count() > 0);
    m_fromFile->setEnabled(ticked);
    m_chooseImage->setEnabled(ticked);
}

void Form2::checkChanged(bool& Cancel, int Value) {
    Q_UNUSED(Cancel);
    const bool ticked = Value == 1;
    showScreenshotControls(ticked);
    if (!ticked)
        m_next->setEnabled(true);
}

bool Form2::zipImageSelected() const {
    const QListWidgetItem* item = m_images->currentItem();
    return item && item->isSelected();
}

// The choice of a screenshot holds "Suivant >>" back only while a screenshot is asked for.
void Form2::zipScreenshotSelected(int Value) {
    if (Value == 1 && m_addScreenshot->value() == 1)
        m_next->setEnabled(zipImageSelected());
}

void Form2::otherScreenshotSelected(int Value) {
    if (Value == 1 && m_addScreenshot->value() == 1)
        m_next->setEnabled(!m_imagePath->text().isEmpty());
}

void Form2::chooseOtherScreenshot() {
    const QString image = dialogs().openFile(QString(), kImageFilter, QString());
    if (image.isEmpty())
        return;
    m_imagePath->setText(image);
    m_imagePath->setToolTip(image);
    m_ellipsis->show();
    m_next->setEnabled(true);
}

void Form2::next() {
    const QString unpacked = temporaryFolder();
    const TargetChoice target = chooseTargetGame(shellMapKindOf(unpacked), GameKind(m_game->currentIndex()),
                                                 m_forCommandLineFile, environment());
    if (!target.game) {
        ShowTableMessage(target.refusal, m_game->currentText());
        return;
    }
    ScreenshotChoice screenshot;
    if (m_addScreenshot->value() == 1) {
        if (m_fromZip->value() == 1) {
            screenshot.source = ScreenshotChoice::FromArchive;
            if (zipImageSelected())
                screenshot.image = m_images->currentItem()->text();
        } else if (!m_imagePath->text().isEmpty()) {
            screenshot.source = ScreenshotChoice::OtherFile;
            screenshot.image = m_imagePath->text();
        }
    }
    const InstalledEntry entry = installCatalogueEntry(unpacked, *target.game, environment(), screenshot);
    if (!entry.succeeded()) {
        ShowTableMessage(12, entry.writeResults);
        return;
    }
    accept();
}

Form3::Form3(ListShellMapsFunction listShellMaps, QWidget* parent)
    : QDialog(parent)
    , m_listShellMaps(std::move(listShellMaps)) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(kTitle);
    setFixedSize(540, 288);

    auto* frame =
        named(new QGroupBox(QStringLiteral("Informations générales"), this), "Frame1", "GeneralInfo");
    frame->setGeometry(12, 10, 516, 234);
    makeLabel(frame, "Label1", "Nom :", "Name", {12, 30, 90, 18});
    m_name = named(new QLineEdit(QStringLiteral("ShellMap"), frame), "Text1");
    m_name->setGeometry(112, 28, 192, 22);
    makeLabel(frame, "Label3", "Date :", "Date", {12, 60, 90, 18});
    m_date = makeLabel(frame, "Label6", "...", nullptr, {112, 60, 192, 18});
    makeLabel(frame, "Label4", "Commentaire :", "Comment", {12, 88, 90, 18});
    m_description = named(new QPlainTextEdit(frame), "Text2");
    m_description->setGeometry(112, 88, 192, 96);
    m_description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    makeLabel(frame, "Label7", "Site web :", "WebSite", {12, 198, 90, 18});
    m_webSite = named(new QLineEdit(QStringLiteral("http://"), frame), "Text3");
    m_webSite->setGeometry(112, 196, 192, 22);
    m_screenshot = makeLabel(frame, "Image1", "", nullptr, {316, 28, 188, 118});
    m_screenshot->setAlignment(Qt::AlignCenter);
    m_screenshot->setFrameShape(QFrame::Box);
    m_screenshot->setStyleSheet(QStringLiteral("QLabel { background: #151d2b; }"));
    showPicture(m_screenshot, noScreenshotPicture());

    UserControl1* install = makeButton(this, "CommandButton2", "Installer", "Install", {344, 256, 88, 21});
    UserControl1* cancel = makeButton(this, "CommandButton3", "Annuler", "Cancel", {440, 256, 88, 21});
    connect(m_name, &QLineEdit::textEdited, install, [install] { install->setEnabled(true); });
    connect(install, &UserControl1::Click, this, &Form3::install);
    connect(cancel, &UserControl1::Click, this, &QDialog::reject);
}

void Form3::load() {
    translateAtLoading(this);
    if (inGeneratorMode())
        return;
    const QString& catalogue = currentCatalogue();
    m_entry = catalogueCount(catalogue) - 1;
    const CatalogueEntry entry = readCatalogueEntry(catalogue, m_entry);
    m_date->setText(entry.date);
    if (entry.screenShot.isEmpty())
        return;
    const QPixmap picture(entry.screenShot);
    if (!picture.isNull())
        showPicture(m_screenshot, picture);
}

void Form3::install() {
    if (m_name->text().isEmpty()) {
        ShowTableMessage(24);
        return;
    }
    const INIRuntime ini;
    const QString& catalogue = currentCatalogue();
    const QString section = entrySection(m_entry);
    QString results = ini.WriteINI(section, QStringLiteral("Name"), m_name->text(), catalogue);
    results += ini.WriteINI(section, QStringLiteral("Description"), m_description->toPlainText(), catalogue);
    results += ini.WriteINI(section, QStringLiteral("URL"), m_webSite->text(), catalogue);
    if (results.contains(u'0')) {
        ShowTableMessage(14, results);
        return;
    }
    if (m_listShellMaps)
        m_listShellMaps(environment().CurrentGame);
    accept();
}

bool openShellMapInstallation(const QString& commandLineArchive, const ListShellMapsFunction& listShellMaps,
                              QWidget* parent) {
    Form2 archiveDialog(commandLineArchive, parent);
    if (!archiveDialog.load() || dialogs().runModal(archiveDialog) != QDialog::Accepted)
        return false;
    Form3 informationDialog(listShellMaps, parent);
    informationDialog.load();
    dialogs().runModal(informationDialog);
    return true;
}

} // namespace marvok
