#pragma once
// Language packages: XML documents that replace texts and other property
// values of a form, and hold named messages.
//
// An element whose tag is a component's name holds that component's values,
// wherever it stands in the document; for a form the root element holds the
// form's own values too. Each attribute is one assignment: the attribute name
// is a property path (Caption, Font.Charset, Items_2, Columns_1.Caption), its
// value the text to assign. Messages are elements with a "Msg" attribute.
//
//   <TfrmBaseGene Caption="Print">
//     <btnOK Caption="OK" Font.Style="[fsBold]"/>
//     <W000006 Msg="No data"/>
//   </TfrmBaseGene>
//
// TLanguageController loads one document; THvLangController finds it by
// package name (the form class) under the home folder's "MultiLanguage".

#include "common/forms/DesignType.h"
#include "common/forms/LangDocument.h"
#include "runtime/forms/Component.h"
#include "runtime/forms/Method.h"
#include "runtime/forms/Persistent.h"

#include <QSet>
#include <QStringList>
#include <memory>

Q_DECLARE_METATYPE(pugi::xml_node)
using TLoadComponentEvent = TEvent<TObject*, TComponent*, pugi::xml_node>;
Q_DECLARE_METATYPE(TLoadComponentEvent)

// Applies one element's attributes to a component. The combo-box readers keep
// the selected line across the assignments.
class TComponentRead {
public:
    TComponentRead(TComponent* component, pugi::xml_node element)
        : component_(component)
        , element_(element)
    {
    }
    virtual ~TComponentRead() = default;
    virtual void ReadAll();

protected:
    TComponent* component_;
    pugi::xml_node element_;
};

class TCustomComboBoxRead : public TComponentRead {
public:
    using TComponentRead::TComponentRead;
    void ReadAll() override;
};

// The data-aware combo boxes (class names beginning "Tww...ComboBox").
class TwwDBCustomComboBoxRead : public TCustomComboBoxRead {
public:
    using TCustomComboBoxRead::TCustomComboBoxRead;
};

class TReaderFactory {
public:
    static std::unique_ptr<TComponentRead> Create(TComponent* component, pugi::xml_node element);
};

// Assigns text to the property path name of component as a package
// attribute does; false when the path leads nowhere or the value does not fit.
// A line index above 65535 is refused.
bool ApplyAttribute(TComponent* component, const QString& name, const QString& value);
// Assigns text to a dotted property path of object; colours and other
// identifier-mapped numbers take their names ("clRed") or "$" hexadecimal.
bool SetPropertyPath(QObject* object, const QString& path, const QString& value);

class TLangReader {
public:
    // sender is what the load events report as Sender (the controller).
    TLangReader(QObject* sender, const pugi::xml_document* document, const QStringList& excludeControls,
        TLoadComponentEvent beforeLoad, TLoadComponentEvent afterLoad);
    void SetExcludeControls(const QStringList& names);
    // Applies the document to component and everything it owns.
    void ReadComponent(TComponent* component);

private:
    void readElement(TComponent* component, pugi::xml_node element);
    pugi::xml_node findElement(const QString& name) const;

    QObject* sender_;
    const pugi::xml_document* document_;
    QSet<QString> excluded_; // trimmed, upper case
    TLoadComponentEvent beforeLoad_;
    TLoadComponentEvent afterLoad_;
};

class TLanguageController : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString LangFileName READ LangFileName WRITE SetLangFileName)
    Q_PROPERTY(TStrings* LangXML READ LangXML WRITE SetLangXML)
    Q_PROPERTY(TStrings* ExcludeControls READ ExcludeControls WRITE SetExcludeControls)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(TNotifyEvent BeforeOpen READ BeforeOpen WRITE SetBeforeOpen)
    Q_PROPERTY(TNotifyEvent AfterOpen READ AfterOpen WRITE SetAfterOpen)
    Q_PROPERTY(TNotifyEvent BeforeClose READ BeforeClose WRITE SetBeforeClose)
    Q_PROPERTY(TNotifyEvent AfterClose READ AfterClose WRITE SetAfterClose)
    Q_PROPERTY(TLoadComponentEvent BeforeLoadComponent READ BeforeLoadComponent WRITE SetBeforeLoadComponent)
    Q_PROPERTY(TLoadComponentEvent AfterLoadComponent READ AfterLoadComponent WRITE SetAfterLoadComponent)
public:
    explicit TLanguageController(TComponent* owner = nullptr);
    ~TLanguageController() override;

    QString LangFileName() const { return langFileName_; }
    // A new name clears LangXML and closes the document.
    void SetLangFileName(const QString& value);
    // A document given as text; it outranks the file.
    TStrings* LangXML() const { return langXML_; }
    void SetLangXML(TStrings* value) { langXML_->Assign(value); }
    TStrings* ExcludeControls() const { return excludeControls_; }
    void SetExcludeControls(TStrings* value) { excludeControls_->Assign(value); }

    bool Active() const { return document_ != nullptr; }
    // True opens the document (raises LanguageControllerError when it cannot);
    // false closes it. While streaming, the value is applied in Loaded().
    void SetActive(bool value);
    void Loaded() override;

    // The document's reader; raises "No active LanguageController!" when closed.
    TLangReader& Reader();
    const pugi::xml_document& Document() const;
    void ReadComponent(TComponent* component) { Reader().ReadComponent(component); }

    TNotifyEvent BeforeOpen() const { return beforeOpen_; }
    void SetBeforeOpen(const TNotifyEvent& h) { beforeOpen_ = h; }
    TNotifyEvent AfterOpen() const { return afterOpen_; }
    void SetAfterOpen(const TNotifyEvent& h) { afterOpen_ = h; }
    TNotifyEvent BeforeClose() const { return beforeClose_; }
    void SetBeforeClose(const TNotifyEvent& h) { beforeClose_ = h; }
    TNotifyEvent AfterClose() const { return afterClose_; }
    void SetAfterClose(const TNotifyEvent& h) { afterClose_ = h; }
    TLoadComponentEvent BeforeLoadComponent() const { return beforeLoad_; }
    void SetBeforeLoadComponent(const TLoadComponentEvent& h);
    TLoadComponentEvent AfterLoadComponent() const { return afterLoad_; }
    void SetAfterLoadComponent(const TLoadComponentEvent& h);

private:
    void open();
    void close();
    void makeReader();
    void langXMLChanged();

    QString langFileName_;
    TStrings* langXML_;
    TStrings* excludeControls_;
    std::unique_ptr<pugi::xml_document> document_;
    std::unique_ptr<TLangReader> reader_;
    bool wantActive_ = false;
    TNotifyEvent beforeOpen_, afterOpen_, beforeClose_, afterClose_;
    TLoadComponentEvent beforeLoad_, afterLoad_;
};

class THvLangController : public TLanguageController {
    Q_OBJECT
    Q_PROPERTY(QString LangPackageName READ LangPackageName WRITE SetLangPackageName)
    Q_PROPERTY(Steward::TDesignType DesignType READ DesignType WRITE SetDesignType)
public:
    explicit THvLangController(TComponent* owner = nullptr);
    QString LangPackageName() const { return langPackageName_; }
    // A new name points LangFileName at LanguageFolder(DesignType) + name + ".Lng".
    void SetLangPackageName(const QString& value);
    TDesignType DesignType() const { return designType_; }
    void SetDesignType(TDesignType value) { designType_ = value; }

private:
    QString langPackageName_;
    TDesignType designType_ = dtClient;
};

// "CHS" for 936, "CHT" for 950, "ENG" for 437; empty otherwise.
QString LanguageCode(const QString& codePage);
// HomePath + "MultiLanguage\" + code + "\" of the client or server
// configuration; empty when the code page has no code or the folder is missing.
QString LanguageFolder(TDesignType designType);

// Message texts; every failure gives defaultText.
QString LookupLangMessage(const QString& fileName, const QString& messageName, const QString& defaultText);
QString GetLangMessage(
    TDesignType designType, const QString& package, const QString& messageName, const QString& defaultText);
// The message with %s, %d (and %n:s) replaced by arguments in order; the
// unformatted text when the arguments do not fit.
QString FormatLangMessage(TDesignType designType, const QString& package, const QString& messageName,
    const QStringList& arguments, const QString& defaultText);
QString FormatMessageText(const QString& format, const QStringList& arguments, bool* ok = nullptr);
