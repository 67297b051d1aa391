#pragma once
// THVForm: the base of the module's forms. It owns the code-page converter
// (HvConverter) and the language controller (LangController). The first time
// the form is shown its texts are converted to the interface code page; every
// time it is shown the language packages of its class chain are applied,
// the most basic class first, so a descendant's package has the last word.

#include "common/forms/LanguageController.h"
#include "common/forms/LibCodeConvert.h"
#include "runtime/forms/Forms.h"

#include <QStringList>

class THVForm : public TForm {
    Q_OBJECT
public:
    // Raises ETranslatorError when the configuration asks for a conversion
    // and the conversion library cannot be loaded.
    explicit THVForm(TComponent* owner = nullptr);
    ~THVForm() override;

    TCodeConverter* HvConverter() const { return converter_; }
    THvLangController* LangController() const { return langController_; }

    // Clears input-method names and, for an English interface, sets every
    // component's font to Tahoma; then raises OnCreate.
    void AfterConstruction() override;

    // The package names of component's class chain below TForm (basic first),
    // or only its own class name.
    static QStringList PackageNames(const TComponent* component, bool withAncestors, bool belowBase = false);
    // Applies every existing package of the chain to component. A damaged
    // package is skipped; its error is kept in LanguageErrors().
    void LoadLanguage(TComponent* component, bool withAncestors);
    // The same, without the packages of THVForm itself.
    void LoadLanguageBelowBase(TComponent* component, bool withAncestors);
    const QStringList& LanguageErrors() const { return languageErrors_; }

    // The message of the form's package, else defaultText (first shown in the
    // interface code page when convertDefault is set).
    QString GetFormMessage(const QString& package, const QString& messageName, bool convertDefault,
        const QString& defaultText) const;

    // What showing the form does before OnShow: converts once, then applies
    // the language packages. Paths that show the form without a window (a
    // scripted modal run) call it themselves.
    void PrepareShow();
    // The conversion part of PrepareShow alone, for a form that is used
    // without being shown (a report that prints): the texts go to the
    // interface code page once; a later show does not convert them again.
    void ConvertOnce();
    bool Converted() const { return converted_; }
    // The language packages of the class chain for a form that is used
    // without being shown (a report that prints): applied as showing applies
    // them, then the language controller is left as it was before, so that a
    // layout written from the form records nothing of it. Nothing when
    // ShowLanguage() is off.
    void ApplyLanguageUnshown();
    // Whether showing applies the language packages (on by default).
    bool ShowLanguage() const { return showLanguage_; }
    void SetShowLanguage(bool value) { showLanguage_ = value; }

    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    QWidget* CreateWidget(QWidget* parent) override;

private:
    void loadPackages(TComponent* component, const QStringList& packages);

    TCodeConverter* converter_;
    THvLangController* langController_;
    bool converted_ = false;
    bool showLanguage_ = true;
    QStringList languageErrors_;
};
