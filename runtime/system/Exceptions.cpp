#include "runtime/system/Exceptions.h"

Exception::Exception(QString message)
    : message_(std::move(message))
    , utf8_(message_.toStdString())
{
}

Exception::~Exception() = default;

void Exception::SetMessage(const QString& message)
{
    message_ = message;
    utf8_ = message_.toStdString();
}

void Abort()
{
    throw EAbort(QStringLiteral("Operation aborted"));
}
