#include "core/dialog_service.h"

#include "core/messages.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace marvok {
namespace {

DialogService* g_installed = nullptr;

QWidget* activeParent() {
    return QApplication::activeWindow();
}

// "*.big" becomes "*.[bB][iI][gG]": Qt's file dialogs follow the letter case of the file system.
QString caseInsensitivePattern(const QString& pattern) {
    QString out;
    for (QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += u'[' + c.toLower() + c.toUpper() + u']';
        else
            out += c;
    }
    return out;
}

} // namespace

DialogService& dialogs() {
    static QtDialogService qtService;
    return g_installed ? *g_installed : qtService;
}

void setDialogService(DialogService* service) {
    g_installed = service;
}

QString qtFilterFromWindows(const QString& windowsFilter) {
    const QStringList parts = windowsFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns << caseInsensitivePattern(pattern.trimmed());
        filters << parts[i] + u" (" + patterns.join(u' ') + u')';
    }
    return filters.join(u";;");
}

int QtDialogService::messageBox(int /*number*/, const QString& text, int style, const QString& title) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return MsgResult::None;
    QMessageBox box(activeParent());
    box.setWindowTitle(title.isEmpty() ? ProgramTitle : title);
    QString shown = text;
    box.setText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (style & 0xF0) {
    case 16:
        box.setIcon(QMessageBox::Critical);
        break;
    case 32:
        box.setIcon(QMessageBox::Question);
        break;
    case 48:
        box.setIcon(QMessageBox::Warning);
        break;
    case 64:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }
    struct Choice {
        QMessageBox::StandardButton button;
        int result;
    };
    std::vector<Choice> choices;
    switch (style & 0x0F) {
    case 3:
        choices = {{QMessageBox::Yes, MsgResult::Yes},
                   {QMessageBox::No, MsgResult::No},
                   {QMessageBox::Cancel, MsgResult::Cancel}};
        break;
    case 4:
        choices = {{QMessageBox::Yes, MsgResult::Yes}, {QMessageBox::No, MsgResult::No}};
        break;
    default:
        choices = {{QMessageBox::Ok, MsgResult::Ok}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& choice : choices)
        buttons |= choice.button;
    box.setStandardButtons(buttons);
    box.setDefaultButton(choices.front().button);
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const Choice& choice : choices) {
        if (choice.button == pressed)
            return choice.result;
    }
    // Closed with Escape or the title bar: Windows answers Cancel where there is one, else the only
    // button.
    return choices.size() == 2 ? MsgResult::No : (choices.size() == 3 ? MsgResult::Cancel : MsgResult::Ok);
}

QString QtDialogService::openFile(const QString& title, const QString& filter, const QString& initialPath) {
    return QFileDialog::getOpenFileName(activeParent(), title, initialPath, qtFilterFromWindows(filter));
}

QString QtDialogService::saveFile(const QString& title, const QString& filter, const QString& initialPath) {
    return QFileDialog::getSaveFileName(activeParent(), title, initialPath, qtFilterFromWindows(filter));
}

std::optional<QString> QtDialogService::inputBox(const QString& prompt, const QString& title,
                                                 const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(activeParent(), title.isEmpty() ? ProgramTitle : title, prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogService::chooseFolder(const QString& prompt) {
    return QFileDialog::getExistingDirectory(activeParent(), prompt);
}

int QtDialogService::runModal(QDialog& dialog) {
    return dialog.exec();
}

} // namespace marvok
