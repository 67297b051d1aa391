#pragma once
// An application server object that keeps the statements RunFreeSQL is given
// and answers a fixed row count (-2: raises instead).

#include "runtime/system/AutoObject.h"

#include <QStringList>

class RecordingServer : public TAutoObject {
public:
    explicit RecordingServer(int answer = 1)
        : TAutoObject(QStringLiteral("Server"))
    {
        AddMethod(QStringLiteral("RunFreeSQL"), [this, answer](VariantList& args) {
            Statements << Arg(args, 0).ToString();
            if (answer == -2)
                throw EOleError(QStringLiteral("server gone"));
            return Variant(answer);
        });
    }
    QStringList Statements;
};
