// A new user redesigns the change slip through the real options window on
// the demo home: opens the designer, moves the title, hides a field, brings
// a hidden one back, adds a label and an extended field of a related table,
// saves under a new name, closes; previews with that format and finds
// the changes on the page; opens the designer again and finds them there;
// deletes the format and it leaves the list and the table.
// With ZORV_DESIGNER_SCREENSHOTS set to a folder the designer window is
// saved there as zorv52-design-1.png (after the edits) and
// zorv52-design-2.png (opened again).

#include "ChangeSlipWindowFixture.h"

#include "format/FormatDesign.h"
#include "format/FormatStore.h"
#include "format/VRPreviewF.h"
#include "runtime/designer/DCFormDesigner.h"
#include "runtime/designer/DesignToolWindow.h"
#include "runtime/designer/DreamDesigner.h"
#include "runtime/designer/ObjectProperties.h"
#include "runtime/designer/ReportQueryBuilder.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRPrinter.h"
#include "zorv52/Zorv52F.h"
#include "zorv52/Zorv52FmtF.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QTest>
#include <QTimer>

namespace {

const QString NewFormat = QStringLiteral("我的变更单");
const QString NoteText = QStringLiteral("请于三日内回签");

int countOf(const QList<TQRPageModel::TextAt>& texts, const QString& text)
{
    return static_cast<int>(
        std::count_if(texts.begin(), texts.end(), [&](const auto& t) { return t.Text == text; }));
}

QRect boxStartingWith(const QList<TQRPageModel::TextAt>& texts, const QString& start)
{
    for (const auto& t : texts)
        if (t.Text.startsWith(start))
            return t.Box;
    return QRect();
}

QRect boxOf(const QList<TQRPageModel::TextAt>& texts, const QString& text)
{
    for (const auto& t : texts)
        if (t.Text == text)
            return t.Box;
    return QRect();
}

} // namespace

class FormatDesignFlowTest : public ChangeSlipWindowTest {
protected:
    void SetUp() override
    {
        DemoServerTest::SetUp();
        OpenWindow(true);
        if (HasFatalFailure())
            return;
        const QStringList row
            = Column(QStringLiteral("SELECT TO001 || ',' || TO002 || ',' || TO003 FROM MOCTO "
                                    "ORDER BY TO001, TO002, TO003 LIMIT 1"))
                  .value(0)
                  .split(u',');
        keys_ = Variant::ArrayOf({Variant(row.value(0)), Variant(row.value(1)), Variant(row.value(2))});
        // The change date as the slip prints it (the date style of the window: "YYYY/MM/DD").
        const QString date
            = Column(QStringLiteral("SELECT TO004 FROM MOCTO WHERE TO001='%1' AND TO002='%2' AND TO003='%3'")
                         .arg(row.value(0), row.value(1), row.value(2)))
                  .value(0);
        changeDate_ = date.left(4) + u'/' + date.mid(4, 2) + u'/' + date.mid(6, 2);
        itemName_
            = Column(QStringLiteral("SELECT MB002 FROM INVMB, MOCTO WHERE MB001 = TO005 AND TO001='%1' AND "
                                    "TO002='%2' AND TO003='%3'")
                         .arg(row.value(0), row.value(1), row.value(2)))
                  .value(0);
    }

    // The first sheet's texts of a key preview with the format. A key print
    // takes the slip type's format, the program's default or the user's own
    // default for the slip type (UserDef.ini), never what the box showed
    // before: the format is named there.
    QList<TQRPageModel::TextAt> previewFirstPage(const QString& formatName)
    {
        home_.write(QStringLiteral("UserDef.ini"),
            QStringLiteral("[VoucherFormatDef]\r\nZORV52_%1=%2\r\n")
                .arg(keys_[0].ToString(), formatName)
                .toUtf8());
        QList<TQRPageModel::TextAt> texts;
        dialogs_->ExpectModal([&](TForm* shown) {
            auto* preview = qobject_cast<TfrmVRPreview*>(shown);
            if (!preview)
                return mrCancel;
            preview->Report()->QRPrinter()->Complete();
            texts = preview->Report()->Pages()->Texts(1);
            return mrOk;
        });
        EXPECT_TRUE(form_->PrintKeys(keys_, true));
        return texts;
    }

    // The design form the options window opened.
    TfrmZorv52Fmt* openDesigner()
    {
        form_->btnDesignClick(form_->btnDesign);
        auto* design = dynamic_cast<TfrmZorv52Fmt*>(form_->DesignForm());
        if (design) {
            EXPECT_TRUE(design->DreamDesigner1->Active());
            EXPECT_FALSE(form_->Enabled()) << "the options window waits while the designer is open";
        }
        return design;
    }

    // The user's Ctrl+F12 in the design window; the window ends the session
    // from the event loop.
    void stopDesigner(TfrmZorv52Fmt* design)
    {
        QTest::keyClick(design->DreamDesigner1->Surface(), Qt::Key_F12, Qt::ControlModifier);
        for (int i = 0; i < 5 && form_->DesignForm(); ++i)
            QCoreApplication::processEvents();
    }

    void picture(TfrmZorv52Fmt* design, const QString& name)
    {
        const QString folder = qEnvironmentVariable("ZORV_DESIGNER_SCREENSHOTS");
        if (folder.isEmpty())
            return;
        QDir().mkpath(folder);
        QWidget* window = design->DreamDesigner1->Window();
        window->resize(1280, 860);
        QCoreApplication::processEvents();
        window->grab().save(folder + u'/' + name);
    }

    QString storedText(const QString& name)
    {
        return Column(
            QStringLiteral("SELECT NT003 FROM WARRANT WHERE NT001='TfrmZorv52Fmt' AND NT002='%1'").arg(name))
            .value(0);
    }

    Variant keys_;
    QString changeDate_;
    QString itemName_;
};

TEST_F(FormatDesignFlowTest, ADesignedFormatIsSavedUsedReopenedAndDeleted)
{
    // The built-in layout first, to compare with.
    const QList<TQRPageModel::TextAt> before = previewFirstPage(QStringLiteral("<New>"));
    const QRect titleBefore = boxStartingWith(before, QStringLiteral("工单变更单"));
    ASSERT_FALSE(titleBefore.isEmpty());
    const QRect captionBefore = boxOf(before, QStringLiteral("变更日期:"));
    ASSERT_FALSE(captionBefore.isEmpty());
    ASSERT_FALSE(changeDate_.isEmpty());
    const int datesBefore = countOf(before, changeDate_);
    ASSERT_FALSE(itemName_.isEmpty());
    ASSERT_GE(datesBefore, 1) << "the change date prints on the built-in layout: " << qPrintable(changeDate_);
    EXPECT_EQ(countOf(before, NoteText), 0);

    // Design: the slip type entered, as the criteria need it; then move the
    // title, hide the change date, add a label.
    form_->edTO001->SetText(keys_[0].ToString());
    form_->edTO001Exit(form_->edTO001);
    TfrmZorv52Fmt* design = openDesigner();
    ASSERT_NE(design, nullptr);
    TDreamDesigner* designer = design->DreamDesigner1;
    TDCFormDesigner* model = designer->GetActiveDesigner();
    ASSERT_NE(model, nullptr);
    const QPoint titleAt = design->lblVoucherName->BoundsRect().topLeft();
    model->SelectComponent(design->lblVoucherName);
    model->MoveSelection(40, 8);
    EXPECT_EQ(design->lblVoucherName->BoundsRect().topLeft(), titleAt + QPoint(40, 8));
    auto* changeDate = design->FindComponent<TQRDBText>(QStringLiteral("txtTO004"));
    ASSERT_NE(changeDate, nullptr);
    designer->SelectComponent(changeDate);
    QTest::keyClick(designer->Surface(), Qt::Key_Delete);
    EXPECT_FALSE(changeDate->Enabled()) << "Del hides a built-in field";
    TControl* label = design->Design()->DragDrop(
        {QString::fromLatin1(TDesignToolWindow::LabelTool), -1, design->QRGroup, QPoint(420, 4)});
    ASSERT_NE(label, nullptr);
    const QString labelName = label->Name(); // the form and its label go when the designer closes
    EXPECT_TRUE(labelName.startsWith(QLatin1String("ExLbl"))) << qPrintable(labelName);
    designer->SelectComponent(label);
    ASSERT_TRUE(designer->Inspector()->EditValue(QStringLiteral("Caption"), NoteText));
    // Bring back the print date, hidden off the page in the built-in layout:
    // from the field list onto its band.
    TDesignToolWindow* tools = designer->ToolWindow();
    const QString fields = QString::fromLatin1(TDesignToolWindow::FieldList);
    int printDateRow = -1;
    for (int r = 0; r < tools->RowCount(fields); ++r)
        if (tools->Row(fields, r).value(2) == QLatin1String("lblPrintDate1"))
            printDateRow = r;
    ASSERT_GE(printDateRow, 0) << "the hidden print date is listed";
    ASSERT_EQ(design->Design()->DragDrop({fields, printDateRow, design->QRGroup, QPoint(500, 62)}),
        design->lblPrintDate1);
    EXPECT_TRUE(design->lblPrintDate1->Enabled());
    // An extended field: the item's name from the item table, related to
    // the slip's item (what the relation wizard adds), dropped on the header.
    ASSERT_EQ(design->SQLReBuilder->AddRelationTable(
                  QStringLiteral("INVMB"), QStringLiteral("RT0.MB001 = MOCTO.TO005")),
        0);
    ASSERT_EQ(design->SQLReBuilder->AddField(0, QStringLiteral("MB002"), QStringLiteral("品名"), 0), 0);
    designer->RefreshFieldLists();
    TControl* extended = design->Design()->DragDrop(
        {QString::fromLatin1(TDesignToolWindow::ExtendedList), 0, design->QRGroup, QPoint(330, 64)});
    ASSERT_NE(extended, nullptr);
    const QString extendedName = extended->Name();
    picture(design, QStringLiteral("zorv52-design-1.png"));

    // Close: save under a new name; the list shows it, selected.
    dialogs_->ExpectMessage(mrYes, QStringLiteral("你是否想要保存呢?"));
    dialogs_->ExpectInput(true, NewFormat);
    stopDesigner(design);
    EXPECT_EQ(form_->DesignForm(), nullptr);
    EXPECT_TRUE(form_->Enabled());
    EXPECT_GE(form_->cboFormStyleName->Items()->IndexOf(NewFormat), 0);
    EXPECT_EQ(form_->cboFormStyleName->Text(), NewFormat);
    const QString stored = storedText(NewFormat);
    // Stored as CHEN of group PMC, the group the server named at Connect.
    EXPECT_EQ(Column(QStringLiteral("SELECT CREATOR || '/' || USR_GROUP FROM WARRANT WHERE NT002='%1'")
                         .arg(NewFormat)),
        QStringList {QStringLiteral("CHEN/PMC")});
    EXPECT_TRUE(stored.contains(QLatin1String("object ExLbl"))) << qPrintable(stored);
    for (const char* absent : {"DreamDesigner1", "PopupMenu1", "miDel", "  "})
        EXPECT_FALSE(stored.contains(QLatin1String(absent))) << absent << "\n" << qPrintable(stored);

    // A preview with that format: the title moved, the date gone, the label there.
    const QList<TQRPageModel::TextAt> after = previewFirstPage(NewFormat);
    const QRect titleAfter = boxStartingWith(after, QStringLiteral("工单变更单"));
    ASSERT_FALSE(titleAfter.isEmpty());
    EXPECT_GT(titleAfter.left(), titleBefore.left());
    EXPECT_GT(titleAfter.top(), titleBefore.top());
    EXPECT_EQ(boxOf(after, QStringLiteral("变更日期:")), captionBefore) << "only the title moved";
    EXPECT_EQ(countOf(after, changeDate_), datesBefore - 1);
    EXPECT_EQ(countOf(after, NoteText), 1);
    // The print date shows in the header as well as in the footer.
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
    EXPECT_EQ(countOf(after, today), countOf(before, today) + 1) << qPrintable(today);
    // The extended field printed the item's name from the related table:
    // once more than the built-in layout shows it.
    EXPECT_EQ(countOf(after, itemName_), countOf(before, itemName_) + 1) << qPrintable(itemName_);
    // The built-in layout is still there under "<New>".
    EXPECT_EQ(boxStartingWith(previewFirstPage(QStringLiteral("<New>")), QStringLiteral("工单变更单")),
        titleBefore);

    // The designer opened again on that format finds everything. Its stored
    // relations get the window's query parts, as the run's and not the
    // designer's, and the relation wizard comes up on them.
    form_->cboFormStyleName->SetText(NewFormat);
    bool wizard = false, designerFlag = true;
    TBuilderPieces handed;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != QLatin1String("frmLinkPlanner"))
            return;
        watch.stop();
        wizard = true;
        if (auto* opened = dynamic_cast<TfrmZorv52Fmt*>(form_->DesignForm())) {
            handed = opened->SQLReBuilder->Pieces();
            designerFlag = opened->SQLReBuilder->DesignerMode();
        }
        dialog->reject();
    });
    watch.start();
    TfrmZorv52Fmt* again = openDesigner();
    watch.stop();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(wizard) << "the relation wizard runs on the loaded relations";
    EXPECT_FALSE(designerFlag);
    EXPECT_EQ(handed.Select, form_->Pieces().SelectPart());
    EXPECT_EQ(handed.From, form_->Pieces().FromPart());
    EXPECT_EQ(handed.Where, form_->Pieces().WherePart());
    EXPECT_FALSE(handed.Select.isEmpty());
    EXPECT_FALSE(again->SQLReBuilder->DesignerMode());
    EXPECT_EQ(again->FormatName(), NewFormat);
    EXPECT_TRUE(again->DreamDesigner1->Window()->windowTitle().endsWith(u'[' + NewFormat + u']'))
        << qPrintable(again->DreamDesigner1->Window()->windowTitle());
    EXPECT_EQ(again->lblVoucherName->BoundsRect().topLeft(), titleAt + QPoint(40, 8));
    EXPECT_FALSE(again->FindComponent<TQRDBText>(QStringLiteral("txtTO004"))->Enabled());
    auto* note = again->FindComponent<TQRLabel>(labelName);
    EXPECT_NE(note, nullptr);
    EXPECT_EQ(note ? note->Caption() : QString(), NoteText);
    EXPECT_TRUE(again->Store()->RuntimeComponents.contains(labelName));
    EXPECT_NE(again->FindComponent<ReportDBText>(extendedName), nullptr);
    EXPECT_TRUE(again->lblPrintDate1->Enabled());
    EXPECT_EQ(again->lblPrintDate1->BoundsRect().topLeft(), QPoint(500, 62));
    EXPECT_EQ(again->SQLReBuilder->Field(0, 0).Component, extendedName);
    picture(again, QStringLiteral("zorv52-design-2.png"));
    dialogs_->ExpectMessage(mrNo, QStringLiteral("你是否想要保存呢?"));
    stopDesigner(again);
    EXPECT_EQ(form_->DesignForm(), nullptr);

    // Delete it: gone from the list and the table.
    form_->cboFormStyleName->SetText(NewFormat);
    dialogs_->ExpectMessage(mrYes, QStringLiteral("确认删除"));
    dialogs_->ExpectMessage(mrOk, QStringLiteral("删除成功"));
    form_->btnDelFormStypeClick(form_->btnDelFormStype);
    EXPECT_LT(form_->cboFormStyleName->Items()->IndexOf(NewFormat), 0);
    EXPECT_TRUE(storedText(NewFormat).isEmpty());
    form_->ReloadFormatList();
    EXPECT_LT(form_->cboFormStyleName->Items()->IndexOf(NewFormat), 0);
}

TEST_F(FormatDesignFlowTest, TheShellClosingTheDesignerAsksToSaveAndFreesTheDesignForm)
{
    form_->edTO001->SetText(keys_[0].ToString());
    form_->edTO001Exit(form_->edTO001);
    TfrmZorv52Fmt* design = openDesigner();
    ASSERT_NE(design, nullptr);
    design->lblVoucherName->SetLeft(design->lblVoucherName->Left() + 16);
    const int rows = static_cast<int>(Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT")));
    // The controller's close while the designer is still on: the designer
    // stops as the user would stop it, and the window is told only once.
    dialogs_->ExpectMessage(mrNo, QStringLiteral("你是否想要保存呢?"));
    form_->CloseDesigner();
    EXPECT_EQ(form_->DesignForm(), nullptr);
    EXPECT_TRUE(form_->Enabled());
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents(); // nothing queued may reach the freed form
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT")), rows) << "No stores nothing";
    // The next design session opens as the first did.
    TfrmZorv52Fmt* next = openDesigner();
    ASSERT_NE(next, nullptr);
    dialogs_->ExpectMessage(mrNo, QStringLiteral("你是否想要保存呢?"));
    stopDesigner(next);
    EXPECT_EQ(form_->DesignForm(), nullptr);
}

TEST_F(FormatDesignFlowTest, TheDesignWindowsTitleBarCloseAsksToSaveAndGivesTheOptionsWindowBack)
{
    form_->edTO001->SetText(keys_[0].ToString());
    form_->edTO001Exit(form_->edTO001);
    TfrmZorv52Fmt* design = openDesigner();
    ASSERT_NE(design, nullptr);
    design->lblVoucherName->SetLeft(design->lblVoucherName->Left() + 16);
    QWidget* window = design->DreamDesigner1->Window();
    // Cancel keeps designing; the options window still waits.
    dialogs_->ExpectMessage(mrCancel, QStringLiteral("你是否想要保存呢?"));
    window->close();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(form_->DesignForm(), design);
    EXPECT_TRUE(design->DreamDesigner1->Active());
    EXPECT_FALSE(form_->Enabled());
    // Save as from the tool bar: the window's title names the new format.
    auto* saveAs = window->findChild<QAction*>(QStringLiteral("actnuSaveAs"));
    ASSERT_NE(saveAs, nullptr);
    dialogs_->ExpectInput(true, QStringLiteral("另存一"));
    dialogs_->ExpectMessage(mrOk, QStringLiteral("另存格式档成功"));
    saveAs->trigger();
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("[另存一]")))
        << qPrintable(window->windowTitle());
    // No: nothing more stored, the session ends and the options window works again.
    const qint64 rows = Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT"));
    dialogs_->ExpectMessage(mrNo, QStringLiteral("你是否想要保存呢?"));
    window->close();
    for (int i = 0; i < 5 && form_->DesignForm(); ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(form_->DesignForm(), nullptr);
    EXPECT_TRUE(form_->Enabled());
    EXPECT_EQ(Count(QStringLiteral("SELECT COUNT(*) FROM WARRANT")), rows);
}

TEST_F(FormatDesignFlowTest, DesignWithoutASlipTypeSaysWhatIsMissingAndOpensNoDesigner)
{
    form_->edTO001->SetText(QString());
    form_->edTO001Exit(form_->edTO001);
    dialogs_->ExpectMessage(mrOk, QStringLiteral("请输入选择变更单别"));
    form_->btnDesignClick(form_->btnDesign);
    EXPECT_EQ(form_->DesignForm(), nullptr);
    EXPECT_TRUE(form_->Enabled());
}
