// Renders the criteria controls and forms to PNG files, so that their look
// can be checked by eye: criteria-shots <folder>.

#include "criteria/SelectPnl.h"
#include "runtime/forms/Forms.h"

#include <QApplication>
#include <QDir>
#include <QWidget>
#include <cstdio>

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

void save(TForm* form, const QString& file)
{
    form->Show();
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

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    RegisterSelectPanel();
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(folder);
    panels(folder);
    return 0;
}
