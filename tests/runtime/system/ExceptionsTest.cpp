#include "runtime/system/Exceptions.h"

#include <gtest/gtest.h>

TEST(Exceptions, ClassNamesAndHierarchy)
{
    try {
        throw EVariantTypeCastError(QStringLiteral("Could not convert"));
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.ClassName(), QStringLiteral("EVariantTypeCastError"));
        EXPECT_EQ(e.Message(), QStringLiteral("Could not convert"));
        EXPECT_STREQ(e.what(), "Could not convert");
    }
    EXPECT_THROW(Abort(), EAbort);
    const EDBEngineError db(
        QStringLiteral("failed"), {{17, QStringLiteral("login")}, {4060, QStringLiteral("db")}});
    EXPECT_EQ(db.ErrorCount(), 2);
    EXPECT_EQ(db.ClassName(), QStringLiteral("EDBEngineError"));
    const Exception& base = EInOutError(QStringLiteral("中文"), 5);
    EXPECT_EQ(base.ClassName(), QStringLiteral("EInOutError"));
    EXPECT_EQ(QString::fromUtf8(base.what()), QStringLiteral("中文"));
}
