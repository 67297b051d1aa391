#pragma once
// TCodeConverter: shows forms designed in Simplified Chinese to users of a
// Traditional Chinese interface, and converts texts between the interface and
// the database code pages.
//
// Every form of the module owns one converter (named HvConverter) and calls
// ConvertForm once, the first time it is shown. The converter reads the
// code pages and conversion modes from the client (or server) configuration
// when it is created:
//   UIConvertMode 2: interface in 950, designed texts converted GB to Big5;
//   UIConvertMode 4: interface in 936 on a 950 system, fonts changed only,
//                    but for the form titles: on a 950 system these are
//                    always converted GB to Big5;
//   DBConvertMode 1: database texts Big5 to GB; 2: GB to Big5.
// "GB to Big5" means simplified characters to traditional ones; texts stay
// Unicode throughout.

#include "common/forms/DesignType.h"
#include "runtime/forms/Component.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/Variant.h"

#include <QPointer>
#include <QStringList>
#include <memory>
#include <vector>

class TCodeConverter;
class TFont;
class TForm;
class TListView;
class TTranslator;
class TDataSet;

// Conversion directions as ConvertVariant takes them.
enum : int { cdNone = 0, cdBig5ToGB = 1, cdGBToBig5 = 2 };

// Font rule: modes 0, 1 and 4 give "SimSun" with the GB2312 character set,
// modes 2 and 3 "SimSun" with the Big5 set; other modes leave the font alone.
void SetChineseFont(int mode, TFont* font);

// A component with texts of its own beyond its published properties (the
// selection panel's word lists, a navigator's button hints) implements this;
// ConvertForm calls it after the property steps.
class ICodePageConvertible {
public:
    virtual ~ICodePageConvertible() = default;
    // Converts the component's own texts in direction through converter (use
    // ConvertLines for lists: one library call per list); deep as ConvertForm got it.
    virtual void ConvertCodePage(TCodeConverter& converter, int direction, bool deep) = 0;
};

class TCodeConverter : public TComponent {
    Q_OBJECT
    Q_PROPERTY(Steward::TDesignType DesignType READ DesignType WRITE SetDesignType)
public:
    // Reads the configuration; raises ETranslatorError when a conversion is
    // needed and the conversion library cannot be loaded.
    explicit TCodeConverter(TComponent* owner = nullptr);
    ~TCodeConverter() override;

    // Setting dtServer re-reads the code pages from the server configuration.
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType value);
    bool IsPropertyStored(const char* name) const override;

    QString SystemCodePage() const { return systemCodePage_; }
    QString UICodePage() const { return uiCodePage_; }
    QString DBCodePage() const { return dbCodePage_; }
    int UIConvertMode() const { return uiConvertMode_; }
    int DBConvertMode() const { return dbConvertMode_; }
    // Null when no conversion is configured (the library is then never loaded).
    TTranslator* Translator() const { return translator_.get(); }
    // Lines "NAME" + #3 + "PROP1,PROP2": components the converter leaves alone
    // (apart from their ParentFont), or in the listed properties only.
    QStringList& ExclusionList() { return exclusionList_; }

    // Walks form and its components (see the .cpp for the steps). Does
    // nothing without an interface conversion.
    void ConvertForm(TForm* form, bool useExclusions = false, bool deep = true);

    // Texts of value converted in direction: strings, and the strings inside
    // arrays of one or two dimensions; other values are kept as they are.
    Variant ConvertVariant(int direction, const Variant& value) const;
    Variant ToDisplay(const Variant& value) const { return ConvertVariant(uiConvertMode_, value); }
    Variant FromDatabase(const Variant& value) const { return ConvertVariant(dbConvertMode_, value); }
    // The reverse of ToDisplay and FromDatabase, before values are written back.
    Variant FromDisplay(const Variant& value) const { return reverse(uiConvertMode_, value); }
    Variant ToDatabase(const Variant& value) const { return reverse(dbConvertMode_, value); }

    // One text, and a list of texts in one library call.
    QString ConvertText(int direction, const QString& text) const;
    QStringList ConvertLines(int direction, const QStringList& lines) const;
    // Column captions, item captions and sub-items of a list view.
    void ConvertListView(TListView* listView, int direction) const;
    // The fields of dataSet as the user sees them: every label converted
    // like the form's own texts (ToDisplay); every string and memo field shows its stored text in the
    // user's code page (OnGetText, through FromDatabase) and stores a typed
    // text in the database's (OnSetText, through ToDatabase). Handlers the
    // fields had are replaced; AsString and Value stay the stored text. The
    // handlers do nothing more once this converter is gone. Fields made
    // later (when the data set opens again) need another call.
    void HookFieldTexts(TDataSet& dataSet) const;

    // A message box captioned like the owner form; 0 for an empty text.
    int ShowMessageDialog(const QString& text, TMsgDlgType dialogType, TMsgDlgButtons buttons);

private:
    void loadSettings();
    Variant reverse(int mode, const Variant& value) const;
    void convertProperties(TComponent* component, int mode, const QStringList* skip);
    void convertClassSteps(TComponent* component, int mode, bool deep);
    void convertStrings(QObject* list, int direction) const;
    void convertTextProperty(QObject* object, const char* name, int direction) const;
    void flushPendingTexts(int direction);

    // While ConvertForm runs, the single texts of all components are gathered
    // here and converted in one library call at the end.
    struct PendingText {
        QPointer<QObject> Object;
        QString Property;
        QString Text;
    };
    mutable std::vector<PendingText>* pending_ = nullptr;

    std::unique_ptr<TTranslator> translator_;
    QString systemCodePage_ = QStringLiteral("936");
    QString uiCodePage_ = QStringLiteral("936");
    QString dbCodePage_ = QStringLiteral("936");
    int uiConvertMode_ = 0;
    int dbConvertMode_ = 0;
    QStringList exclusionList_;
    TDesignType designType_ = dtClient;
};
