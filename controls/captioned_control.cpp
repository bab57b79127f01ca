#include "controls/captioned_control.h"

#include <QKeySequence>
#include <QShortcutEvent>

namespace marvok {

CaptionedControl::CaptionedControl(QWidget* parent)
    : QWidget(parent) {
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (!m_captionSet)
            captionChanged();
    });
}

QString CaptionedControl::caption() const {
    return m_captionSet ? m_caption : objectName();
}

void CaptionedControl::setCaption(const QString& caption) {
    m_caption = caption;
    m_captionSet = true;
    captionChanged();
}

void CaptionedControl::captionChanged() {
    if (m_shortcutId != 0)
        releaseShortcut(m_shortcutId);
    const QKeySequence accessKey = QKeySequence::mnemonic(caption());
    m_shortcutId = accessKey.isEmpty() ? 0 : grabShortcut(accessKey);
    updateGeometry();
    update();
}

bool CaptionedControl::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut) {
        auto* shortcut = static_cast<QShortcutEvent*>(event);
        if (shortcut->shortcutId() == m_shortcutId) {
            accessKeyPressed(shortcut->isAmbiguous());
            return true;
        }
    }
    return QWidget::event(event);
}

} // namespace marvok
