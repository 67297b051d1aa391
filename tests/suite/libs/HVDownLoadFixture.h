#pragma once
// The download library loaded by name, its three entry points bound, and a
// temporary folder for servers, destinations and archives.

#include "runtime/system/Libraries.h"
#include "support/TestSupport.h"

#include <QString>
#include <gtest/gtest.h>

#include <memory>

class HVDownLoadTest : public ::testing::Test {
protected:
    using CompareProc = int (*)(const char*, const char*);
    using DownloadProc = int (*)(
        int, const char*, const char*, const char*, const char*, const char*, int*, char*, int*, int);
    using UnzipProc = int (*)(const char*, const char*, char*);

    void SetUp() override;

    int Compare(const QString& stamp, const QString& localFile) const;
    // Runs the download with a 256-byte error buffer; error gets its text.
    bool Download(const QString& source, const QString& target, QString& error, const QString& timeout = "60",
        int* bytes = nullptr, int* status = nullptr) const;
    bool Unzip(const QString& zipFile, const QString& destFolder, QString& error) const;

    std::unique_ptr<TLibrary> library_;
    CompareProc compare_ = nullptr;
    DownloadProc download_ = nullptr;
    UnzipProc unzip_ = nullptr;
    testsupport::TempFolder temp_;
};
