#include "core/scripted_dialogs.h"

#include "core/messages.h"

#include <QDialog>

namespace marvok {

ScriptedDialogService::ScriptedDialogService() {
    setDialogService(this);
}

ScriptedDialogService::~ScriptedDialogService() {
    setDialogService(nullptr);
}

template <typename T> T ScriptedDialogService::take(std::deque<T>& queue, T fallback) {
    if (queue.empty()) {
        ++m_unexpected;
        return fallback;
    }
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

std::vector<DialogCall> ScriptedDialogService::messages() const {
    std::vector<DialogCall> found;
    for (const DialogCall& call : m_calls) {
        if (call.kind == DialogCall::Kind::Message)
            found.push_back(call);
    }
    return found;
}

int ScriptedDialogService::messageBox(int number, const QString& text, int style, const QString& title) {
    DialogCall call;
    call.kind = DialogCall::Kind::Message;
    call.number = number;
    call.text = text;
    call.style = style;
    call.title = title;
    m_calls.push_back(call);
    const int buttons = style & 0x0F;
    if (buttons == 0) // a box with OK alone needs no answer
        return m_messageAnswers.empty() ? MsgResult::Ok : take(m_messageAnswers, int(MsgResult::Ok));
    return take(m_messageAnswers, buttons == 3 ? int(MsgResult::Cancel) : int(MsgResult::No));
}

QString ScriptedDialogService::openFile(const QString& title, const QString& filter,
                                        const QString& initialPath) {
    m_calls.push_back({DialogCall::Kind::OpenFile, -1, {}, 0, title, filter, initialPath, {}});
    return take(m_openAnswers, QString());
}

QString ScriptedDialogService::saveFile(const QString& title, const QString& filter,
                                        const QString& initialPath) {
    m_calls.push_back({DialogCall::Kind::SaveFile, -1, {}, 0, title, filter, initialPath, {}});
    return take(m_saveAnswers, QString());
}

std::optional<QString> ScriptedDialogService::inputBox(const QString& prompt, const QString& title,
                                                       const QString& defaultText) {
    m_calls.push_back({DialogCall::Kind::Input, -1, prompt, 0, title, {}, defaultText, {}});
    if (m_inputAnswers.empty()) {
        ++m_unexpected;
        return std::nullopt;
    }
    const InputAnswer answer = m_inputAnswers.front();
    m_inputAnswers.pop_front();
    if (answer.cancelled)
        return std::nullopt;
    return answer.text;
}

QString ScriptedDialogService::chooseFolder(const QString& prompt) {
    m_calls.push_back({DialogCall::Kind::Folder, -1, prompt, 0, {}, {}, {}, {}});
    return take(m_folderAnswers, QString());
}

int ScriptedDialogService::runModal(QDialog& dialog) {
    m_calls.push_back(
        {DialogCall::Kind::Modal, -1, {}, 0, dialog.windowTitle(), {}, {}, dialog.objectName()});
    ModalDriver driver = take(m_modalDrivers, ModalDriver());
    if (!driver) {
        dialog.reject();
        return dialog.result();
    }
    dialog.setModal(true);
    dialog.show();
    const int result = driver(dialog);
    dialog.hide();
    return result;
}

} // namespace marvok
