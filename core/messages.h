#pragma once
// The one table of the program's messages: number, French text, box style and title. Texts that a
// caller completes with a value hold "%1" where the value goes. A language file replaces a text by
// number through MsgStrings.
#include <QString>
#include <QtGlobal>
#include <array>

namespace marvok {

// Message-box styles (buttons + icon) and results, as Windows numbers them.
namespace MsgStyle {
constexpr int Ok = 0;
constexpr int Critical = 16;
constexpr int YesNoCancelQuestion = 35;
constexpr int YesNoQuestion = 36;
constexpr int Exclamation = 48;
constexpr int Information = 64;
} // namespace MsgStyle
namespace MsgResult {
constexpr int None = 0;
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MsgResult

constexpr int MessageCount = 256;
inline const QString ProgramTitle = QStringLiteral("Marvok 2");

struct MessageInfo {
    QString text; // French default; empty for free and reserved numbers
    int style = 0;
    QString title; // empty: the program's title
};

// The entry of `number`; an empty entry for numbers no message uses.
const MessageInfo& messageInfo(int number);

// The French text of `number` with "%1" replaced by `value`.
QString messageText(int number, const QString& value = QString());

// The failure reported by message 2.
struct FailureDetails {
    qint32 number = 0;
    QString description;
    QString source;
};

// Translated texts by number, all empty until a language file fills them.
std::array<QString, MessageCount>& MsgStrings();

// The file name that message 1 shows.
QString& MessageFileName();

// The text the box shows for `number`, after the rules for messages 1 and 2 and the translation.
QString composeMessageText(int number, const QString& text, const FailureDetails& failure = {});

// Numbers of the messages added to the original table, for clear errors the original passed over.
namespace Msg {
constexpr int CannotEncodeName = 28;
constexpr int ArchiveTooLarge = 29;
constexpr int WriteFailed = 30;
constexpr int DeleteFailed = 31;
// CSF editor: 32 to 34.
constexpr int CsfTableFull = 32;
// Replays: 35 to 39.
constexpr int ReplayTitleEmpty = 35;
constexpr int ReplayTitleInvalid = 36;
constexpr int ReplayNameTaken = 37;
constexpr int ReplayRenameFailed = 38;
constexpr int ReplayDeleteFailed = 39;
// ShellMaps: 40 to 49.
constexpr int ShellMapGameNotInstalled = 40;
// BIG editor and preview: 50 to 59.
constexpr int BigExtractionIncomplete = 50;
// Install dialogs: 60 to 69.
constexpr int InstallGameNotChosen = 60;
constexpr int InstallGameNotInstalled = 61;
constexpr int InstallCopyFailed = 62;
} // namespace Msg

} // namespace marvok
