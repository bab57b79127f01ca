#include "core/text_codec.h"

#include <gtest/gtest.h>

using namespace marvok;

TEST(Windows1252, EveryByteSurvivesDecodeAndEncode) {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = decodeWindows1252(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));
    EXPECT_EQ(text[0x9C], QChar(0x0153));
    EXPECT_EQ(text[0xE9], QChar(0x00E9));
    EXPECT_EQ(encodeWindows1252(text).value(), all);
}

TEST(Windows1252, CharactersOutsideTheCodePageAreRefused) {
    EXPECT_EQ(encodeWindows1252(u"Œuvre € « é »").value(), QByteArray("\x8Cuvre \x80 \xAB \xE9 \xBB"));
    EXPECT_FALSE(encodeWindows1252(u"Жук").has_value());
    EXPECT_FALSE(fitsWindows1252(u"a\u4E2D"));
    EXPECT_EQ(firstCharacterOutsideWindows1252(u"ab\u4E2Dc"), QStringLiteral("\u4E2D"));
    EXPECT_EQ(firstCharacterOutsideWindows1252(u"abc"), QString());
}

TEST(Windows1252, OwnIniFilesAreUtf8OnlyWhenAllOfThemIs) {
    EXPECT_EQ(decodeUtf8OrWindows1252("caf\xC3\xA9"), QStringLiteral("café"));
    EXPECT_EQ(decodeUtf8OrWindows1252("caf\xE9"), QStringLiteral("café"));
    EXPECT_TRUE(isValidUtf8("plain"));
    EXPECT_FALSE(isValidUtf8("\xC3"));
}
