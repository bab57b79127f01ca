// marvok-demo FOLDER: makes the demo environment anew in FOLDER and prints the environment variables
// that start the program on it.
#include "app/demo_environment.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: marvok-demo FOLDER\n";
        return 2;
    }
    QString error;
    if (!marvok::demo::makeDemoEnvironment(args[1], QCoreApplication::applicationDirPath(), &error)) {
        err << "marvok-demo: " << error << '\n';
        return 1;
    }
    const auto folders = marvok::demo::foldersBelow(args[1]);
    QTextStream(stdout) << "MARVOK_REGISTRY=" << folders.registry << '\n'
                        << "MARVOK_HOME=" << folders.program << '\n';
    return 0;
}
