// Feeds arbitrary bytes to the language-package reader: decoding by the
// declared encoding, parsing, and applying every element to a small form.
// Errors must come back as LanguageControllerError, never as a crash.

#include "common/forms/LangXml.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <cstdint>
#include <cstdlib>

namespace {

struct Target {
    Target()
    {
        form.SetName(QStringLiteral("frmFuzz"));
        for (auto* control : std::initializer_list<TControl*> {button, combo, view, label, memo}) {
            control->SetParent(&form);
        }
        button->SetName(QStringLiteral("btnOK"));
        combo->SetName(QStringLiteral("cboKind"));
        combo->Items()->SetLines({QStringLiteral("a"), QStringLiteral("b")});
        view->SetName(QStringLiteral("lvRows"));
        view->Columns()->Add();
        label->SetName(QStringLiteral("lblNote"));
        memo->SetName(QStringLiteral("mmNote"));
    }
    TForm form;
    TButton* button = new TButton(&form);
    TComboBox* combo = new TComboBox(&form);
    TListView* view = new TListView(&form);
    TLabel* label = new TLabel(&form);
    TMemo* memo = new TMemo(&form);
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Forms expect a widget application. It is deleted by an exit handler
    // registered after the font cache exists: handlers run in reverse order,
    // so the application still finds the cache to free it (a static
    // application would be destroyed after the cache's storage, which then
    // leaks every font engine the labels loaded).
    static QApplication* app = new QApplication(*argc, *argv);
    QFontMetrics(QFont()).height();
    std::atexit([] { delete app; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    pugi::xml_document document;
    try {
        langdoc::ParseDocument(document, langdoc::DecodeDocument(bytes, 936));
    } catch (const LanguageControllerError&) {
        return 0;
    }
    Target target;
    TLangReader reader(nullptr, &document, {QStringLiteral("mmNote")}, {}, {});
    reader.ReadComponent(&target.form);
    // Lines are grown only as far as a package asks; keep the run bounded.
    if (target.combo->Items()->Count() > 100000)
        std::abort();
    return 0;
}
