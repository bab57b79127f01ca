#pragma once
// The preview window "Aperçu": a small tool window against the right edge of the main window that
// shows the name and size of the node clicked in the BIG page's tree and, for a picture of the
// open archive, a thumbnail. The picture is extracted into a private temporary folder, converted to
// a bitmap by DevIL, shown, and the folder is removed again before ShowPreview returns.
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace marvok {

// What ShowPreview needs of a node of the BIG page's tree.
struct PreviewNode {
    enum Kind { Folder, Entry, NewFile };
    Kind kind = Folder;
    QString text;
    qsizetype entryNumber = -1; // Entry: its number in ArchiveIndex
    QString sourcePath;         // NewFile: the file on disk
};

// Whether a node's text names a picture: its last four characters, in lower case, are one of
// ".bmp", ".dds", ".dib", ".hdr", ".jpg", ".pfm", ".png" and ".tga".
bool isPreviewImageName(const QString& text);

// `numerator` / `denominator` rounded to the nearest integer, halves to the even one.
qint64 roundHalfToEven(qint64 numerator, qint64 denominator);

// The size a picture of `picture` is shown at: fitted into `box` x `box`, proportions kept.
QSize fitThumbnail(QSize picture, int box = 105);

// Converts the picture file `source` (its type follows its extension) to a Windows bitmap at
// `bitmap` with DevIL; false when DevIL cannot read or write it.
bool convertToBitmap(const QString& source, const QString& bitmap);

class Form6 : public QWidget {
    Q_OBJECT
public:
    static constexpr int ThumbnailBox = 105;
    static constexpr int ThumbnailLeft = 8;
    static constexpr int ThumbnailTop = 8;
    // 130 twips beside the main window, at 15 twips per pixel.
    static constexpr int DockingGap = 9;

    // A tool window of `dockTo`, which it keeps docked to while shown.
    explicit Form6(QWidget* dockTo);

    // Shows `node` as the BIG page's tree has it.
    void ShowPreview(const PreviewNode& node);

    // Where Timer1 puts the window: against the right edge of the main window, top aligned.
    QPoint dockedPosition() const;
    // What Timer1 does every 10 ms while the window is shown.
    void dock();
    // Loading of the main window: shown, placed against it and hidden again.
    void placeAtLoading();

    QTimer* dockingTimer() { return &m_timer1; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showThumbnail(qsizetype entryNumber, const QString& text);
    void clearThumbnail();

    QWidget* m_dockTo;
    QLabel* m_image2; // the thumbnail
    QLabel* m_image1; // never shown: the picture at its natural size
    QLabel* m_label1; // the node's text
    QLabel* m_label5; // the size
    QTimer m_timer1;
};

} // namespace marvok
