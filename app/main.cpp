#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvok 2"));
    const marvok::StartupResult started =
        marvok::runStartup(marvok::commandLineFromArguments(app.arguments().mid(1)));
    if (!started.windowOpened)
        return 0;
    return app.exec();
}
