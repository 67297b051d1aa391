#pragma once
// The exception classes of the original runtime. Every failure the program
// raises derives from Exception, which carries a Unicode message and answers
// its class name (error reports print it).

#include <QList>
#include <QString>
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    ~Exception() override;

    const QString& Message() const { return message_; }
    void SetMessage(const QString& message);
    // The runtime class name, e.g. "EConvertError".
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    QString message_;
    std::string utf8_;
};

#define ZORV_EXCEPTION_CLASS(Name, Base)                                                                     \
    class Name : public Base {                                                                               \
    public:                                                                                                  \
        using Base::Base;                                                                                    \
        QString ClassName() const override { return QStringLiteral(#Name); }                                 \
    };

// The silent abort: callers stop what they do without showing anything.
ZORV_EXCEPTION_CLASS(EAbort, Exception)
ZORV_EXCEPTION_CLASS(EConvertError, Exception)
ZORV_EXCEPTION_CLASS(EVariantError, Exception)
// A Variant that cannot become the asked type. It is a conversion error, so a
// caller that guards a number conversion with EConvertError catches it too.
ZORV_EXCEPTION_CLASS(EVariantTypeCastError, EConvertError)
ZORV_EXCEPTION_CLASS(EVariantBadIndexError, EVariantError)
ZORV_EXCEPTION_CLASS(EAbstractError, Exception)
ZORV_EXCEPTION_CLASS(EListError, Exception)
ZORV_EXCEPTION_CLASS(EStringListError, Exception)
ZORV_EXCEPTION_CLASS(EPropertyError, Exception)
ZORV_EXCEPTION_CLASS(EReadError, Exception)
ZORV_EXCEPTION_CLASS(EWriteError, Exception)
ZORV_EXCEPTION_CLASS(EFCreateError, Exception)
ZORV_EXCEPTION_CLASS(EFOpenError, Exception)
ZORV_EXCEPTION_CLASS(EDatabaseError, Exception)
// A late-bound call failed: unknown member, bad arguments, object not created.
ZORV_EXCEPTION_CLASS(EOleError, Exception)

// An error of the operating system with its error code.
class EOSError : public Exception {
public:
    EOSError(QString message, int errorCode)
        : Exception(std::move(message))
        , ErrorCode(errorCode)
    {
    }
    QString ClassName() const override { return QStringLiteral("EOSError"); }
    int ErrorCode;
};

// Older name of the same error, as error reports print it.
class EWin32Error : public EOSError {
public:
    using EOSError::EOSError;
    QString ClassName() const override { return QStringLiteral("EWin32Error"); }
};

// An input/output error (a file that cannot be created, read or written).
class EInOutError : public Exception {
public:
    EInOutError(QString message, int errorCode)
        : Exception(std::move(message))
        , ErrorCode(errorCode)
    {
    }
    QString ClassName() const override { return QStringLiteral("EInOutError"); }
    int ErrorCode;
};

// A late-bound object could not be created or reached (class string, server).
class EOleSysError : public EOleError {
public:
    EOleSysError(QString message, int errorCode)
        : EOleError(std::move(message))
        , ErrorCode(errorCode)
    {
    }
    QString ClassName() const override { return QStringLiteral("EOleSysError"); }
    int ErrorCode;
};

// A database error with the list of the engine's own errors.
class EDBEngineError : public EDatabaseError {
public:
    struct SubError {
        int ErrorCode = 0;
        QString Message;
    };
    EDBEngineError(QString message, QList<SubError> errors)
        : EDatabaseError(std::move(message))
        , Errors(std::move(errors))
    {
    }
    QString ClassName() const override { return QStringLiteral("EDBEngineError"); }
    int ErrorCount() const { return static_cast<int>(Errors.size()); }
    QList<SubError> Errors;
};

// Raises EAbort: leave the current operation silently.
[[noreturn]] void Abort();
