#pragma once
// The progress window that long file operations show while they keep the user-interface thread
// busy. At most one exists; a second ProgressShow reuses it.
#include <QDialog>

class QLabel;
class QProgressBar;

namespace marvok {

class frmProgress : public QDialog {
    Q_OBJECT
public:
    explicit frmProgress(QWidget* parent = nullptr);

    QLabel* label() const { return m_label; }
    QProgressBar* bar() const { return m_bar; }

private:
    QLabel* m_label;
    QProgressBar* m_bar;
};

// Sets the title and the label, shows the window and paints it before returning.
void ProgressShow(const QString& Title, const QString& Text);
void ProgressText(const QString& Text);
// 0 to 100.
void ProgressChange(int newProgress);
// Closes and discards the window.
void ProgressHide();

// The window while it exists, else nullptr.
frmProgress* currentProgressWindow();

} // namespace marvok
