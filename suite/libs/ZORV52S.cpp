// libZORV52S.so: the change-slip program's server library.
//
// The program runs it in-process before a print run and hands its controller
// the run parameters (update/ServerRunParams.h). The controller checks them
// against the layout and against the program it serves, whose code it takes
// from its own file name (lib<CODE>S.so). For report kind "B" (batch) runs it
// records the run in the alert log "<CODE>S" (one file a day, under the home
// folder's "Log") and answers what it recorded; other kinds have nothing to do
// on the server side and are only checked. A refused run is recorded too, so
// that an administrator can see why a batch did not run.

#include "common/LibStrs.h"
#include "runtime/system/Libraries.h"
#include "runtime/system/NativePath.h"
#include "update/ServerRunParams.h"
#include "update/SvrController.h"

#include <QStringList>

namespace {

// "…/libZORV52S.so" -> "ZORV52"; the program's own code when the file is
// named otherwise.
QString ProgramCode()
{
    QString name = ExtractFileName(ModuleFileName());
    if (name.startsWith(QLatin1String("lib")) && name.endsWith(QLatin1String("S.so"), Qt::CaseInsensitive)
        && name.size() > 7)
        return name.mid(3, name.size() - 7).toUpper();
    return QStringLiteral("ZORV52");
}

QString OptionText(const Variant& values)
{
    QStringList parts;
    for (int i = values.LowBound(); i <= values.HighBound(); ++i)
        parts.append(values[i].IsArray() ? values[i].DebugText() : values[i].ToString());
    return parts.join(QStringLiteral("; "));
}

class TServerController final : public TSvrController {
public:
    qint32 Run(const Variant& params, Variant& answer) override
    {
        try {
            return run(params, answer);
        } catch (const std::exception& e) {
            answer = QString::fromUtf8(e.what());
            return -1;
        }
    }

    void Release() override { delete this; }

private:
    ~TServerController() override = default;

    qint32 run(const Variant& params, Variant& answer)
    {
        const QString code = ProgramCode();
        const QString logName = code + QLatin1Char('S');
        QString why;
        if (!CheckServerRunParams(params, code, why)) {
            answer = QStringLiteral("%1S refused the run: %2").arg(code, why);
            WriteAlertLog(logName, answer.ToString(), QStringLiteral("D"));
            return -1;
        }
        const QString kind = params[sriReportKind].ToString();
        if (kind != QLatin1String("B")) {
            answer = QStringLiteral("%1S: report kind %2 has nothing to do on the server").arg(code, kind);
            return 0;
        }
        const Variant& values = params[sriOptionValues];
        const QString record
            = QStringLiteral("%1 batch run: company %2, user %3, database %4, %5 options [%6]")
                  .arg(code, params[sriCompanyCode].ToString(), params[sriUserCode].ToString(),
                      params[sriDatabase].ToString())
                  .arg(values.HighBound())
                  .arg(OptionText(values));
        if (!WriteAlertLog(logName, record, QStringLiteral("D"))) {
            answer = QStringLiteral("%1S could not record the run").arg(code);
            return -1;
        }
        answer = QStringLiteral("recorded: ") + record;
        return 0;
    }
};

} // namespace

extern "C" __attribute__((visibility("default"))) TSvrController* GetSvrController()
{
    try {
        return new TServerController;
    } catch (...) {
        return nullptr;
    }
}
