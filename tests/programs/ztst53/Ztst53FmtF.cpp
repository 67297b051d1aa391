#include "tests/programs/ztst53/Ztst53FmtF.h"

#include "format/PrintTexts.h"
#include "runtime/data/ClientDataSet.h"
#include "runtime/forms/FormReader.h"
#include "runtime/report/QRCtrls.h"

// Resources are initialised outside any namespace (the macro declares a global function).
static void initZtst53FmtResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(ztst53);
        return true;
    }();
    (void)done;
}

TFormatClass Ztst53FormatClass()
{
    return {QStringLiteral("TfrmZtst53Fmt"), [](TComponent* owner) {
                // A stored format is this layout's difference from a fresh
                // instance, which the format store makes by class name.
                if (!FindClass(QStringLiteral("TfrmZtst53Fmt")))
                    RegisterClass<TfrmZtst53Fmt>();
                return std::unique_ptr<IVRFormatForm>(CreateForm<TfrmZtst53Fmt>(owner));
            }};
}

TfrmZtst53Fmt::TfrmZtst53Fmt(TComponent* owner)
    : TfrmVRFormat(owner)
{
    initZtst53FmtResources();
    ReadFormResource(this, QStringLiteral(":/forms/TfrmZtst53Fmt.dfm"));
    CaptureDesignStates();
}

void TfrmZtst53Fmt::txtTO004Print(TObject*, QString& Value)
{
    Value = DatePrintText(Value, DateType, DateSeparator);
}
