#include "common/forms/HVForm.h"

#include "common/forms/LibRTTI.h"
#include "runtime/system/NativePath.h"

#include <QEvent>
#include <QWidget>

THVForm::THVForm(TComponent* owner)
    : TForm(owner)
    , converter_(new TCodeConverter(this))
    , langController_(new THvLangController(this))
{
    converter_->SetName(QStringLiteral("HvConverter"));
    langController_->SetName(QStringLiteral("LangController"));
}

THVForm::~THVForm() = default;

void THVForm::AfterConstruction()
{
    const bool english = converter_->UICodePage() == u"437";
    // The form itself too: the controls that take their font from it (a
    // panel's own edits and labels, made later) must not fall back to its
    // Chinese face.
    QList<TComponent*> components = ComponentList();
    components.prepend(this);
    for (TComponent* component : components) {
        LibRTTI::SetPropText(component, QStringLiteral("ImeName"), QString());
        if (english
            && LibRTTI::IsPropertyOfType(component, QStringLiteral("Font"), QStringLiteral("TFont"))) {
            SetPropertyPath(component, QStringLiteral("Font.Charset"), QStringLiteral("134"));
            SetPropertyPath(component, QStringLiteral("Font.Name"), QStringLiteral("Tahoma"));
        }
    }
    TForm::AfterConstruction();
}

QStringList THVForm::PackageNames(const TComponent* component, bool withAncestors, bool belowBase)
{
    if (!component)
        return {};
    if (!withAncestors)
        return {QString::fromLatin1(component->metaObject()->className())};
    QStringList names;
    for (const QMetaObject* meta = component->metaObject(); meta; meta = meta->superClass()) {
        if (meta == &TForm::staticMetaObject || meta == &TComponent::staticMetaObject
            || (belowBase && meta == &THVForm::staticMetaObject))
            break;
        names.prepend(QString::fromLatin1(meta->className()));
    }
    return names;
}

void THVForm::loadPackages(TComponent* component, const QStringList& packages)
{
    for (const QString& package : packages) {
        try {
            langController_->SetLangPackageName(package);
            if (!FileExists(langController_->LangFileName()))
                continue;
            langController_->SetActive(true);
            langController_->ReadComponent(component);
        } catch (const Exception& e) {
            languageErrors_ << langController_->LangFileName() + QStringLiteral(": ") + e.Message();
        }
    }
}

void THVForm::LoadLanguage(TComponent* component, bool withAncestors)
{
    loadPackages(component, PackageNames(component, withAncestors));
}

void THVForm::LoadLanguageBelowBase(TComponent* component, bool withAncestors)
{
    loadPackages(component, PackageNames(component, withAncestors, true));
}

QString THVForm::GetFormMessage(
    const QString& package, const QString& messageName, bool convertDefault, const QString& defaultText) const
{
    const QString fallback = convertDefault ? converter_->ToDisplay(defaultText).ToString() : defaultText;
    return GetLangMessage(langController_->DesignType(), package, messageName, fallback);
}

void THVForm::ConvertOnce()
{
    if (converted_)
        return;
    converted_ = true;
    converter_->ConvertForm(this, false, true);
}

void THVForm::ApplyLanguageUnshown()
{
    if (!showLanguage_)
        return;
    const QString package = langController_->LangPackageName();
    const QString file = langController_->LangFileName();
    LoadLanguage(this, true);
    langController_->SetActive(false);
    langController_->SetLangPackageName(package);
    langController_->SetLangFileName(file);
}

void THVForm::PrepareShow()
{
    ConvertOnce();
    if (showLanguage_)
        LoadLanguage(this, true);
}

QWidget* THVForm::CreateWidget(QWidget* parent)
{
    QWidget* widget = TForm::CreateWidget(parent);
    widget->installEventFilter(this);
    return widget;
}

bool THVForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && HasWidget() && watched == Widget())
        PrepareShow();
    return TForm::eventFilter(watched, event);
}
