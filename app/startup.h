#pragma once
// Start-up: the two services, the game environment, the language file, and the dispatch on the
// command line to a launch, the language-file generator, the installer or the main window.
#include <QStringList>

namespace marvok {

class Form1;

// The command line as the program received it: the arguments joined by blanks, an argument holding
// a blank between double quotes.
QString commandLineFromArguments(const QStringList& arguments);

enum class StartupBranch { Launch, GenerateLanguageFile, Install, MainWindow };

// The branch a lower-cased command line takes; `game` is set for a launch (0, 1 or 2).
StartupBranch dispatchBranch(const QString& commandLine, int* game = nullptr);

// Runs start-up. Returns the main window when one was opened (owned by the caller), else nullptr;
// `windowOpened` tells whether any window remains for the event loop.
struct StartupResult {
    Form1* mainWindow = nullptr;
    bool windowOpened = false;
};
StartupResult runStartup(const QString& commandLine);

} // namespace marvok
