#pragma once
// The query log of the application server: every statement text as a client
// sent it and as the back end ran it, with the operation, the time and the
// outcome. Off unless StewardS.ini names a file ([AppServer] QueryLog).
// Several server objects may write to one file; lines never interleave.
// Writing never raises.

#include <QString>

class TQueryLog {
public:
    // fileName: native path; empty switches the log off.
    explicit TQueryLog(QString fileName = {})
        : fileName_(std::move(fileName))
    {
    }

    bool Enabled() const { return !fileName_.isEmpty(); }
    QString FileName() const { return fileName_; }

    void Received(const QString& operation, const QString& text) const;
    void Ran(const QString& operation, const QString& text) const;
    void Failed(const QString& operation, const QString& message) const;

private:
    void write(const QString& operation, const char* what, const QString& text) const;
    QString fileName_;
};
