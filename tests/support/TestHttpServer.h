#pragma once
// A small http server on 127.0.0.1 for download tests. It runs on its own
// thread (the code under test makes blocking requests from the test's
// thread), answers GET with the files given to it, and can be told to fail
// the next requests or to accept a request and then stay silent.

#include <QByteArray>
#include <QHash>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

namespace testsupport {

class TestHttpServer {
public:
    // Listens on a free port of 127.0.0.1 (Port() is 0 when that failed).
    TestHttpServer();
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path
    QString Url(const QString& path) const;

    // Serves content at path ("/pkg/a.zip"); other paths answer 404.
    void Serve(const QString& path, const QByteArray& content);
    // The next count requests answer this status with an empty body.
    void FailNext(int count, int status = 503);
    // Requests get no answer at all until the server is destroyed.
    void StaySilent(bool silent);
    // Requests received so far, and the paths and User-Agent of the last one.
    int Requests() const { return requests_; }
    QString LastPath() const;
    QString LastUserAgent() const;

private:
    void run();
    void answer(int client);

    int listener_ = -1;
    int wake_[2] = {-1, -1}; // written by the destructor to end run()
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    QHash<QString, QByteArray> files_;
    int failCount_ = 0;
    int failStatus_ = 503;
    bool silent_ = false;
    std::atomic<int> requests_ {0};
    QString lastPath_;
    QString lastAgent_;
};

} // namespace testsupport
