// The change slip on a PostgreSQL company database whose slip lines keep
// their items in CHAR columns, as a database of the older suite does: the
// values come padded with blanks to the column's width, and a line that
// added an item (the placeholder of asterisks before it) still prints its
// before side empty and the remark of an added item.
#include "ChangeSlipWindowFixture.h"

#include "format/VRBaseFmtF.h"
#include "format/VRPreviewF.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/ClientLogin.h"
#include "runtime/report/QRPreview.h"
#include "runtime/report/QRPrinter.h"
#include "suite/appserver/DbBackend.h"
#include "suite/appserver/DemoHome.h"
#include "suite/appserver/PgTestSupport.h"
#include "zorv52/Zorv52FmtF.h"

#include <optional>

class CharColumnsTest : public ChangeSlipWindowTest {
protected:
    void SetUp() override
    {
        REQUIRE_POSTGRES();
        DemoServerTest::SetUp();
        schema_.emplace();
        summary_ = CreateDemoHome(home_.path(), schema_->DemoOptions(60));
        database_ = schema_->CompanyCode();
        // The item columns of the lines as the older suite declares them.
        Database()->ExecuteScript(QStringLiteral(
            "ALTER TABLE MOCTP ALTER COLUMN TP004 TYPE CHAR(40), ALTER COLUMN TP104 TYPE CHAR(40)"));
        // PostgreSQL trusts no one: the window presents CHEN's password.
        clientlogin::Set(QStringLiteral("CHEN"), DemoPassword(QStringLiteral("CHEN")));
        OpenWindow(false, database_);
    }

    void TearDown() override
    {
        ChangeSlipWindowTest::TearDown();
        clientlogin::Clear();
    }

    std::unique_ptr<TDbBackend> Database() const
    {
        return OpenBackend(QStringLiteral("POSTGRESQL"), summary_.DatabaseFile);
    }

    QStringList Direct(const QString& sql) const
    {
        QStringList out;
        auto db = Database();
        for (auto rows = db->Query(sql); rows->Next();)
            out << rows->Text(0);
        return out;
    }

    std::optional<TPgTestSchema> schema_;
    QString database_;
};

TEST_F(CharColumnsTest, AnAddedLinePrintsNoAsterisksAndTheAddedRemark)
{
    // The slips the window's default criteria print (approved, not printed).
    const QString slips
        = QStringLiteral("FROM MOCTP JOIN MOCTO ON TO001=TP001 AND TO002=TP002 AND TO003=TP003 "
                         "WHERE TO001='A511' AND TO041='Y' AND TO042=0");
    const int added = Direct(
        QStringLiteral("SELECT COUNT(*) ") + slips + QStringLiteral(" AND TP004='********************'"))
                          .value(0)
                          .toInt();
    const int replaced = Direct(QStringLiteral("SELECT COUNT(*) ") + slips
        + QStringLiteral(" AND TP004<>'********************' AND TRIM(TP104)<>''"))
                             .value(0)
                             .toInt();
    ASSERT_GT(added, 0) << "the demo has lines that added an item";
    form_->edTO001->SetText(QStringLiteral("A511"));
    form_->edTO001Exit(form_->edTO001);

    QStringList texts;
    QString paddedItem;
    ExpectPreview([&](TfrmVRBaseFmt* format, TfrmVRPreview* preview) {
        TDataSet* rows = format->ClientDataSet1;
        for (rows->First(); !rows->Eof() && paddedItem.isEmpty(); rows->Next()) {
            const QString item = rows->FieldByName(QStringLiteral("TP004"))->AsString();
            if (item.trimmed() == TfrmZorv52Fmt::Placeholder())
                paddedItem = item;
        }
        const TQRPageModel& pages = *preview->Report()->Pages();
        for (int page = 1; page <= pages.PageCount(); ++page)
            for (const auto& text : pages.Texts(page))
                texts << text.Text;
        return int(mrOk);
    });
    ASSERT_TRUE(form_->PrintOrPreview(true));
    EXPECT_EQ(paddedItem.size(), 40) << "the placeholder came padded to the column's width";
    for (const QString& text : texts)
        EXPECT_FALSE(text.contains(TfrmZorv52Fmt::Placeholder())) << text.toStdString();
    EXPECT_EQ(texts.count(QStringLiteral("新增")), added);
    EXPECT_EQ(texts.count(QStringLiteral("替换")), replaced) << "an added line is no replacement";
}
