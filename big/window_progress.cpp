#include "big/window_progress.h"

#include "core/progress_window.h"

namespace marvok {

void WindowProgress::show(const QString& title, const QString& text) {
    const frmProgress* window = currentProgressWindow();
    if (window && window->isVisible() && window->windowTitle() == title)
        ProgressText(text);
    else
        ProgressShow(title, text);
}

void WindowProgress::text(const QString& text) {
    ProgressText(text);
}

void WindowProgress::change(int position) {
    ProgressChange(position);
}

void WindowProgress::hide() {
    ProgressHide();
}

} // namespace marvok
