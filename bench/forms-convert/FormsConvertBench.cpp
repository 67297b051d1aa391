// ConvertForm on a form the size of the change-slip layout (300 components:
// labels, edits, combos, list views, a status bar, a grid, a memo) under
// interface conversion mode 2, and the language reader on the same form.
// Prints the median and the slowest of several runs, each on a fresh form.

#include "common/TranslatorU.h"
#include "common/forms/LanguageController.h"
#include "common/forms/LibCodeConvert.h"
#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/ExtraCtrls.h"
#include "runtime/forms/Forms.h"
#include "runtime/forms/StdCtrls.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

const QString kWords[]
    = {QStringLiteral("工单变更单"), QStringLiteral("单据类型"), QStringLiteral("变更日期"),
        QStringLiteral("审核状态"), QStringLiteral("打印单价"), QStringLiteral("开始")};

std::unique_ptr<TForm> buildForm(int components)
{
    auto form = std::make_unique<TForm>();
    form->SetCaption(kWords[0]);
    for (int i = 0; form->ComponentCount() < components; ++i) {
        const QString word = kWords[i % 6];
        TControl* control = nullptr;
        switch (i % 10) {
        case 0:
        case 1:
        case 2:
        case 3: {
            auto* label = new TLabel(form.get());
            label->SetCaption(word);
            control = label;
            break;
        }
        case 4:
        case 5: {
            auto* edit = new TEdit(form.get());
            edit->SetText(word);
            control = edit;
            break;
        }
        case 6:
        case 7: {
            auto* combo = new TComboBox(form.get());
            combo->Items()->SetLines({word, kWords[(i + 1) % 6], kWords[(i + 2) % 6]});
            control = combo;
            break;
        }
        case 8: {
            auto* view = new TListView(form.get());
            for (int c = 0; c < 4; ++c)
                view->Columns()->Add()->SetCaption(kWords[c]);
            for (int r = 0; r < 5; ++r) {
                TListItem* item = view->Items()->Add();
                item->SetCaption(word);
                item->SubItems()->SetLines({kWords[1], kWords[2], kWords[3]});
            }
            control = view;
            break;
        }
        default: {
            auto* button = new TButton(form.get());
            button->SetCaption(word);
            button->SetHint(kWords[(i + 3) % 6]);
            control = button;
            break;
        }
        }
        control->SetName(QStringLiteral("c%1").arg(i));
        control->SetParent(form.get());
    }
    return form;
}

struct Figures {
    double median = 0;
    double slowest = 0;
};

template<typename F> Figures measure(int runs, F&& run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i)
        ms.push_back(run());
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("STEWARD_LIBRARY_PATH"))
        qputenv("STEWARD_LIBRARY_PATH", ZORV_LIBRARY_DIR);
    QApplication app(argc, argv);
    QTemporaryDir home;
    const QString homePath = home.path();
    {
        QFile registry(homePath + QStringLiteral("/registry.reg"));
        registry.open(QIODevice::WriteOnly);
        QTextStream(&registry) << "Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\r\n\"ClientPath\"=\""
                               << homePath << "\"\r\n";
        QFile ini(homePath + QStringLiteral("/StewardC.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Server Information]\r\nComputerName=127.0.0.1\r\n[CodePage]\r\nUICodePage=950\r\n");
    }
    qputenv("STEWARD_REGISTRY", (homePath + QStringLiteral("/registry.reg")).toLocal8Bit());
    qputenv("STEWARD_ACP", "936");

    constexpr int kComponents = 300;
    constexpr int kRuns = 15;
    qint64 calls = 0;
    const Figures convert = measure(kRuns, [&] {
        auto form = buildForm(kComponents);
        TCodeConverter converter; // not owned by the form, so the form keeps 300 components
        const qint64 before = converter.Translator()->CallCount();
        QElapsedTimer timer;
        timer.start();
        converter.ConvertForm(form.get(), false, true);
        const double ms = timer.nsecsElapsed() / 1e6;
        calls = converter.Translator()->CallCount() - before;
        return ms;
    });
    std::printf("ConvertForm, %d components, mode 2: median %.2f ms, slowest %.2f ms, %lld library calls\n",
        kComponents, convert.median, convert.slowest, static_cast<long long>(calls));

    QString xml = QStringLiteral("<TfrmBench>");
    for (int i = 0; i < kComponents; i += 2)
        xml += QStringLiteral("<c%1 Caption=\"Text %1\" Hint=\"Hint\" Font.Style=\"[fsBold]\"/>").arg(i);
    xml += QStringLiteral("</TfrmBench>");
    const Figures read = measure(kRuns, [&] {
        auto form = buildForm(kComponents);
        TLanguageController controller;
        controller.LangXML()->SetText(xml);
        QElapsedTimer timer;
        timer.start();
        controller.SetActive(true);
        controller.ReadComponent(form.get());
        return timer.nsecsElapsed() / 1e6;
    });
    std::printf("Language package, %d components, %d elements: median %.2f ms, slowest %.2f ms\n",
        kComponents, kComponents / 2, read.median, read.slowest);
    return 0;
}
