#include "big/big_demo.h"
#include "big/form6.h"
#include "core/paths.h"
#include "core/translation_keys.h"
#include "tests/big/big_page_test_support.h"

#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QLabel>

using namespace marvok;
using namespace marvok::test;

namespace {

QByteArray bitmapBytes(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "BMP");
    return bytes;
}

class PreviewTest : public PageTest {
protected:
    PreviewTest()
        : m_previousTemp(qgetenv("TMPDIR")) {
        // The preview's temporary folders go there, where the test can see them.
        qputenv("TMPDIR", temporary.path().toLocal8Bit());
        page->loadPreviewWindow(&panel);
        page->setPreviewShown(true);
    }
    ~PreviewTest() override { qputenv("TMPDIR", m_previousTemp); }

    Form6* preview() const { return page->previewWindow(); }
    QLabel* label(const char* name) const {
        auto* found = preview()->findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QSize thumbnail() const { return label("Image2")->pixmap().size(); }
    QStringList leftBehind() const {
        return QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    TempFolder temporary;

private:
    QByteArray m_previousTemp;
};

} // namespace

TEST(ImagePreview, PicturesAreFittedWithHalvesRoundedToEven) {
    const std::pair<QSize, QSize> cases[] = {
        {{400, 200}, {105, 52}},                                                    // 52.5
        {{200, 400}, {52, 105}},    {{64, 64}, {105, 105}}, {{60, 10}, {105, 18}},  // 17.5
        {{1024, 1024}, {105, 105}}, {{3, 2}, {105, 70}},    {{2000, 10}, {105, 1}}, // 0.525
    };
    for (const auto& [picture, shown] : cases)
        EXPECT_EQ(fitThumbnail(picture), shown) << picture.width() << " x " << picture.height();
}

TEST(ImagePreview, AnImageIsNamedByItsLastFourCharacters) {
    const std::pair<const char*, bool> cases[] = {
        {"a.tga", true}, {"A.JPG", true},   {"x.jpeg", false}, {".png", true},  {"a.dds", true},
        {"a.dib", true}, {"a.hdr", true},   {"a.pfm", true},   {"a.bmp", true}, {"a.txt", false},
        {"tga", false},  {"x.bmpx", false}, {"", false},
    };
    for (const auto& [text, image] : cases)
        EXPECT_EQ(isPreviewImageName(QString::fromLatin1(text)), image) << text;
}

TEST_F(PreviewTest, TheWindowIsTheSmallAperçuToolWindow) {
    EXPECT_EQ(preview()->objectName(), QStringLiteral("Form6"));
    EXPECT_EQ(preview()->windowTitle(), QStringLiteral("Aperçu"));
    EXPECT_TRUE(preview()->windowFlags() & Qt::Tool);
    EXPECT_EQ(preview()->size(), QSize(225, 121));
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("-"));
    EXPECT_TRUE(label("Label1")->font().bold());
    EXPECT_EQ(label("Label2")->text(), QStringLiteral("Taille :"));
    EXPECT_EQ(translationKey(label("Label2")), QStringLiteral("Size"));
    EXPECT_EQ(label("Label5")->text(), QStringLiteral("-"));
    EXPECT_FALSE(label("Image1")->isVisible());
    EXPECT_EQ(preview()->dockingTimer()->interval(), 10);
}

TEST_F(PreviewTest, AnImageEntryShowsItsThumbnailAndLeavesNoFileBehind) {
    // A file of the entry's name in the program's folder is none of the preview's business.
    const QString mine = joinPath(programFolder(), QStringLiteral("a.tga"));
    writeBytes(mine, "the user's own file");
    const QByteArray picture = demoTgaPicture(400, 200);
    page->openArchive(
        writeArchive(QStringLiteral("tex.big"), {{"readme.txt", "hello"}, {"tex\\a.tga", picture}}));
    click(node(QStringLiteral("BIG:1")));

    EXPECT_EQ(label("Image2")->geometry(), QRect(8, 8, 105, 52));
    EXPECT_EQ(thumbnail(), QSize(105, 52));
    EXPECT_EQ(label("Image1")->pixmap().size(), QSize(400, 200));
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("a.tga"));
    EXPECT_EQ(label("Label5")->text(), QString::number(picture.size()));
    // The picture is the right way up: the diamond in the middle, dark at the top, light below.
    const QImage shown = label("Image2")->pixmap().toImage();
    const QColor middle = shown.pixelColor(52, 26);
    EXPECT_GT(middle.red(), 200);
    EXPECT_LT(middle.blue(), 100);
    EXPECT_LT(shown.pixelColor(2, 1).blue(), shown.pixelColor(2, 50).blue());

    EXPECT_TRUE(leftBehind().isEmpty()) << leftBehind().join(u' ').toStdString();
    EXPECT_EQ(readBytes(mine), "the user's own file");
}

TEST_F(PreviewTest, ABitmapEntryIsShownAlthoughItsConversionIsABitmapToo) {
    page->openArchive(writeArchive(QStringLiteral("bmp.big"), {{"a.BMP", bitmapBytes(30, 60)}}));
    click(node(QStringLiteral("BIG:0")));
    EXPECT_EQ(thumbnail(), QSize(52, 105)); // 30 x 105 / 60 = 52.5
    EXPECT_TRUE(leftBehind().isEmpty());
}

TEST_F(PreviewTest, FoldersAndOtherFilesShowTheirTexts) {
    page->openArchive(writeArchive(QStringLiteral("mixed.big"),
                                   {{"d\\a.tga", demoTgaPicture(64, 64)}, {"d\\notes.ini", "12345"}}));
    const QString image = folder.file(QStringLiteral("sources/new.png"));
    writeBytes(image, "not read");
    const QString text = folder.file(QStringLiteral("sources/new.txt"));
    writeBytes(text, "1234567");
    add(image, QStringLiteral("new.png"));
    add(text, QStringLiteral("new.txt"));

    click(node(QStringLiteral("BIG:0")));
    EXPECT_EQ(thumbnail(), QSize(105, 105));
    // A picture added from disk changes nothing.
    click(node(image));
    EXPECT_EQ(thumbnail(), QSize(105, 105));
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("a.tga"));
    // Another entry clears the picture and shows its own name and size.
    click(node(QStringLiteral("BIG:1")));
    EXPECT_TRUE(label("Image2")->pixmap().isNull());
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("notes.ini"));
    EXPECT_EQ(label("Label5")->text(), QStringLiteral("5"));
    // A file from disk shows the size it will have in the archive.
    click(node(text));
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("new.txt"));
    EXPECT_EQ(label("Label5")->text(), QStringLiteral("7"));
    click(node(QStringLiteral("d\\")));
    EXPECT_TRUE(label("Image2")->pixmap().isNull());
    EXPECT_EQ(label("Label1")->text(), QStringLiteral("-"));
    EXPECT_EQ(label("Label5")->text(), QStringLiteral("-"));
    EXPECT_TRUE(leftBehind().isEmpty());
}

TEST_F(PreviewTest, APictureThatCannotBeReadShowsNoneAndLeavesNothingBehind) {
    QByteArray bytes = archiveBytes(
        {{"good.tga", demoTgaPicture(20, 10)},
         {"broken.tga", QByteArray(300, '\x7f')},
         {"header.tga", QByteArray("\0\0\2\0\0\0\0\0\0\0\0\0\xff\xff\xff\xff\x18\x20", 18) + "cut short"},
         {"outside.png", "\x89PNG"}});
    // A picture of 65535 x 65535 pixels cut short after its header; the last entry's data lies past
    // the end of the file.
    bytes.replace(bytes.indexOf("outside.png") - 8, 4, bigEndian(quint32(bytes.size()) + 100));
    const QString path = folder.file(QStringLiteral("bad.big"));
    writeBytes(path, bytes);
    page->openArchive(path);
    for (const char* key : {"BIG:1", "BIG:2", "BIG:3"}) {
        click(node(QStringLiteral("BIG:0")));
        ASSERT_EQ(thumbnail(), QSize(105, 52)) << key;
        click(node(QString::fromLatin1(key)));
        EXPECT_TRUE(label("Image2")->pixmap().isNull()) << key;
        EXPECT_EQ(label("Label1")->text(), node(QString::fromLatin1(key))->text(0));
        EXPECT_TRUE(leftBehind().isEmpty()) << key;
    }
}

TEST_F(PreviewTest, TheWindowIsDockedToTheMainWindowWhileShown) {
    panel.move(100, 120);
    QTest::qWait(30);
    const QRect main = panel.frameGeometry();
    EXPECT_EQ(preview()->pos(), QPoint(main.x() + main.width() + Form6::DockingGap, main.y()));
    panel.move(40, 60);
    QTest::qWait(50);
    EXPECT_EQ(preview()->pos(), QPoint(panel.frameGeometry().right() + 1 + Form6::DockingGap, 60));
    page->setPreviewShown(false);
    EXPECT_FALSE(preview()->isVisible());
    EXPECT_FALSE(preview()->dockingTimer()->isActive());
    page->setPreviewShown(true);
    EXPECT_TRUE(preview()->isVisible());
    page->unloadPreviewWindow();
    EXPECT_EQ(page->previewWindow(), nullptr);
}

TEST(ImagePreviewWindow, LoadingMakesTheWindowAndHidesItAgain) {
    QWidget main;
    main.setGeometry(50, 50, 300, 200);
    main.show();
    BigEditorPage page(&main);
    page.loadPreviewWindow(&main);
    ASSERT_NE(page.previewWindow(), nullptr);
    EXPECT_FALSE(page.previewWindow()->isVisible());
    EXPECT_EQ(page.previewWindow()->pos(),
              QPoint(main.frameGeometry().x() + main.frameGeometry().width(), main.frameGeometry().y()));
}

TEST(BigDemo, TheSampleArchivesHoldFoldersTextsAndAPicture) {
    TempFolder folder;
    QString error;
    ASSERT_TRUE(
        addBigDemoContent(folder.file(QStringLiteral("game")), folder.file(QStringLiteral("docs")), &error))
        << error.toStdString();
    ArchiveEntries mod;
    ASSERT_EQ(ReadArchiveIndex(folder.file(u"game/" + BigDemoModFileName), mod), IndexReadResult::Read);
    ArchiveEntries sample;
    const QString samplePath = folder.file(u"docs/" + BigDemoSampleFileName);
    ASSERT_EQ(ReadArchiveIndex(samplePath, sample), IndexReadResult::Read);
    EXPECT_FALSE(mod.isEmpty());
    bool nested = false;
    int texts = 0;
    qsizetype picture = -1;
    for (qsizetype k = 0; k < sample.size(); ++k) {
        nested = nested || sample[k].Name.count(u'\\') >= 3;
        texts += sample[k].Name.endsWith(QStringLiteral(".ini")) ? 1 : 0;
        if (sample[k].Name.endsWith(QStringLiteral(".tga")))
            picture = k;
    }
    EXPECT_TRUE(nested);
    EXPECT_GE(texts, 3);
    ASSERT_GE(picture, 0);
    const QString extracted = folder.file(QStringLiteral("picture.tga"));
    ASSERT_TRUE(ExtractEntry(sample, picture, samplePath, extracted, nullptr));
    EXPECT_TRUE(convertToBitmap(extracted, folder.file(QStringLiteral("picture.bmp"))));
    EXPECT_FALSE(QImage(folder.file(QStringLiteral("picture.bmp"))).isNull());
}
