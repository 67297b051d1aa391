#include "runtime/data/ServerTransport.h"

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
    return creator ? creator() : nullptr;
}
