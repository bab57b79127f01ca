#include "big/form6.h"

#include "big/big_archive.h"
#include "core/translation_keys.h"

#include <IL/il.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

namespace marvok {
namespace {

const QString kImageExtensions = QStringLiteral(".bmp/.dds/.dib/.hdr/.jpg/.pfm/.png/.tga/");
const QString kNoValue = QStringLiteral("-");

// A label that shortens a long name in its middle instead of cutting its end off, so that the
// extension stays visible.
class ElidingLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(contentsRect(), int(alignment()),
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width()));
    }
};

template <typename Label = QLabel>
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect at) {
    auto* label = new Label(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(at);
    return label;
}

// Pictures larger than this (the games' largest textures are 4096 x 4096) are not converted: their
// bitmap alone would take hundreds of megabytes.
constexpr qint64 kMostPreviewPixels = qint64(8192) * 8192;

// Empties DevIL's error stack; true when it held any error.
bool takeErrors() {
    bool any = false;
    while (ilGetError() != IL_NO_ERROR)
        any = true;
    return any;
}

bool isPreviewable() {
    const qint64 width = ilGetInteger(IL_IMAGE_WIDTH);
    const qint64 height = ilGetInteger(IL_IMAGE_HEIGHT);
    return width > 0 && height > 0 && width * height <= kMostPreviewPixels;
}

} // namespace

bool isPreviewImageName(const QString& text) {
    // Only a dot and three letters make an extension: shorter texts would match part of the list.
    return text.size() >= 4 && kImageExtensions.contains(text.right(4).toLower() + u'/');
}

qint64 roundHalfToEven(qint64 numerator, qint64 denominator) {
    const qint64 quotient = numerator / denominator;
    const qint64 twiceRest = 2 * (numerator % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && quotient % 2 != 0))
        return quotient + 1;
    return quotient;
}

QSize fitThumbnail(QSize picture, int box) {
    const qint64 w = picture.width();
    const qint64 h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    if (w > h)
        return {box, int(roundHalfToEven(h * box, w))};
    return {int(roundHalfToEven(w * box, h)), box};
}

bool convertToBitmap(const QString& source, const QString& bitmap) {
    static const bool initialised = [] {
        ilInit();
        return true;
    }();
    Q_UNUSED(initialised);
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(bitmap);
    // DevIL answers true for a file cut short, with an error on its stack: such a picture is as
    // big as its header claims, and would be saved as a bitmap of that size.
    const bool loaded = ilLoadImage(from.constData()) == IL_TRUE && !takeErrors() && isPreviewable();
    const bool saved = loaded && ilSaveImage(to.constData()) == IL_TRUE && !takeErrors();
    ilDeleteImages(1, &image);
    takeErrors();
    return saved;
}

Form6::Form6(QWidget* dockTo)
    : QWidget(dockTo, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_dockTo(dockTo)
    , m_image2(makeLabel(this, "Image2", {}, {ThumbnailLeft, ThumbnailTop, ThumbnailBox, ThumbnailBox}))
    , m_image1(makeLabel(this, "Image1", {}, {120, 8, ThumbnailBox, ThumbnailBox}))
    , m_label1(makeLabel<ElidingLabel>(this, "Label1", kNoValue, {120, 8, 97, 13}))
    , m_label5(makeLabel(this, "Label5", kNoValue, {160, 32, 57, 13})) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Aperçu"));
    setFixedSize(225, 121);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    setAutoFillBackground(true);
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    m_image2->setScaledContents(true);
    m_image2->setAlignment(Qt::AlignCenter);
    m_image1->hide();
    QFont bold(QStringLiteral("Tahoma"));
    bold.setPixelSize(11);
    bold.setBold(true);
    m_label1->setFont(bold);
    QLabel* size = makeLabel(this, "Label2", QStringLiteral("Taille :"), {120, 32, 40, 13});
    setTranslationKey(size, "Size");

    m_timer1.setObjectName(QStringLiteral("Timer1"));
    m_timer1.setInterval(10);
    connect(&m_timer1, &QTimer::timeout, this, &Form6::dock);
}

void Form6::ShowPreview(const PreviewNode& node) {
    if (node.kind == PreviewNode::Folder) {
        clearThumbnail();
        m_label1->setText(kNoValue);
        m_label1->setToolTip({});
        m_label5->setText(kNoValue);
        return;
    }
    const bool image = isPreviewImageName(node.text);
    // A picture that is not in the archive yet cannot be shown: the window keeps what it showed.
    if (image && node.kind != PreviewNode::Entry)
        return;
    if (image)
        showThumbnail(node.entryNumber, node.text);
    else
        clearThumbnail();
    m_label1->setText(node.text);
    m_label1->setToolTip(node.text);
    if (node.kind == PreviewNode::Entry) {
        const ArchiveEntries& index = ArchiveIndex();
        const bool known = node.entryNumber >= 0 && node.entryNumber < index.size();
        m_label5->setText(known ? QString::number(index[node.entryNumber].Size) : kNoValue);
    } else {
        // The size the file will have in the archive, rather than the size of the node shown before.
        const QFileInfo source(node.sourcePath);
        m_label5->setText(source.isFile() ? QString::number(source.size()) : kNoValue);
    }
}

void Form6::showThumbnail(qsizetype entryNumber, const QString& text) {
    // Our own folder, so that no file of the user's can be overwritten, and one name per role, so
    // that a .bmp entry does not clash with its conversion.
    QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/marvok-apercu-XXXXXX"));
    QImage picture;
    if (folder.isValid()) {
        const QString extracted = folder.filePath(u"entree" + text.right(4).toLower());
        const QString bitmap = folder.filePath(QStringLiteral("apercu.bmp"));
        if (ExtractEntry(entryNumber, CurrentArchivePath(), extracted) && convertToBitmap(extracted, bitmap))
            picture.load(bitmap, "BMP");
        QFile::remove(bitmap);
        QFile::remove(extracted);
    }
    // A picture that cannot be read shows none, rather than the previous node's.
    if (picture.isNull()) {
        clearThumbnail();
        return;
    }
    m_image1->setPixmap(QPixmap::fromImage(picture));
    const QSize fitted = fitThumbnail(m_image1->pixmap().size(), ThumbnailBox);
    m_image2->setGeometry(ThumbnailLeft, ThumbnailTop, fitted.width(), fitted.height());
    m_image2->setPixmap(
        QPixmap::fromImage(picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void Form6::clearThumbnail() {
    m_image1->clear();
    m_image2->clear();
}

QPoint Form6::dockedPosition() const {
    const QRect main = m_dockTo->frameGeometry();
    return {main.x() + main.width() + DockingGap, main.y()};
}

void Form6::dock() {
    if (m_dockTo && pos() != dockedPosition())
        move(dockedPosition());
}

void Form6::placeAtLoading() {
    show();
    if (m_dockTo) {
        const QRect main = m_dockTo->frameGeometry();
        move(main.x() + main.width(), main.y());
    }
    hide();
}

void Form6::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_timer1.start();
}

void Form6::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    m_timer1.stop();
}

} // namespace marvok
