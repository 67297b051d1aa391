#include "common/forms/LanguageController.h"

#include "common/StewardINI.h"
#include "common/forms/LangXml.h"
#include "common/forms/LibRTTI.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/PropertyAccess.h"
#include "runtime/forms/StdCtrls.h"
#include "runtime/system/CodePages.h"
#include "runtime/system/NativePath.h"
#include "runtime/system/SystemFacts.h"

#include <QMetaProperty>

namespace {

// A package may add lines to a list, but not without bound.
constexpr int MaxPackageLine = 65535;

void registerEvents()
{
    static const bool registered = [] {
        RegisterEventFamily<TLoadComponentEvent>(QStringLiteral("TLoadComponentEvent"));
        return true;
    }();
    Q_UNUSED(registered);
}

// "Items_2" -> ("Items", 2); the whole element and -1 when it has no index.
std::pair<QString, int> splitIndex(const QString& element)
{
    const int underscore = static_cast<int>(element.lastIndexOf(u'_'));
    if (underscore <= 0 || underscore == element.size() - 1)
        return {element, -1};
    const QString digits = element.mid(underscore + 1);
    for (const QChar c : digits)
        if (!c.isDigit() || c.unicode() > 127)
            return {element, -1};
    bool ok = false;
    const int index = digits.toInt(&ok);
    return ok ? std::pair {element.left(underscore), index} : std::pair {element, -1};
}

// Entry index of what an "Items_i" or "Columns_i" element addresses.
QObject* entryOf(QObject* current, const QString& name, int index)
{
    if (index < 0)
        return nullptr;
    if (name.compare(u"Items", Qt::CaseInsensitive) != 0
        && name.compare(u"Columns", Qt::CaseInsensitive) != 0)
        return nullptr;
    auto* collection = qobject_cast<TCollection*>(LibRTTI::GetPropObject(current, name));
    if (!collection || index >= collection->Count())
        return nullptr;
    return collection->Items(index);
}

int ansiCodePage()
{
    const int acp = GetACP();
    return IsSupportedCodePage(acp) ? acp : 936;
}

} // namespace

bool SetPropertyPath(QObject* object, const QString& path, const QString& value)
{
    if (!object || path.trimmed().isEmpty())
        return false;
    try {
        const auto location = ResolvePropertyPath(object, path);
        if (!location)
            return false;
        QString text = value;
        if (!location->Lines) {
            const QMetaProperty& property = location->Property;
            const bool numeric = property.metaType().id() == QMetaType::Int || property.isEnumType();
            // Identifier-mapped numbers: "clRed" goes through the enumeration,
            // "$0000FF" is a hexadecimal number as form texts write them.
            if (numeric && text.trimmed().startsWith(u'$')) {
                bool ok = false;
                const qlonglong number = text.trimmed().mid(1).toLongLong(&ok, 16);
                if (ok)
                    text = QString::number(static_cast<int>(number));
            }
            if (IsEventProperty(property) || IsComponentProperty(property))
                return false;
        }
        SetPropertyText(object, path, text);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool ApplyAttribute(TComponent* component, const QString& name, const QString& value)
{
    if (!component)
        return false;
    const QStringList elements = name.split(u'.');
    QObject* current = component;
    for (int i = 0; i + 1 < elements.size(); ++i) {
        const QString element = elements.at(i).trimmed();
        const auto [propName, index] = splitIndex(element);
        QObject* next
            = index < 0 ? LibRTTI::GetPropObject(current, element) : entryOf(current, propName, index);
        if (!next)
            return false;
        current = next;
    }
    const auto [propName, index] = splitIndex(elements.last().trimmed());
    if (current == component && index >= 0) {
        current = LibRTTI::GetPropObject(component, propName);
        if (!current)
            return false;
    }
    if (auto* lines = qobject_cast<TStrings*>(current)) {
        if (index < 0 || index > MaxPackageLine)
            return false;
        lines->BeginUpdate();
        while (lines->Count() <= index)
            lines->Add(QString());
        lines->SetStrings(index, value);
        lines->EndUpdate();
        return true;
    }
    if (auto* item = qobject_cast<TListItem*>(current);
        item && propName.compare(u"Caption", Qt::CaseInsensitive) == 0) {
        item->SetCaption(value);
        return true;
    }
    if (auto* node = qobject_cast<TTreeNode*>(current);
        node && propName.compare(u"Text", Qt::CaseInsensitive) == 0) {
        node->SetText(value);
        return true;
    }
    return SetPropertyPath(current, index < 0 ? elements.last().trimmed() : propName, value);
}

QString TLangElement::Name() const
{
    return QString::fromUtf8(TLangElementAccess::NodeOf(*this).name());
}

QString TLangElement::Attribute(const QString& name) const
{
    const QByteArray key = name.toUtf8();
    return QString::fromUtf8(TLangElementAccess::NodeOf(*this).attribute(key.constData()).value());
}

QStringList TLangElement::AttributeNames() const
{
    QStringList names;
    for (const pugi::xml_attribute attribute : TLangElementAccess::NodeOf(*this).attributes())
        names << QString::fromUtf8(attribute.name());
    return names;
}

void TComponentRead::ReadAll()
{
    for (pugi::xml_attribute attribute : element_.attributes())
        ApplyAttribute(component_, QString::fromUtf8(attribute.name()), QString::fromUtf8(attribute.value()));
}

void TCustomComboBoxRead::ReadAll()
{
    const qint64 index = LibRTTI::GetPropOrdinal(component_, QStringLiteral("ItemIndex"));
    TComponentRead::ReadAll();
    LibRTTI::SetPropOrdinal(component_, QStringLiteral("ItemIndex"), index);
}

std::unique_ptr<TComponentRead> TReaderFactory::Create(TComponent* component, pugi::xml_node element)
{
    for (const QMetaObject* meta = component->metaObject(); meta; meta = meta->superClass()) {
        const QLatin1String className(meta->className());
        if (className.startsWith(QLatin1String("Tww")) && className.endsWith(QLatin1String("ComboBox")))
            return std::make_unique<TwwDBCustomComboBoxRead>(component, element);
    }
    if (qobject_cast<TComboBox*>(component))
        return std::make_unique<TCustomComboBoxRead>(component, element);
    return std::make_unique<TComponentRead>(component, element);
}

TLangReader::TLangReader(QObject* sender, const pugi::xml_document* document,
    const QStringList& excludeControls, TLoadComponentEvent beforeLoad, TLoadComponentEvent afterLoad)
    : sender_(sender)
    , document_(document)
    , beforeLoad_(std::move(beforeLoad))
    , afterLoad_(std::move(afterLoad))
{
    SetExcludeControls(excludeControls);
}

void TLangReader::SetExcludeControls(const QStringList& names)
{
    excluded_.clear();
    for (const QString& name : names)
        excluded_.insert(name.trimmed().toUpper());
}

pugi::xml_node TLangReader::findElement(const QString& name) const
{
    if (!langdoc::IsSafeElementName(name))
        return {};
    try {
        const pugi::xpath_node found = document_->select_node(("//" + name.toUtf8()).constData());
        return found.node();
    } catch (const pugi::xpath_exception&) {
        return {};
    }
}

void TLangReader::readElement(TComponent* component, pugi::xml_node element)
{
    beforeLoad_(sender_, component, TLangElementAccess::Of(element));
    TReaderFactory::Create(component, element)->ReadAll();
    afterLoad_(sender_, component, TLangElementAccess::Of(element));
}

void TLangReader::ReadComponent(TComponent* component)
{
    if (!component)
        return;
    if (qobject_cast<TForm*>(component) || component->inherits("TDataModule"))
        readElement(component, document_->document_element());
    const QString name = component->Name().trimmed();
    if (!name.isEmpty() && !excluded_.contains(name.toUpper()))
        if (pugi::xml_node element = findElement(name))
            readElement(component, element);
    const QList<TComponent*> owned = component->ComponentList();
    for (TComponent* child : owned)
        ReadComponent(child);
}

TLanguageController::TLanguageController(TComponent* owner)
    : TComponent(owner)
    , langXML_(new TStrings(this))
    , excludeControls_(new TStrings(this))
{
    registerEvents();
    connect(langXML_, &TStrings::Changed, this, &TLanguageController::langXMLChanged);
    connect(excludeControls_, &TStrings::Changed, this, [this] {
        if (reader_)
            reader_->SetExcludeControls(excludeControls_->Lines());
    });
}

TLanguageController::~TLanguageController() = default;

void TLanguageController::SetLangFileName(const QString& value)
{
    if (langFileName_ == value)
        return;
    SetActive(false);
    langFileName_ = value;
    const QSignalBlocker blocker(langXML_);
    langXML_->Clear();
}

void TLanguageController::langXMLChanged()
{
    SetActive(false);
    if (langXML_->Count() > 0)
        langFileName_.clear();
}

void TLanguageController::SetActive(bool value)
{
    if (IsLoading()) {
        wantActive_ = value;
        return;
    }
    if (value)
        open();
    else if (document_)
        close();
}

void TLanguageController::Loaded()
{
    TComponent::Loaded();
    if (wantActive_)
        SetActive(true);
}

void TLanguageController::open()
{
    beforeOpen_(this);
    reader_.reset();
    document_.reset();
    auto document = std::make_unique<TLangDocument>();
    if (langXML_->Count() > 0)
        langdoc::ParseDocument(document->Xml, langXML_->Text());
    else if (langFileName_.isEmpty())
        throw LanguageControllerError(QStringLiteral("Cannot Find File %1!").arg(langFileName_));
    else
        langdoc::LoadDocumentFile(document->Xml, langFileName_, ansiCodePage());
    document_ = std::move(document);
    makeReader();
    afterOpen_(this);
}

void TLanguageController::close()
{
    beforeClose_(this);
    reader_.reset();
    document_.reset();
    afterClose_(this);
}

void TLanguageController::makeReader()
{
    reader_ = std::make_unique<TLangReader>(
        this, &document_->Xml, excludeControls_->Lines(), beforeLoad_, afterLoad_);
}

TLangReader& TLanguageController::Reader()
{
    if (!reader_)
        throw LanguageControllerError(QStringLiteral("No active LanguageController!"));
    return *reader_;
}

void TLanguageController::ReadComponent(TComponent* component)
{
    Reader().ReadComponent(component);
}

const TLangDocument& TLanguageController::Document() const
{
    if (!document_)
        throw LanguageControllerError(QStringLiteral("No active LanguageController!"));
    return *document_;
}

void TLanguageController::SetBeforeLoadComponent(const TLoadComponentEvent& h)
{
    beforeLoad_ = h;
    if (reader_)
        makeReader();
}

void TLanguageController::SetAfterLoadComponent(const TLoadComponentEvent& h)
{
    afterLoad_ = h;
    if (reader_)
        makeReader();
}

THvLangController::THvLangController(TComponent* owner)
    : TLanguageController(owner)
{
}

void THvLangController::SetLangPackageName(const QString& value)
{
    if (langPackageName_ == value)
        return;
    langPackageName_ = value;
    SetLangFileName(LanguageFolder(designType_) + value + QStringLiteral(".Lng"));
}

QString LanguageCode(const QString& codePage)
{
    if (codePage == u"936")
        return QStringLiteral("CHS");
    if (codePage == u"950")
        return QStringLiteral("CHT");
    if (codePage == u"437")
        return QStringLiteral("ENG");
    return {};
}

QString LanguageFolder(TDesignType designType)
{
    auto folderOf = [](const TStewardIniBase& ini) -> QString {
        const QString code = LanguageCode(ini.UICodePage);
        if (code.isEmpty() || ini.HomePath.isEmpty())
            return {};
        const QString folder = ini.HomePath + QStringLiteral("MultiLanguage\\") + code + u'\\';
        return DirectoryExists(folder) ? folder : QString();
    };
    if (designType == dtServer)
        return folderOf(TStewardIniS());
    return folderOf(TStewardIniC());
}

QString LookupLangMessage(const QString& fileName, const QString& messageName, const QString& defaultText)
{
    if (fileName.isEmpty() || !FileExists(fileName) || !langdoc::IsSafeElementName(messageName))
        return defaultText;
    try {
        pugi::xml_document document;
        langdoc::LoadDocumentFile(document, fileName, ansiCodePage());
        const QByteArray query = "//" + messageName.toUtf8() + "/@Msg";
        const pugi::xpath_node found = document.document_element().select_node(query.constData());
        if (!found.attribute())
            return defaultText;
        return QString::fromUtf8(found.attribute().value());
    } catch (...) {
        return defaultText;
    }
}

QString GetLangMessage(
    TDesignType designType, const QString& package, const QString& messageName, const QString& defaultText)
{
    return LookupLangMessage(
        LanguageFolder(designType) + package + QStringLiteral(".Lng"), messageName, defaultText);
}

QString FormatMessageText(const QString& format, const QStringList& arguments, bool* ok)
{
    QString result;
    result.reserve(format.size());
    int next = 0;
    bool fits = true;
    for (int i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c != u'%' || i + 1 >= format.size()) {
            result += c;
            continue;
        }
        if (format.at(i + 1) == u'%') {
            result += u'%';
            ++i;
            continue;
        }
        // %s, %d, %n:s and the like: an optional index, flags and width are skipped.
        int j = i + 1;
        int index = -1;
        int start = j;
        while (j < format.size() && format.at(j).isDigit())
            ++j;
        if (j < format.size() && format.at(j) == u':' && j > start) {
            index = format.mid(start, j - start).toInt();
            ++j;
        } else {
            j = start;
        }
        while (j < format.size() && (format.at(j).isDigit() || format.at(j) == u'-' || format.at(j) == u'.'))
            ++j;
        if (j >= format.size() || !QString(QStringLiteral("sdufxegnm")).contains(format.at(j).toLower())) {
            result += c;
            continue;
        }
        const int argument = index >= 0 ? index : next;
        if (argument >= arguments.size()) {
            fits = false;
            break;
        }
        result += arguments.at(argument);
        next = argument + 1;
        i = j;
    }
    if (ok)
        *ok = fits;
    return fits ? result : format;
}

QString FormatLangMessage(TDesignType designType, const QString& package, const QString& messageName,
    const QStringList& arguments, const QString& defaultText)
{
    return FormatMessageText(GetLangMessage(designType, package, messageName, defaultText), arguments);
}
