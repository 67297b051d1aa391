#pragma once
// Small helpers shared by the tests: scoped environment variables and files
// in a temporary folder that disappears with the fixture.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <optional>

namespace testsupport {

// Sets (or unsets, with a null value) an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ScopedEnv(const char* name, std::nullopt_t);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    QByteArray name_;
    std::optional<QByteArray> saved_;
};

// A temporary folder with helpers to write and read files below it.
class TempFolder {
public:
    TempFolder();
    QString path() const; // native path, no trailing "/"
    QString file(const QString& relative) const; // path + "/" + relative
    // Writes bytes to relative path (parents created); returns the full path.
    QString write(const QString& relative, const QByteArray& bytes) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

// Whole content of a file, empty when it cannot be read.
QByteArray readAll(const QString& path);

// Path of a file under the source tree (for fixtures kept beside the tests).
QString sourcePath(const QString& relative);

} // namespace testsupport
