#include "core/dialog_service.h"
#include "core/message_box.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Marvok 2"));
    QMainWindow window;
    window.setWindowTitle(marvok::ProgramTitle);
    window.setCentralWidget(new QLabel(QStringLiteral("Marvok 2"), &window));
    window.resize(640, 480);
    window.show();
    return app.exec();
}
