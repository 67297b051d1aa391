#include "suite/appserver/PasswordHash.h"

#include "runtime/system/Exceptions.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QSemaphore>
#include <QStringList>
#include <openssl/crypto.h>
#include <openssl/evp.h>

namespace {

constexpr int saltBytes = 16;
constexpr int hashBytes = 32;
// Bounds a stored text must keep: a row someone edited to N = 2^40 would
// otherwise take the server's memory with one login.
constexpr int minLogN = 10, maxLogN = 20, maxR = 16, maxP = 16;
constexpr quint64 maxMemory = quint64(1) << 30;

bool derive(const QByteArray& password, const QByteArray& salt, const TScryptCost& cost, QByteArray& out)
{
    // Every derivation holds N * r * 128 bytes while it runs: two at a time
    // bound the memory that a burst of logins can take.
    static QSemaphore running(2);
    QSemaphoreReleaser release;
    running.acquire();
    release = QSemaphoreReleaser(running);
    out.resize(hashBytes);
    return EVP_PBE_scrypt(password.constData(), static_cast<size_t>(password.size()),
               reinterpret_cast<const unsigned char*>(salt.constData()), static_cast<size_t>(salt.size()),
               quint64(1) << cost.LogN, static_cast<quint64>(cost.R), static_cast<quint64>(cost.P), maxMemory,
               reinterpret_cast<unsigned char*>(out.data()), hashBytes)
        == 1;
}

bool inBounds(const TScryptCost& c)
{
    return c.LogN >= minLogN && c.LogN <= maxLogN && c.R >= 1 && c.R <= maxR && c.P >= 1 && c.P <= maxP;
}

} // namespace

QString HashPassword(const QString& password, TScryptCost cost)
{
    if (!inBounds(cost))
        throw Exception(QStringLiteral("scrypt cost out of bounds"));
    QByteArray salt(saltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    QByteArray hash;
    if (!derive(password.toUtf8(), salt, cost, hash))
        throw Exception(QStringLiteral("the password could not be hashed (scrypt failed)"));
    return QStringLiteral("scrypt$%1$%2$%3$%4$%5")
        .arg(cost.LogN)
        .arg(cost.R)
        .arg(cost.P)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool VerifyPassword(const QString& password, const QString& stored)
{
    if (stored.size() > 200)
        return false;
    const QStringList parts = stored.trimmed().split(u'$');
    if (parts.size() != 6 || parts[0] != QLatin1String("scrypt"))
        return false;
    TScryptCost cost;
    bool ok[3] = {};
    cost.LogN = parts[1].toInt(&ok[0]);
    cost.R = parts[2].toInt(&ok[1]);
    cost.P = parts[3].toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || !inBounds(cost))
        return false;
    const auto decode = [](const QString& text, int size, QByteArray& out) {
        const auto result
            = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        out = result.decoded;
        return result.decodingStatus == QByteArray::Base64DecodingStatus::Ok && out.size() == size;
    };
    QByteArray salt, expected, actual;
    if (!decode(parts[4], saltBytes, salt) || !decode(parts[5], hashBytes, expected))
        return false;
    if (!derive(password.toUtf8(), salt, cost, actual))
        return false;
    return CRYPTO_memcmp(actual.constData(), expected.constData(), hashBytes) == 0;
}
