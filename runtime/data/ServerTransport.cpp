#include "runtime/data/ServerTransport.h"

#include <QHash>
#include <QMutex>

namespace {

struct Registry {
    QMutex mutex;
    QHash<QString, ServerTransports::Creator> creators;
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

IServerTransport::~IServerTransport() = default;

void ServerTransports::Register(const QString& name, Creator creator)
{
    QMutexLocker lock(&registry().mutex);
    registry().creators.insert(name.toLower(), std::move(creator));
}

void ServerTransports::Unregister(const QString& name)
{
    QMutexLocker lock(&registry().mutex);
    registry().creators.remove(name.toLower());
}

bool ServerTransports::IsRegistered(const QString& name)
{
    QMutexLocker lock(&registry().mutex);
    return registry().creators.contains(name.toLower());
}

std::unique_ptr<IServerTransport> ServerTransports::Create(const QString& name)
{
    Creator creator;
    {
        QMutexLocker lock(&registry().mutex);
        creator = registry().creators.value(name.toLower());
    }
    return creator ? creator() : nullptr;
}
