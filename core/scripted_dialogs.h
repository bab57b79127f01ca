#pragma once
// A DialogService for tests: it records every call and answers from queues filled by the test. An
// unanswered question box answers with its safe choice (Cancel, or No), a file or folder dialog is
// cancelled, and a modal window without a queued driver is rejected; `unexpected` counts those.
#include "core/dialog_service.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

namespace marvok {

struct DialogCall {
    enum class Kind { Message, OpenFile, SaveFile, Input, Folder, Modal };
    Kind kind = Kind::Message;
    int number = -1; // message number
    QString text;    // message text or prompt
    int style = 0;
    QString title;
    QString filter;
    QString initialPath;
    QString windowName; // object name of a modal window
};

class ScriptedDialogService : public DialogService {
public:
    using ModalDriver = std::function<int(QDialog&)>;

    // Installs itself for its lifetime.
    ScriptedDialogService();
    ~ScriptedDialogService() override;

    void answerMessage(int result) { m_messageAnswers.push_back(result); }
    void answerOpenFile(const QString& path) { m_openAnswers.push_back(path); }
    void answerSaveFile(const QString& path) { m_saveAnswers.push_back(path); }
    void answerInput(const QString& text) { m_inputAnswers.push_back({false, text}); }
    void cancelInput() { m_inputAnswers.push_back({true, {}}); }
    void answerFolder(const QString& path) { m_folderAnswers.push_back(path); }
    // The driver gets the dialog shown (not yet modal), may use its widgets, and returns the result.
    void driveModal(ModalDriver driver) { m_modalDrivers.push_back(std::move(driver)); }

    const std::vector<DialogCall>& calls() const { return m_calls; }
    std::vector<DialogCall> messages() const;
    int unexpected() const { return m_unexpected; }
    void clear() { m_calls.clear(); }

    int messageBox(int number, const QString& text, int style, const QString& title) override;
    QString openFile(const QString& title, const QString& filter, const QString& initialPath) override;
    QString saveFile(const QString& title, const QString& filter, const QString& initialPath) override;
    std::optional<QString> inputBox(const QString& prompt, const QString& title,
                                    const QString& defaultText) override;
    QString chooseFolder(const QString& prompt) override;
    int runModal(QDialog& dialog) override;

private:
    template <typename T> T take(std::deque<T>& queue, T fallback);

    std::vector<DialogCall> m_calls;
    std::deque<int> m_messageAnswers;
    std::deque<QString> m_openAnswers;
    std::deque<QString> m_saveAnswers;
    struct InputAnswer {
        bool cancelled;
        QString text;
    };
    std::deque<InputAnswer> m_inputAnswers;
    std::deque<QString> m_folderAnswers;
    std::deque<ModalDriver> m_modalDrivers;
    int m_unexpected = 0;
};

} // namespace marvok
