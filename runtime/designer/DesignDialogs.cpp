#include "runtime/designer/DesignDialogs.h"

#include "runtime/designer/DesignerTexts.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

#include <memory>

namespace {

using FormPtr = std::unique_ptr<TForm, FreeComponent>;

FormPtr newDialog(const QString& name, const QString& caption, int width, int height)
{
    FormPtr form(new TForm(nullptr));
    form->SetName(name);
    form->SetCaption(caption);
    form->SetBorderStyle(bsDialog);
    form->SetClientWidth(width);
    form->SetClientHeight(height);
    auto* ok = new TButton(form.get());
    ok->SetName(QStringLiteral("btnOK"));
    ok->SetParent(form.get());
    ok->SetCaption(DesignerText("sOk", "确定"));
    ok->SetModalResult(mrOk);
    ok->SetBounds(width - 170, height - 34, 75, 25);
    auto* cancel = new TButton(form.get());
    cancel->SetName(QStringLiteral("btnCancel"));
    cancel->SetParent(form.get());
    cancel->SetCaption(DesignerText("sCancel", "取消"));
    cancel->SetModalResult(mrCancel);
    cancel->SetBounds(width - 88, height - 34, 75, 25);
    return form;
}

TRadioGroup* addGroup(
    TForm* form, const QString& name, const QString& caption, const QStringList& items, QRect box)
{
    auto* group = new TRadioGroup(form);
    group->SetName(name);
    group->SetParent(form);
    group->SetCaption(caption);
    for (const QString& item : items)
        group->Items()->Add(item);
    group->SetItemIndex(0);
    group->SetBounds(box.x(), box.y(), box.width(), box.height());
    return group;
}

TEdit* addEdit(TForm* form, const QString& name, const QString& text, QRect box)
{
    auto* edit = new TEdit(form);
    edit->SetName(name);
    edit->SetParent(form);
    edit->SetText(text);
    edit->SetBounds(box.x(), box.y(), box.width(), box.height());
    return edit;
}

// A positive whole number from an edit, or fallback.
int numberOf(const TEdit* edit, int fallback)
{
    bool ok = false;
    const int value = edit->Text().trimmed().toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

// Shows form; true, with the two groups' choices, when the user confirmed
// and chose something in either group (item 0 is "no change").
bool twoChoices(TForm* form, const TRadioGroup* first, const TRadioGroup* second, int& a, int& b)
{
    if (form->ShowModal() != mrOk)
        return false;
    a = std::max(0, first->ItemIndex());
    b = std::max(0, second->ItemIndex());
    return a != 0 || b != 0;
}

} // namespace

bool ExecuteAlignDialog(THorzAlign& horizontal, TVertAlign& vertical)
{
    FormPtr form
        = newDialog(QStringLiteral("DesignAlignDialog"), DesignerText("sAlignTitle", "元件对齐"), 360, 230);
    auto* h = addGroup(form.get(), QStringLiteral("rgHorizontal"), DesignerText("sHorizontal", "水平"),
        {DesignerText("sKeep", "不变"), DesignerText("sAlignLeft", "左边对齐"),
            DesignerText("sAlignCenter", "中心对齐"), DesignerText("sAlignRight", "右边对齐"),
            DesignerText("sSpaceEqually", "等间距"), DesignerText("sCenterInBand", "在区段中居中")},
        QRect(8, 8, 168, 176));
    auto* v = addGroup(form.get(), QStringLiteral("rgVertical"), DesignerText("sVertical", "垂直"),
        {DesignerText("sKeep", "不变"), DesignerText("sAlignTop", "顶端对齐"),
            DesignerText("sAlignCenter", "中心对齐"), DesignerText("sAlignBottom", "底端对齐"),
            DesignerText("sSpaceEqually", "等间距"), DesignerText("sCenterInBand", "在区段中居中")},
        QRect(184, 8, 168, 176));
    int hi = 0, vi = 0;
    if (!twoChoices(form.get(), h, v, hi, vi))
        return false;
    horizontal = static_cast<THorzAlign>(hi);
    vertical = static_cast<TVertAlign>(vi);
    return true;
}

bool ExecuteSizeDialog(TSizeRule& widthRule, int& width, TSizeRule& heightRule, int& height)
{
    FormPtr form
        = newDialog(QStringLiteral("DesignSizeDialog"), DesignerText("sSizeTitle", "大小"), 360, 200);
    const QStringList rules {DesignerText("sKeep", "不变"), DesignerText("sShrink", "缩至最小"),
        DesignerText("sGrow", "增至最大"), DesignerText("sSizeValue", "宽度/高度值")};
    auto* w = addGroup(
        form.get(), QStringLiteral("rgWidth"), DesignerText("sWidth", "宽度"), rules, QRect(8, 8, 168, 120));
    auto* h = addGroup(form.get(), QStringLiteral("rgHeight"), DesignerText("sHeight", "高度"), rules,
        QRect(184, 8, 168, 120));
    auto* ew = addEdit(form.get(), QStringLiteral("edWidth"), QString::number(width), QRect(8, 134, 100, 22));
    auto* eh
        = addEdit(form.get(), QStringLiteral("edHeight"), QString::number(height), QRect(184, 134, 100, 22));
    int wi = 0, hi = 0;
    if (!twoChoices(form.get(), w, h, wi, hi))
        return false;
    widthRule = static_cast<TSizeRule>(wi);
    heightRule = static_cast<TSizeRule>(hi);
    width = numberOf(ew, width);
    height = numberOf(eh, height);
    return true;
}

bool ExecuteScaleDialog(int& percent)
{
    FormPtr form
        = newDialog(QStringLiteral("DesignScaleDialog"), DesignerText("sScaleTitle", "缩放"), 240, 90);
    auto* label = new TLabel(form.get());
    label->SetName(QStringLiteral("lblScale"));
    label->SetParent(form.get());
    label->SetCaption(DesignerText("sScalePercent", "缩放比例 (%):"));
    label->SetBounds(8, 14, 100, 16);
    auto* edit
        = addEdit(form.get(), QStringLiteral("edScale"), QString::number(percent), QRect(112, 10, 80, 22));
    if (form->ShowModal() != mrOk)
        return false;
    bool ok = false;
    const int value = edit->Text().trimmed().toInt(&ok);
    // A scale outside what the designer can apply is no confirmation.
    if (!ok || value < 25 || value > 400)
        return false;
    percent = value;
    return true;
}
