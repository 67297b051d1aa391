// Condition schemes: the value text of a form's controls, writing it back,
// and the scheme list with open, delete, rename and view styles.
//
// A value text has one line per key of the key list, each ended by CR LF,
// fields inside a line separated by #3; a panel's list text closes each row
// with #4 and puts #1 before each sub-item.

#include "criteria/BaseGene.h"

#include "common/LibDates.h"
#include "criteria/BaseGeneU.h"
#include "criteria/SelectPnl.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/data/Field.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/Mask.h"
#include "runtime/forms/Menus.h"
#include "runtime/forms/PropertyAccess.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/CodePages.h"

#include <QDate>
#include <QGuiApplication>
#include <QHash>
#include <QLocale>
#include <QMetaEnum>

namespace {

const QString lineEnd = QStringLiteral("\r\n");
// A line break inside one value would split its line in two and shift every
// later key onto the wrong line; inside a value it travels as #2 instead.
constexpr QChar valueBreak = QChar(2);

QString packValue(QString text)
{
    text.replace(lineEnd, QString(valueBreak));
    text.replace(u'\n', valueBreak);
    return text;
}

QString unpackValue(QString text)
{
    return text.replace(valueBreak, lineEnd);
}

// "spNo.style" -> ("spNo", "style"); false when either side is empty.
bool splitKey(const QString& key, QString& component, QString& property)
{
    const qsizetype dot = key.indexOf(u'.');
    if (dot < 0)
        return false;
    component = key.left(dot).trimmed();
    property = key.mid(dot + 1).trimmed();
    return !component.isEmpty() && !property.isEmpty();
}

QString styleName(TSelectStyle style)
{
    return QString::fromLatin1(QMetaEnum::fromType<Sel::TSelectStyle>().valueToKey(style));
}

// The date-rule record of a field, split at #3 (empty when none).
QStringList ruleOf(const QStringList& rules, const QString& name)
{
    for (const QString& rule : rules) {
        const QStringList fields = rule.split(QChar(3));
        if (fields.value(1).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return fields;
    }
    return {};
}

// A stored date moved by the rule fields starting at field `first` (1-based:
// moves, amount, unit, anchor, days).
QString applyRule(const QString& stored, const QStringList& rule, int first)
{
    if (stored.isEmpty())
        return stored;
    const QString moves = rule.value(first - 1).trimmed();
    const QString amount = rule.value(first).trimmed();
    const QString unit = rule.value(first + 1).trimmed();
    const QString anchor = rule.value(first + 2).trimmed();
    const QString days = rule.value(first + 3).trimmed();
    const auto zero = [](const QString& s) { return s.isEmpty() || s == u"0"; };
    if (moves != u"Y" || (zero(amount) && zero(anchor) && zero(days)))
        return stored;
    return RelativeDate(stored, amount.isEmpty() ? QStringLiteral("0") : amount,
        unit.isEmpty() ? QStringLiteral("0") : unit, days.isEmpty() ? QStringLiteral("0") : days,
        anchor.isEmpty() ? QStringLiteral("0") : anchor);
}

// Whether a rule record moves a date with the run day: a panel's record
// (field 1 "0") when either end moves, a single date's when it moves.
bool movesWithRunDay(const QStringList& rule)
{
    if (rule.value(0) == u"0")
        return rule.value(2) == u"Y" || rule.value(7) == u"Y";
    return rule.size() > 2 && rule.value(2) == u"Y";
}

// The component names of a key list, in lower case.
QStringList componentsOf(const QString& keys)
{
    QStringList names;
    for (const QString& key : keys.split(u';', Qt::SkipEmptyParts)) {
        QString name, property;
        if (splitKey(key, name, property))
            names << name.toLower();
    }
    return names;
}

// The rule records of a scheme's run-day line, by field name in lower case.
QHash<QString, QStringList> runDayRules(const QString& line)
{
    QHash<QString, QStringList> rules;
    for (const QString& record : line.split(selmark::Range, Qt::SkipEmptyParts)) {
        const QStringList fields = record.split(selmark::Field);
        if (fields.size() > 2)
            rules.insert(fields.at(1).trimmed().toLower(), fields);
    }
    return rules;
}

// The stored date of one end whose rule starts at field `first`: counted
// from today when that end moves, else the date the scheme kept.
QString runDayDate(const QStringList& rule, int first, const QString& kept)
{
    if (rule.isEmpty() || rule.value(first - 1) != u"Y")
        return kept;
    // A moving rule without any amount still moves: to the run day itself.
    return applyRule(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")), rule, first);
}

} // namespace

// --- writing a value text -------------------------------------------------------------

QString TfrmBaseGene::SchemeValueLine(const QString& key) const
{
    QString name, property;
    if (!splitKey(key, name, property))
        return QString();
    TComponent* component = FindComponent(name);
    if (!component)
        return QString();
    const QChar sep = selmark::Field;
    if (auto* panel = qobject_cast<TSelectPanel*>(component);
        panel && property.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0) {
        QString line = styleName(panel->Style());
        switch (panel->Style()) {
        case sp_Range:
            if (IsDateField(name)) {
                // A date panel stores its dates as its rule moves them; without a rule, nothing.
                const QStringList rule = ruleOf(dateRules_, name);
                QString begin, final;
                if (!rule.isEmpty() && rule.value(0) == u"0") {
                    begin = applyRule(DateToStorage(panel->edBegin->Text()), rule, 3);
                    final = applyRule(DateToStorage(panel->edFinal->Text()), rule, 8);
                }
                return line + sep + begin + sep + final;
            }
            return line + sep + packValue(panel->edBegin->Text()) + sep + packValue(panel->edFinal->Text());
        case sp_Discrete:
            return line + sep + packValue(panel->ListText());
        case sp_UserChoice:
            if (panel->UserChoice())
                return line + sep + QStringLiteral("True") + sep + packValue(panel->edBegin->Text()) + sep
                    + packValue(panel->edFinal->Text());
            return line + sep + QStringLiteral("False") + sep + packValue(panel->ListText());
        }
    }
    const QMetaProperty meta = FindPublishedProperty(component, property);
    if (!meta.isValid()) {
        if (auto* combo = qobject_cast<TComboBox*>(component))
            return QString::number(combo->ItemIndex());
        return QString();
    }
    if (meta.userType() == QMetaType::QString) {
        const QString text = meta.read(component).toString();
        if (IsDateField(name)) {
            const QStringList rule = ruleOf(dateRules_, name);
            if (rule.isEmpty() || rule.value(0) == u"0")
                return QString();
            return applyRule(DateToStorage(text), rule, 3);
        }
        if (IsYearMonthField(name))
            return YearMonthToStorage(text);
        return packValue(text);
    }
    if (IsObjectProperty(meta))
        return packValue(GetPropertyText(component, meta.name())); // a list's lines
    if (meta.isEnumType() && !meta.isFlagType())
        return GetPropertyText(component, meta.name());
    if (meta.userType() == QMetaType::Bool)
        return meta.read(component).toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (meta.isFlagType())
        return QString::number(EnumStorage(meta.read(component)));
    if (meta.userType() == QMetaType::Double || meta.userType() == QMetaType::Float)
        return QString::number(meta.read(component).toDouble(), 'g', 15);
    if (meta.userType() == QMetaType::QChar)
        return QString::number(meta.read(component).toChar().unicode());
    bool number = false;
    const qlonglong value = meta.read(component).toLongLong(&number);
    return number ? QString::number(value) : QString();
}

bool TfrmBaseGene::SaveScheme(const QString& keys, const QString& name, const Variant& flag)
{
    try {
        const QString trimmedName = name.trimmed();
        // The server keeps at most 20 bytes of a name; a longer one is refused
        // here rather than cut there.
        const int dbCodePage = HvConverter() ? HvConverter()->DBCodePage().toInt() : 936;
        if (trimmedName.isEmpty() || ByteLength(name, dbCodePage ? dbCodePage : 936) > 20)
            return false;
        QString values;
        for (const QString& key : keys.split(u';', Qt::SkipEmptyParts))
            values += SchemeValueLine(key.trimmed()) + lineEnd;
        // Dates that move with the run day keep their rules as one more key
        // at the end, which older programs skip; schemes without such dates
        // are stored as they always were.
        QString storedKeys = keys;
        const QStringList covered = componentsOf(keys);
        QStringList moving;
        for (const QString& rule : dateRules_) {
            const QStringList fields = rule.split(selmark::Field);
            if (movesWithRunDay(fields) && covered.contains(fields.value(1).trimmed().toLower()))
                moving << rule;
        }
        if (!moving.isEmpty()) {
            if (!storedKeys.trimmed().isEmpty() && !storedKeys.trimmed().endsWith(u';'))
                storedKeys += u';';
            storedKeys += RunDayRulesKey() + u';';
            values += moving.join(selmark::Range) + lineEnd;
        }
        if (appServer_.IsEmptyOrNull())
            return false;
        const auto toDb = [this](const QString& text) {
            return HvConverter() ? HvConverter()->ToDatabase(text).ToString() : text;
        };
        const QString answer = appServer_
                                   .Call(QStringLiteral("InsertConTable"),
                                       {Variant::ArrayOf({toDb(name), userCode_,
                                           QDate::currentDate().toString(QStringLiteral("yyyyMMdd")),
                                           programCode_, storedKeys, toDb(values), flag})})
                                   .ToString();
        if (!answer.isEmpty())
            throw Exception(answer);
        return true;
    } catch (const EAbort&) {
        return false;
    } catch (const Exception& e) {
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
        return false;
    }
}

// --- reading a value text back ----------------------------------------------------------

namespace {

void restoreRange(
    TfrmBaseGene* form, TSelectPanel* panel, const QString& begin, const QString& final, bool dates)
{
    if (dates) {
        panel->SetEditMask(form->DateEditMask());
        panel->edBegin->SetText(form->StorageToDate(begin));
        panel->edFinal->SetText(form->StorageToDate(final));
    } else {
        panel->edBegin->SetText(unpackValue(begin));
        panel->edFinal->SetText(unpackValue(final));
    }
}

void restoreList(TSelectPanel* panel, const QString& text)
{
    if (!panel->SetListText(unpackValue(text)))
        throw Exception(QStringLiteral("parse spSaveValue error"));
}

} // namespace

bool TfrmBaseGene::LoadScheme(const QString& keys, const QString& values)
{
    const QStringList keyList = keys.split(u';');
    QStringList lines = values.split(lineEnd);
    QHash<QString, QStringList> moving;
    for (qsizetype i = 0; i < keyList.size(); ++i) {
        if (keyList.at(i).trimmed().compare(RunDayRulesKey(), Qt::CaseInsensitive) == 0)
            moving = runDayRules(lines.value(i));
    }
    try {
        for (qsizetype i = 0; i < keyList.size(); ++i) {
            const QString key = keyList.at(i).trimmed();
            if (key.isEmpty() && i == keyList.size() - 1)
                break; // the list ends with ";"
            const QString line = lines.value(i);
            QString name, property;
            TComponent* component = splitKey(key, name, property) ? FindComponent(name) : nullptr;
            if (!component)
                continue; // a control that is gone: older schemes still open
            BeforeRestoreControl(component, line);
            if (auto* panel = qobject_cast<TSelectPanel*>(component);
                panel && property.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0) {
                const QStringList f = line.split(selmark::Field);
                const QString kind = f.value(0);
                if (kind == u"sp_Range") {
                    const bool dates = IsDateField(name);
                    const QStringList rule = dates ? moving.value(name.toLower()) : QStringList();
                    if (!rule.isEmpty() && rule.value(0) == u"0")
                        restoreRange(this, panel, runDayDate(rule, 3, f.value(1)),
                            runDayDate(rule, 8, f.value(2)), true);
                    else
                        restoreRange(this, panel, f.value(1), f.value(2), dates);
                } else if (kind == u"sp_Discrete") {
                    restoreList(panel, f.value(1));
                } else if (kind == u"sp_UserChoice") {
                    const bool range = f.value(1) == u"True";
                    panel->SetUserChoice(range);
                    if (range)
                        restoreRange(this, panel, f.value(2), f.value(3), false);
                    else
                        restoreList(panel, f.value(2));
                }
                continue;
            }
            const QMetaProperty meta = FindPublishedProperty(component, property);
            if (!meta.isValid()) {
                if (auto* combo = qobject_cast<TComboBox*>(component))
                    combo->SetItemIndex(line.trimmed().toInt());
                AfterRestoreControl(component, line);
                continue;
            }
            if (meta.userType() == QMetaType::QString) {
                QString text = unpackValue(line);
                if (IsDateField(name)) {
                    if (auto* masked = qobject_cast<TMaskEdit*>(component))
                        masked->SetEditMask(DateEditMask());
                    const QStringList rule = moving.value(name.toLower());
                    text = StorageToDate(
                        !rule.isEmpty() && rule.value(0) != u"0" ? runDayDate(rule, 3, line) : line);
                } else if (IsYearMonthField(name)) {
                    if (auto* masked = qobject_cast<TMaskEdit*>(component))
                        masked->SetEditMask(YearMonthEditMask());
                    text = StorageToYearMonth(line);
                }
                meta.write(component, text);
            } else if (IsObjectProperty(meta)) {
                SetPropertyText(component, meta.name(), unpackValue(line));
            } else if (meta.isEnumType() || meta.userType() == QMetaType::Bool) {
                SetPropertyText(component, meta.name(), line.trimmed());
            } else if (meta.userType() == QMetaType::Double || meta.userType() == QMetaType::Float) {
                meta.write(component, line.trimmed().toDouble());
            } else if (meta.userType() == QMetaType::Int || meta.userType() == QMetaType::LongLong
                || meta.userType() == QMetaType::QChar || meta.userType() == QMetaType::UShort) {
                meta.write(component, line.trimmed().toInt());
            } else {
                return true; // a kind of property a scheme does not carry ends the load
            }
            AfterRestoreControl(component, line);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// --- the scheme list ---------------------------------------------------------------------

bool TfrmBaseGene::RefreshSchemeList()
{
    if (appServer_.IsEmptyOrNull())
        return false;
    const TViewStyle kept = lstCondition->ViewStyle();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    lstCondition->Items()->BeginUpdate();
    const auto restore = [&] {
        lstCondition->Items()->EndUpdate();
        lstCondition->SetViewStyle(kept);
        QGuiApplication::restoreOverrideCursor();
    };
    try {
        lstCondition->SetViewStyle(vsList);
        lstCondition->Items()->Clear();
        appServer_.Call(QStringLiteral("LoadTable"), {Variant::ArrayOf({userCode_, programCode_})});
        clientDataSet_->Close();
        clientDataSet_->Open();
        PrepareDataSets(); // the fields are new with every opening
        TField* nameField = clientDataSet_->FieldByName(QStringLiteral("NCONDITION"));
        TField* dateField = clientDataSet_->FieldByName(QStringLiteral("CREATE_DATE"));
        for (clientDataSet_->First(); !clientDataSet_->Eof(); clientDataSet_->Next()) {
            TListItem* item = lstCondition->Items()->Add();
            item->SetImageIndex(0);
            item->SetCaption(HvConverter() ? HvConverter()->FromDatabase(nameField->AsString()).ToString()
                                           : nameField->AsString());
            const QDate created
                = QDate::fromString(dateField->AsString().trimmed(), QStringLiteral("yyyyMMdd"));
            item->SubItems()->Add(created.isValid()
                    ? QLocale::system().toString(created, QLocale::ShortFormat)
                    : dateField->AsString());
        }
    } catch (const Exception& e) {
        restore();
        throw Exception(e.Message());
    }
    restore();
    SchemeListRefreshed();
    return true;
}

namespace {

Variant schemeKey(TfrmBaseGene* form, const QString& name)
{
    const QString converted = form->HvConverter() ? form->HvConverter()->ToDatabase(name).ToString() : name;
    return Variant::ArrayOf({converted, form->UserCode(), form->ProgramCode()});
}

} // namespace

void TfrmBaseGene::OpenSelectedScheme()
{
    TListItem* item = lstCondition->Selected();
    if (!item)
        return;
    if (!clientDataSet_->Locate(
            QStringLiteral("NCONDITION;CREATOR;PROGRAMME"), schemeKey(this, item->Caption())))
        return;
    openCurrentScheme();
}

bool TfrmBaseGene::OpenSchemeNamed(const QString& name)
{
    const auto refuse = [this](const QString& text) {
        Dialogs().MessageDlg(text, mtError, mbOK, Caption());
        return false;
    };
    if (appServer_.IsEmptyOrNull())
        return refuse(GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sSchemeNoServer"), true,
            QStringLiteral("没有应用服务器连接, 无法开启条件方案")));
    try {
        // The server selects this user's schemes of this program, as for the list.
        appServer_.Call(QStringLiteral("LoadTable"), {Variant::ArrayOf({userCode_, programCode_})});
        clientDataSet_->Close();
        clientDataSet_->Open();
        PrepareDataSets();
    } catch (const Exception& e) {
        return refuse(e.Message());
    }
    if (!clientDataSet_->Locate(QStringLiteral("NCONDITION;CREATOR;PROGRAMME"), schemeKey(this, name)))
        return refuse(GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sNoSuchScheme"), true,
            QStringLiteral("用户 %1 没有 %2 的条件方案: %3"))
                          .arg(userCode_, programCode_, name));
    return openCurrentScheme();
}

bool TfrmBaseGene::openCurrentScheme()
{
    const QString keys = clientDataSet_->FieldByName(QStringLiteral("SCONDITION"))->AsString();
    QString values = clientDataSet_->FieldByName(QStringLiteral("VCONDITION"))->AsString();
    if (HvConverter())
        values = HvConverter()->FromDatabase(values).ToString();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const bool loaded = LoadScheme(keys, values);
    QGuiApplication::restoreOverrideCursor();
    if (!loaded)
        ShowCodedMessage(QStringLiteral("R"), QStringLiteral("200235"));
    AfterSchemeOpened();
    // What a scheme brought is no typing of the user's: Esc closes without asking.
    if (loaded)
        KeepCriteria();
    return loaded;
}

void TfrmBaseGene::DeleteSelectedScheme()
{
    TListItem* item = lstCondition->Selected();
    if (!item || appServer_.IsEmptyOrNull())
        return;
    const QString question = GetFormMessage(QStringLiteral("TfrmBaseGene"), QStringLiteral("sDeleteProj"),
        true, QStringLiteral("确实要删除此方案吗？"));
    if (Dialogs().MessageDlg(
            question + item->Caption(), mtConfirmation, TMsgDlgButtons(mbYes) | mbNo, Caption())
        != mrYes)
        return;
    const QString answer
        = appServer_.Call(QStringLiteral("DeleteConTable"), {schemeKey(this, item->Caption())}).ToString();
    if (!answer.isEmpty())
        throw Exception(answer);
    RefreshSchemeList();
}

bool TfrmBaseGene::RenameScheme(TListItem* item, QString& newName)
{
    const QString old = item->Caption();
    auto refuse = [&](const char* key, const char* text) {
        Dialogs().MessageDlg(GetFormMessage(QStringLiteral("TfrmBaseGene"), QString::fromLatin1(key), true,
                                 QString::fromUtf8(text)),
            mtError, mbOK, Caption());
        newName = old;
        return false;
    };
    if (newName.trimmed().isEmpty())
        return refuse("sProjNameEmpty", "方案名不可空白!");
    const int dbCodePage = HvConverter() ? HvConverter()->DBCodePage().toInt() : 936;
    if (ByteLength(newName, dbCodePage ? dbCodePage : 936) > 20)
        return refuse("sProjNameError", "方案名长度不可大于20!");
    for (int i = 0; i < lstCondition->Items()->Count(); ++i) {
        TListItem* other = lstCondition->Items()->Items(i);
        if (other != item && other->Caption() == newName)
            return refuse("sProjNameExist", "此方案名称已经存在！");
    }
    if (newName == old)
        return true;
    const QString answer = appServer_.IsEmptyOrNull()
        ? QStringLiteral("no server")
        : appServer_.Call(QStringLiteral("ChangeConName"), {schemeKey(this, old), schemeKey(this, newName)})
              .ToString();
    if (!answer.isEmpty()) {
        refuse("sFailedRename", "更改方案名失败!");
        throw Exception(answer);
    }
    item->SetCaption(newName);
    if (clientDataSet_->Active()
        && clientDataSet_->Locate(QStringLiteral("NCONDITION;CREATOR;PROGRAMME"), schemeKey(this, old))) {
        clientDataSet_->Edit();
        clientDataSet_->FieldByName(QStringLiteral("NCONDITION"))
            ->SetAsString(schemeKey(this, newName)[0].ToString());
        clientDataSet_->Post();
    }
    return true;
}

// --- tool bar -------------------------------------------------------------------------------

void TfrmBaseGene::btnInsertClick(TObject*)
{
    // Leaving the last field runs its checks before anything is saved.
    pnlCondition->SetFocus();
    if (busy_)
        Abort();
}

void TfrmBaseGene::btnOpenClick(TObject*)
{
    OpenSelectedScheme();
}

void TfrmBaseGene::lstConditionDblClick(TObject*)
{
    OpenSelectedScheme();
}

void TfrmBaseGene::lstConditionEdited(TObject*, TListItem* Item, QString& S)
{
    try {
        RenameScheme(Item, S);
    } catch (const Exception& e) {
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
    }
}

void TfrmBaseGene::btnDeleteClick(TObject*)
{
    try {
        DeleteSelectedScheme();
    } catch (const Exception& e) {
        Dialogs().MessageDlg(e.Message(), mtError, mbOK, Caption());
    }
}

void TfrmBaseGene::setListViewStyle(int style)
{
    static const char* const items[] = {"ViewIcon", "ViewSmallIcon", "ViewList", "ViewReport"};
    lstCondition->Items()->BeginUpdate();
    lstCondition->SetViewStyle(static_cast<TViewStyle>(style));
    lstCondition->Items()->EndUpdate();
    for (int i = 0; i < 4; ++i) {
        if (auto* item = FindComponent<TMenuItem>(QString::fromLatin1(items[i])))
            item->SetChecked(i == style);
    }
}

void TfrmBaseGene::ViewIconExecute(TObject*)
{
    setListViewStyle(vsIcon);
}

void TfrmBaseGene::ViewSmallIconExecute(TObject*)
{
    setListViewStyle(vsSmallIcon);
}

void TfrmBaseGene::ViewListExecute(TObject*)
{
    setListViewStyle(vsList);
}

void TfrmBaseGene::ViewReportExecute(TObject*)
{
    setListViewStyle(vsReport);
}

void TfrmBaseGene::StepViewStyle()
{
    static const char* const handlers[]
        = {"ViewIconExecute", "ViewSmallIconExecute", "ViewListExecute", "ViewReportExecute"};
    viewCounter_ = (viewCounter_ + 1) % 4;
    // The handler is found by name, so a descendant's own handler of that name runs.
    QMetaObject::invokeMethod(this, handlers[viewCounter_], Q_ARG(TObject*, this));
}

void TfrmBaseGene::ToolButton1Click(TObject*)
{
    StepViewStyle();
}
