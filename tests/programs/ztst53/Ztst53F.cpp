#include "tests/programs/ztst53/Ztst53F.h"

#include "common/LibConditions.h"
#include "common/VariantElements.h"
#include "criteria/SelectPnl.h"
#include "runtime/forms/FormReader.h"
#include "tests/programs/ztst53/Ztst53FmtF.h"

static void initZtst53Resources()
{
    Q_INIT_RESOURCE(ztst53);
}

namespace {

const QLatin1String mainTable("MOCTO");
// The slip keys, as the shell's --keys gives them.
const char* const keyColumns[] = {"TO001", "TO002", "TO003"};
// AddFieldCondition's kind of a character column.
constexpr int characterField = 1;
constexpr int modeKeys = 1;

} // namespace

TfrmZtst53::TfrmZtst53(TComponent* owner)
    : TfrmVROpt(owner)
{
    initZtst53Resources();
    ReadFormResource(this, QStringLiteral(":/forms/TfrmZtst53.dfm"));
    spTO001 = FindComponent<TSelectPanel>(QStringLiteral("spTO001"));
    if (!spTO001)
        throw EComponentError(QStringLiteral("TfrmZtst53: the form description lacks spTO001"));
    SetVersionStamp(QStringLiteral("ztst53-1"));
}

void TfrmZtst53::SetupEnvironment()
{
    TfrmVROpt::SetupEnvironment();
    SetFormatClass(Ztst53FormatClass());
    MainTable = QString(mainTable);
    SetProgramOptionCount(1);
}

bool TfrmZtst53::PutTitleInfo(Variant& texts)
{
    if (!TfrmVROpt::PutTitleInfo(texts))
        return false;
    texts[1] = QStringLiteral("TO001");
    return true;
}

bool TfrmZtst53::PutPrintDate(Variant& values)
{
    if (!TfrmVROpt::PutPrintDate(values))
        return false;
    PanelValueToVariant(spTO001, values, 1);
    return true;
}

void TfrmZtst53::FillPieces(int mode, const Variant& values, TQueryPieces& pieces)
{
    // The conditions first: a refused value leaves the pieces as they were.
    QString where = QStringLiteral("Where 1=1 ");
    if (mode == modeKeys) {
        for (int i = 0; i < 3; ++i) {
            const QString key = ElementText(values, i);
            if (!key.isEmpty())
                TQueryPieces::AddCondition(where, QLatin1String(keyColumns[i]), u'=' + QuoteSqlText(key));
        }
    } else {
        QString added;
        AddFieldCondition(where, QStringLiteral("TO001"), ElementAt(values, 1), added, characterField);
    }
    pieces.SetSelectPart(QStringLiteral("Select TO001, TO002, TO003, TO004, TO021"));
    pieces.SetFromPart(QStringLiteral("From $$MOCTO"));
    pieces.SetWherePart(where);
    pieces.SetOrderByPart(QStringLiteral("Order by TO001, TO002, TO003"));
}

void TfrmZtst53::BuildQuery(int mode, const Variant& values, Variant& sql)
{
    TfrmVROpt::BuildQuery(mode, values, sql);
    FillPieces(mode, values, Pieces());
}

void TfrmZtst53::AdjustQuery(Variant& sql)
{
    Pieces().AdjustQuery(QuerySettings());
    sql = Pieces().SelectPart() + Pieces().FromPart() + Pieces().WherePart() + Pieces().OrderByPart();
}
