#include "common/forms/HVForm.h"

// A form sees no XML parser: pugixml stays behind the language controller's
// own sources (LangXml.h). Included first, so nothing else could bring it in.
#ifdef PUGIXML_VERSION
#error "common/forms/HVForm.h brings pugixml into every form"
#endif

#include "LanguageTestHome.h"
#include "common/TranslatorU.h"
#include "runtime/forms/StdCtrls.h"

#include <QDir>
#include <QWidget>
#include <gtest/gtest.h>

using steward_test::LanguageHome;

class TfrmHvSample : public THVForm {
    Q_OBJECT
public:
    explicit TfrmHvSample(TComponent* owner = nullptr)
        : THVForm(owner)
    {
        SetName(QStringLiteral("frmHvSample"));
        SetCaption(QStringLiteral("工单变更单"));
        SetBounds(0, 0, 320, 160);
        label->SetName(QStringLiteral("lblTitle"));
        label->SetParent(this);
        label->SetBounds(16, 16, 200, 20);
        label->SetCaption(QStringLiteral("单据类型"));
        button->SetName(QStringLiteral("btnOK"));
        button->SetParent(this);
        button->SetBounds(16, 60, 90, 28);
        button->SetCaption(QStringLiteral("确定"));
    }
    TLabel* label = new TLabel(this);
    TButton* button = new TButton(this);
};

TEST(HVForm, ConvertsOnceThenAppliesPackagesBaseFirst)
{
    LanguageHome home("950");
    home.WritePackage(QStringLiteral("CHT"), QStringLiteral("THVForm"),
        "<THVForm Hint=\"base\"><btnOK Caption=\"base OK\"/></THVForm>");
    home.WritePackage(QStringLiteral("CHT"), QStringLiteral("TfrmHvSample"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><TfrmHvSample><btnOK Caption=\"OK\"/></TfrmHvSample>");
    std::unique_ptr<TfrmHvSample> form(CreateForm<TfrmHvSample>());
    EXPECT_EQ(THVForm::PackageNames(form.get(), true),
        QStringList({QStringLiteral("THVForm"), QStringLiteral("TfrmHvSample")}));
    EXPECT_EQ(THVForm::PackageNames(form.get(), true, true), QStringList({QStringLiteral("TfrmHvSample")}));

    form->Show();
    EXPECT_TRUE(form->Converted());
    EXPECT_EQ(form->Caption(), QStringLiteral("工單變更單"));
    EXPECT_EQ(form->label->Caption(), QStringLiteral("單據類型"));
    EXPECT_EQ(form->button->Caption(), QStringLiteral("OK")) << "the descendant's package has the last word";
    EXPECT_EQ(form->Hint(), QStringLiteral("base"));
    EXPECT_TRUE(form->LanguageErrors().isEmpty());

    // Look at it: the converted form with its SimSun (AR PL UMing) font.
    const QString shots = qEnvironmentVariable("ZORV_BINARY_DIR") + QStringLiteral("/screenshots");
    QDir().mkpath(shots);
    EXPECT_TRUE(form->Widget()->grab().save(shots + QStringLiteral("/hvform-950.png")));

    const qint64 calls = form->HvConverter()->Translator()->CallCount();
    form->button->SetCaption(QStringLiteral("确定"));
    form->Hide();
    form->Show();
    EXPECT_EQ(form->HvConverter()->Translator()->CallCount(), calls)
        << "texts are converted on the first show only";
    EXPECT_EQ(form->button->Caption(), QStringLiteral("OK")) << "packages apply on every show";
}

TEST(HVForm, DamagedPackageIsReportedAndSkipped)
{
    LanguageHome home("950");
    home.WritePackage(
        QStringLiteral("CHT"), QStringLiteral("TfrmHvSample"), "<TfrmHvSample>\n<btnOK Caption='x'>\n");
    std::unique_ptr<TfrmHvSample> form(CreateForm<TfrmHvSample>());
    form->PrepareShow();
    ASSERT_EQ(form->LanguageErrors().size(), 1);
    EXPECT_TRUE(form->LanguageErrors().at(0).contains(QStringLiteral("Line ")))
        << form->LanguageErrors().at(0).toStdString();
    EXPECT_EQ(form->button->Caption(), QStringLiteral("確定"));
}

TEST(HVForm, EnglishInterfaceUsesTahomaAndMessagesFallBack)
{
    LanguageHome home("437", "1252");
    std::unique_ptr<TfrmHvSample> form(CreateForm<TfrmHvSample>());
    EXPECT_EQ(form->label->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(form->label->Font()->Charset(), GB2312_CHARSET);
    EXPECT_EQ(form->GetFormMessage(
                  QStringLiteral("TfrmHvSample"), QStringLiteral("W000006"), true, QStringLiteral("无资料")),
        QStringLiteral("无资料"));

    LanguageHome traditional("950");
    std::unique_ptr<TfrmHvSample> shown(CreateForm<TfrmHvSample>());
    EXPECT_EQ(shown->GetFormMessage(
                  QStringLiteral("TfrmHvSample"), QStringLiteral("W000006"), true, QStringLiteral("无资料")),
        QStringLiteral("無資料"));
    EXPECT_EQ(shown->GetFormMessage(
                  QStringLiteral("TfrmHvSample"), QStringLiteral("W000006"), false, QStringLiteral("无资料")),
        QStringLiteral("无资料"));
}

#include "HVFormTest.moc"
