// Feeds arbitrary bytes to the form description reader: it must answer with
// EReadError (or another runtime exception) and never crash, hang or leak. A
// text that reads is written back and read again, which must also succeed.

#include "runtime/forms/FormReader.h"
#include "runtime/forms/FormWriter.h"
#include "runtime/forms/Forms.h"

#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

QApplication* application()
{
    static int argc = 1;
    static char name[] = "fuzz_form_reader";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    application();
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::unique_ptr<TForm> form(new TForm);
    form->SetName("Fuzz");
    try {
        ReadComponent(form.get(), text);
    } catch (const Exception&) {
        return 0; // a refused text is the expected answer
    }
    const QString written = WriteComponent(form.get());
    std::unique_ptr<TForm> again(new TForm);
    try {
        ReadComponent(again.get(), written);
    } catch (const Exception& e) {
        fprintf(stderr, "written text does not read back: %s\n%s\n", e.what(), written.toUtf8().constData());
        abort();
    }
    return 0;
}
