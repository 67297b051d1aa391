#include "update/ServerRunParams.h"

namespace {

// Slots of the environment array (1-based, as the criteria form fills it).
enum EnvironmentSlot : int {
    envProgramCode = 1,
    envCount,
    envOptionCount,
    envCompany,
    envUser,
    envDatabase,
    envMoment,
    envServerClass,
    envReportKind
};

const char* const ItemNames[ServerRunItemsFull]
    = {"program code", "company code", "user code", "database name", "report kind", "option values",
        "option texts", "environment", "server class name", "caller's window handle", "moment"};

QString ItemName(int item)
{
    return QString::fromLatin1(ItemNames[item]);
}

bool IsText(const Variant& value)
{
    return !value.IsArray() && !value.IsObject() && !value.IsEmptyOrNull()
        && !value.ToString().trimmed().isEmpty();
}

// A one-dimensional array from 1 with every slot set; count is its length.
bool IsFilledArray(const Variant& value, int& count)
{
    if (value.DimCount() != 1 || value.LowBound() != 1)
        return false;
    count = value.HighBound() - value.LowBound() + 1;
    for (int i = value.LowBound(); i <= value.HighBound(); ++i)
        if (value[i].IsEmpty())
            return false;
    return true;
}

bool CheckEnvironment(const Variant& params, int optionCount, QString& why)
{
    const Variant& environment = params[sriEnvironment];
    int count = 0;
    if (!IsFilledArray(environment, count) || count != envReportKind) {
        why = QStringLiteral("the environment is no array of %1 set slots from 1").arg(int(envReportKind));
        return false;
    }
    const struct {
        int Slot;
        QString Expected;
    } agreeing[] = {{envProgramCode, params[sriProgramCode].ToString()},
        {envCount, QString::number(envReportKind)}, {envOptionCount, QString::number(optionCount)},
        {envCompany, params[sriCompanyCode].ToString()}, {envUser, params[sriUserCode].ToString()},
        {envDatabase, params[sriDatabase].ToString()}, {envServerClass, params[sriServerClass].ToString()},
        {envReportKind, params[sriReportKind].ToString()}};
    for (const auto& [slot, expected] : agreeing) {
        if (environment[slot].ToString() != expected) {
            why = QStringLiteral("environment slot %1 is \"%2\", not \"%3\"")
                      .arg(slot)
                      .arg(environment[slot].ToString(), expected);
            return false;
        }
    }
    return true;
}

bool CheckFullItems(const Variant& params, const QString& programCode, int optionCount, QString& why)
{
    int textCount = 0;
    if (!IsFilledArray(params[sriOptionTexts], textCount) || textCount != optionCount) {
        why = QStringLiteral("the option texts are no array of %1 set slots from 1").arg(optionCount);
        return false;
    }
    if (params[sriServerClass].ToString().compare(
            programCode + QStringLiteral("S.Class1"), Qt::CaseInsensitive)
        != 0) {
        why = QStringLiteral("the server class is \"%1\", not \"%2S.Class1\"")
                  .arg(params[sriServerClass].ToString(), programCode);
        return false;
    }
    if (!params[sriCallerHandle].IsNumeric()) {
        why = QStringLiteral("the caller's window handle is no number");
        return false;
    }
    const QString moment = params[sriMoment].ToString();
    if (!QDateTime::fromString(moment, QStringLiteral("yyyyMMddhhmmss")).isValid()) {
        why = QStringLiteral("the moment \"%1\" is no date and time").arg(moment);
        return false;
    }
    return CheckEnvironment(params, optionCount, why);
}

} // namespace

Variant BuildServerRunParams(const TServerRunParams& params)
{
    const QString kind = params.ReportKind.toUpper();
    const bool batch = kind == QLatin1String("B");
    Variant items = Variant::CreateArray(0, (batch ? ServerRunItemsBatch : ServerRunItemsFull) - 1);
    items[sriProgramCode] = params.ProgramCode.toUpper();
    items[sriCompanyCode] = params.CompanyCode;
    items[sriUserCode] = params.UserCode;
    items[sriDatabase] = params.DatabaseName;
    items[sriReportKind] = kind;
    items[sriOptionValues] = params.OptionValues;
    if (batch)
        return items;
    items[sriOptionTexts] = params.OptionTexts;
    items[sriEnvironment] = params.Environment;
    items[sriServerClass] = params.ServerClassName;
    items[sriCallerHandle] = params.CallerHandle;
    items[sriMoment] = params.Moment.toString(QStringLiteral("yyyyMMddhhmmss"));
    return items;
}

bool CheckServerRunParams(const Variant& params, const QString& programCode, QString& why)
{
    if (params.DimCount() != 1 || params.LowBound() != 0) {
        why = QStringLiteral("the run parameters are no array from 0");
        return false;
    }
    const int count = params.HighBound() + 1;
    const QString kind = count > sriReportKind ? params[sriReportKind].ToString() : QString();
    const int expected = kind == QLatin1String("B") ? ServerRunItemsBatch : ServerRunItemsFull;
    if (count != expected) {
        why = QStringLiteral("report kind \"%1\" takes %2 run parameters, not %3")
                  .arg(kind)
                  .arg(expected)
                  .arg(count);
        return false;
    }
    for (int item = sriProgramCode; item <= sriReportKind; ++item) {
        if (!IsText(params[item])) {
            why = QStringLiteral("the %1 is empty").arg(ItemName(item));
            return false;
        }
    }
    if (params[sriProgramCode].ToString().compare(programCode, Qt::CaseInsensitive) != 0) {
        why = QStringLiteral("the run parameters are for program %1, not %2")
                  .arg(params[sriProgramCode].ToString(), programCode);
        return false;
    }
    int optionCount = 0;
    if (!IsFilledArray(params[sriOptionValues], optionCount)) {
        why = QStringLiteral("the option values are no array of set slots from 1");
        return false;
    }
    return count == ServerRunItemsBatch || CheckFullItems(params, programCode, optionCount, why);
}
