#include "core/message_box.h"

#include "core/dialog_service.h"

namespace marvok {

int ShowMessage(int number, const QString& text, int style, const QString& title,
                const FailureDetails& failure) {
    return dialogs().messageBox(number, composeMessageText(number, text, failure), style,
                                title.isEmpty() ? ProgramTitle : title);
}

int ShowTableMessage(int number, const QString& value) {
    const MessageInfo& info = messageInfo(number);
    return ShowMessage(number, messageText(number, value), info.style, info.title);
}

int ShowFailure(const FailureDetails& failure) {
    const MessageInfo& info = messageInfo(2);
    return ShowMessage(2, info.text, info.style, info.title, failure);
}

} // namespace marvok
