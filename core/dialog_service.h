#pragma once
// Every message box, file dialog, input box, folder chooser and modal window of the program is
// opened through the current DialogService. The program installs QtDialogService; tests install a
// ScriptedDialogService that records each call and answers from a queue.
#include <QString>
#include <optional>

class QDialog;
class QWidget;

namespace marvok {

class DialogService {
public:
    virtual ~DialogService() = default;

    // `number` is the message's number, or -1 for a box outside the message table. Returns the
    // button pressed (MsgResult), 0 when no box could be shown.
    virtual int messageBox(int number, const QString& text, int style, const QString& title) = 0;

    // `filter` in the Windows form "Fichiers BIG|*.big|Tous les fichiers (*.*)|*.*". Empty when
    // cancelled.
    virtual QString openFile(const QString& title, const QString& filter, const QString& initialPath) = 0;
    virtual QString saveFile(const QString& title, const QString& filter, const QString& initialPath) = 0;

    // Nothing when cancelled.
    virtual std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;

    // Empty when cancelled.
    virtual QString chooseFolder(const QString& prompt) = 0;

    // Runs `dialog` modally and returns its result.
    virtual int runModal(QDialog& dialog) = 0;
};

// The service in use; a QtDialogService until another is installed.
DialogService& dialogs();
// Installs `service` (not owned); nullptr goes back to the Qt service.
void setDialogService(DialogService* service);

// The Qt filter text of a Windows filter; patterns match without regard to case.
QString qtFilterFromWindows(const QString& windowsFilter);

class QtDialogService : public DialogService {
public:
    int messageBox(int number, const QString& text, int style, const QString& title) override;
    QString openFile(const QString& title, const QString& filter, const QString& initialPath) override;
    QString saveFile(const QString& title, const QString& filter, const QString& initialPath) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString chooseFolder(const QString& prompt) override;
    int runModal(QDialog& dialog) override;
};

} // namespace marvok
