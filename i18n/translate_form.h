#pragma once
// Applying a language file: every open window, in the order the windows were loaded, gets the texts
// of its controls' translation keys, and the message texts are refilled. Windows join the open
// windows as they load (translateAtLoading) and leave them when they are destroyed.
#include <QList>
#include <QString>

class QObject;
class QWidget;

namespace marvok {

// `window` has loaded; a window joins once, at its first loading.
void windowLoaded(QWidget* window);

// The open windows in load order, each followed by the windows it holds that did not join by
// themselves (the BIG page's preview window is a tool window of the main window).
QList<QWidget*> openWindows();

// The controls of `window` that carry a translation key, in the window's order (creation order,
// depth first), without the controls of the windows it holds.
QList<QObject*> keyedControls(const QWidget* window);

// A control's caption by its kind: the "caption" property where it has one, else the text of a
// label or button or the title of a frame. False for a kind without a caption.
bool controlCaption(const QObject* control, QString* caption);
bool setControlCaption(QObject* control, const QString& caption);

// Applies the language file at `path` to every open window and refills MsgStrings from it, unless
// its language is "Fr" (exactly: the built-in French). A file that cannot be read is not applied at
// all, and a key that is absent or empty leaves the built-in French caption.
void TranslateForm(const QString& path);

// The language-file generator's run: the command line is exactly "/genlanfile", and the windows'
// loading leaves their built-in captions alone.
bool inGeneratorMode();

// The loading step of the windows that apply the language file: `window` joins the open windows,
// then TranslateForm runs with the chosen language file, except in generator mode (command line
// exactly "/genlanfile") and when no language file is chosen.
void translateAtLoading(QWidget* window);

} // namespace marvok
