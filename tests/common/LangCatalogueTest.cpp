// The catalogue of translatable texts: form descriptions and message look-ups
// in sources, and what a package built from it does to a real form.

#include "common/forms/LangCatalogue.h"
#include "common/forms/LangPackageBuilder.h"
#include "common/forms/LangSourceScan.h"
#include "common/forms/LanguageController.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/Exceptions.h"
#include "runtime/system/PhraseOverrides.h"
#include "runtime/system/ScriptConverter.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QStringList addresses(const TLangCatalogue& catalogue)
{
    QStringList found;
    for (const TLangEntry& entry : catalogue.Entries())
        found << entry.Address() + u'=' + entry.Source;
    return found;
}

QStringList strayTexts(const TLangCatalogue& catalogue)
{
    QStringList found;
    for (const TLangStray& stray : catalogue.Strays())
        found << stray.Origin + u' ' + stray.Text;
    return found;
}

const char* const sampleForm = R"dfm(inherited frmSample: TfrmSample
  Caption = '工单'#21464#26356
  Font.Name = #23435#20307
  object lblTitle: TLabel
    Caption = 'Title only'
    Hint = '单据类型'
  end
  object cboState: TComboBox
    Items.Strings = (
      'Y'
      '已审核'
      '未审核')
  end
  object lvList: TListView
    Columns = <
      item
        Caption = '单号'
      end
      item
        Caption = 'No'
      end>
  end
  object sbStatus: TStatusBar
    Panels = <
      item
        Text = '纸张'
      end>
  end
  object pnlRange: TSelectPanel
    Caption = '变更日期'
    BeginWords.Strings = (
      'from')
  end
end
)dfm";

} // namespace

TEST(LangCatalogue, FormDescriptionGivesEveryChineseTextByPackageAddress)
{
    TLangCatalogue catalogue;
    catalogue.SetControlTexts({{QStringLiteral("criteria/SelectPnl.cpp"), QStringLiteral("TSelectPanel"),
        {{QStringLiteral("BeginWords_0"), QStringLiteral("起")},
            {QStringLiteral("FinalWords_0"), QStringLiteral("止")},
            {QStringLiteral("cbUserChoice/Caption"), QStringLiteral("区间选择")}},
        {}}});
    catalogue.AddFormDescription(QString::fromUtf8(sampleForm), QStringLiteral("x/TfrmSample.dfm"));

    // The form's own caption belongs to the root (the class); the font name,
    // the ASCII caption and the English column stay out; the panel's own
    // words come in where the description does not set them.
    EXPECT_EQ(addresses(catalogue),
        QStringList({QStringLiteral("TfrmSample/TfrmSample.Caption=工单变更"),
            QStringLiteral("TfrmSample/lblTitle.Hint=单据类型"),
            QStringLiteral("TfrmSample/cboState.Items_1=已审核"),
            QStringLiteral("TfrmSample/cboState.Items_2=未审核"),
            QStringLiteral("TfrmSample/lvList.Columns_0.Caption=单号"),
            QStringLiteral("TfrmSample/pnlRange.Caption=变更日期"),
            QStringLiteral("TfrmSample/pnlRange.FinalWords_0=止"),
            QStringLiteral("TfrmSample/cbUserChoice.Caption=区间选择")}));
    // A status panel is no collection a package can address: accounted apart.
    EXPECT_EQ(strayTexts(catalogue), QStringList({QStringLiteral("x/TfrmSample.dfm:26 纸张")}));
    EXPECT_TRUE(catalogue.Conflicts().isEmpty());
}

TEST(LangCatalogue, OneAddressKeepsItsFirstTextAndReportsAnother)
{
    TLangCatalogue catalogue;
    catalogue.Add({QStringLiteral("P"), QStringLiteral("sSave"), QStringLiteral("Msg"),
        QStringLiteral("保存"), QStringLiteral("a:1")});
    catalogue.Add({QStringLiteral("P"), QStringLiteral("sSave"), QStringLiteral("Msg"),
        QStringLiteral("保存"), QStringLiteral("b:2")});
    EXPECT_TRUE(catalogue.Conflicts().isEmpty()) << "the same text twice is one entry";
    catalogue.Add({QStringLiteral("P"), QStringLiteral("sSave"), QStringLiteral("Msg"),
        QStringLiteral("另存"), QStringLiteral("c:3")});
    ASSERT_EQ(catalogue.Entries().size(), 1);
    EXPECT_EQ(catalogue.Entries()[0].Source, QStringLiteral("保存"));
    ASSERT_EQ(catalogue.Conflicts().size(), 1);
    EXPECT_TRUE(catalogue.Conflicts()[0].startsWith(QStringLiteral("P/sSave.Msg:")));
}

TEST(LangCatalogue, ScriptTests)
{
    EXPECT_TRUE(HasHanText(QStringLiteral("No. 单号")));
    EXPECT_FALSE(HasHanText(QStringLiteral("：！（）")));
    EXPECT_TRUE(HasCjkText(QStringLiteral("Name："))); // a full-width colon
    EXPECT_TRUE(HasCjkText(QStringLiteral("、"))); // CJK punctuation
    EXPECT_FALSE(HasCjkText(QStringLiteral("\"%1\" — café")));
}

TEST(LangSourceScan, LiteralsSkipCommentsAndCharactersAndJoinNeighbours)
{
    const QString text = QStringLiteral("// \"注释\" in a line comment\n"
                                        "/* \"块\"\n */ auto a = u'\\\\'; auto q = '\"';\n"
                                        "auto b = QStringLiteral(\"第一\" \"第二\\r\\n\");\n"
                                        "auto c = R\"x(raw \"引\")x\"; int n = 1'000;\n"
                                        "auto d = u8\"后\";\n");
    QStringList seen;
    for (const TSourceLiteral& literal : SourceLiterals(text))
        seen << QString::number(literal.Line) + u' ' + literal.Text;
    EXPECT_EQ(seen,
        QStringList(
            {QStringLiteral("4 第一第二\r\n"), QStringLiteral("5 raw \"引\""), QStringLiteral("6 后")}));
}

TEST(LangSourceScan, FindsLookUpsAndHelpersAndCallsTheRestStrays)
{
    const QList<TMessageHelper> helpers {
        {QStringLiteral("f/A.cpp"), QStringLiteral(R"re(\bText\(\s*"(\w*)"\s*,\s*$)re"),
            QStringLiteral("TfrmA"), {}, {}},
        {QStringLiteral("f/A.cpp"), QStringLiteral(R"re(\bQString\s+(\w+)\s*=\s*QStringLiteral\(\s*$)re"),
            QStringLiteral("TfrmA"), QStringLiteral("f/Keys.cpp"),
            QStringLiteral(R"re(\bkey\("(\w+)",\s*%1\))re")}};
    const TLangSourceScan scan(helpers);
    const QString text
        = QStringLiteral("x = GetFormMessage(QStringLiteral(\"TfrmB\"), QStringLiteral(\"sAsk\"), true,\n"
                         "        QStringLiteral(\"确定吗?\"));\n"
                         "y = GetLangMessage(dtClient, QStringLiteral(\"TfrmC\"), QStringLiteral(\"sLang\"), "
                         "QStringLiteral(\"语言\"));\n"
                         "z = Text(\"sNoFormat\", \"格式档不存在!\");\n"
                         "w = Text(\"\", \"没有名字\");\n"
                         "QString Sent = QStringLiteral(\"已发送\");\n"
                         "log(QStringLiteral(\"日志\"));\n");
    TLangCatalogue catalogue;
    scan.Scan(catalogue, text, QStringLiteral("f/A.cpp"), [](const QString& file) {
        return file == u"f/Keys.cpp" ? QStringLiteral("key(\"sMailSent\", Sent)") : QString();
    });
    EXPECT_EQ(addresses(catalogue),
        QStringList({QStringLiteral("TfrmB/sAsk.Msg=确定吗?"), QStringLiteral("TfrmC/sLang.Msg=语言"),
            QStringLiteral("TfrmA/sNoFormat.Msg=格式档不存在!"),
            QStringLiteral("TfrmA/sMailSent.Msg=已发送")}));
    // A helper call without a name cannot be looked up: a stray like the log line.
    EXPECT_EQ(strayTexts(catalogue),
        QStringList({QStringLiteral("f/A.cpp:5 没有名字"), QStringLiteral("f/A.cpp:7 日志")}));

    // The same call in a file the helper is not declared for is no look-up.
    TLangCatalogue other;
    scan.Scan(other, QStringLiteral("z = Text(\"sNoFormat\", \"格式档不存在!\");"), QStringLiteral("f/B.cpp"),
        [](const QString&) { return QString(); });
    EXPECT_TRUE(other.Entries().isEmpty());
    EXPECT_EQ(other.Strays().size(), 1);
}

TEST(LangDictionary, ReadsTranslationsAndRefusesDamagedLines)
{
    const TLangDictionary d = TLangDictionary::Parse(QStringLiteral(
        "# comment\n品名\tDescr.\n转出\\r是否?\tExported\\rOpen?\n@TfrmZ/lblName.Caption\tDescription\r\n"));
    const TLangEntry header {QStringLiteral("TfrmZ"), QStringLiteral("lblHead"), QStringLiteral("Caption"),
        QStringLiteral("品名"), {}};
    TLangEntry line = header;
    line.Element = QStringLiteral("lblName");
    EXPECT_EQ(d.Translate(header), QStringLiteral("Descr."));
    EXPECT_EQ(d.Translate(line), QStringLiteral("Description")) << "the place's own text outranks the word's";
    TLangEntry escaped = header;
    escaped.Source = QStringLiteral("转出\r是否?");
    EXPECT_EQ(d.Translate(escaped), QStringLiteral("Exported\rOpen?"));
    escaped.Source = QStringLiteral("别的");
    EXPECT_TRUE(d.Translate(escaped).isEmpty());
    EXPECT_EQ(TLangDictionary::Escape(QStringLiteral("a\tb\\c\nd")), QStringLiteral("a\\tb\\\\c\\nd"));

    EXPECT_THROW(TLangDictionary::Parse(QStringLiteral("品名 Descr.\n")), EConvertError);
    EXPECT_THROW(TLangDictionary::Parse(QStringLiteral("品名\t \n")), EConvertError);
    EXPECT_THROW(TLangDictionary::Parse(QStringLiteral("品名\tA\n品名\tB\n")), EConvertError);
    EXPECT_THROW(TLangDictionary::Parse(QStringLiteral("品名\tA\tB\n")), EConvertError);
}

TEST(LangPackageBuilder, BuildsThreePackagesAndSaysWhatIsMissing)
{
    TLangCatalogue catalogue;
    catalogue.Add({QStringLiteral("TfrmA"), QStringLiteral("TfrmA"), QStringLiteral("Caption"),
        QStringLiteral("打印"), QStringLiteral("a.dfm:2")});
    catalogue.Add({QStringLiteral("TfrmA"), QStringLiteral("btnOK"), QStringLiteral("Caption"),
        QStringLiteral("确定"), QStringLiteral("a.dfm:5")});
    catalogue.Add({QStringLiteral("TfrmA"), QStringLiteral("sAsk"), QStringLiteral("Msg"),
        QStringLiteral("打开?"), QStringLiteral("a.cpp:9")});
    catalogue.Add({QStringLiteral("TfrmA"), QStringLiteral("memo"), QStringLiteral("Lines_0"),
        QStringLiteral("壹"), QStringLiteral("a.dfm:7")});
    catalogue.AddStray({QStringLiteral("a.cpp:12"), QStringLiteral("日志")});
    catalogue.AddStray({QStringLiteral("a.cpp:14"), QStringLiteral("新的")});
    const TLangDictionary english = TLangDictionary::Parse(QStringLiteral("打印\tPrint\n确定\tOK：\n"));
    const TLangStrayAccount account = TLangStrayAccount::Parse(
        QStringLiteral("a.cpp\t日志\ta log line\na.dfm\t壹\tamount words\nb.cpp\t旧的\tgone\n"));

    const TLangBuild build = BuildPackages(catalogue, english, account,
        [](const QString& t) { return QString(t).replace(QStringLiteral("打印"), QStringLiteral("列印")); });
    const QByteArray chs = build.Files[QStringLiteral("CHS")][QStringLiteral("TfrmA.Lng")];
    const QByteArray cht = build.Files[QStringLiteral("CHT")][QStringLiteral("TfrmA.Lng")];
    const QByteArray eng = build.Files[QStringLiteral("ENG")][QStringLiteral("TfrmA.Lng")];
    EXPECT_TRUE(chs.contains("<TfrmA Caption=\"打印\">"));
    EXPECT_TRUE(cht.contains("<TfrmA Caption=\"列印\">"));
    EXPECT_TRUE(eng.contains("<TfrmA Caption=\"Print\">"));
    EXPECT_TRUE(eng.contains("<sAsk Msg=\"打开?\"/>")) << "kept whole, and said to be missing";
    EXPECT_FALSE(chs.contains("memo")) << "a text left in Chinese on purpose is in no package";

    const QString problems = build.Problems.join(u'\n');
    EXPECT_EQ(build.Problems.size(), 4) << problems.toStdString();
    EXPECT_TRUE(problems.contains(QStringLiteral("a.cpp:14: \"新的\" is no message look-up")))
        << problems.toStdString();
    EXPECT_TRUE(problems.contains(QStringLiteral("b.cpp \"旧的\""))) << problems.toStdString();
    EXPECT_TRUE(problems.contains(QStringLiteral("TfrmA/sAsk.Msg (a.cpp:9): no English")))
        << problems.toStdString();
    EXPECT_TRUE(problems.contains(QStringLiteral("TfrmA/btnOK.Caption: the English \"OK：\" holds Chinese")))
        << problems.toStdString();
}

TEST(LangPackageBuilder, DocumentAppliesToAFormAndKeepsLineBreaksOfMessages)
{
    const QList<TLangEntry> entries {{QStringLiteral("TForm"), QStringLiteral("TForm"),
                                         QStringLiteral("Caption"), QStringLiteral("单"), {}},
        {QStringLiteral("TForm"), QStringLiteral("btnOK"), QStringLiteral("Caption"), QStringLiteral("确定"),
            {}},
        {QStringLiteral("TForm"), QStringLiteral("cboState"), QStringLiteral("Items_1"),
            QStringLiteral("未审核"), {}},
        {QStringLiteral("TForm"), QStringLiteral("sAsk"), QStringLiteral("Msg"), QStringLiteral("a"), {}}};
    const QMap<QString, QString> english {{QStringLiteral("单"), QStringLiteral("Slip & <Co>")},
        {QStringLiteral("确定"), QStringLiteral("\"OK\"")},
        {QStringLiteral("未审核"), QStringLiteral("Not approved")},
        {QStringLiteral("a"), QStringLiteral("Exported to: %s\r\rOpen the file?")}};
    const QByteArray document = PackageDocument(
        QStringLiteral("TForm"), entries, [&](const TLangEntry& e) { return english.value(e.Source); });

    TForm form;
    auto* button = new TButton(&form);
    button->SetName(QStringLiteral("btnOK"));
    auto* combo = new TComboBox(&form);
    combo->SetName(QStringLiteral("cboState"));
    combo->Items()->SetLines({QStringLiteral("已审核"), QStringLiteral("未审核")});
    TLanguageController controller;
    auto* text = new TStrings(&controller);
    text->SetText(QString::fromUtf8(document));
    controller.SetLangXML(text);
    controller.SetActive(true);
    controller.ReadComponent(&form);
    EXPECT_EQ(form.Caption(), QStringLiteral("Slip & <Co>"));
    EXPECT_EQ(button->Caption(), QStringLiteral("\"OK\""));
    EXPECT_EQ(
        combo->Items()->Lines(), QStringList({QStringLiteral("已审核"), QStringLiteral("Not approved")}));

    // Messages are read from files: the carriage returns must survive the parser.
    const QString file
        = QDir::temp().filePath(QStringLiteral("zorv-lang-%1.Lng").arg(QCoreApplication::applicationPid()));
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(document);
    }
    EXPECT_EQ(LookupLangMessage(file, QStringLiteral("sAsk"), QStringLiteral("default")),
        QStringLiteral("Exported to: %s\r\rOpen the file?"));
    QFile::remove(file);
}

TEST(PhraseOverrides, PhrasesTakeTheirOwnRenderingAndTheRestIsConverted)
{
    const TPhraseOverrides overrides
        = TPhraseOverrides::Parse(QStringLiteral("# comment\n签核\t簽核\r\n签核人\t<signer>\n\n"));
    EXPECT_EQ(overrides.Size(), 2);
    // A stand-in converter that marks what it was given.
    const auto mark = [](const QString& piece) { return u'[' + piece + u']'; };
    EXPECT_EQ(overrides.Convert(QStringLiteral("签核人姓名: 签核栏"), mark),
        QStringLiteral("<signer>[姓名: ]簽核[栏]"))
        << "the longer phrase first; results are not converted again";
    EXPECT_EQ(overrides.Convert(QStringLiteral("打印"), mark), QStringLiteral("[打印]"));
    EXPECT_EQ(overrides.Convert(QStringLiteral("签核"), mark), QStringLiteral("簽核"));
    EXPECT_EQ(overrides.Convert(QString(), mark), QStringLiteral("[]"));
    for (const char* damaged : {"签核", "签核\t", "\t簽核", "签核\t簽核\t!", "签核\ta\n签核\tb"}) {
        EXPECT_THROW(TPhraseOverrides::Parse(QString::fromUtf8(damaged)), EConvertError) << damaged;
    }
}

TEST(PhraseOverrides, TheShippedTableMendsWhatOpenCCGetsWrong)
{
    QFile file(testsupport::sourcePath(QStringLiteral("common/forms/tool/Traditional.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const TPhraseOverrides overrides = TPhraseOverrides::Parse(QString::fromUtf8(file.readAll()));
    const TScriptConverter opencc(QStringLiteral("s2twp.json"));
    const auto convert = [&](const QString& text) {
        return overrides.Convert(text, [&](const QString& piece) { return opencc.Convert(piece); });
    };
    ASSERT_EQ(opencc.Convert(QStringLiteral("签核")), QStringLiteral("籤核"))
        << "OpenCC mended itself: drop the line";
    EXPECT_EQ(convert(QStringLiteral("签核人姓名:")), QStringLiteral("簽核人姓名:"));
    EXPECT_EQ(convert(QStringLiteral("页脚签核")), QStringLiteral("頁尾簽核"));
    EXPECT_EQ(convert(QStringLiteral("工单变更单打印")), QStringLiteral("工單變更單列印"))
        << "Taiwan phrases stay";
}
