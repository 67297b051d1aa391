// The format store against the demo application server: stored texts,
// the edit counter, two users racing, failures that must not lose a layout,
// and hostile stored rows.
#include "../runtime/designer/SampleReportForm.h"
#include "suite/appserver/DemoServerFixture.h"

#include "format/FormatStore.h"
#include "runtime/designer/LayoutKit.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/AutoObject.h"
#include "runtime/system/NativePath.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <functional>
#include <memory>

namespace {

using FormPtr = std::unique_ptr<TfrmDesignSample, FreeComponent>;

// The server as the store sees it, with a hook that may run before (or
// instead of) a member.
class ServerProxy : public TAutoObject {
public:
    explicit ServerProxy(Variant target)
        : TAutoObject(QStringLiteral("ServerProxy"))
        , target_(std::move(target))
    {
        for (const char* member : {"GetBlobField", "RunUpdFlagSQL", "RunInsUpdSQL"})
            AddMethod(
                QString::fromLatin1(member), [this, name = QString::fromLatin1(member)](VariantList& args) {
                    if (Before)
                        Before(name);
                    return target_.Call(name, args);
                });
    }
    std::function<void(const QString& member)> Before;

private:
    Variant target_;
};

class FormatStoreTest : public DemoServerTest {
protected:
    void SetUp() override
    {
        DemoServerTest::SetUp();
        TfrmDesignSample::Register();
    }
    FormPtr newForm() { return FormPtr(new TfrmDesignSample(nullptr)); }
    TFormatStoreHost hostFor(TComponent* form, const Variant& server)
    {
        TFormatStoreHost host;
        host.Form = form;
        host.ApplicationServer = server;
        host.CompanyCode = QStringLiteral("HV01");
        host.UserCode = QStringLiteral("CHEN");
        host.UserGroup = QStringLiteral("PMC");
        host.ClientHome = home_.path() + u'/';
        host.CustomFormatPath = home_.path() + QStringLiteral("/formats/");
        QDir().mkpath(home_.path() + QStringLiteral("/formats"));
        host.LangText = [](const QString&, const QString& text) { return text; };
        return host;
    }
    // The stored text of a format as the server keeps it.
    QString storedText(const QString& name)
    {
        return Column(
            QStringLiteral("SELECT NT003 FROM WARRANT WHERE NT001='TfrmDesignSample' AND NT002='%1'")
                .arg(name))
            .value(0);
    }
    QString storedCounter(const QString& name)
    {
        return Column(QStringLiteral("SELECT FLAG FROM WARRANT WHERE NT001='TfrmDesignSample' AND NT002='%1'")
                          .arg(name))
            .value(0);
    }
    void execute(const QString& sql)
    {
        const QString error = Execute(sql);
        ASSERT_TRUE(error.isEmpty()) << qPrintable(error);
    }
    // Saves form under name through the designer's save path; the dialogs
    // answer Yes to every question.
    bool saveAs(TFormatStore& store, const QString& name)
    {
        ScriptedDialogService dialogs;
        dialogs.ExpectMessage(mrYes, QStringLiteral("你是否想要保存呢?"));
        store.FormatName = name;
        bool done = false;
        try {
            store.SaveChanges(done);
        } catch (const EAbort&) {
            return false;
        }
        return store.Saved && done;
    }
};

TEST_F(FormatStoreTest, ANewFormatIsStoredAsDifferencesAndReadsBackIntoAFreshForm)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    FormPtr form = newForm();
    TFormatStore store(hostFor(form.get(), server));
    store.NameLimit = 40;
    form->qrlTitle->SetLeft(300);
    form->qrlTitle->Font()->SetCharset(CHINESEBIG5_CHARSET);
    form->qrdHidden->SetEnabled(true);
    auto* label = new TQRLabel(form.get());
    label->SetName(QStringLiteral("ExLbl1"));
    label->SetParent(form->DetailBand1);
    label->SetCaption(QStringLiteral("新建标签"));
    store.RuntimeComponents << QStringLiteral("ExLbl1");
    {
        ScriptedDialogService dialogs;
        dialogs.ExpectMessage(mrYes, QStringLiteral("你是否想要保存呢?"));
        dialogs.ExpectInput(true, QStringLiteral("格式一"));
        bool done = false;
        store.SaveChanges(done);
        EXPECT_TRUE(done);
        EXPECT_TRUE(dialogs.Failures().isEmpty());
    }
    EXPECT_TRUE(store.Saved);
    EXPECT_EQ(store.FormatName, QStringLiteral("格式一"));
    const QString text = storedText(QStringLiteral("格式一"));
    EXPECT_EQ(storedCounter(QStringLiteral("格式一")), QStringLiteral("1"));
    EXPECT_TRUE(text.contains(QLatin1String("object ExLbl1: TQRLabel"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QLatin1String("GB2312_CHARSET"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QLatin1String("CHINESEBIG5_CHARSET"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QLatin1String("qrdName"))) << qPrintable(text); // unchanged: not stored
    for (const QString& line : text.split(QRegularExpression(QStringLiteral("\r?\n"))))
        EXPECT_EQ(line, line.trimmed()) << "indented: " << qPrintable(line);

    // Read back, then saved again: the added label stays an "object".
    FormPtr again = newForm();
    TFormatStore second(hostFor(again.get(), server));
    second.FormatName = QStringLiteral("格式一");
    bool done = false;
    second.LoadChanges(done);
    EXPECT_TRUE(done);
    EXPECT_EQ(again->qrlTitle->Left(), 300);
    EXPECT_TRUE(again->qrdHidden->Enabled());
    ASSERT_NE(again->FindComponent(QStringLiteral("ExLbl1")), nullptr);
    EXPECT_EQ(second.RuntimeComponents, QStringList {QStringLiteral("ExLbl1")});
    again->qrlTitle->SetTop(20);
    {
        ScriptedDialogService dialogs;
        dialogs.ExpectMessage(mrYes, QStringLiteral("你是否想要保存呢?"));
        dialogs.ExpectMessage(mrYes, QStringLiteral("该格式档[格式一]已经存在"));
        bool saved = false;
        second.SaveChanges(saved);
        EXPECT_TRUE(second.Saved);
    }
    EXPECT_EQ(storedCounter(QStringLiteral("格式一")), QStringLiteral("2"));
    EXPECT_TRUE(storedText(QStringLiteral("格式一")).contains(QLatin1String("object ExLbl1: TQRLabel")));
    EXPECT_FALSE(storedText(QStringLiteral("格式一")).contains(QLatin1String("inherited ExLbl1")));
}

TEST_F(FormatStoreTest, TheCounterAfter999IsOne)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    FormPtr form = newForm();
    TFormatStore store(hostFor(form.get(), server));
    store.FormatName = QStringLiteral("A");
    ASSERT_TRUE(saveAs(store, QStringLiteral("A")));
    execute(QStringLiteral("UPDATE WARRANT SET FLAG = 999 WHERE NT002 = 'A'"));
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrYes);
    dialogs.ExpectMessage(mrYes, QStringLiteral("已经存在"));
    bool done = false;
    store.SaveChanges(done);
    EXPECT_TRUE(store.Saved);
    EXPECT_EQ(storedCounter(QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(CounterToLock(QStringLiteral("999")), 0);
    EXPECT_EQ(CounterToLock(QStringLiteral("x")), 0);
    EXPECT_EQ(CounterToLock(QStringLiteral(" 41 ")), 41);
}

TEST_F(FormatStoreTest, OfTwoUsersSavingAtOnceOneWinsAndTheOtherKeepsItsLayoutInTheLocalFile)
{
    const Variant serverA = NewServer(QStringLiteral("CHEN"));
    const Variant serverB = NewServer(QStringLiteral("LIU"));
    FormPtr first = newForm();
    {
        TFormatStore seed(hostFor(first.get(), serverA));
        ASSERT_TRUE(saveAs(seed, QStringLiteral("共用")));
    }
    FormPtr formA = newForm();
    FormPtr formB = newForm();
    formA->qrlTitle->SetLeft(111);
    formB->qrlTitle->SetLeft(222);
    auto proxy = std::make_shared<ServerProxy>(serverA);
    TFormatStore storeA(hostFor(formA.get(), Variant(proxy)));
    TFormatStore storeB(hostFor(formB.get(), serverB));
    storeA.FormatName = storeB.FormatName = QStringLiteral("共用");
    // A has read the row; before it asks for the lock, B saves.
    proxy->Before = [&](const QString& member) {
        if (member != QLatin1String("RunUpdFlagSQL"))
            return;
        proxy->Before = nullptr;
        bool done = false;
        storeB.SaveChanges(done);
    };
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrYes); // A: save?
    dialogs.ExpectMessage(mrYes, QStringLiteral("已经存在")); // A: exists
    dialogs.ExpectMessage(mrYes); // B: save?
    dialogs.ExpectMessage(mrYes, QStringLiteral("已经存在")); // B: exists
    dialogs.ExpectMessage(mrOk, QStringLiteral("锁定格式档失败")); // A: lost
    bool done = false;
    EXPECT_THROW(storeA.SaveChanges(done), EAbort);
    EXPECT_TRUE(dialogs.Failures().isEmpty()) << qPrintable(dialogs.Failures().join(u'\n'));
    EXPECT_EQ(dialogs.Pending(), 0);
    EXPECT_TRUE(storeB.Saved);
    EXPECT_FALSE(storeA.SaveOK);
    EXPECT_EQ(storedCounter(QStringLiteral("共用")), QStringLiteral("2"));
    EXPECT_TRUE(storedText(QStringLiteral("共用")).contains(QLatin1String("Left = 222")));
    // A's layout is in its local file, and comes back after a restart.
    const QString file = storeA.LocalFormatFile(QStringLiteral("共用"));
    ASSERT_TRUE(QFileInfo::exists(NativePath(file))) << qPrintable(file);
    FormPtr restarted = newForm();
    TFormatStore storeC(hostFor(restarted.get(), serverA));
    storeC.NameLimit = 40;
    storeC.FormatName = QStringLiteral("共用");
    ScriptedDialogService again;
    again.ExpectMessage(mrYes, QStringLiteral("是否加载上次保存失败时的修改"));
    again.ExpectInput(true, QStringLiteral("共用"));
    storeC.LoadLocalClick();
    EXPECT_EQ(restarted->qrlTitle->Left(), 111);
}

TEST_F(FormatStoreTest, AServerThatFailsLeavesTheRowAsItWasAndTheLayoutInTheLocalFile)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    FormPtr form = newForm();
    {
        TFormatStore seed(hostFor(form.get(), server));
        ASSERT_TRUE(saveAs(seed, QStringLiteral("B")));
    }
    const QString before = storedText(QStringLiteral("B"));
    auto proxy = std::make_shared<ServerProxy>(server);
    proxy->Before = [](const QString& member) {
        if (member == QLatin1String("RunInsUpdSQL"))
            throw EOleError(QStringLiteral("connection lost"));
    };
    form->qrdNo->SetLeft(77);
    TFormatStore store(hostFor(form.get(), Variant(proxy)));
    ScriptedDialogService dialogs;
    dialogs.ExpectMessage(mrYes);
    dialogs.ExpectMessage(mrYes, QStringLiteral("已经存在"));
    dialogs.ExpectMessage(mrOk, QStringLiteral("更新格式档失败"));
    store.FormatName = QStringLiteral("B");
    bool done = false;
    EXPECT_THROW(store.SaveChanges(done), EAbort);
    EXPECT_FALSE(store.Saved);
    EXPECT_EQ(storedText(QStringLiteral("B")), before);
    FormPtr fresh = newForm();
    LoadFormLayoutFromFile(fresh.get(), store.LocalFormatFile(QStringLiteral("B")));
    EXPECT_EQ(fresh->qrdNo->Left(), 77);
    // A new format whose insert raises: the same, with the insert's message.
    ScriptedDialogService more;
    more.ExpectMessage(mrYes);
    more.ExpectInput(true, QStringLiteral("C"));
    more.ExpectMessage(mrOk, QStringLiteral("保存格式档失败"));
    store.FormatName = QStringLiteral("<new>");
    store.NameLimit = 40;
    EXPECT_THROW(store.SaveChanges(done), EAbort);
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT WHERE NT002 = 'C'")), 0);
    EXPECT_TRUE(QFileInfo::exists(NativePath(store.LocalFormatFile(QStringLiteral("C")))));
    EXPECT_EQ(store.FormatName, QStringLiteral("<new>"));
}

TEST_F(FormatStoreTest, DamagedAndHostileStoredTextsGiveTheMessagesAndTheBuiltInLayout)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    FormPtr form = newForm();
    form->qrlTitle->SetLeft(300);
    auto* label = new TQRLabel(form.get());
    label->SetName(QStringLiteral("ExLbl1"));
    label->SetParent(form->DetailBand1);
    TFormatStore store(hostFor(form.get(), server));
    store.RuntimeComponents << QStringLiteral("ExLbl1");
    ASSERT_TRUE(saveAs(store, QStringLiteral("H")));
    const QString good = storedText(QStringLiteral("H"));
    const auto storeText = [&](const QString& text) {
        QString quoted = text;
        quoted.replace(u'\'', QLatin1String("''"));
        execute(QStringLiteral("UPDATE WARRANT SET NT003 = '%1' WHERE NT002 = 'H'").arg(quoted));
    };
    // An event bound to one of the form's handlers: refused whole.
    storeText(QString(good).replace(
        QLatin1String("Left = 300"), QLatin1String("Left = 300\nOnPrint = qrlTitlePrint")));
    {
        ScriptedDialogService dialogs;
        ScriptedDialogService::Answer ok;
        ok.Result = IDOK;
        dialogs.Expect(DialogKind::MessageBox, ok, QStringLiteral("Open Standard DFM error!! "));
        FormPtr fresh = newForm();
        TFormatStore reader(hostFor(fresh.get(), server));
        reader.FormatName = QStringLiteral("H");
        bool done = false;
        reader.LoadChanges(done);
        EXPECT_EQ(fresh->qrlTitle->Left(), 240);
        EXPECT_EQ(fresh->FindComponent(QStringLiteral("ExLbl1")), nullptr);
        EXPECT_TRUE(dialogs.Failures().isEmpty());
    }
    // Seeded mutations of the good text: never a crash, either the layout
    // or one of the two messages with the built-in layout.
    int refused = 0, read = 0;
    for (quint32 seed = 1; seed <= 60; ++seed) {
        QRandomGenerator rnd(seed);
        QString text = good;
        const int edits = 1 + rnd.bounded(4);
        for (int i = 0; i < edits; ++i) {
            const int at = rnd.bounded(static_cast<int>(text.size()));
            switch (rnd.bounded(4)) {
            case 0:
                text.remove(at, 1 + rnd.bounded(8));
                break;
            case 1:
                text.insert(at, QStringLiteral("'#$({<>})=\n").at(rnd.bounded(11)));
                break;
            case 2:
                text.insert(at, QStringLiteral("\nobject X%1: TQRLabel\nend\n").arg(seed));
                break;
            default:
                text.insert(at, QString(200, u'('));
                break;
            }
        }
        storeText(text);
        ScriptedDialogService dialogs;
        int messages = 0;
        for (int i = 0; i < 2; ++i)
            dialogs.Expect(DialogKind::MessageBox,
                {IDOK, true, {}, [&](const DialogRequest& r) {
                     ++messages;
                     EXPECT_EQ(r.Caption, QStringLiteral("Open Error"));
                     EXPECT_TRUE(r.Text.startsWith(QLatin1String("Open Standard DFM error!! "))
                         || r.Text.startsWith(QLatin1String("Can not read DFM data !!  ")))
                         << "seed " << seed;
                     return IDOK;
                 }});
        FormPtr fresh = newForm();
        TFormatStore reader(hostFor(fresh.get(), server));
        reader.FormatName = QStringLiteral("H");
        bool done = false;
        reader.LoadChanges(done);
        EXPECT_TRUE(done) << "seed " << seed;
        if (messages > 0 && fresh->FindComponent(QStringLiteral("ExLbl1")) == nullptr) {
            EXPECT_EQ(fresh->qrlTitle->Left(), 240) << "seed " << seed;
        }
        (messages > 0 ? refused : read) += 1;
    }
    // The mutations reach both roads.
    EXPECT_GT(refused, 10);
    EXPECT_GT(read, 0);
}

TEST_F(FormatStoreTest, OnABig5SystemStoredCharacterSetsReadAsBig5AndAreStoredAsGB2312)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    FormPtr form = newForm();
    form->qrlTitle->Font()->SetCharset(GB2312_CHARSET);
    form->qrlTitle->SetLeft(1);
    TFormatStore store(hostFor(form.get(), server));
    ASSERT_TRUE(saveAs(store, QStringLiteral("T")));
    ASSERT_TRUE(storedText(QStringLiteral("T")).contains(QLatin1String("GB2312_CHARSET")));
    FormPtr fresh = newForm();
    TFormatStoreHost host = hostFor(fresh.get(), server);
    host.SystemCodePage = QStringLiteral("950");
    TFormatStore big5(host);
    big5.FormatName = QStringLiteral("T");
    bool done = false;
    big5.LoadChanges(done);
    EXPECT_EQ(fresh->qrlTitle->Font()->Charset(), CHINESEBIG5_CHARSET);
    const QStringList lines = big5.StoredLines();
    EXPECT_TRUE(lines.join(u'\n').contains(QLatin1String("GB2312_CHARSET")));
    EXPECT_FALSE(lines.join(u'\n').contains(QLatin1String("CHINESEBIG5_CHARSET")));
}

TEST_F(FormatStoreTest, TheNameDialogKeepsTheByteLimitAndRefusesTheReservedName)
{
    const Variant server = NewServer(QStringLiteral("CHEN"));
    FormPtr form = newForm();
    TFormatStoreHost host = hostFor(form.get(), server);
    int asked = 0;
    host.Query = [&](const QString& kind, const Variant& params, Variant& rows) {
        ++asked;
        EXPECT_EQ(kind, QStringLiteral("SimpleSql"));
        EXPECT_TRUE(params[0].ToString().contains(QLatin1String("col.name ='NT002'")));
        rows = Variant::ArrayOf({Variant::ArrayOf({6})});
        return true;
    };
    TFormatStore store(host);
    store.ReadNameLimit();
    EXPECT_EQ(asked, 1);
    ASSERT_EQ(store.NameLimit, 6);
    ScriptedDialogService dialogs;
    dialogs.ExpectInput(true, QStringLiteral("格式一A")); // 7 bytes
    dialogs.ExpectMessage(mrOk, QStringLiteral("自定单据格式名称不可大于 6 码"));
    dialogs.ExpectInput(true, QStringLiteral("<NEW>"));
    dialogs.ExpectMessage(mrOk, QStringLiteral("请输入一个新的凭证格式档名称"));
    dialogs.ExpectInput(true, QString());
    dialogs.ExpectMessage(mrNo, QStringLiteral("当前的凭证格式档名称为空白"));
    dialogs.ExpectInput(true, QStringLiteral("格式一")); // exactly 6 bytes
    QString name;
    EXPECT_TRUE(store.AskFormatName(name, QStringLiteral("c"), QStringLiteral("p")));
    EXPECT_EQ(name, QStringLiteral("格式一"));
    dialogs.ExpectInput(false, QString());
    EXPECT_FALSE(store.AskFormatName(name, QStringLiteral("c"), QStringLiteral("p")));
    // An empty catalogue answer: only a confirmed blank name passes.
    host.Query = [](const QString&, const Variant&, Variant& rows) {
        rows = Variant::ArrayOf({});
        return true;
    };
    TFormatStore empty(host);
    empty.ReadNameLimit();
    EXPECT_EQ(empty.NameLimit, 0);
    dialogs.ExpectInput(true, QStringLiteral("A"));
    dialogs.ExpectMessage(mrOk, QStringLiteral("不可大于 0 码"));
    dialogs.ExpectInput(true, QString());
    dialogs.ExpectMessage(mrYes, QStringLiteral("空白"));
    EXPECT_TRUE(empty.AskFormatName(name, QStringLiteral("c"), QStringLiteral("p")));
    EXPECT_EQ(name, QString());
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

TEST(FormatStoreFilesTest, LocalFilesAndPagePicturesAreNamedAfterClassNameAndMode)
{
    EXPECT_EQ(LocalFormatFilePath(QString(), QStringLiteral("D:\\Home\\"), 2, QStringLiteral("TfrmZorv52Fmt"),
                  QStringLiteral("A")),
        QStringLiteral("D:\\Home\\C_DATA\\CHT_TfrmZorv52Fmt_A.dat"));
    EXPECT_EQ(LocalFormatFilePath(QStringLiteral("E:\\F\\"), QStringLiteral("D:\\Home\\"), 1,
                  QStringLiteral("TfrmX"), QStringLiteral("  ")),
        QStringLiteral("E:\\F\\CHS_TfrmX.dat"));
    EXPECT_EQ(LocalFormatFilePath(
                  QString(), QStringLiteral("D:\\H\\"), 4, QStringLiteral("TfrmX"), QStringLiteral(" B ")),
        QStringLiteral("D:\\H\\C_DATA\\TfrmX_B.dat"));
    EXPECT_EQ(BackgroundPicturePath(QStringLiteral("D:\\H\\"), 2, QStringLiteral("TfrmZorv52Fmt"), 1),
        QStringLiteral("D:\\H\\C_DATA\\CHT_ZORV52H.emf"));
    EXPECT_EQ(BackgroundPicturePath(QStringLiteral("D:\\H\\"), 1, QStringLiteral("TfrmZorv52FmtB"), 0),
        QStringLiteral("D:\\H\\C_DATA\\CHS_ZORV52B.emf"));
    EXPECT_EQ(
        BackgroundPicturePath(QStringLiteral("D:\\H\\"), 0, QStringLiteral("TfrmZorv52Fmt"), 1), QString());
}

} // namespace

namespace {

TEST(FormatStoreFilesTest, StringValuesChangeScriptWhateverTheirSpelling)
{
    const auto traditional = [](const QString& text) {
        QString out = text;
        out.replace(QStringLiteral("单"), QStringLiteral("單"))
            .replace(QStringLiteral("标"), QStringLiteral("標"));
        return out;
    };
    // #codes, quoted runs, doubled quotes; names and numbers untouched.
    EXPECT_EQ(ConvertFormTextStrings(QStringLiteral("Caption = #21333#21495' ''no'''"), traditional),
        QStringLiteral("Caption = #21934#21495' ''no'''"));
    EXPECT_EQ(ConvertFormTextStrings(QStringLiteral("Hint = 'x' + "), traditional),
        QStringLiteral("Hint = 'x' + "));
    EXPECT_EQ(ConvertFormTextStrings(QStringLiteral("object ExLbl1: TQRLabel"), traditional),
        QStringLiteral("object ExLbl1: TQRLabel"));
    EXPECT_EQ(ConvertFormTextStrings(QStringLiteral("Items.Strings = ('#26631' #26631)"), traditional),
        QStringLiteral("Items.Strings = ('#26631' #27161)"));
    EXPECT_EQ(ConvertFormTextStrings(QStringLiteral("Left = 12"), traditional), QStringLiteral("Left = 12"));
    // A damaged code (too large, cut off) does not throw.
    EXPECT_EQ(ConvertFormTextStrings(QStringLiteral("Caption = #9999999 'abc"), traditional),
        QStringLiteral("Caption = #9999999 'abc"));
}

} // namespace
