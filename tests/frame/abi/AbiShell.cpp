// A shell of its own, built only against frame's controller header: it
// opens a module with dlopen, takes GetController, and drives the controller
// through its virtual slots. It prints the events it received, one line
// "events 0x100 0x110 ..." and "closed 1|0", and exits 0 when the run went
// the way a shell expects: 0x100, 0x110, 0x130 in this order, IsClosed after.
// A failing GetController or Open prints "error: <message>" and exits 4.
#include "frame/DLLBaseController.h"

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <dlfcn.h>
#include <exception>
#include <memory>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: frame_abi_shell MODULE.so\n");
        return 2;
    }
    void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::printf("error: %s\n", dlerror());
        return 3;
    }
    auto getController = reinterpret_cast<TGetController>(dlsym(module, "GetController"));
    if (!getController) {
        std::printf("error: no GetController\n");
        return 3;
    }
    QList<int> events;
    int status = 0;
    try {
        // Freed also when Open raises: the module stays loaded until exit.
        std::unique_ptr<TDLLBaseController> controller(getController());
        controller->OnControllerEvent = [&events](int code, TDLLBaseController*) { events.append(code); };
        const Variant args
            = Variant::ArrayOf({Variant("DS"), Variant("HV01"), Variant("DEMO"), Variant(0), Variant("")});
        if (controller->Open(args) != 0)
            status = 1;
        QString version;
        controller->GetVersion(version);
        std::printf("version %s\n", qPrintable(version));
        controller->SetFormVisible(true);
        controller->CloseForm();
        const bool closed = controller->IsClosed();
        controller.reset();
        QStringList codes;
        for (int code : events)
            codes << QStringLiteral("0x%1").arg(code, 0, 16);
        std::printf("events %s\nclosed %d\n", qPrintable(codes.join(u' ')), closed ? 1 : 0);
        const QList<int> expected {ncFormCreated, ncFormShown, ncFormDestroyed};
        QList<int> seen;
        for (int code : events) {
            if (expected.contains(code))
                seen.append(code);
        }
        if (seen != expected || !closed)
            status = 1;
    } catch (const std::exception& e) {
        std::printf("error: %s\n", e.what());
        status = 4;
    }
    std::fflush(stdout);
    return status;
}
