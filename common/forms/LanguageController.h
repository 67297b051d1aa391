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

#include <QStringList>
#include <memory>

class TLangDocument;
class TLangReader;

// One element of an open language package, as the load events hand it over.
// It is a view into the document: valid while the document stays open (for
// the length of the event); a default-made element is null.
class TLangElement {
public:
    TLangElement() = default;
    bool IsNull() const { return node_ == nullptr; }
    // The tag: a component's name, or the form class for the root element.
    QString Name() const;
    // The attribute's value; empty when the element has no such attribute.
    QString Attribute(const QString& name) const;
    // The attribute names in document order.
    QStringList AttributeNames() const;

private:
    friend struct TLangElementAccess; // LangXml.h
    explicit TLangElement(void* node)
        : node_(node)
    {
    }
    void* node_ = nullptr; // the parser's node
};

Q_DECLARE_METATYPE(TLangElement)
using TLoadComponentEvent = TEvent<TObject*, TComponent*, TLangElement>;
Q_DECLARE_METATYPE(TLoadComponentEvent)

// Assigns text to the property path name of component as a package
// attribute does; false when the path leads nowhere or the value does not fit.
// A line index above 65535 is refused.
bool ApplyAttribute(TComponent* component, const QString& name, const QString& value);
// Assigns text to a dotted property path of object; colours and other
// identifier-mapped numbers take their names ("clRed") or "$" hexadecimal.
bool SetPropertyPath(QObject* object, const QString& path, const QString& value);

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

    // The document's reader (LangXml.h); raises "No active LanguageController!" when closed.
    TLangReader& Reader();
    const TLangDocument& Document() const;
    // Applies the document to component and everything it owns; raises as Reader().
    void ReadComponent(TComponent* component);

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
    std::unique_ptr<TLangDocument> document_;
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
