#pragma once
// TfrmGeneCondition: the dialog in which the user names a condition scheme
// before it is saved, and gives each date criterion of the form a rule that
// moves its date when the scheme is saved: by weeks or months, then plus or
// minus days, or to the first or last day.
//
// What goes in: the base form (its date-field list, its option texts, its
// language), the list of date fields and how many of its last entries are
// no date criteria. What is guaranteed: the base form's DateRuleList holds
// exactly one record per listed field that the form has, in list order,
// always in step with the dialog's controls; the name field takes no more
// than 20 bytes of the database code page as the user types, Enter in it is
// OK, and the name counts without blanks at either end; OK closes with mrOk
// only for a non-blank name that fits those 20 bytes, after asking whether to
// replace a scheme of that name. What is left alone: the scheme
// itself (the caller saves it with SaveScheme).
//
// Rule records, fields separated by #3:
//   single date: "1", name, moves Y/N, offset, unit (0 weeks, 1 months),
//                anchor (0 plus/minus days, 1 first day, 2 last day), days, "D"
//   date range:  "0", name, start moves, offset, unit, anchor, days,
//                end moves, offset, unit, anchor, days, "D"

#include "common/forms/HVForm.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TPanel;
class TSpinEdit;
class TfrmBaseGene;

class TfrmGeneCondition : public THVForm {
    Q_OBJECT
public:
    TfrmGeneCondition(TfrmBaseGene* owner, const QString& dateFields, int notDates);

    // The most a scheme name takes, in bytes of the database code page.
    static constexpr int MaxNameBytes = 20;

    bool ReplaceExisting() const { return replaceExisting_; }
    // The name as typed, without blanks at either end.
    QString SchemeName() const;
    QStringList& DateRuleList();

    // Shows item index's rule in the controls.
    void LoadItem(int index);

    TEdit* edConName = nullptr;
    TComboBox* cbodatecondition = nullptr;
    TGroupBox* gbDateFields = nullptr;
    TPanel* pnEdit = nullptr;
    TPanel* pnSp = nullptr;
    TCheckBox* edSetDate = nullptr;
    TSpinEdit* seSetDay1 = nullptr;
    TComboBox* cboSetDay1 = nullptr;
    TComboBox* cboSetDay2 = nullptr;
    TSpinEdit* seSetDay2 = nullptr;
    TCheckBox* spDate_B = nullptr;
    TSpinEdit* seSetDay_B1 = nullptr;
    TComboBox* cboSetDay_B1 = nullptr;
    TComboBox* cboSetDay_B2 = nullptr;
    TSpinEdit* seSetDay_B2 = nullptr;
    TCheckBox* spDate_E = nullptr;
    TSpinEdit* seSetDay_E1 = nullptr;
    TComboBox* cboSetDay_E1 = nullptr;
    TComboBox* cboSetDay_E2 = nullptr;
    TSpinEdit* seSetDay_E2 = nullptr;
    TButton* btnOk = nullptr;

public slots:
    void cbodateconditionChange(TObject* Sender);
    void RuleChange(TObject* Sender);
    void RuleClick(TObject* Sender);
    void btnOkClick(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, Vcl::TShiftState Shift);

private:
    // The controls of one date: move box, offset, unit, anchor, days.
    struct RuleControls {
        TCheckBox* moves;
        TSpinEdit* offset;
        TComboBox* unit;
        TComboBox* anchor;
        TSpinEdit* days;
    };
    void buildRules(const QString& dateFields, int notDates);
    QString captionOf(TComponent* edit, const Variant& optionTexts) const;
    QString rangeRecord(const QString& name) const;
    QString singleRecord(const QString& name, const QString& kind) const;
    static QString partOf(const RuleControls& c);
    static void setPart(const RuleControls& c, const QStringList& fields, int first);
    void applyRules(const RuleControls& c, const QString& kind, bool end);
    void writeBack();
    QString kindOf(int index) const;
    // The code page scheme names are stored in (the database's; 936 when unknown).
    int nameCodePage() const;

    TfrmBaseGene* base_;
    RuleControls single_, begin_, end_;
    bool replaceExisting_ = false;
    bool loading_ = false;
};
