#pragma once
// What the program's own push button, check box and option button share: a caption that stands in
// for the object name until one is set, and the access key it marks with "&".
#include <QWidget>

namespace marvok {

class CaptionedControl : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    // Until a caption is set, the control shows its object name.
    QString caption() const;
    void setCaption(const QString& caption);

protected:
    explicit CaptionedControl(QWidget* parent);

    // The access key of the caption was pressed; `ambiguous` when another control has the same one.
    virtual void accessKeyPressed(bool ambiguous) = 0;

    bool event(QEvent* event) override;

private:
    void captionChanged();

    QString m_caption;
    bool m_captionSet = false;
    int m_shortcutId = 0;
};

} // namespace marvok
