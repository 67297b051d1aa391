// Which stored format the change-slip window offers as the slip type
// changes, the format name typed in other case, and what the window hands a
// format form about the user and the local format files.
#include "OptionsWindowFixture.h"

#include "runtime/forms/StdCtrls.h"
#include "runtime/system/NativePath.h"
#include "support/QStringPrinter.h"

#include <QDir>

class FormatChoiceTest : public OptionsWindowTest {
protected:
    void SetUp() override
    {
        OptionsWindowTest::SetUp();
        // Three stored formats of this layout; A511 names Wide, A512 a format
        // that was deleted since, A521 none; the program's default is Plain.
        Execute("INSERT INTO WARRANT (NT001, NT002, NT005) VALUES ('TfrmZorv52Fmt', 'Plain', ''), "
                "('TfrmZorv52Fmt', 'Wide', ''), ('TfrmZorv52Fmt', 'Narrow', '')");
        Execute("UPDATE CMSMQ SET MQ010 = 'Wide' WHERE MQ001 = 'A511'");
        Execute("UPDATE CMSMQ SET MQ010 = 'Gone' WHERE MQ001 = 'A512'");
        Execute("UPDATE CMSMQ SET MQ010 = '' WHERE MQ001 = 'A521'");
        Execute("UPDATE CMSMT SET MT014 = 'Plain' WHERE MT001 = 'ZORV52'");
    }

    QString Chosen() const { return form_->cboFormStyleName->Text(); }
};

TEST_F(FormatChoiceTest, EachSlipTypeGetsItsFormatOrTheProgramsDefaultNeverTheOneBefore)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->cboFormStyleNameDropDown(form->cboFormStyleName);
    ASSERT_EQ(form->cboFormStyleName->Items()->Lines(), (QStringList {"<New>", "Narrow", "Plain", "Wide"}));
    EXPECT_EQ(Chosen(), QStringLiteral("Plain")) << "the program's default before any slip type";

    EnterSlipType(form, QStringLiteral("A511"));
    EXPECT_EQ(Chosen(), QStringLiteral("Wide"));
    // A512's format is gone: the program's default, not A511's Wide.
    EnterSlipType(form, QStringLiteral("A512"));
    EXPECT_EQ(Chosen(), QStringLiteral("Plain"));
    // A521 names none.
    EnterSlipType(form, QStringLiteral("A511"));
    EnterSlipType(form, QStringLiteral("A521"));
    EXPECT_EQ(Chosen(), QStringLiteral("Plain"));

    // Without a default the program has none to fall back on: the built-in layout.
    Execute("UPDATE CMSMT SET MT014 = 'Gone too' WHERE MT001 = 'ZORV52'");
    EnterSlipType(form, QStringLiteral("A511"));
    EnterSlipType(form, QStringLiteral("A512"));
    EXPECT_EQ(Chosen(), QStringLiteral("<New>"));

    // What the run uses is what the box shows.
    record_->FormatName.clear();
    ASSERT_TRUE(form->PrintOrPreview(true));
    EXPECT_EQ(record_->FormatName, QStringLiteral("<New>"));
}

TEST_F(FormatChoiceTest, TheUsersOwnDefaultWinsWhenItIsListedAndIsPassedOverWhenNot)
{
    home_.write("UserDef.ini", "[VoucherFormatDef]\nZORV52_A511=Narrow\nZORV52_A512=Deleted long ago\n");
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->cboFormStyleNameDropDown(form->cboFormStyleName);
    EnterSlipType(form, QStringLiteral("A511"));
    EXPECT_EQ(Chosen(), QStringLiteral("Narrow"));
    EnterSlipType(form, QStringLiteral("A512"));
    EXPECT_EQ(Chosen(), QStringLiteral("Plain"))
        << "a default whose format is gone leaves the slip type's choice";
}

TEST_F(FormatChoiceTest, ANameTypedInOtherCaseIsTheStoredFormatWhenTheListIsReloaded)
{
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    form->cboFormStyleNameDropDown(form->cboFormStyleName);
    form->cboFormStyleName->SetText(QStringLiteral("wide"));
    form->cboFormStyleNameDropDown(form->cboFormStyleName);
    EXPECT_EQ(form->cboFormStyleName->ItemIndex(), 3);
    EXPECT_EQ(Chosen(), QStringLiteral("Wide"));
    form->cboFormStyleName->SetText(QStringLiteral("NARROW"));
    form->cboFormStyleNameDropDown(form->cboFormStyleName);
    EXPECT_EQ(Chosen(), QStringLiteral("Narrow"));
    // Another name is no stored format: the built-in layout.
    form->cboFormStyleName->SetText(QStringLiteral("Narrower"));
    form->cboFormStyleNameDropDown(form->cboFormStyleName);
    EXPECT_EQ(Chosen(), QStringLiteral("<New>"));
}

TEST_F(FormatChoiceTest, TheFormatFormLearnsTheUsersGroupAndTheFolderOfLocalFormats)
{
    QByteArray client = home_.read("StewardC.ini");
    ASSERT_TRUE(client.contains("[Client Components]"));
    home_.write("StewardC.ini",
        client.replace("[Client Components]", "[Client Components]\nCustomFormatPath= formats "));
    TfrmZorv52* form = Open(QStringLiteral("CHEN"));
    EnterSlipType(form, QStringLiteral("A511"));
    ASSERT_TRUE(form->PrintOrPreview(true));
    // CHEN belongs to PMC (ADMMF); the server's rights data say so after Connect.
    EXPECT_EQ(record_->Context.UserGroup, QStringLiteral("PMC"));
    // Relative to the home, ending in a separator: the store puts file names right after it.
    EXPECT_TRUE(record_->Context.CustomFormatPath.endsWith(QStringLiteral("formats\\")))
        << record_->Context.CustomFormatPath.toStdString();
    EXPECT_EQ(NativePath(record_->Context.CustomFormatPath),
        QDir(home_.path()).filePath(QStringLiteral("formats/")))
        << record_->Context.CustomFormatPath.toStdString();
}
