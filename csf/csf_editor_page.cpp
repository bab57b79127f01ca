#include "csf/csf_editor_page.h"

#include "big/general_operations.h"
#include "controls/control_factory.h"
#include "controls/user_control1.h"
#include "core/dialog_service.h"
#include "core/game_environment.h"
#include "core/message_box.h"
#include "core/paths.h"
#include "core/text_codec.h"

#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <algorithm>
#include <iterator>
#include <limits>

namespace marvok {
namespace {

// The page sits below the panel's title.
constexpr int kTop = 48;

const QString kOpenFilter = QStringLiteral("Fichier CSF|*.csf");
const QString kSaveAsFilter = QStringLiteral("Fichiers CSF|*.csf");
const QString kNewName = QStringLiteral("NAME:NONAME");
const QString kNewText = QStringLiteral("TEXT");
// A language byte the box does not offer gets an entry of its own, so that saving keeps it.
const QString kOtherLanguage = QStringLiteral("Autre langue (code %1)");
constexpr int kOfferedLanguages = int(std::size(CsfLanguageCodes));

enum class Flag { Off, On, Same, WhileRows };
using enum Flag;

struct StateFlags {
    Flag newShown, saveShown, saveEnabled, cancelShown, addEnabled, deleteEnabled, chooseEnabled,
        textsEnabled;
};

// Indexed by CsfEditorPage::State.
constexpr StateFlags kStates[] = {
    // Columns as in StateFlags: new shown, save shown, save enabled, cancel shown, then add,
    // delete, "Choisir" and the two text boxes enabled.
    {On, Off, Off, Off, Off, Off, On, Off},       // start
    {Same, Same, Same, Same, On, On, Same, On},   // opened
    {Off, On, Off, On, On, Off, Off, Same},       // new
    {Off, On, On, On, On, On, Same, On},          // added
    {Off, On, On, On, On, WhileRows, Off, Same},  // deleted
    {Off, On, On, On, On, Same, Off, Same},       // edited
    {On, Off, Same, Off, Off, Off, On, Same},     // saved
    {On, Off, Same, Off, Off, Off, On, Same},     // cancelled
    {Same, Same, Same, Same, Same, On, Same, On}, // line clicked
};

void setFlag(Flag flag, bool whileRows, void (QWidget::*set)(bool), QWidget* widget) {
    if (flag != Same)
        (widget->*set)(flag == On || (flag == WhileRows && whileRows));
}

// The text of Text5 with its line breaks as "\n", and with every other character as it is (the
// plain-text export would turn non-breaking spaces into spaces).
QString plainText(const QPlainTextEdit* box) {
    QString text = box->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    }
    return text;
}

// The spelling on disk of a file whose name differs only in case, so that saving replaces it
// instead of making a second file beside it.
QString existingSpelling(const QString& path) {
    const QFileInfo info(path);
    const QString found = findEntryIgnoringCase(info.path(), info.fileName());
    return found.isEmpty() || found == info.fileName() ? path : joinPath(info.path(), found);
}

} // namespace

CsfEditorPage::CsfEditorPage(QWidget* panel)
    : QWidget(panel)
    , m_path(new QLineEdit(this))
    , m_choose(makeButton(this, "UserControl11", "Choisir", "Choose", {548, 0, 96, 21}))
    , m_list(new QListWidget(this))
    , m_name(new QLineEdit(this))
    , m_value(new QPlainTextEdit(this))
    , m_language(new QComboBox(this))
    , m_newFile(makeButton(this, "cmdCNew", "Nouveau fichier CSF", "NewCSF", {440, 386, 204, 21}))
    , m_saveButton(makeButton(this, "cmdCSave", "Enregistrer", "Save", {440, 386, 100, 21}))
    , m_cancel(makeButton(this, "cmdCCancel", "Annuler", "Cancel", {544, 386, 100, 21}))
    , m_add(makeButton(this, "cmdCAdd", "Ajouter", "Add", {16, 386, 100, 21}))
    , m_delete(makeButton(this, "cmdCDelete", "Supprimer", "Delete", {124, 386, 100, 21})) {
    setObjectName(QStringLiteral("CsfEditorPage"));
    setGeometry(0, kTop, panel->width(), panel->height() - kTop);

    makeLabel(this, "Label42", "Fichier CSF :", "CSFFile", {16, 0, 90, 22});
    m_path->setObjectName(QStringLiteral("Text3"));
    m_path->setGeometry(108, 0, 432, 22);

    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setGeometry(16, 34, 260, 342);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every line is one text line: the list lays out a game's 20,000 rows at once.
    m_list->setUniformItemSizes(true);

    makeLabel(this, "Label43", "Nom :", "Name", {292, 34, 352, 18});
    m_name->setObjectName(QStringLiteral("Text4"));
    m_name->setGeometry(292, 54, 352, 22);
    // Label names may be as long as the format allows.
    m_name->setMaxLength(std::numeric_limits<int>::max());

    makeLabel(this, "Label44", "Valeur :", "Value", {292, 86, 352, 18});
    m_value->setObjectName(QStringLiteral("Text5"));
    m_value->setGeometry(292, 106, 352, 226);
    m_value->setTabChangesFocus(true);

    makeLabel(this, "Label45", "Langue du fichier :", "FileLang", {292, 346, 140, 22});
    m_language->setObjectName(QStringLiteral("cmbLanguage"));
    m_language->setGeometry(436, 345, 208, 24);
    m_language->addItems({QStringLiteral("Anglais"), QStringLiteral("Allemand"), QStringLiteral("Français"),
                          QStringLiteral("Coréen")});
    m_language->setCurrentIndex(-1);
    attachLanguageCodes();

    m_name->installEventFilter(this);
    m_value->installEventFilter(this);
    // Typing is not the only way to change a text: pasting with the mouse and input methods count too.
    connect(m_name, &QLineEdit::textEdited, this, [this] {
        m_nameEdited = true;
        userEdited();
    });
    connect(m_value, &QPlainTextEdit::textChanged, this, [this] {
        if (m_showing)
            return;
        m_valueEdited = true;
        userEdited();
    });
    connect(m_list, &QListWidget::itemClicked, this, &CsfEditorPage::lineClicked);
    // A line chosen with the keyboard is shown too, so that typing never changes another row.
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CsfEditorPage::lineClicked);
    connect(m_choose, &UserControl1::Click, this, &CsfEditorPage::choose);
    connect(m_newFile, &UserControl1::Click, this, &CsfEditorPage::newFile);
    connect(m_add, &UserControl1::Click, this, &CsfEditorPage::addRow);
    connect(m_delete, &UserControl1::Click, this, &CsfEditorPage::deleteRow);
    connect(m_saveButton, &UserControl1::Click, this, &CsfEditorPage::save);
    connect(m_cancel, &UserControl1::Click, this, &CsfEditorPage::cancel);

    applyState(Start);
}

void CsfEditorPage::attachLanguageCodes() {
    for (int i = 0; i < kOfferedLanguages; ++i)
        m_language->setItemData(i, CsfLanguageCodes[i]);
}

void CsfEditorPage::applyState(State state) {
    const StateFlags& flags = kStates[state];
    const bool rows = m_list->count() > 0;
    setFlag(flags.newShown, rows, &QWidget::setVisible, m_newFile);
    setFlag(flags.saveShown, rows, &QWidget::setVisible, m_saveButton);
    setFlag(flags.saveEnabled, rows, &QWidget::setEnabled, m_saveButton);
    setFlag(flags.cancelShown, rows, &QWidget::setVisible, m_cancel);
    setFlag(flags.addEnabled, rows, &QWidget::setEnabled, m_add);
    setFlag(flags.deleteEnabled, rows, &QWidget::setEnabled, m_delete);
    setFlag(flags.chooseEnabled, rows, &QWidget::setEnabled, m_choose);
    setFlag(flags.textsEnabled, rows, &QWidget::setEnabled, m_name);
    setFlag(flags.textsEnabled, rows, &QWidget::setEnabled, m_value);
}

QString CsfEditorPage::dialogFolder() const {
    if (!m_path->text().isEmpty())
        return m_path->text();
    return environment().InstallFolder[environment().CurrentGame];
}

void CsfEditorPage::choose() {
    const QString path = dialogs().openFile(QString(), kOpenFilter, dialogFolder());
    if (path.isEmpty())
        return;
    OpenCsf(path);
}

void CsfEditorPage::OpenCsf(const QString& path) {
    clearList();
    m_path->setText(path);
    // The reader does not let window events run, so no handler of the page can run in the middle.
    CsfReadResult read = ReadCsf(path);
    m_table = std::move(read.table);
    if (read.ok())
        selectLanguage(read.language);
    fillList();
    showTexts(QString(), QString());
    applyState(Opened);
    if (!read.ok())
        ShowTableMessage(CsfMsg::ReadFailed);
}

void CsfEditorPage::newFile() {
    const QString path = dialogs().saveFile(QString(), kOpenFilter, dialogFolder());
    if (path.isEmpty())
        return;
    m_path->setText(path);
    m_table.clear();
    clearList();
    showTexts(QString(), QString());
    applyState(New);
}

void CsfEditorPage::addRow() {
    if (m_table.size() >= CsfMaxRows) {
        ShowTableMessage(Msg::CsfTableFull);
        return;
    }
    m_table.append({kNewName, kNewText, false, {}});
    {
        const QSignalBlocker quiet(m_list);
        m_list->addItem(kNewName);
    }
    selectRow(m_list->count() - 1);
    applyState(Added);
}

void CsfEditorPage::deleteRow() {
    const int row = selectedRow();
    if (row < 0)
        return;
    m_table.removeAt(row);
    {
        const QSignalBlocker quiet(m_list);
        delete m_list->takeItem(row);
        m_list->clearSelection();
        m_list->selectionModel()->clearCurrentIndex();
    }
    applyState(Deleted);
}

QString CsfEditorPage::pathToWrite() {
    QString path = m_path->text();
    if (path.isEmpty()) {
        // After "Annuler" the page names no file any more: ask for one rather than fail.
        path = dialogs().saveFile(QString(), kSaveAsFilter, dialogFolder());
        if (!path.isEmpty())
            m_path->setText(path);
        return path;
    }
    path = existingSpelling(path);
    if (!FileExists(path))
        return path;
    switch (ShowTableMessage(3, path)) {
    case MsgResult::Yes:
        return path;
    case MsgResult::No:
        // The path chosen now is not tested again: the file dialog has asked already.
        path = dialogs().saveFile(QString(), kSaveAsFilter, path);
        if (!path.isEmpty())
            m_path->setText(path);
        return path;
    case MsgResult::Cancel:
        cancel();
        return QString();
    default: // no box could be shown: nothing is dropped
        return QString();
    }
}

void CsfEditorPage::save() {
    const QString path = pathToWrite();
    const int language = chosenLanguage();
    if (path.isEmpty() || language < 0)
        return;

    const CsfWriteResult written = WriteCsf(path, m_table, quint8(language));
    if (written.ok()) {
        ShowTableMessage(CsfMsg::Saved, written.messageValue);
        applyState(Saved);
        return;
    }
    if (written.message == Msg::CannotEncodeName) {
        // Show the first row that cannot be written, so that the user can rename it.
        const auto bad = std::find_if(m_table.cbegin(), m_table.cend(),
                                      [](const CsfEntry& row) { return !fitsWindows1252(row.Name); });
        if (bad != m_table.cend()) {
            selectRow(int(bad - m_table.cbegin()));
            applyState(LineClicked);
        }
        ShowTableMessage(Msg::CannotEncodeName, written.messageValue);
        return;
    }
    ShowFailure(written.failure);
}

void CsfEditorPage::cancel() {
    // The table goes with the list, so that later rows and lines stay aligned.
    m_table.clear();
    clearList();
    m_path->clear();
    showTexts(QString(), QString());
    applyState(Cancelled);
}

void CsfEditorPage::lineClicked() {
    const int row = selectedRow();
    if (row < 0)
        return;
    showTexts(m_table[row].Name, m_table[row].Value);
    applyState(LineClicked);
}

void CsfEditorPage::userEdited() {
    const int row = selectedRow();
    if (row >= 0) {
        CsfEntry& entry = m_table[row];
        if (m_nameEdited) {
            entry.Name = m_name->text();
            m_list->item(row)->setText(entry.Name);
        }
        if (m_valueEdited)
            entry.Value = plainText(m_value);
    }
    applyState(Edited);
}

bool CsfEditorPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease && (watched == m_name || watched == m_value))
        userEdited();
    return QWidget::eventFilter(watched, event);
}

int CsfEditorPage::selectedRow() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void CsfEditorPage::selectRow(int row) {
    {
        const QSignalBlocker quiet(m_list);
        m_list->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    }
    m_list->scrollToItem(m_list->item(row));
    showTexts(m_table[row].Name, m_table[row].Value);
}

void CsfEditorPage::showTexts(const QString& name, const QString& value) {
    m_showing = true;
    m_name->setText(name);
    m_value->setPlainText(value);
    m_showing = false;
    m_nameEdited = false;
    m_valueEdited = false;
}

void CsfEditorPage::fillList() {
    QStringList names;
    names.reserve(m_table.size());
    for (const CsfEntry& row : std::as_const(m_table))
        names.append(row.Name);
    const QSignalBlocker quiet(m_list);
    m_list->addItems(names);
}

void CsfEditorPage::clearList() {
    const QSignalBlocker quiet(m_list);
    m_list->clear();
}

void CsfEditorPage::selectLanguage(int code) {
    while (m_language->count() > kOfferedLanguages)
        m_language->removeItem(kOfferedLanguages);
    int index = m_language->findData(code);
    if (index < 0) {
        m_language->addItem(kOtherLanguage.arg(code), code);
        index = kOfferedLanguages;
    }
    m_language->setCurrentIndex(index);
}

int CsfEditorPage::chosenLanguage() const {
    bool ok = false;
    const int code = m_language->currentData().toInt(&ok);
    return m_language->currentIndex() >= 0 && ok ? code : -1;
}

} // namespace marvok
