#include "suite/hubdesk/HubF2Window.h"

#include "common/StewardINI.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/ArgReader.h"
#include "runtime/system/NativePath.h"
#include "suite/hubdesk/HubServerLink.h"
#include "suite/hubdesk/TfrmHubDate.h"
#include "suite/hubdesk/TfrmHubLookup.h"
#include "suite/hubdesk/TfrmHubPhrase.h"

#include <memory>

// Resources and classes of a static library are registered by hand (outside any namespace).
void InitHubDeskResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(hubdesk);
        RegisterClass<THubCalendar>();
        return true;
    }();
    (void)done;
}

THubF2Window::THubF2Window(std::shared_ptr<THubServerLink> link)
    : TAutoObject(QStringLiteral("HubDesk.F2Window"))
    , link_(std::move(link))
{
    AddMethod(QStringLiteral("F2GetData"), [this](VariantList& a) { return F2GetData(Arg(a, 0)); });
    AddMethod(
        QStringLiteral("ShowInputDay"), [this](VariantList& a) { return Variant(ShowInputDay(Arg(a, 0))); });
    AddMethod(QStringLiteral("GetPhrase"),
        [this](VariantList& a) { return Variant(GetPhrase(Arg(a, 0).ToString())); });
}

Variant THubF2Window::F2GetData(const Variant& request)
{
    const TArgReader item = TArgReader::Spread(request);
    const QString table = item.At(0).ToString().trimmed();
    if (table.isEmpty())
        return Variant();
    const THubQueryAnswer answer = link_->Query(
        QStringLiteral("Lookup"), table, item.At(1).ToString(), item.At(3).ToString(), item.At(2));
    if (answer.RowCount() == 0)
        return Variant();
    std::unique_ptr<TfrmHubLookup, FreeComponent> form(CreateForm<TfrmHubLookup>());
    const QString caption = item.At(7).ToString().trimmed();
    form->SetData(caption.isEmpty() ? answer.Title : caption, answer.Columns, answer.Rows, item.Flag(6));
    const QString search = item.At(8).ToString().trimmed();
    if (!search.isEmpty())
        form->SetSearchText(search);
    if (Dialogs().ShowModal(form.get()) != mrOk)
        return Variant();
    return form->ChosenRows();
}

QString THubF2Window::ShowInputDay(const Variant& args)
{
    const TArgReader item = TArgReader::Spread(args);
    QDate start = QDate::fromString(item.At(1).ToString().trimmed(), QStringLiteral("yyyyMMdd"));
    if (!start.isValid())
        start = QDate::currentDate();
    std::unique_ptr<TfrmHubDate, FreeComponent> form(CreateForm<TfrmHubDate>());
    form->SetRocYears(item.Flag(0));
    form->SetDate(start);
    if (Dialogs().ShowModal(form.get()) != mrOk)
        return QString();
    return form->Date().toString(QStringLiteral("yyyyMMdd"));
}

QString THubF2Window::PhraseFile(const QString& userCode)
{
    QString user;
    for (const QChar c : userCode.trimmed())
        if (c.isLetterOrNumber() || c == u'_' || c == u'-')
            user += c;
    if (user.isEmpty())
        user = QStringLiteral("Default");
    return NativePath(IncludeTrailingBackslash(GetHomeFolder()) + QStringLiteral("Phrase\\") + user
        + QStringLiteral(".txt"));
}

QString THubF2Window::GetPhrase(const QString& userCode)
{
    std::unique_ptr<TfrmHubPhrase, FreeComponent> form(CreateForm<TfrmHubPhrase>());
    form->LoadPhrases(PhraseFile(userCode));
    if (Dialogs().ShowModal(form.get()) != mrOk)
        return QString();
    return form->Chosen();
}
