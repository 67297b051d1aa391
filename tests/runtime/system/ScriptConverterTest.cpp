#include "runtime/system/ScriptConverter.h"

#include "runtime/system/Exceptions.h"

#include <gtest/gtest.h>

#include <thread>

TEST(ScriptConverter, SimplifiedAndTraditional)
{
    EXPECT_EQ(SimplifiedToTraditional(QStringLiteral("简体中文")), QStringLiteral("簡體中文"));
    EXPECT_EQ(SimplifiedToTraditional(QStringLiteral("工单变更单")), QStringLiteral("工單變更單"));
    EXPECT_EQ(TraditionalToSimplified(QStringLiteral("工單變更單")), QStringLiteral("工单变更单"));
    EXPECT_EQ(TraditionalToSimplified(QStringLiteral("確定")), QStringLiteral("确定"));
    // Latin text, digits and punctuation pass unchanged.
    EXPECT_EQ(SimplifiedToTraditional(QStringLiteral("No. 12: 预览 (Preview)")),
        QStringLiteral("No. 12: 預覽 (Preview)"));
    EXPECT_EQ(SimplifiedToTraditional(QString()), QString());
    EXPECT_EQ(TraditionalToSimplified(QString()), QString());
    // An embedded NUL does not cut the text short.
    const QString withNul = QStringLiteral("单") + QChar(0) + QStringLiteral("体");
    EXPECT_EQ(SimplifiedToTraditional(withNul), QStringLiteral("單") + QChar(0) + QStringLiteral("體"));
}

TEST(ScriptConverter, TraditionalIsTaiwansCharactersWithTheSuitesWordsMended)
{
    // Taiwan's forms, not OpenCC's own (爲, 衆), and 稽核 stays 稽核 (not 稽覈).
    EXPECT_EQ(SimplifiedToTraditional(QStringLiteral("为众")), QStringLiteral("為眾"));
    EXPECT_EQ(SimplifiedToTraditional(QStringLiteral("已稽核")), QStringLiteral("已稽核"));
    // 签核 is signing: 簽核, also inside a sentence.
    EXPECT_EQ(SimplifiedToTraditional(QStringLiteral("签核资料由工作流程系统提供")),
        QStringLiteral("簽核資料由工作流程系統提供"));
    EXPECT_EQ(SimplifiedToTraditional(QStringLiteral("签核")), QStringLiteral("簽核"));
    // Only characters: no Taiwan phrases (打印 stays).
    EXPECT_EQ(SimplifiedToTraditional(QStringLiteral("打印")), QStringLiteral("打印"));
}

TEST(ScriptConverter, CommonWordsRoundTrip)
{
    const struct {
        const char16_t* simplified;
        const char16_t* traditional;
    } words[] = {{u"确定", u"確定"}, {u"取消", u"取消"}, {u"打印", u"打印"}, {u"预览", u"預覽"},
        {u"数据库", u"數據庫"}, {u"设置", u"設置"}, {u"用户名", u"用戶名"}, {u"导出图片", u"導出圖片"}};
    for (const auto& word : words) {
        const QString simplified = QString::fromUtf16(word.simplified);
        const QString traditional = QString::fromUtf16(word.traditional);
        EXPECT_EQ(SimplifiedToTraditional(simplified), traditional);
        EXPECT_EQ(TraditionalToSimplified(traditional), simplified);
    }
}

TEST(ScriptConverter, MissingConfigurationRaisesAndSharedUseIsSafe)
{
    try {
        TScriptConverter broken(QStringLiteral("no-such-config.json"));
        FAIL() << "a missing configuration must raise";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains("no-such-config.json")) << e.what();
    }
    std::atomic<int> wrong {0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                if (SimplifiedToTraditional(QStringLiteral("工单变更单")) != QStringLiteral("工單變更單"))
                    ++wrong;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(wrong.load(), 0);
}
