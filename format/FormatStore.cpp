#include "format/FormatStore.h"

#include "common/LibStrs.h"
#include "common/forms/LanguageController.h"
#include "runtime/designer/LayoutKit.h"
#include "runtime/forms/Component.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/forms/FormReader.h"
#include "runtime/system/CodePages.h"

#include "runtime/system/NativePath.h"

#include <QApplication>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The component name of a form-text line: the part before the first ":",
// its second word ("  inherited qrlTitle: TQRLabel" -> "qrlTitle").
QString componentNameOf(const QString& line)
{
    return GetToken(line.section(u':', 0, 0).trimmed(), QStringLiteral(" "), 2).trimmed();
}

bool isObjectHeader(const QString& line)
{
    static const QRegularExpression header(QStringLiteral("^\\s*object\\s+[A-Za-z_][A-Za-z0-9_]*\\s*:"),
        QRegularExpression::CaseInsensitiveOption);
    return header.match(line).hasMatch();
}

// The hourglass for as long as the store talks to the server.
class WaitCursor {
public:
    WaitCursor()
    {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            QApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

TFormatStore::TFormatStore(TFormatStoreHost host)
    : host_(std::move(host))
{
}

bool TFormatStore::IsNewFormat(const QString& name)
{
    return name.compare(QLatin1String(NewFormatName), Qt::CaseInsensitive) == 0;
}

int TFormatStore::LanguageMode() const
{
    return host_.Converter ? host_.Converter->UIConvertMode() : 0;
}

int TFormatStore::DBMode() const
{
    return host_.Converter ? host_.Converter->DBConvertMode() : 0;
}

QString TFormatStore::ClassName() const
{
    return host_.Form ? host_.Form->ClassName() : QString();
}

QString TFormatStore::toStorage(const QString& text) const
{
    return host_.Converter ? host_.Converter->FromDisplay(Variant(text)).ToString() : text;
}

QString TFormatStore::toDisplay(const QString& text) const
{
    return host_.Converter ? host_.Converter->ToDisplay(Variant(text)).ToString() : text;
}

void TFormatStore::hideForm()
{
    if (host_.HideForm)
        host_.HideForm();
}

QString TFormatStore::Text(TStoreMessage id) const
{
    const TStoreMessageText& m = StoreMessageText(id);
    const QString fallback = QString::fromUtf8(m.Default);
    if (!*m.Key)
        return fallback;
    if (host_.LangText)
        return host_.LangText(QString::fromLatin1(m.Key), fallback);
    return GetLangMessage(
        dtClient, QString::fromLatin1(StoreMessageSection), QString::fromLatin1(m.Key), fallback);
}

int TFormatStore::Show(TStoreMessage id, const QString& argument)
{
    const TStoreMessageText& m = StoreMessageText(id);
    QString text = Text(id);
    if (text.contains(QLatin1String("%s")))
        text.replace(QLatin1String("%s"), argument);
    else if (text.contains(QLatin1String("%d")))
        text.replace(QLatin1String("%d"), argument);
    else
        text += argument;
    text = toDisplay(text);
    if (host_.Converter)
        return host_.Converter->ShowMessageDialog(text, m.Type, m.Buttons);
    return Dialogs().MessageDlg(text, m.Type, m.Buttons, QString());
}

void TFormatStore::ReadNameLimit()
{
    NameLimit = 0;
    if (!host_.Query)
        return;
    Variant rows;
    const Variant params = Variant::ArrayOf(
        {QStringLiteral("select col.length from syscolumns col inner join sysobjects obj "
                        "on obj.id=col.id where obj.name = 'WARRANT' AND col.name ='NT002'"),
            QStringLiteral("length")});
    try {
        if (!host_.Query(QStringLiteral("SimpleSql"), params, rows) || !rows.IsArray()
            || rows.HighBound() < rows.LowBound())
            return;
        const Variant first = rows[rows.LowBound()];
        NameLimit = first.IsArray()
            ? (first.HighBound() >= first.LowBound() ? first[first.LowBound()].ToInt() : 0)
            : first.ToInt();
    } catch (const Exception&) {
        NameLimit = 0;
    }
}

bool TFormatStore::AskFormatName(QString& name, const QString& caption, const QString& prompt)
{
    QString value = toDisplay(FormatName);
    QString shownCaption = caption, shownPrompt = prompt;
    if (host_.SystemCodePage == QLatin1String("950") && host_.Translate) {
        shownCaption = host_.Translate(caption);
        shownPrompt = host_.Translate(prompt);
    }
    const int codePage = host_.Converter ? host_.Converter->DBCodePage().toInt() : 936;
    for (;;) {
        if (!Dialogs().InputQuery(shownCaption, shownPrompt, value))
            return false;
        const QString candidate = toStorage(value);
        if (ByteLength(candidate, codePage > 0 ? codePage : 936) > NameLimit) {
            Show(TStoreMessage::NameLengthError, QString::number(NameLimit));
            continue;
        }
        if (IsNewFormat(candidate.trimmed())) {
            Show(TStoreMessage::PlsNewName);
            continue;
        }
        if (!candidate.isEmpty() || Show(TStoreMessage::NameIsBlank) == mrYes) {
            name = candidate;
            return true;
        }
    }
}

void TFormatStore::SaveChanges(bool& done)
{
    SaveOK = true;
    Saved = false;
    const int answer = Show(TStoreMessage::EnsureSave);
    if (answer == mrCancel) {
        // Neither saved nor given up: the designer stays open with the edits.
        SaveOK = false;
        Abort();
    }
    if (answer != mrYes) {
        done = true;
        return;
    }
    hideForm();
    QString name = FormatName;
    const bool wasNew = IsNewFormat(FormatName);
    if (wasNew
        && !AskFormatName(name, Text(TStoreMessage::SaveFormat), Text(TStoreMessage::SaveFormatName))) {
        SaveOK = false;
        Abort();
    }
    if (wasNew && IsNewFormat(name)) {
        SaveOK = false;
        Abort();
    }
    try {
        StoreFormat(ClassName(), name);
    } catch (const EAbort&) {
        throw;
    } catch (const Exception&) {
        Show(TStoreMessage::StoreRaised);
        SaveOK = false;
        Abort();
    }
    if (!SaveOK)
        Abort();
    FormatName = name;
    Saved = SaveOK;
    done = true;
}

void TFormatStore::SaveClick()
{
    bool done = false;
    try {
        SaveChanges(done);
    } catch (const EAbort&) {
        return;
    }
    if (Saved)
        Show(TStoreMessage::SaveFormatOK, toDisplay(FormatName));
}

void TFormatStore::SaveAsClick()
{
    try {
        QString name;
        if (!AskFormatName(name, Text(TStoreMessage::SaveAsFormat), Text(TStoreMessage::SaveAsFormatName)))
            return;
        SaveOK = true;
        StoreFormat(ClassName(), name);
        if (SaveOK) {
            FormatName = name;
            Show(TStoreMessage::SaveAsFormatOK, toDisplay(FormatName));
        }
    } catch (const Exception&) {
        // Save-as gives up quietly; a failed store said so already.
    }
}

QStringList TFormatStore::StoredLines() const
{
    QStringList lines = StoredLayoutText(host_.Form).split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    for (QString& line : lines) {
        if (RuntimeComponents.contains(componentNameOf(line), Qt::CaseInsensitive))
            line = line.replace(QLatin1String("inherited"), QLatin1String("object")).trimmed();
        line = ConvertFormTextStrings(line, [this](const QString& text) { return toStorage(text); })
                   .replace(QLatin1String("CHINESEBIG5_CHARSET"), QLatin1String("GB2312_CHARSET"))
                   .trimmed();
    }
    return lines;
}

bool TFormatStore::readRow(
    const QString& className, const QString& formatName, QString& counter, QString& text)
{
    try {
        Variant out;
        const int found = host_.ApplicationServer
                              .Call(QStringLiteral("GetBlobField"),
                                  {Variant::ArrayOf({className, formatName}), Variant::Ref(out)})
                              .ToInt();
        if (found <= 0 || !out.IsArray() || out.HighBound() - out.LowBound() < 1)
            return false;
        counter = out[out.LowBound()].ToString();
        const Variant body = out[out.LowBound() + 1];
        if (body.IsArray()) {
            QStringList lines;
            for (int i = body.LowBound(); i <= body.HighBound(); ++i)
                lines << body[i].ToString();
            text = lines.join(u'\n');
        } else {
            text = body.ToString();
        }
        return true;
    } catch (const Exception&) {
        return false; // a failed read counts as not found
    }
}

bool TFormatStore::writeRow(bool update, const QStringList& lines, const QString& className,
    const QString& formatName, const QString& counter)
{
    VariantList items;
    qint64 bytes = 0;
    for (const QString& line : lines) {
        items << line;
        bytes += line.toUtf8().size() + 2;
    }
    Variant text = Variant::ArrayOf(items);
    Variant size = static_cast<int>(bytes / 1024);
    const QString snapshot = host_.OptionSnapshot ? host_.OptionSnapshot() : QString();
    const Variant params = update
        ? Variant::ArrayOf(
            {host_.CompanyCode, host_.UserCode, QString(), counter, className, formatName, snapshot})
        : Variant::ArrayOf(
            {host_.CompanyCode, host_.UserCode, host_.UserGroup, className, formatName, QString(), snapshot});
    try {
        return host_.ApplicationServer
                   .Call(QStringLiteral("RunInsUpdSQL"),
                       {update, Variant::Ref(text), params, Variant::Ref(size)})
                   .ToInt()
            >= 0;
    } catch (const Exception&) {
        // A call that raises did not store anything: it is a failure like
        // a refusal, so the layout goes to the local file.
        return false;
    }
}

void TFormatStore::failSave(TStoreMessage warning, const QString& formatName)
{
    Show(warning);
    SaveOK = false;
    try {
        SaveLocalFormat(formatName);
    } catch (const EAbort&) {
        // SaveLocalFormat warned already.
    }
}

void TFormatStore::StoreFormat(const QString& className, const QString& formatName)
{
    QString counterText, existing;
    const bool exists = readRow(className, formatName, counterText, existing);
    QString newCounter;
    if (exists) {
        if (Show(TStoreMessage::FormatExists, toDisplay(formatName)) != mrYes) {
            SaveOK = false;
            return;
        }
        const int counter = CounterToLock(counterText);
        int locked = -1;
        try {
            locked = host_.ApplicationServer
                         .Call(QStringLiteral("RunUpdFlagSQL"),
                             {Variant::ArrayOf({counter, counterText, className, formatName})})
                         .ToInt();
        } catch (const Exception&) {
            locked = -1;
        }
        if (locked < 0) {
            failSave(TStoreMessage::FormatLockError, formatName);
            return;
        }
        newCounter = QString::number(counter + 1);
    }
    WaitCursor wait;
    const QStringList lines = StoredLines();
    if (exists) {
        if (!writeRow(true, lines, className, formatName, newCounter))
            failSave(TStoreMessage::RefreshFormatError, formatName);
        return;
    }
    if (!writeRow(false, lines, className, formatName, QString())) {
        failSave(TStoreMessage::InsertFailed, formatName);
        return;
    }
    if (host_.FormatAdded)
        host_.FormatAdded(toDisplay(formatName));
}

bool TFormatStore::readStoredText(const QString& text)
{
    try {
        VerifyStoredLayout(text, host_.AllowedHandlers);
    } catch (const Exception& e) {
        Dialogs().MessageBox(QString::fromLatin1(OpenStandardDfmError) + e.Message(),
            QString::fromLatin1(OpenErrorCaption), MB_OKCANCEL);
        return false;
    }
    try {
        ReadComponent(host_.Form, AdoptExistingComponents(host_.Form, text));
    } catch (const Exception& e) {
        Dialogs().MessageBox(QString::fromLatin1(CannotReadDfmData) + e.Message(),
            QString::fromLatin1(OpenErrorCaption), MB_OKCANCEL);
    }
    return true;
}

void TFormatStore::LoadStoredFormat(const QString& className, const QString& formatName)
{
    QString counter, text;
    storedFormatRead_ = false;
    if (!readRow(className, formatName, counter, text))
        return;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r?\n")));
    for (const QString& line : lines)
        if (isObjectHeader(line)) {
            const QString name = componentNameOf(line);
            if (!name.isEmpty() && !RuntimeComponents.contains(name, Qt::CaseInsensitive))
                RuntimeComponents << name;
        }
    QStringList displayed;
    for (const QString& line : lines)
        displayed << ConvertFormTextStrings(line, [this](const QString& value) { return toDisplay(value); });
    QString shown = displayed.join(u'\n');
    if (LanguageMode() == 2 || host_.SystemCodePage == QLatin1String("950"))
        shown.replace(QLatin1String("GB2312_CHARSET"), QLatin1String("CHINESEBIG5_CHARSET"));
    // A text refused before reading stops here; one read only in part goes on.
    storedFormatRead_ = readStoredText(shown);
    if (storedFormatRead_ && host_.BuilderHandOver)
        host_.BuilderHandOver();
}

void TFormatStore::SaveLocalFormat(const QString& formatName)
{
    hideForm();
    try {
        SaveFormLayoutToFile(host_.Form, LocalFormatFile(formatName));
    } catch (const Exception&) {
        Show(TStoreMessage::LocalFileFailed);
        SaveOK = false;
        Abort();
    }
}

void TFormatStore::LoadChanges(bool& done)
{
    try {
        if (LanguageMode() == 1 || LanguageMode() == 2) {
            const QString picture = BackgroundPicture();
            if (host_.LoadBackground && QFileInfo::exists(NativePath(picture)))
                host_.LoadBackground(picture);
        }
        LoadStoredFormat(ClassName(), FormatName);
        hideForm();
    } catch (const Exception&) {
        // A layout that cannot be loaded leaves the built-in one.
    }
    done = true;
}

void TFormatStore::LoadLocalClick()
{
    try {
        if (Show(TStoreMessage::LoadLastFailed) == mrNo)
            return;
        if ((LanguageMode() == 1 || LanguageMode() == 2) && host_.LoadBackground) {
            const QString picture = BackgroundPicture();
            if (QFileInfo::exists(NativePath(picture)))
                host_.LoadBackground(picture);
        }
        QString name;
        if (AskFormatName(name, Text(TStoreMessage::LoadLocalCaption), Text(TStoreMessage::LoadLocalPrompt)))
            LoadFormLayoutFromFile(host_.Form, LocalFormatFile(name));
        hideForm();
    } catch (const Exception&) {
        // Nothing to bring back.
    }
}

QString TFormatStore::LocalFormatFile(const QString& formatName) const
{
    return LocalFormatFilePath(
        host_.CustomFormatPath, host_.ClientHome, LanguageMode(), ClassName(), formatName);
}

QString TFormatStore::BackgroundPicture() const
{
    return BackgroundPicturePath(
        host_.ClientHome, LanguageMode(), ClassName(), host_.PageStyle ? host_.PageStyle() : 0);
}
