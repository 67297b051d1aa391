#include "options/ShellArguments.h"

namespace {

const char* const elementNames[] = {"user code", "company", "database name", "window handle", "feature list"};

[[noreturn]] void refuse(int element, const QString& what)
{
    throw EArgumentError(
        QStringLiteral("argument %1 (%2) %3").arg(element).arg(QLatin1String(elementNames[element]), what));
}

QString requiredText(const TArgReader& args, int element)
{
    const std::optional<QString> text = args.TryText(element);
    if (!text)
        refuse(element, QStringLiteral("is no text"));
    if (text->trimmed().isEmpty())
        refuse(element, QStringLiteral("is empty"));
    return text->trimmed();
}

void sameAs(int element, const QString& given, const QString& opened)
{
    // Codes and names are compared as the server compares them: without case.
    if (given.compare(opened.trimmed(), Qt::CaseInsensitive) != 0)
        refuse(element, QStringLiteral("is \"%1\", but the window runs for \"%2\"").arg(given, opened));
}

} // namespace

void CheckShellArguments(const Variant& params, const std::optional<TShellIdentity>& opened)
{
    const Variant& value = params.Deref();
    if (!value.IsArray())
        throw EArgumentError(QStringLiteral("the arguments are no array"));
    const TArgReader args(value);
    if (args.Count() < 5)
        throw EArgumentError(
            QStringLiteral("5 arguments wanted (user code, company, database name, window handle, feature "
                           "list), got %1")
                .arg(args.Count()));
    const QString user = requiredText(args, 0);
    const QString company = requiredText(args, 1).section(u';', 0, 0).trimmed();
    if (company.isEmpty())
        refuse(1, QStringLiteral("has no company code before \";\""));
    const QString database = requiredText(args, 2);
    // The handle is a number; the shell passes 0 when it has no window.
    const Variant& handle = args.At(3);
    const std::optional<QString> handleText = args.TryText(3);
    if (!handle.IsEmptyOrNull() && !args.TryInt(3) && !(handleText && handleText->trimmed().isEmpty()))
        refuse(3, QStringLiteral("is no number"));
    if (!args.TryText(4))
        refuse(4, QStringLiteral("is no text"));
    if (opened) {
        sameAs(0, user, opened->UserCode);
        sameAs(1, company, opened->CompanyCode);
        sameAs(2, database, opened->DatabaseName);
    }
}
