// Builds a 300-component form from its description (the size of the
// change-slip layout) and prints how long reading, writing and showing take.
//
//   bench_forms [iterations]

#include "runtime/forms/FormReader.h"
#include "runtime/forms/FormWriter.h"
#include "runtime/forms/Forms.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Panels of label + edit + combo + check box rows, a list view, a status bar.
QString description(int components)
{
    QString text = "object frmBench: TForm\n  Caption = 'Bench'\n  ClientHeight = 700\n  ClientWidth = 900\n"
                   "  Font.Name = 'SimSun'\n  Font.Charset = GB2312_CHARSET\n";
    int count = 0;
    int panel = 0;
    while (count < components - 3) {
        text += QStringLiteral(
            "  object pnl%1: TPanel\n    Left = %2\n    Top = %3\n    Width = 220\n    Height = 160\n"
            "    Caption = #38754#26495\n    TabOrder = %1\n")
                    .arg(panel)
                    .arg((panel % 4) * 225)
                    .arg((panel / 4) * 165);
        ++count;
        for (int row = 0; row < 5 && count < components - 3; ++row) {
            const QString id = QStringLiteral("%1_%2").arg(panel).arg(row);
            text += QStringLiteral("    object lbl%1: TLabel\n      Left = 4\n      Top = %2\n      Caption "
                                   "= #21333#21495'%1'\n    end\n")
                        .arg(id)
                        .arg(4 + row * 30);
            text += QStringLiteral(
                "    object ed%1: TEdit\n      Left = 60\n      Top = %2\n      Width = 70\n      Height = "
                "21\n"
                "      Hint = #35831#36755#20837\n      TabOrder = %3\n      Text = 'MO-%1'\n    end\n")
                        .arg(id)
                        .arg(row * 30)
                        .arg(row * 2);
            text += QStringLiteral(
                "    object cb%1: TComboBox\n      Left = 135\n      Top = %2\n      Width = 80\n"
                "      Style = csDropDownList\n      TabOrder = %3\n      Items.Strings = (\n"
                "        #24037#21333\n        #21464#26356#21333)\n    end\n")
                        .arg(id)
                        .arg(row * 30)
                        .arg(row * 2 + 1);
            count += 3;
        }
        text += "  end\n";
        ++panel;
    }
    text += "  object lvBench: TListView\n    Left = 0\n    Top = 500\n    Width = 900\n    Height = 180\n"
            "    Columns = <\n      item\n        Caption = 'A'\n      end\n      item\n        Caption = "
            "'B'\n      end>\n"
            "    ViewStyle = vsReport\n    TabOrder = 99\n  end\n";
    text += "  object sbBench: TStatusBar\n    Panels = <\n      item\n        Text = 'Ready'\n      end>\n  "
            "end\n";
    text += "  object pmBench: TPopupMenu\n  end\nend\n";
    return text;
}

struct Figures {
    double median;
    double best;
};

Figures measure(int iterations, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < iterations; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(1, atoi(argv[1])) : 30;
    const QString text = description(300);

    std::unique_ptr<TComponent> probe(CreateFromText(text));
    std::printf("form description: %lld characters, %d components\n", static_cast<long long>(text.size()),
        probe->ComponentCount());

    const Figures read = measure(iterations, [&] { std::unique_ptr<TComponent> form(CreateFromText(text)); });
    std::printf("read (parse + create + assign): median %.2f ms, best %.2f ms\n", read.median, read.best);

    QString written;
    const Figures write = measure(iterations, [&] { written = WriteComponent(probe.get()); });
    std::printf("write: median %.2f ms, best %.2f ms (%lld characters)\n", write.median, write.best,
        static_cast<long long>(written.size()));

    const Figures widgets = measure(std::max(1, iterations / 3), [&] {
        std::unique_ptr<TComponent> form(CreateFromText(text));
        static_cast<TForm*>(form.get())->Widget();
    });
    std::printf("read + build widgets: median %.2f ms, best %.2f ms\n", widgets.median, widgets.best);
    return 0;
}
