#include "SmtpSender.h"

#include <curl/curl.h>

#include <cstring>
#include <memory>
#include <mutex>

namespace {

struct Reader {
    const QByteArray& data;
    qsizetype offset = 0;
};

size_t readMessage(char* buffer, size_t size, size_t count, void* userData)
{
    auto* reader = static_cast<Reader*>(userData);
    const size_t room = size * count;
    const size_t left = size_t(reader->data.size() - reader->offset);
    const size_t n = std::min(room, left);
    std::memcpy(buffer, reader->data.constData() + reader->offset, n);
    reader->offset += qsizetype(n);
    return n;
}

// The server's last refusing reply line, 4xx or 5xx (curl hands the
// replies as "header" data), kept so that a refusal can be told in the
// server's words; the "221 Bye" that follows it must not replace it.
int keepReply(CURL*, curl_infotype type, char* data, size_t size, void* userData)
{
    if (type != CURLINFO_HEADER_IN)
        return 0;
    const QByteArray line = QByteArray(data, qsizetype(size)).trimmed();
    if (line.startsWith('4') || line.startsWith('5'))
        *static_cast<QByteArray*>(userData) = line;
    return 0;
}

// A reply line fit for a message: printable characters, not too long.
QString replyText(const QByteArray& line)
{
    QString text = QString::fromUtf8(line.left(300));
    for (QChar& ch : text) {
        if (!ch.isPrint())
            ch = u' ';
    }
    return text.simplified();
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

} // namespace

QString SendSmtp(const TMailSettings& settings, const QString& sender, const QStringList& recipients,
    const QByteArray& message)
{
    // curl_global_init is not thread-safe with itself; once per process.
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        return QStringLiteral("libcurl could not start");
    std::unique_ptr<curl_slist, ListDeleter> rcpt;
    for (const QString& recipient : recipients) {
        curl_slist* grown = curl_slist_append(rcpt.get(), ("<" + recipient.toLatin1() + ">").constData());
        if (!grown)
            return QStringLiteral("out of memory");
        (void)rcpt.release();
        rcpt.reset(grown);
    }
    const QByteArray url = settings.Url().toLatin1();
    const QByteArray from = "<" + sender.toLatin1() + ">";
    const QByteArray user = settings.User.toUtf8();
    const QByteArray password = settings.Password.toUtf8();
    Reader reader {message};
    char errorText[CURL_ERROR_SIZE] = {};
    QByteArray lastReply;

    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, rcpt.get());
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &readMessage);
    curl_easy_setopt(c, CURLOPT_READDATA, &reader);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(message.size()));
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &keepReply);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &lastReply);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    // No signals: the program may have threads, and SIGALRM would hit any of them.
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(settings.TimeoutSeconds));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(settings.TimeoutSeconds));
    curl_easy_setopt(c, CURLOPT_USE_SSL,
        settings.Security == TMailSecurity::StartTls ? long(CURLUSESSL_ALL) : long(CURLUSESSL_NONE));
    // Only SMTP: a server text can never make curl speak another protocol.
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    if (!settings.User.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password.constData());
    }

    const CURLcode result = curl_easy_perform(c);
    if (result == CURLE_OK)
        return {};
    long reply = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &reply);
    QString text = QString::fromUtf8(*errorText ? errorText : curl_easy_strerror(result));
    // The refusal in the server's words ("550 5.1.1 Mailbox unavailable")
    // when its last reply is the refusing one, else just its code.
    const QString said = replyText(lastReply);
    if (reply > 0 && said.startsWith(QString::number(reply)))
        text += QStringLiteral(" (server reply: %1)").arg(said);
    else if (reply > 0)
        text += QStringLiteral(" (server reply %1)").arg(reply);
    return text;
}
