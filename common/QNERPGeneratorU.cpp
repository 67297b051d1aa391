#include "common/QNERPGeneratorU.h"

#include "common/LogWriter.h"
#include "common/StewardINI.h"
#include "runtime/system/Exceptions.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringDecoder>

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <typeinfo>

namespace {

const QString kHyphens = QString(34, QLatin1Char('-'));

quint8 RotateRight(quint8 value, int bits)
{
    bits %= 8;
    return bits == 0 ? value : static_cast<quint8>((value >> bits) | (value << (8 - bits)));
}

quint8 RotateLeft(quint8 value, int bits)
{
    bits %= 8;
    return bits == 0 ? value : static_cast<quint8>((value << bits) | (value >> (8 - bits)));
}

int HexDigit(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// The readable name of a C++ type, for errors that are not the runtime's own.
QString TypeName(const std::exception& error)
{
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return QString::fromUtf8(status == 0 && demangled ? demangled.get() : mangled);
}

QString DetailLine(const char* className, int index, int code, const QString& message)
{
    return QStringLiteral("%1 Error %2: Code: %3, Message: %4")
        .arg(QLatin1String(className))
        .arg(index, 2, 10, QLatin1Char('0'))
        .arg(code)
        .arg(message);
}

// Writes the lines that describe error; answers how many errors they listed.
int WriteErrorDetails(const std::exception& error)
{
    if (const auto* engine = dynamic_cast<const EDBEngineError*>(&error);
        engine && !engine->Errors.isEmpty()) {
        for (int i = 0; i < engine->Errors.size(); ++i) {
            const EDBEngineError::SubError& sub = engine->Errors.at(i);
            WriteGeneratorLog(DetailLine("EDBEngineError", i + 1, sub.ErrorCode, sub.Message));
        }
        return static_cast<int>(engine->Errors.size());
    }
    if (const auto* os = dynamic_cast<const EOSError*>(&error)) {
        WriteGeneratorLog(DetailLine("EWin32Error", 1, os->ErrorCode, os->Message()));
        return 1;
    }
    if (const auto* io = dynamic_cast<const EInOutError*>(&error)) {
        WriteGeneratorLog(DetailLine("EInOutError", 1, io->ErrorCode, io->Message()));
        return 1;
    }
    QString className;
    QString message;
    if (const auto* runtimeError = dynamic_cast<const Exception*>(&error)) {
        className = runtimeError->ClassName();
        message = runtimeError->Message();
    } else {
        className = TypeName(error);
        message = QString::fromUtf8(error.what());
    }
    WriteGeneratorLog(
        QStringLiteral("Exception is %1\r\nMessage %2: ").arg(className).arg(1, 2, 10, QLatin1Char('0'))
        + message);
    return 1;
}

// Bytes one per character, or UTF-8 when a character does not fit in a byte.
QByteArray PasswordBytes(const QString& password)
{
    QByteArray bytes;
    bytes.reserve(password.size());
    for (const QChar ch : password) {
        if (ch.unicode() > 0xFF)
            return password.toUtf8();
        bytes.append(static_cast<char>(ch.unicode()));
    }
    return bytes;
}

QString PasswordText(const QByteArray& bytes)
{
    bool highByte = false;
    for (const char b : bytes)
        highByte = highByte || static_cast<quint8>(b) >= 0x80;
    if (highByte) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError()) {
            for (const QChar ch : text) {
                if (ch.unicode() > 0xFF)
                    return text;
            }
        }
    }
    return QString::fromLatin1(bytes);
}

} // namespace

bool WriteGeneratorLog(const QString& message) noexcept
{
    try {
        const QDateTime now = QDateTime::currentDateTime();
        const QString folder = GetHomeFolder() + QStringLiteral("\\Log");
        const QString fileName = QStringLiteral("\\Alert_QNERPGenerator_")
            + now.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".log");
        const QString line = QLatin1Char('[') + now.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss"))
            + QStringLiteral("] ") + message;
        return logwriter::AppendLine(folder, fileName, line);
    } catch (...) {
        return false;
    }
}

void LogError(const std::exception* error, const QString& place, const QString& programmerMessage) noexcept
{
    try {
        QString header = kHyphens;
        if (!place.trimmed().isEmpty())
            header += QStringLiteral(" on ") + place + QLatin1Char(' ');
        header += kHyphens;
        WriteGeneratorLog(header);

        if (error) {
            WriteGeneratorLog(QStringLiteral("讯息信息:"));
            const int count = WriteErrorDetails(*error);
            WriteGeneratorLog(QStringLiteral("ErrorMessage Count: %1").arg(count));
        }
        if (!programmerMessage.trimmed().isEmpty())
            WriteGeneratorLog(QStringLiteral("Programer Message: ") + programmerMessage);
    } catch (...) {
        // An error report must never raise an error of its own.
    }
}

QString EncodePassword(const QString& password)
{
    const QByteArray bytes
        = PasswordBytes(password.isEmpty() ? QString::fromLatin1(NoPasswordMarker) : password);
    QString stored;
    stored.reserve(bytes.size() * 2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 code = RotateRight(static_cast<quint8>(bytes.at(i)), static_cast<int>((i + 1) % 8));
        stored += QStringLiteral("%1").arg(code, 2, 16, QLatin1Char('0'));
    }
    return stored;
}

QString DecodePassword(const QString& storedForm)
{
    QByteArray bytes;
    bytes.reserve(storedForm.size() / 2);
    for (qsizetype a = 1; 2 * a <= storedForm.size(); ++a) {
        const QChar high = storedForm.at(2 * a - 2);
        const QChar low = storedForm.at(2 * a - 1);
        const int h = HexDigit(high);
        const int l = HexDigit(low);
        if (h < 0 || l < 0) {
            const EConvertError error(
                QStringLiteral("'$%1%2' is not a valid integer value").arg(high).arg(low));
            LogError(
                &error, EncodePassword(QStringLiteral("DecodeSQLSa")), QStringLiteral("解析 Sa 时发生错误!"));
            return QString::fromLatin1(WrongPasswordMarker);
        }
        bytes.append(static_cast<char>(RotateLeft(static_cast<quint8>(h * 16 + l), static_cast<int>(a % 8))));
    }
    const QString password = PasswordText(bytes);
    return password == QLatin1String(NoPasswordMarker) ? QString() : password;
}
