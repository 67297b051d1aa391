#include "runtime/data/ClientLogin.h"

#include "runtime/system/AutoObject.h"

#include <QMutex>

namespace {

QMutex loginMutex;

struct Login {
    QString user;
    QString password;
};

Login& login()
{
    static Login current;
    return current;
}

// Overwrites the characters before the memory is given back.
void wipe(QString& text)
{
    text.fill(u'\0');
    text.clear();
}

// The user code of connect arguments and where the password goes: element
// 5 of the one array, or argument 5 of the ones passed one by one.
class TLoginPresenter : public IAutoObject {
public:
    explicit TLoginPresenter(AutoObjectPtr inner)
        : inner_(std::move(inner))
    {
    }
    QString ClassName() const override { return inner_->ClassName(); }
    Variant Invoke(const QString& member, VariantList& args) override
    {
        if (member.compare(QLatin1String("Connect"), Qt::CaseInsensitive) != 0)
            return inner_->Invoke(member, args);
        VariantList presented = WithLoginPassword(args);
        return inner_->Invoke(member, presented);
    }
    Variant GetProperty(const QString& property, VariantList& args) override
    {
        return inner_->GetProperty(property, args);
    }
    void SetProperty(const QString& property, const Variant& value) override
    {
        inner_->SetProperty(property, value);
    }

private:
    AutoObjectPtr inner_;
};

} // namespace

namespace clientlogin {

void Set(const QString& user, const QString& password)
{
    QMutexLocker lock(&loginMutex);
    wipe(login().password);
    login().user = user.trimmed();
    login().password = password;
}

void Clear()
{
    QMutexLocker lock(&loginMutex);
    wipe(login().password);
    login().user.clear();
}

std::optional<QString> PasswordFor(const QString& user)
{
    QMutexLocker lock(&loginMutex);
    if (login().user.isEmpty() || login().password.isEmpty()
        || login().user.compare(user.trimmed(), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    return login().password;
}

} // namespace clientlogin

VariantList WithLoginPassword(const VariantList& args)
{
    if (args.isEmpty())
        return args;
    const Variant& first = args[0].Deref();
    if (first.IsArray()) {
        // [program, user, company, database, main table]
        if (args.size() != 1 || first.DimCount() != 1)
            return args;
        const int low = first.LowBound();
        if (first.HighBound() - low != 4)
            return args;
        const std::optional<QString> password = clientlogin::PasswordFor(first.At(low + 1).ToString());
        if (!password)
            return args;
        VariantList items;
        for (int i = low; i <= first.HighBound(); ++i)
            items << first.At(i);
        items << Variant(*password);
        return {Variant::ArrayOf(items)};
    }
    if (args.size() != 5)
        return args;
    const std::optional<QString> password = clientlogin::PasswordFor(args[1].Deref().ToString());
    if (!password)
        return args;
    VariantList presented = args;
    presented << Variant(*password);
    return presented;
}

Variant PresentingLogin(const Variant& server)
{
    if (!server.IsObject())
        return server;
    return Variant(std::make_shared<TLoginPresenter>(server.ToObject()));
}
