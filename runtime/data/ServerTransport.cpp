#include "runtime/data/ServerTransport.h"

#include "runtime/data/RemoteTransport.h"
#include "runtime/system/NameRegistry.h"

namespace {

TNameRegistry<ServerTransports::Creator>& creators()
{
    static TNameRegistry<ServerTransports::Creator> registry;
    return registry;
}

} // namespace

IServerTransport::~IServerTransport() = default;

void ServerTransports::Register(const QString& name, Creator creator)
{
    creators().Register(name, std::move(creator));
}

void ServerTransports::Unregister(const QString& name)
{
    creators().Unregister(name);
}

bool ServerTransports::IsRegistered(const QString& name)
{
    return creators().Contains(name);
}

std::unique_ptr<IServerTransport> ServerTransports::Create(const QString& name)
{
    const Creator creator = creators().Value(name);
    if (creator)
        return creator();
    // The daemon's own protocol, unless something else took the name.
    if (name.compare(QLatin1String("socket"), Qt::CaseInsensitive) == 0)
        return std::make_unique<TRemoteTransport>();
    return nullptr;
}
