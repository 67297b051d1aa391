#include "common/forms/LibCodeConvert.h"

#include "common/StewardINI.h"
#include "common/TranslatorU.h"
#include "common/forms/FontAliases.h"
#include "common/forms/LibRTTI.h"
#include "runtime/data/DataSet.h"
#include "runtime/data/Field.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/StdCtrls.h"

#include <QApplication>
#include <QHash>
#include <QToolTip>

namespace {

constexpr QChar kExclusionSeparator = QChar(3);
const QString kSimSun = QStringLiteral("SimSun");

// The list texts are joined into one block for the library; a text that
// holds a line break itself cannot be split back, so such lists go line by line.
bool joinable(const QStringList& lines)
{
    for (const QString& line : lines)
        if (line.contains(u'\n'))
            return false;
    return true;
}

// Screen-wide fonts (hints, menus, message boxes) follow the font rule.
void setScreenFonts(int mode)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return;
    if (mode != 0 && mode != 1 && mode != 2 && mode != 3 && mode != 4)
        return;
    for (const char* className : {"QToolTip", "QMenu", "QMenuBar", "QMessageBox"}) {
        QFont font = QApplication::font(className);
        font.setFamilies({kSimSun});
        QApplication::setFont(font, className);
    }
    QFont tip = QToolTip::font();
    tip.setFamilies({kSimSun});
    QToolTip::setFont(tip);
}

} // namespace

void SetChineseFont(int mode, TFont* font)
{
    if (!font)
        return;
    switch (mode) {
    case 0:
    case 1:
    case 4:
        font->SetName(kSimSun);
        font->SetCharset(GB2312_CHARSET);
        break;
    case 2:
    case 3:
        font->SetName(kSimSun);
        font->SetCharset(CHINESEBIG5_CHARSET);
        break;
    default:
        break;
    }
}

TCodeConverter::TCodeConverter(TComponent* owner)
    : TComponent(owner)
{
    LoadFontAliases();
    loadSettings();
}

TCodeConverter::~TCodeConverter() = default;

void TCodeConverter::SetDesignType(TDesignType value)
{
    if (designType_ == value)
        return;
    designType_ = value;
    loadSettings();
}

bool TCodeConverter::IsPropertyStored(const char* name) const
{
    return qstrcmp(name, "DesignType") == 0 || TComponent::IsPropertyStored(name);
}

void TCodeConverter::loadSettings()
{
    auto take = [this](const TStewardIniBase& ini) {
        systemCodePage_ = ini.SystemCodePage;
        uiCodePage_ = ini.UICodePage;
        dbCodePage_ = ini.DBCodePage;
        uiConvertMode_ = ini.UIConvertMode;
        dbConvertMode_ = ini.DBConvertMode;
    };
    if (designType_ == dtServer)
        take(TStewardIniS());
    else
        take(TStewardIniC());
    // The library is needed as soon as either side converts: database texts
    // of the other code page are converted even when the interface is not.
    if (uiConvertMode_ == 0 && dbConvertMode_ == 0)
        translator_.reset();
    else if (!translator_)
        translator_ = std::make_unique<TTranslator>();
}

QString TCodeConverter::ConvertText(int direction, const QString& text) const
{
    if (!translator_ || text.isEmpty())
        return text;
    if (direction == cdBig5ToGB)
        return translator_->BIG5toGB(text);
    if (direction == cdGBToBig5)
        return translator_->GBtoBIG5(text);
    return text;
}

QStringList TCodeConverter::ConvertLines(int direction, const QStringList& lines) const
{
    if (!translator_ || lines.isEmpty() || (direction != cdBig5ToGB && direction != cdGBToBig5))
        return lines;
    if (joinable(lines)) {
        const QStringList converted = ConvertText(direction, lines.join(u'\n')).split(u'\n');
        if (converted.size() == lines.size())
            return converted;
    }
    QStringList converted;
    converted.reserve(lines.size());
    for (const QString& line : lines)
        converted << ConvertText(direction, line);
    return converted;
}

Variant TCodeConverter::ConvertVariant(int direction, const Variant& value) const
{
    const Variant& v = value.Deref();
    if (direction == cdNone || !translator_ || v.IsEmptyOrNull())
        return v;
    try {
        if (v.IsString())
            return ConvertText(direction, v.ToString());
        if (!v.IsArray())
            return v; // numbers, dates and Booleans have no text to convert
        Variant result = v;
        if (v.DimCount() == 2) {
            for (int i = v.LowBound(1); i <= v.HighBound(1); ++i)
                for (int j = v.LowBound(2); j <= v.HighBound(2); ++j)
                    result.At(i, j) = ConvertVariant(direction, v.At(i, j));
            return result;
        }
        for (int i = v.LowBound(1); i <= v.HighBound(1); ++i)
            result.At(i) = ConvertVariant(direction, v.At(i));
        return result;
    } catch (const Exception&) {
        return v;
    }
}

Variant TCodeConverter::reverse(int mode, const Variant& value) const
{
    if (mode == 1)
        return ConvertVariant(cdGBToBig5, value);
    if (mode == 2)
        return ConvertVariant(cdBig5ToGB, value);
    return value.Deref();
}

void TCodeConverter::convertTextProperty(QObject* object, const char* name, int direction) const
{
    const QString propName = QString::fromLatin1(name);
    if (!LibRTTI::IsPropertyOfType(object, propName, QStringLiteral("QString")))
        return;
    const QString text = LibRTTI::GetPropText(object, propName);
    if (text.isEmpty())
        return;
    if (pending_ && (direction == cdBig5ToGB || direction == cdGBToBig5)) {
        pending_->push_back({object, propName, text});
        return;
    }
    const QString converted = ConvertText(direction, text);
    if (converted != text)
        LibRTTI::SetPropText(object, propName, converted);
}

void TCodeConverter::flushPendingTexts(int direction)
{
    std::vector<PendingText> texts;
    std::swap(texts, *pending_);
    pending_ = nullptr;
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(texts.size()));
    for (const PendingText& text : texts)
        lines << text.Text;
    const QStringList converted = ConvertLines(direction, lines);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QString& result = converted.at(static_cast<qsizetype>(i));
        if (texts[i].Object && result != texts[i].Text)
            LibRTTI::SetPropText(texts[i].Object, texts[i].Property, result);
    }
}

void TCodeConverter::convertStrings(QObject* list, int direction) const
{
    auto* strings = qobject_cast<TStrings*>(list);
    if (!strings || strings->Count() == 0)
        return;
    const QStringList converted = ConvertLines(direction, strings->Lines());
    if (converted != strings->Lines())
        strings->SetLines(converted);
}

void TCodeConverter::ConvertListView(TListView* listView, int direction) const
{
    if (!listView)
        return;
    // Every text of the view in one block: column captions, then each item's
    // caption followed by its sub-items.
    QStringList texts;
    for (int i = 0; i < listView->Columns()->Count(); ++i)
        texts << listView->Column(i)->Caption();
    for (int i = 0; i < listView->Items()->Count(); ++i) {
        TListItem* item = listView->Items()->Items(i);
        texts << item->Caption() << item->SubItems()->Lines();
    }
    if (texts.isEmpty())
        return;
    const QStringList converted = ConvertLines(direction, texts);
    int at = 0;
    for (int i = 0; i < listView->Columns()->Count(); ++i)
        listView->Column(i)->SetCaption(converted.at(at++));
    for (int i = 0; i < listView->Items()->Count(); ++i) {
        TListItem* item = listView->Items()->Items(i);
        item->SetCaption(converted.at(at++));
        const int subCount = item->SubItems()->Count();
        if (subCount > 0)
            item->SubItems()->SetLines(converted.mid(at, subCount));
        at += subCount;
    }
}

void TCodeConverter::ConvertForm(TForm* form, bool useExclusions, bool deep)
{
    if (!form || !translator_ || uiConvertMode_ == 0)
        return;
    const int mode = uiConvertMode_;
    // The title belongs to the desktop as much as to the form: on a Big5
    // system it is shown in traditional characters even when the interface
    // stays simplified (mode 4), so it is converted on its own, before the
    // form's texts are gathered for one call in the interface's direction.
    const bool big5System = systemCodePage_ == QLatin1String("950");
    if (big5System)
        convertTextProperty(form, "Caption", cdGBToBig5);
    std::vector<PendingText> pending;
    pending_ = &pending;
    struct Reset {
        std::vector<PendingText>*& pending;
        ~Reset() { pending = nullptr; }
    } reset {pending_};
    if (!big5System)
        convertTextProperty(form, "Caption", mode);
    convertTextProperty(form, "Hint", mode);
    convertTextProperty(form, "ButtonHint", mode);
    setScreenFonts(mode);

    // Exclusion lines by upper-case component name.
    QHash<QString, QStringList> exclusions;
    if (useExclusions) {
        for (const QString& line : std::as_const(exclusionList_)) {
            const int separator = static_cast<int>(line.indexOf(kExclusionSeparator));
            const QString name = (separator < 0 ? line : line.left(separator)).trimmed().toUpper();
            QStringList props;
            if (separator >= 0)
                for (const QString& p : line.mid(separator + 1).split(u',', Qt::SkipEmptyParts))
                    props << p.trimmed().toUpper();
            if (!name.isEmpty())
                exclusions.insert(name, props);
        }
    }

    const QList<TComponent*> components = form->ComponentList();
    for (TComponent* component : components) {
        const auto excluded = exclusions.constFind(component->Name().toUpper());
        if (excluded != exclusions.constEnd()) {
            LibRTTI::SetPropOrdinal(component, QStringLiteral("ParentFont"), 0);
            if (!excluded->isEmpty())
                convertProperties(component, mode, &*excluded);
            continue;
        }
        convertProperties(component, mode, nullptr);
        convertClassSteps(component, mode, deep);
    }
    flushPendingTexts(mode);
}

void TCodeConverter::convertProperties(TComponent* component, int mode, const QStringList* skip)
{
    auto wanted
        = [skip](const char* name) { return !skip || !skip->contains(QString::fromLatin1(name).toUpper()); };
    auto* combo = qobject_cast<TComboBox*>(component);
    const int comboIndex = combo ? combo->ItemIndex() : -1;

    for (const char* fontName : {"Font", "TitleFont"})
        if (wanted(fontName)
            && LibRTTI::IsPropertyOfType(component, QString::fromLatin1(fontName), QStringLiteral("TFont")))
            SetChineseFont(
                mode, qobject_cast<TFont*>(LibRTTI::GetPropObject(component, QString::fromLatin1(fontName))));
    for (const char* textName : {"Caption", "Hint", "ButtonHint"})
        if (wanted(textName))
            convertTextProperty(component, textName, mode);
    for (const char* listName : {"Items", "Lines"})
        if (wanted(listName)
            && LibRTTI::IsPropertyOfType(
                component, QString::fromLatin1(listName), QStringLiteral("TStrings")))
            convertStrings(LibRTTI::GetPropObject(component, QString::fromLatin1(listName)), mode);
    if (combo && combo->ItemIndex() != comboIndex)
        combo->SetItemIndex(comboIndex);
    // A list combo shows its selected line as Text, converted with the items.
    if (wanted("Text") && !(combo && !combo->IsEditable()))
        convertTextProperty(component, "Text", mode);
    if (wanted("Style") && mode != 0) {
        if (combo && combo->Style() == csDropDownList) {
            combo->SetStyle(csOwnerDrawFixed);
            combo->SetItemIndex(comboIndex);
        } else if (auto* listBox = qobject_cast<TListBox*>(component);
                   listBox && listBox->Style() == lbStandard) {
            listBox->SetStyle(lbOwnerDrawFixed);
        }
    }
    if (wanted("Panels") && LibRTTI::HasProperty(component, QStringLiteral("Panels"))) {
        if (auto* panels
            = qobject_cast<TCollection*>(LibRTTI::GetPropObject(component, QStringLiteral("Panels")))) {
            QStringList texts;
            for (TCollectionItem* panel : panels->ItemList())
                texts << LibRTTI::GetPropText(panel, QStringLiteral("Text"));
            const QStringList converted = ConvertLines(mode, texts);
            for (int i = 0; i < panels->Count() && i < converted.size(); ++i)
                if (converted.at(i) != texts.at(i))
                    LibRTTI::SetPropText(panels->Items(i), QStringLiteral("Text"), converted.at(i));
        }
    }
}

void TCodeConverter::convertClassSteps(TComponent* component, int mode, bool deep)
{
    const int direction = mode == 1 ? cdBig5ToGB : mode == 2 ? cdGBToBig5 : cdNone;
    if (auto* listView = qobject_cast<TListView*>(component)) {
        ConvertListView(listView, direction);
    } else if (auto* tabSet = qobject_cast<TTabSet*>(component)) {
        const int index = tabSet->TabIndex();
        convertStrings(tabSet->Tabs(), direction);
        tabSet->SetTabIndex(index);
    } else if (auto* combo = qobject_cast<TComboBox*>(component)) {
        // Editable combos stay editable; list combos are drawn by the program.
        if (combo->Style() == csDropDownList)
            combo->SetStyle(csOwnerDrawFixed);
        if (combo->Style() != csSimple && combo->ItemIndex() < 0 && combo->Items()->Count() > 0
            && (!combo->IsEditable() || combo->Text().isEmpty()))
            combo->SetItemIndex(0);
    } else if (auto* menu = qobject_cast<TMenu*>(component)) {
        menu->SetOwnerDraw(true);
    } else if (deep) {
        if (auto* tree = qobject_cast<TTreeView*>(component)) {
            QStringList texts;
            for (int i = 0; i < tree->Items()->Count(); ++i)
                texts << tree->Items()->Items(i)->Text();
            const QStringList converted = ConvertLines(direction, texts);
            for (int i = 0; i < tree->Items()->Count(); ++i)
                tree->Items()->Items(i)->SetText(converted.at(i));
        } else if (auto* grid = qobject_cast<TStringGrid*>(component)) {
            QStringList cells;
            cells.reserve(grid->ColCount() * grid->RowCount());
            for (int row = 0; row < grid->RowCount(); ++row)
                for (int col = 0; col < grid->ColCount(); ++col)
                    cells << grid->Cells(col, row);
            const QStringList converted = ConvertLines(direction, cells);
            int at = 0;
            for (int row = 0; row < grid->RowCount(); ++row)
                for (int col = 0; col < grid->ColCount(); ++col, ++at)
                    if (converted.at(at) != cells.at(at))
                        grid->SetCells(col, row, converted.at(at));
        }
    }
    // A navigator's button hints.
    if (LibRTTI::IsPropertyOfType(component, QStringLiteral("Hints"), QStringLiteral("TStrings")))
        convertStrings(LibRTTI::GetPropObject(component, QStringLiteral("Hints")), direction);
    if (auto* own = dynamic_cast<ICodePageConvertible*>(component))
        own->ConvertCodePage(*this, direction, deep);
}

int TCodeConverter::ShowMessageDialog(const QString& text, TMsgDlgType dialogType, TMsgDlgButtons buttons)
{
    if (text.isEmpty())
        return 0;
    QString message = text;
    if (uiCodePage_ == QLatin1String("936") || systemCodePage_ == QLatin1String("936"))
        message += QStringLiteral("      ");
    TForm* form = qobject_cast<TForm*>(Owner());
    if (!form)
        if (auto* control = qobject_cast<TControl*>(Owner()))
            form = control->ParentForm();
    QString caption;
    if (form) {
        if (form->WindowState() == wsMinimized)
            form->SetWindowState(wsNormal);
        caption = form->Caption();
    }
    setScreenFonts(uiConvertMode_);
    return Dialogs().MessageDlg(message, dialogType, buttons, caption);
}

void TCodeConverter::HookFieldTexts(TDataSet& dataSet) const
{
    QPointer<TCodeConverter> self(const_cast<TCodeConverter*>(this));
    for (int i = 0; i < dataSet.FieldCount(); ++i) {
        TField* field = dataSet.Fields()[i];
        field->SetDisplayLabel(ToDisplay(field->DisplayLabel()).ToString());
        if (!dynamic_cast<TStringField*>(field) && !dynamic_cast<TMemoField*>(field))
            continue;
        field->SetOnGetText([self](TField*, QString& text, bool) {
            if (self)
                text = self->FromDatabase(text).ToString();
        });
        field->SetOnSetText([self](TField* sender, const QString& text) {
            sender->SetAsString(self ? self->ToDatabase(text).ToString() : text);
        });
    }
}
