#include "core/progress_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QVBoxLayout>

namespace marvok {
namespace {

QPointer<frmProgress> g_window;

// The operation behind the window keeps the event loop from running, so changes are painted at
// once; label changes, which may come for every file, at most every 50 ms.
void paintNow(QWidget* widget) {
    widget->repaint();
}

QElapsedTimer& sinceLabelPaint() {
    static QElapsedTimer timer;
    return timer;
}

} // namespace

frmProgress::frmProgress(QWidget* parent)
    : QDialog(parent)
    , m_label(new QLabel(this))
    , m_bar(new QProgressBar(this)) {
    setObjectName(QStringLiteral("frmProgress"));
    m_label->setObjectName(QStringLiteral("lblProgress"));
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setMinimumWidth(360);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

void ProgressShow(const QString& Title, const QString& Text) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (!g_window) {
        g_window = new frmProgress(QApplication::activeWindow());
    }
    g_window->setWindowTitle(Title);
    g_window->label()->setText(Text);
    g_window->show();
    g_window->raise();
    // Let the window system map the window, then paint it completely before the caller's work.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    paintNow(g_window);
    sinceLabelPaint().start();
}

void ProgressText(const QString& Text) {
    if (!g_window)
        return;
    g_window->label()->setText(Text);
    if (sinceLabelPaint().elapsed() >= 50) {
        paintNow(g_window->label());
        sinceLabelPaint().restart();
    }
}

void ProgressChange(int newProgress) {
    if (!g_window)
        return;
    const int value = qBound(0, newProgress, 100);
    if (g_window->bar()->value() == value)
        return;
    g_window->bar()->setValue(value);
    paintNow(g_window->bar());
}

void ProgressHide() {
    if (!g_window)
        return;
    frmProgress* window = g_window;
    g_window = nullptr;
    window->close();
    delete window;
}

frmProgress* currentProgressWindow() {
    return g_window;
}

} // namespace marvok
