#pragma once
// Generator mode (a command line holding "/genlanfile"): the windows are loaded unseen, every
// translation key is listed once with the caption of the first control that carries it, and the
// generator window Form5 saves the list as the template of a language file:
//   ;Fichier de langue pour Marvok
//   (empty line)
//   [Infos]
//   Language=
//   Traductor=
//   Version=2.2.5
//   (empty line)
//   [LNG]
//   key=caption, one line per key
// every line ended by CR LF, in Windows-1252 (UTF-8 when a caption would not read back from it).
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QListWidget;

namespace marvok {

class UserControl1;

// Creates a window and runs its loading, without showing it (a window's normal loading may show it).
using WindowLoader = std::function<std::unique_ptr<QWidget>()>;

// The loader of a window built from `arguments` that loads through its load().
template <typename Window, typename... Arguments> WindowLoader loadWindow(Arguments... arguments) {
    return [=]() -> std::unique_ptr<QWidget> {
        auto window = std::make_unique<Window>(arguments...);
        window->load();
        return window;
    };
}

// The lines "key=caption" of `windows`, walked in order and each in its control order: a key is
// listed at its first control that has a caption and skipped afterwards.
QStringList captionLines(const QList<QWidget*>& windows);

// The template file for `lines`.
QByteArray languageTemplate(const QStringList& lines);

class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    QString status() const;
    void setStatus(const QString& text);
    QStringList lines() const;
    void addLine(const QString& line);

    // "Save LNG": asks for the file and writes the template. A cancelled choice or a failed write
    // stops with the status line reading "Saving...".
    void saveLng();

private:
    QLabel* m_status;     // Label1
    QListWidget* m_list;  // List1
    UserControl1* m_save; // Command1
};

// Loads `windows` in order, shows Form5 and lists their keys in it, then unloads them. Form5 is
// returned shown; it deletes itself when closed.
Form5* CollectCaptions(const std::vector<WindowLoader>& windows);

} // namespace marvok
