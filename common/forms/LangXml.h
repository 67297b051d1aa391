#pragma once
// The XML side of language packages: parsing a decoded document with pugixml
// and applying its elements to components. The parser's types stay in here;
// only the language controller's own sources, its tests and the fuzz target
// include this header (LanguageController.h is what forms see).

#include "common/forms/LanguageController.h"

#include <QSet>
#include <pugixml.hpp>

// An open package: what TLanguageController keeps.
class TLangDocument {
public:
    pugi::xml_document Xml;
};

// Between the parser's nodes and the elements the load events see.
struct TLangElementAccess {
    static TLangElement Of(pugi::xml_node node) { return TLangElement(node.internal_object()); }
    static pugi::xml_node NodeOf(const TLangElement& element)
    {
        return pugi::xml_node(static_cast<pugi::xml_node_struct*>(element.node_));
    }
};

namespace langdoc {

// Parses text into document; raises LanguageControllerError "Line n: reason"
// and leaves the document empty.
void ParseDocument(pugi::xml_document& document, const QString& text);
// Reads, decodes and parses a file; raises LanguageControllerError.
void LoadDocumentFile(pugi::xml_document& document, const QString& pathText, int ansiCodePage);

} // namespace langdoc

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
