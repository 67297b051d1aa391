#pragma once
// An installation for update tests inside a temporary folder: a registry file
// with the update switch and the server home, the temporary folder, a server
// folder holding zip archives, and a scripted dialog service that fails the
// test on any dialog it was not told about.

#include "runtime/forms/Dialogs.h"
#include "support/TestSupport.h"
#include "support/TestZip.h"

#include <QDateTime>
#include <QString>
#include <gtest/gtest.h>

#include <optional>

class UpdateFixture : public ::testing::Test {
protected:
    UpdateFixture();
    void SetUp() override;
    void TearDown() override;

    // Rewrites the registry: "GoAhead" under Software\PLKT\Velmor (no such key
    // for nullopt) and the server home (<temp>/home) under Software\HVN\Steward.
    void SetSwitch(const std::optional<QString>& goAhead);
    // A file below the temporary folder, with the given modification time.
    QString WriteFile(const QString& relative, const QByteArray& content, const QDateTime& modified);
    // The archive server/S_PKG/<name>.zip.
    void WriteServerZip(const QString& name, testsupport::TestZip& zip);
    // A GetFileList answer for server/S_PKG/<name> modified at that moment.
    QString FileInfo(const QString& name, const QDateTime& modified) const;
    // What the update log got since the test began.
    QString LogAdded() const;
    // True while the shared object in that file is loaded in this process.
    static bool IsLoaded(const QString& path);
    // The file of a library built with the tests (in $STEWARD_LIBRARY_PATH).
    static QString BuiltLibrary(const QString& fileName);

    static QString Stamp(const QDateTime& moment) { return moment.toString("yyyyMMddhhmmss"); }

    testsupport::TempFolder temp_;
    testsupport::ScopedEnv registry_;
    testsupport::ScopedEnv tmp_;
    ScriptedDialogService dialogs_;
    qint64 logSize_ = 0;
    const QDateTime old_ = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5));
    const QDateTime new_ = QDateTime(QDate(2026, 11, 30), QTime(8, 0, 0));
};
