#include "PgTestSupport.h"

#include "suite/appserver/DemoHome.h"
#include "suite/appserver/PgConnection.h"

#include <QCoreApplication>
#include <QRandomGenerator>

QString PgTestConnection()
{
    return QString::fromUtf8(qgetenv("ZORV_TEST_POSTGRES")).trimmed();
}

TPgTestSchema::TPgTestSchema()
    : name_(QStringLiteral("t%1_%2")
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate() % 1000000000u))
{
}

TPgTestSchema::~TPgTestSchema()
{
    try {
        TPgConnection admin(PgTestConnection());
        admin.Script("DROP SCHEMA IF EXISTS " + name_.toUtf8() + " CASCADE");
    } catch (const std::exception& e) {
        ADD_FAILURE() << "cannot drop test schema " << qPrintable(name_) << ": " << e.what();
    }
}

QString TPgTestSchema::Connection() const
{
    return PostgresSchemaConnection(PgTestConnection(), name_);
}

TDemoOptions TPgTestSchema::DemoOptions(int slips) const
{
    TDemoOptions options;
    options.Slips = slips;
    options.Force = true;
    options.PostgresConnection = PgTestConnection();
    options.PostgresSchema = name_;
    return options;
}
