// Feeds arbitrary bytes to the registry file reader and walks what it read:
// every key reachable from the two roots (breadth first, bounded), its values
// read every way. A damaged file must read as fewer keys with LastError set,
// never as a crash, a hang or memory that grows with the square of a line.

#include "../FuzzFile.h"
#include "runtime/system/RegistryFile.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TRegistry registry(fuzzfile::Write("input.reg", data, size));
    (void)registry.LastError();
    int visited = 0;
    for (const auto root : {TRegistry::Root::LocalMachine, TRegistry::Root::CurrentUser}) {
        registry.RootKey = root;
        QStringList pending {QStringLiteral("\\")};
        while (!pending.isEmpty() && visited < 2000) {
            const QString key = pending.takeFirst();
            ++visited;
            if (!registry.OpenKeyReadOnly(key))
                continue;
            const QString base = u'\\' + registry.CurrentPath();
            for (const QString& name : registry.GetValueNames()) {
                (void)registry.ValueExists(name);
                (void)registry.ReadString(name);
                try {
                    (void)registry.ReadInteger(name);
                } catch (const ERegistryException&) {
                }
            }
            for (const QString& child : registry.GetKeyNames())
                pending << (base.endsWith(u'\\') ? base : base + u'\\') + child;
        }
        registry.CloseKey();
    }
    return 0;
}
