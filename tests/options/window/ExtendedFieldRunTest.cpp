// A print or preview whose format has extended fields that fail: the user
// hears one true message (the extended fields' error, or the question to
// run without them), never the server's "cannot get data" after it; a
// failure of the plain query is still the server's.
#include "OptionsWindowFixture.h"

#include "format/VRBaseFmtF.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Dialogs.h"

namespace {

const char* const ExtendedError = "此格式在做扩展栏位时，出现错误，你可以重新设计此扩展栏位!";
const char* const ExtendedQuestion = "是否以不做扩展栏位方式运行";
const char* const CannotGetData = "无法取得数据";

} // namespace

TEST_F(OptionsWindowTest, AFailingExtendedQueryIsReportedAsSuchAndNotAsTheServers)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    // The stored format joins a column the company database does not have.
    record_->ExtendedQuery = QStringLiteral("SELECT TO001, NO_SUCH_COLUMN FROM MOCTO");
    dialogs_->ExpectMessage(mrOk, text(ExtendedError));
    EXPECT_FALSE(form->PrintOrPreview(true));
    EXPECT_EQ(dialogs_->Asked().size(), 1) << "the extended fields' error alone";
    EXPECT_EQ(dialogs_->Asked().first().Type, mtError);
    EXPECT_EQ(record_->OpenedSql, QStringList {record_->ExtendedQuery}) << "the plain query is not tried";
    EXPECT_FALSE(record_->Calls.contains(QStringLiteral("preview")));
    EXPECT_EQ(record_->Destroyed, 1);

    // Printing says the same, once.
    dialogs_->ExpectMessage(mrOk, text(ExtendedError));
    EXPECT_FALSE(form->PrintOrPreview(false));
    EXPECT_EQ(dialogs_->Asked().size(), 2);
}

TEST_F(OptionsWindowTest, DecliningToRunWithoutTheExtendedFieldsEndsTheRunQuietly)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    record_->ExtendedRaises = true;
    dialogs_->ExpectMessage(mrNo, text(ExtendedQuestion));
    EXPECT_FALSE(form->PrintOrPreview(true));
    ASSERT_EQ(dialogs_->Asked().size(), 1) << "the question was the message";
    EXPECT_TRUE(record_->OpenedSql.isEmpty()) << "no data opened after No";
    EXPECT_EQ(record_->Destroyed, 1);
}

TEST_F(OptionsWindowTest, RunningWithoutTheExtendedFieldsUsesThePlainQuery)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    record_->ExtendedRaises = true;
    dialogs_->ExpectMessage(mrYes, text(ExtendedQuestion));
    EXPECT_TRUE(form->PrintOrPreview(true));
    ASSERT_EQ(record_->OpenedSql.size(), 1);
    EXPECT_TRUE(record_->OpenedSql.first().contains(QStringLiteral("FROM $$MOCTO AS MOCTO")))
        << record_->OpenedSql.first().toStdString();
    EXPECT_GT(record_->Rows, 0);
    EXPECT_TRUE(record_->Calls.contains(QStringLiteral("preview")));
    EXPECT_EQ(dialogs_->Asked().size(), 1);
}

TEST_F(OptionsWindowTest, APlainQueryTheServerCannotAnswerIsStillTheServersFailure)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    // The slip lines' table is gone from the company database.
    Execute("DROP TABLE MOCTP");
    dialogs_->ExpectMessage(mrOk, text(CannotGetData));
    EXPECT_FALSE(form->PrintOrPreview(true));
    EXPECT_EQ(dialogs_->Asked().size(), 1);

    // Yes to running without the extended fields, and the plain query
    // fails too: that failure is the server's and is said after the answer.
    record_->ExtendedRaises = true;
    dialogs_->ExpectMessage(mrYes, text(ExtendedQuestion)).ExpectMessage(mrOk, text(CannotGetData));
    EXPECT_FALSE(form->PrintOrPreview(true));
    EXPECT_EQ(dialogs_->Asked().size(), 3);
}

TEST_F(OptionsWindowTest, TheChangeSlipLayoutWithABrokenExtendedFieldShowsOneMessage)
{
    // The real layout whose builder joins a relation table and uses a
    // column that table does not have, as an older stored format may.
    RegisterZorv52Format([](TComponent* owner) {
        std::unique_ptr<IVRFormatForm> made = CreateZorv52Format(owner);
        auto* format = dynamic_cast<TfrmVRBaseFmt*>(made.get());
        ReportQueryBuilder* builder = format->SQLReBuilder;
        builder->SetActive(true);
        const int table
            = builder->AddRelationTable(QStringLiteral("CMSMB"), QStringLiteral("RT0.MB001=TO021"));
        const int field = builder->AddField(table, QStringLiteral("MB999"), QStringLiteral("gone"), 0);
        EXPECT_GE(field, 0);
        builder->BindField(table, field, QStringLiteral("txtTO021"));
        return made;
    });
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    dialogs_->ExpectMessage(mrOk, text(ExtendedError));
    EXPECT_FALSE(form->PrintOrPreview(true));
    ASSERT_EQ(dialogs_->Asked().size(), 1);
    EXPECT_EQ(dialogs_->Asked().first().Type, mtError);
    // The server was asked for the extended text, with the missing column.
    ASSERT_FALSE(Received().isEmpty());
    EXPECT_TRUE(Received().last().contains(QStringLiteral("MB999"))) << Received().last().toStdString();
}
