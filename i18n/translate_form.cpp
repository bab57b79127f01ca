#include "i18n/translate_form.h"

#include "core/game_environment.h"
#include "core/messages.h"
#include "core/translation_keys.h"
#include "i18n/language_file.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QSet>
#include <QWidget>
#include <vector>

namespace marvok {
namespace {

constexpr char kCaptionProperty[] = "caption";

std::vector<QPointer<QWidget>>& loadedWindows() {
    static std::vector<QPointer<QWidget>> windows;
    return windows;
}

void forgetDestroyedWindows() {
    auto& windows = loadedWindows();
    std::erase_if(windows, [](const QPointer<QWidget>& window) { return window.isNull(); });
}

bool hasCaptionProperty(const QObject* control) {
    return control->metaObject()->indexOfProperty(kCaptionProperty) >= 0;
}

void collectKeyed(const QObject* parent, QList<QObject*>& controls) {
    for (QObject* child : parent->children()) {
        const auto* widget = qobject_cast<const QWidget*>(child);
        if (widget && widget->isWindow())
            continue;
        if (!translationKey(child).isEmpty())
            controls << child;
        collectKeyed(child, controls);
    }
}

} // namespace

void windowLoaded(QWidget* window) {
    forgetDestroyedWindows();
    auto& windows = loadedWindows();
    if (std::find(windows.begin(), windows.end(), window) == windows.end())
        windows.emplace_back(window);
}

QList<QWidget*> openWindows() {
    forgetDestroyedWindows();
    QSet<QWidget*> joined;
    for (const QPointer<QWidget>& window : loadedWindows())
        joined.insert(window);
    QList<QWidget*> windows;
    QSet<QWidget*> listed;
    for (const QPointer<QWidget>& window : loadedWindows()) {
        if (!listed.contains(window)) {
            windows << window;
            listed.insert(window);
        }
        for (QWidget* held : window->findChildren<QWidget*>()) {
            if (held->isWindow() && !joined.contains(held) && !listed.contains(held)) {
                windows << held;
                listed.insert(held);
            }
        }
    }
    return windows;
}

QList<QObject*> keyedControls(const QWidget* window) {
    QList<QObject*> controls;
    collectKeyed(window, controls);
    return controls;
}

bool controlCaption(const QObject* control, QString* caption) {
    if (hasCaptionProperty(control))
        *caption = control->property(kCaptionProperty).toString();
    else if (const auto* label = qobject_cast<const QLabel*>(control))
        *caption = label->text();
    else if (const auto* frame = qobject_cast<const QGroupBox*>(control))
        *caption = frame->title();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        *caption = button->text();
    else
        return false;
    return true;
}

bool setControlCaption(QObject* control, const QString& caption) {
    if (hasCaptionProperty(control))
        return control->setProperty(kCaptionProperty, caption);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        // A label sized to its caption (the game names in the banner) is sized to the new one, which
        // may be longer than the French.
        const bool sizedToCaption = label->size() == label->sizeHint();
        label->setText(caption);
        if (sizedToCaption)
            label->adjustSize();
    } else if (auto* frame = qobject_cast<QGroupBox*>(control))
        frame->setTitle(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(caption);
    else
        return false;
    return true;
}

void TranslateForm(const QString& path) {
    // Read once for all windows; a file that cannot be read would otherwise blank every caption.
    const std::optional<LanguageFile> file = LanguageFile::read(path);
    if (!file || file->value(QStringLiteral("Infos"), QStringLiteral("Language")) == u"Fr")
        return;
    const QString captions = QStringLiteral("LNG");
    for (QWidget* window : openWindows()) {
        for (QObject* control : keyedControls(window)) {
            const QString text = file->value(captions, translationKey(control));
            // An older or partial file keeps the French caption rather than an empty control.
            if (!text.isEmpty())
                setControlCaption(control, text);
        }
    }
    const QString messages = QStringLiteral("MsgStrings");
    for (int number = 0; number < MessageCount; ++number)
        MsgStrings()[number] = file->value(messages, QString::number(number));
}

bool inGeneratorMode() {
    return environment().CommandLine == u"/genlanfile";
}

void translateAtLoading(QWidget* window) {
    windowLoaded(window);
    if (!inGeneratorMode() && !environment().TradFileName.isEmpty())
        TranslateForm(environment().TradFileName);
}

} // namespace marvok
