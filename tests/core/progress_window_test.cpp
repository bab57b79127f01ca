#include "core/progress_window.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <gtest/gtest.h>

using namespace marvok;

TEST(ProgressWindow, ShowsOneWindowAndReusesIt) {
    ProgressShow(QStringLiteral("Création de /x.big"), QStringLiteral("Ecriture du header"));
    frmProgress* first = currentProgressWindow();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Création de /x.big"));
    EXPECT_EQ(first->findChild<QLabel*>(QStringLiteral("lblProgress"))->text(),
              QStringLiteral("Ecriture du header"));

    ProgressChange(20);
    ProgressText(QStringLiteral("Ecriture des fichiers"));
    ProgressShow(QStringLiteral("Extraction"), QStringLiteral("/y.ini"));
    EXPECT_EQ(currentProgressWindow(), first);
    EXPECT_EQ(first->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(), 20);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Extraction"));

    ProgressHide();
    EXPECT_EQ(currentProgressWindow(), nullptr);
    ProgressHide(); // nothing left to hide
    ProgressChange(50);
    EXPECT_EQ(currentProgressWindow(), nullptr);
}

namespace {

// Counts the paint events of the progress label.
class PaintCounter : public QObject {
public:
    int labelPaints = 0;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->objectName() == QStringLiteral("lblProgress"))
            ++labelPaints;
        return false;
    }
};

} // namespace

TEST(ProgressWindow, IsPaintedBeforeShowReturns) {
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    ProgressShow(QStringLiteral("Extraction"), QStringLiteral("/target.ini"));
    qApp->removeEventFilter(&counter);
    EXPECT_GT(counter.labelPaints, 0);
    ProgressHide();
}
