#include "support/TestHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

TestHttpServer::TestHttpServer()
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(listener_, 16) != 0
        || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0
        || ::pipe2(wake_, O_CLOEXEC) != 0)
        return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

TestHttpServer::~TestHttpServer()
{
    if (thread_.joinable()) {
        const char stop = 'x';
        (void)!::write(wake_[1], &stop, 1);
        thread_.join();
    }
    for (const int fd : {listener_, wake_[0], wake_[1]})
        if (fd >= 0)
            ::close(fd);
}

QString TestHttpServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
}

void TestHttpServer::Serve(const QString& path, const QByteArray& content)
{
    const std::lock_guard lock(mutex_);
    files_.insert(path, content);
}

void TestHttpServer::FailNext(int count, int status)
{
    const std::lock_guard lock(mutex_);
    failCount_ = count;
    failStatus_ = status;
}

void TestHttpServer::StaySilent(bool silent)
{
    const std::lock_guard lock(mutex_);
    silent_ = silent;
}

QString TestHttpServer::LastPath() const
{
    const std::lock_guard lock(mutex_);
    return lastPath_;
}

QString TestHttpServer::LastUserAgent() const
{
    const std::lock_guard lock(mutex_);
    return lastAgent_;
}

void TestHttpServer::run()
{
    std::vector<int> silentClients; // held open until the end
    for (;;) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0)
            continue;
        if (fds[1].revents)
            break;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        bool silent = false;
        {
            const std::lock_guard lock(mutex_);
            silent = silent_;
        }
        if (silent) {
            ++requests_;
            silentClients.push_back(client);
            continue;
        }
        answer(client);
        ::close(client);
    }
    for (const int client : silentClients)
        ::close(client);
}

void TestHttpServer::answer(int client)
{
    QByteArray request;
    char buffer[4096];
    while (!request.contains("\r\n\r\n")) {
        const ssize_t got = ::read(client, buffer, sizeof buffer);
        if (got <= 0)
            return;
        request.append(buffer, got);
    }
    ++requests_;
    const QList<QByteArray> lines = request.split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    const QString path = QString::fromUtf8(first.value(1));
    QString agent;
    for (const QByteArray& line : lines)
        if (line.toLower().startsWith("user-agent:"))
            agent = QString::fromUtf8(line.mid(11).trimmed());

    int status = 200;
    QByteArray body;
    {
        const std::lock_guard lock(mutex_);
        lastPath_ = path;
        lastAgent_ = agent;
        if (failCount_ > 0) {
            --failCount_;
            status = failStatus_;
        } else if (files_.contains(path)) {
            body = files_.value(path);
        } else {
            status = 404;
        }
    }
    const QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + " Test\r\nContent-Length: "
        + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    qsizetype sent = 0;
    while (sent < reply.size()) {
        const ssize_t put
            = ::write(client, reply.constData() + sent, static_cast<size_t>(reply.size() - sent));
        if (put <= 0)
            return;
        sent += put;
    }
}

} // namespace testsupport
