#pragma once
// The program's message box: every message goes through ShowMessage, which adds the details of
// messages 1 and 2 and shows the language file's text for the number when there is one.
#include "core/messages.h"

namespace marvok {

// Shows `text` (or its translation) with `style` and `title` (empty: "Marvok 2"); returns the
// button pressed, 0 when no box could be shown.
int ShowMessage(int number, const QString& text, int style, const QString& title = QString(),
                const FailureDetails& failure = FailureDetails());

// The same for a message of the table, with `value` in place of its "%1".
int ShowTableMessage(int number, const QString& value = QString());

// Message 2 with the details of `failure`.
int ShowFailure(const FailureDetails& failure);

} // namespace marvok
