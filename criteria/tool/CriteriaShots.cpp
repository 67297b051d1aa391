// Renders the criteria controls and forms to PNG files, so that their look
// can be checked by eye: criteria-shots <folder>.

#include "controls/ExtPage.h"
#include "criteria/BaseGene.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/Forms.h"

#include <QApplication>
#include <QDir>
#include <QWidget>
#include <cstdio>
#include <functional>

namespace {

TSelectPanel* panel(TForm* form, const char* name, const QString& caption, int left, int top)
{
    auto* p = new TSelectPanel(form);
    p->SetName(QString::fromLatin1(name));
    p->SetParent(form);
    p->SetCaption(caption);
    p->SetLeft(left);
    p->SetTop(top);
    return p;
}

// Shows the form, lets prepare change it while it is on screen, and grabs it.
void save(TForm* form, const QString& file, const std::function<void()>& prepare = {})
{
    form->Show();
    if (prepare)
        prepare();
    QWidget* w = form->Widget();
    QApplication::processEvents();
    if (!w->grab().save(file))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    else
        std::printf("%s\n", qPrintable(file));
    form->Hide();
}

void panels(const QString& folder)
{
    TForm form;
    form.SetName(QStringLiteral("frmPanels"));
    form.SetCaption(QStringLiteral("选择面板"));
    form.Font()->SetName(QStringLiteral("SimSun"));
    form.Font()->SetHeight(-13);
    form.SetClientWidth(600);
    form.SetClientHeight(340);

    TSelectPanel* range = panel(&form, "spNo", QStringLiteral("变更单号"), 8, 8);
    range->SetWidth(380);
    range->SetHeight(52);
    range->edBegin->SetText(QStringLiteral("5101-20240501001"));
    range->edFinal->SetText(QStringLiteral("5101-20240531099"));

    TSelectPanel* date = panel(&form, "spDate", QStringLiteral("变更日期"), 8, 66);
    date->SetWidth(380);
    date->SetHeight(52);
    date->SetEditMask(QStringLiteral("!9999/99/99;1;_"));
    date->edBegin->SetText(QStringLiteral("2024/05/01"));

    TSelectPanel* vertical = panel(&form, "spVer", QStringLiteral("变更版次"), 396, 8);
    vertical->SetUseVertical(true);
    vertical->SetBounds(396, 8, 196, 110);
    vertical->edBegin->SetText(QStringLiteral("0001"));
    vertical->edFinal->SetText(QStringLiteral("0003"));

    TSelectPanel* list = panel(&form, "spType", QStringLiteral("单别"), 8, 128);
    list->SetStyle(sp_Discrete);
    list->SetBounds(8, 128, 290, 200);
    list->SetShowColumnHeader(true);
    TStrings columns;
    columns.SetLines({QStringLiteral("单别"), QStringLiteral("单据名称")});
    list->SetColumnCaptions(&columns);
    list->ListBox->AddRow({QStringLiteral("5101"), QStringLiteral("工单变更单")});
    list->ListBox->AddRow({QStringLiteral("5102"), QStringLiteral("委外工单变更单")});
    list->ListBox->AddRow({QStringLiteral("5103"), QStringLiteral("重工工单变更单")});

    TSelectPanel* choice = panel(&form, "spCheck", QStringLiteral("审核日期"), 306, 128);
    choice->SetStyle(sp_UserChoice);
    choice->SetBounds(306, 128, 286, 96);

    TSelectPanel* choiceList = panel(&form, "spPrint", QStringLiteral("打印状态"), 306, 232);
    choiceList->SetStyle(sp_UserChoice);
    choiceList->SetBounds(306, 232, 286, 96);
    choiceList->SetUserChoice(false);
    choiceList->ListBox->AddRow({QStringLiteral("未打印")});
    choiceList->ListBox->AddRow({QStringLiteral("已打印")});
    save(&form, folder + QStringLiteral("/select-panels.png"));
}

// A criteria form as a program's options window fills it, with saved schemes.
void baseForm(const QString& folder)
{
    std::unique_ptr<TfrmBaseGene, FreeComponent> form(CreateForm<TfrmBaseGene>());
    ReadComponent(form.get(), QStringLiteral(R"(inherited frmBaseGene: TfrmBaseGene
  Width = 700
  Height = 400
  Caption = '工单变更单打印[示范公司]'
  inherited pgOption: TExtPageControl
    inherited tsOption1: TTabSheet
      object spType: TSelectPanel
        Left = 6
        Top = 4
        Width = 516
        Height = 50
        Caption = '单别'
        TabOrder = 0
      end
      object spNo: TSelectPanel
        Left = 6
        Top = 58
        Width = 516
        Height = 50
        Caption = '变更单号'
        TabOrder = 1
      end
      object spDate: TSelectPanel
        Left = 6
        Top = 112
        Width = 254
        Height = 104
        Caption = '变更日期'
        UseVertical = True
        TabOrder = 2
      end
      object spCheck: TSelectPanel
        Left = 268
        Top = 112
        Width = 254
        Height = 104
        Caption = '审核状态'
        Style = sp_UserChoice
        TabOrder = 3
      end
    end
  end
end
)"));
    auto* list = form->lstCondition;
    for (const char* name : {"本月工单变更", "委外变更单", "上周已审核"}) {
        TListItem* item = list->Items()->Add();
        item->SetCaption(QString::fromUtf8(name));
        item->SubItems()->Add(QStringLiteral("2024/05/31"));
    }
    for (const char* caption : {"方案名称", "创建时间"}) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(QString::fromUtf8(caption));
        column->SetWidth(80);
    }
    list->SetViewStyle(vsReport);
    form->FindComponent<TSelectPanel>(QStringLiteral("spNo"))
        ->edBegin->SetText(QStringLiteral("5101-20240501001"));
    form->FindComponent<TSelectPanel>(QStringLiteral("spDate"))
        ->SetEditMask(QStringLiteral("!9999/99/99;1;_"));
    form->pgOption->SetActivePage(form->tsOption1);
    save(form.get(), folder + QStringLiteral("/base-form.png"));
    save(form.get(), folder + QStringLiteral("/base-form-system.png"), [&] {
        form->pgOption->SetActivePage(form->tsOption2);
        form->SystemPageFirstShow();
        form->edPrintDate->SetText(QStringLiteral("2024/05/31"));
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    RegisterSelectPanel();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    panels(folder);
    baseForm(folder);
    return 0;
}
