// frame_module_objects MODULE PROGID...: loads a program module the way the
// shell does (dlopen, RTLD_NOW | RTLD_LOCAL, which runs the module's main
// block) and creates each automation object by programmatic identifier from
// the module's own object registry: the one the module's sends, previews and
// server connection consult. The module shows only GetController, so the
// registry's factory is found by its local symbol in the module's symbol
// table (nm), relative to the module's load address.
//
// Prints one line per identifier, "<id> -> <class name>" or
// "<id> error: <message>", and exits 0; 3 when the module or its factory
// cannot be found.
#include "runtime/system/AutoObject.h"

#include <QCoreApplication>
#include <QProcess>
#include <cstdio>
#include <dlfcn.h>
#include <exception>

namespace {

// AutoObjectFactory::Create(const QString&), as the compiler names it.
const char* const FactorySymbol = "_ZN17AutoObjectFactory6CreateERK7QString";

// The symbol's address in the module file, or 0.
quintptr symbolOffset(const QString& module, const QString& symbol)
{
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("--defined-only"), module});
    if (!nm.waitForFinished(60000))
        return 0;
    const QStringList lines = QString::fromLocal8Bit(nm.readAllStandardOutput()).split(u'\n');
    for (const QString& line : lines) {
        const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
        if (parts.size() == 3 && parts[2] == symbol)
            return parts[0].toULongLong(nullptr, 16);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: frame_module_objects MODULE.so PROGID...\n");
        return 2;
    }
    void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::printf("error: %s\n", dlerror());
        return 3;
    }
    Dl_info info {};
    void* entry = dlsym(module, "GetController");
    const quintptr offset = symbolOffset(QString::fromLocal8Bit(argv[1]), QString::fromLatin1(FactorySymbol));
    if (!entry || !dladdr(entry, &info) || !offset) {
        std::printf("error: no object factory in %s (a stripped module?)\n", argv[1]);
        return 3;
    }
    using Factory = AutoObjectPtr (*)(const QString&);
    const auto create = reinterpret_cast<Factory>(static_cast<char*>(info.dli_fbase) + offset);
    for (int i = 2; i < argc; ++i) {
        const QString progId = QString::fromLocal8Bit(argv[i]);
        try {
            const AutoObjectPtr object = create(progId);
            std::printf("%s -> %s\n", argv[i], qPrintable(object->ClassName()));
        } catch (const std::exception& e) {
            std::printf("%s error: %s\n", argv[i], e.what());
        }
    }
    std::fflush(stdout);
    return 0;
}
