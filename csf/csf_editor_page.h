#pragma once
// The "CSF Editor" page of the main window: opens one string table at a time, edits its rows and
// writes it back. The table and the list are changed together so that row i is always line i;
// nothing reaches disk before "Enregistrer".
#include "csf/csf_file.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace marvok {

class UserControl1;

class CsfEditorPage : public QWidget {
    Q_OBJECT
public:
    // The page fills `panel` below the panel's title.
    explicit CsfEditorPage(QWidget* panel);

    // Gives the four entries of cmbLanguage their language codes 0, 2, 3 and 8. The page does it
    // when it is built; calling it again changes nothing.
    void attachLanguageCodes();

    // What "Choisir" does once a file is chosen: reads `path` and shows its rows.
    void OpenCsf(const QString& path);

    // The rows being edited.
    const CsfTable& table() const { return m_table; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum State { Start, Opened, New, Added, Deleted, Edited, Saved, Cancelled, LineClicked };
    void applyState(State state);

    void choose();
    void newFile();
    void addRow();
    void deleteRow();
    void save();
    // The path "Enregistrer" writes to after the overwrite question; empty to write nothing.
    QString pathToWrite();
    void cancel();
    void lineClicked();
    void userEdited();

    int selectedRow() const;
    void selectRow(int row);
    void showTexts(const QString& name, const QString& value);
    void fillList();
    void clearList();
    void selectLanguage(int code);
    int chosenLanguage() const;
    QString dialogFolder() const;

    CsfTable m_table;
    QLineEdit* m_path;          // Text3
    UserControl1* m_choose;     // UserControl11
    QListWidget* m_list;        // List1
    QLineEdit* m_name;          // Text4
    QPlainTextEdit* m_value;    // Text5
    QComboBox* m_language;      // cmbLanguage
    UserControl1* m_newFile;    // cmdCNew
    UserControl1* m_saveButton; // cmdCSave
    UserControl1* m_cancel;     // cmdCCancel
    UserControl1* m_add;        // cmdCAdd
    UserControl1* m_delete;     // cmdCDelete
    // Set while the page itself fills Text4 and Text5, so that only the user's edits count.
    bool m_showing = false;
    // Whether the user changed Text4 or Text5 since the page filled them. Text that is only shown is
    // never copied back, so a row keeps every character even where a box would change it.
    bool m_nameEdited = false;
    bool m_valueEdited = false;
};

// The language codes of cmbLanguage, in its order: English, German, French, Korean.
inline constexpr int CsfLanguageCodes[4] = {0, 2, 3, 8};

} // namespace marvok
