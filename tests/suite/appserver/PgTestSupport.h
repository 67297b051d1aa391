#pragma once
// The PostgreSQL cluster of the tests: ZORV_TEST_POSTGRES holds its libpq
// connection text (scripts/pg-test-cluster prints it; .ci/run sets it).
// Tests that need the cluster skip, saying so, when it is not given.
//
// TPgTestSchema makes a schema of its own for one test (tests run in
// parallel on one database) and drops it at the end.

#include "suite/appserver/DemoHome.h"

#include <QString>
#include <gtest/gtest.h>

QString PgTestConnection();

#define REQUIRE_POSTGRES()                                                                                   \
    do {                                                                                                     \
        if (PgTestConnection().isEmpty())                                                                    \
            GTEST_SKIP() << "no PostgreSQL cluster given: set ZORV_TEST_POSTGRES to a libpq connection "     \
                            "text (scripts/pg-test-cluster start DIR prints one)";                           \
    } while (false)

class TPgTestSchema {
public:
    TPgTestSchema();
    ~TPgTestSchema();
    TPgTestSchema(const TPgTestSchema&) = delete;
    TPgTestSchema& operator=(const TPgTestSchema&) = delete;

    QString Name() const { return name_; }
    // The connection text with this schema first in the search_path.
    QString Connection() const;
    // A demo home of slips slips whose company database is this schema
    // (replacing a home already in the folder); the company code a client
    // opens it by is CompanyCode().
    TDemoOptions DemoOptions(int slips) const;
    QString CompanyCode() const { return name_.toUpper(); }

private:
    QString name_;
};
