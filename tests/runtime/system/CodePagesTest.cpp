#include "runtime/system/CodePages.h"

#include "runtime/system/Exceptions.h"

#include <gtest/gtest.h>

#include <thread>

TEST(CodePages, ByteLengthsCountTheEncodedBytes)
{
    EXPECT_EQ(ByteLength(QStringLiteral("工单"), 936), 4);
    EXPECT_EQ(ByteLength(QStringLiteral("工單A1"), 950), 6);
    EXPECT_EQ(ByteLength(QStringLiteral("Slip 工單 no.7"), 950), 14);
    EXPECT_EQ(ByteLength(QStringLiteral("工单"), 65001), 6);
    EXPECT_EQ(ByteLength(QStringLiteral("abc"), 437), 3);
    EXPECT_EQ(ByteLength(QString(), 936), 0);
    // Unencodable characters count as their "?".
    EXPECT_EQ(ByteLength(QStringLiteral("单"), 950), 1);
    EXPECT_EQ(ByteLength(QStringLiteral("é工"), 1252), 2);
    // The count always agrees with the encoding.
    for (const QString& text :
        {QStringLiteral("预览打印 Preview"), QStringLiteral("ÄÖÜ€ 😀 x"), QStringLiteral("變更單 / 变更单")}) {
        for (int codePage : {936, 950, 437, 1252, 65001})
            EXPECT_EQ(ByteLength(text, codePage), EncodeText(text, codePage).size()) << codePage;
    }
}

TEST(CodePages, EncodeAndDecodeRoundTrip)
{
    EXPECT_EQ(EncodeText(QStringLiteral("工单"), 936), QByteArray("\xB9\xA4\xB5\xA5"));
    EXPECT_EQ(EncodeText(QStringLiteral("工單"), 950), QByteArray("\xA4\x75\xB3\xE6"));
    EXPECT_EQ(EncodeText(QStringLiteral("café"), 1252), QByteArray("caf\xE9"));
    EXPECT_EQ(EncodeText(QStringLiteral("€"), 1252), QByteArray("\x80"));
    EXPECT_EQ(EncodeText(QStringLiteral("é"), 437), QByteArray("\x82"));
    const QString text = QStringLiteral("工单变更单 确定/取消 No.12");
    EXPECT_EQ(DecodeText(EncodeText(text, 936), 936), text);
    EXPECT_EQ(DecodeText(EncodeText(text, 65001), 65001), text);
    const QString traditional = QStringLiteral("工單變更單 確定/取消");
    EXPECT_EQ(DecodeText(EncodeText(traditional, 950), 950), traditional);
    // Longer than one conversion buffer.
    const QString longText = text.repeated(500);
    EXPECT_EQ(DecodeText(EncodeText(longText, 936), 936), longText);
}

TEST(CodePages, UnencodableAndInvalidInput)
{
    // One "?" per character, a surrogate pair being one character.
    EXPECT_EQ(EncodeText(QStringLiteral("a单b"), 950), QByteArray("a?b"));
    EXPECT_EQ(EncodeText(QStringLiteral("x😀y"), 936), QByteArray("x?y"));
    EXPECT_EQ(EncodeText(QStringLiteral("工单"), 1252), QByteArray("??"));
    const QString loneSurrogate = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("工");
    EXPECT_EQ(EncodeText(loneSurrogate, 936), QByteArray("a?\xB9\xA4"));
    const QString trailingSurrogate = QStringLiteral("a") + QChar(0xD800);
    EXPECT_EQ(EncodeText(trailingSurrogate, 936), QByteArray("a?"));
    // A damaged byte becomes U+FFFD and does not swallow what follows.
    const QChar bad(QChar::ReplacementCharacter);
    EXPECT_EQ(DecodeText(QByteArray("\xB9\xA4\xFF"
                                    "ab"),
                  936),
        QStringLiteral("工") + bad + QStringLiteral("ab"));
    EXPECT_EQ(DecodeText(QByteArray("ab\xB9"), 936), QStringLiteral("ab") + bad);
    EXPECT_EQ(DecodeText(QByteArray("\xC3("), 65001), QString(bad) + QStringLiteral("("));
}

TEST(CodePages, UnknownCodePagesRaise)
{
    EXPECT_THROW(EncodeText(QStringLiteral("a"), 1250), EConvertError);
    EXPECT_THROW(DecodeText(QByteArray("a"), 0), EConvertError);
    EXPECT_THROW(ByteLength(QStringLiteral("a"), 12345), EConvertError);
    EXPECT_TRUE(IsSupportedCodePage(950));
    EXPECT_FALSE(IsSupportedCodePage(1250));
}

TEST(CodePages, StrictUtf8Check)
{
    EXPECT_TRUE(IsValidUtf8(QByteArray()));
    EXPECT_TRUE(IsValidUtf8(QStringLiteral("工单 😀 é").toUtf8()));
    EXPECT_FALSE(IsValidUtf8(QByteArray("\xC0\x80"))); // overlong
    EXPECT_FALSE(IsValidUtf8(QByteArray("\xED\xA0\x80"))); // surrogate
    EXPECT_FALSE(IsValidUtf8(QByteArray("\xF4\x90\x80\x80"))); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8(QByteArray("\xE5\xB7"))); // cut short
    EXPECT_FALSE(IsValidUtf8(EncodeText(QStringLiteral("工单"), 936)));
}

TEST(CodePages, FileTextDetection)
{
    const QString text = QStringLiteral("工单");
    EXPECT_EQ(DecodeFileText(EncodeText(text, 936), 936), text);
    EXPECT_EQ(DecodeFileText(text.toUtf8(), 950), text);
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF" + text.toUtf8(), 936), text);
    EXPECT_EQ(DecodeFileText(QByteArray("\xFE\xFF\x5D\xE5\x53\x55", 6), 936), text);
    EXPECT_EQ(DecodeFileText(QByteArray("caf\xE9"), 1250), QStringLiteral("café")); // Latin-1 fallback
}

TEST(CodePages, ThreadsConvertIndependently)
{
    const QString text = QStringLiteral("工单变更单").repeated(50);
    const QByteArray expected = EncodeText(text, 936);
    std::atomic<int> mismatches {0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                if (EncodeText(text, 936) != expected || DecodeText(expected, 936) != text)
                    ++mismatches;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches.load(), 0);
}
