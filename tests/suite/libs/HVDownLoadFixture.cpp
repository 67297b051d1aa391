#include "HVDownLoadFixture.h"

#include <cstring>

void HVDownLoadTest::SetUp()
{
    library_ = TLibrary::Load(QStringLiteral("HVDownLoad.dll"));
    ASSERT_NE(library_, nullptr) << TLibrary::LastLoadError().toStdString();
    compare_ = reinterpret_cast<CompareProc>(library_->GetProcAddress(QStringLiteral("CompareFileToDown")));
    download_ = reinterpret_cast<DownloadProc>(library_->GetProcAddress(QStringLiteral("HVDownLoadFileEx")));
    unzip_ = reinterpret_cast<UnzipProc>(library_->GetProcAddress(QStringLiteral("UnZipFilesOrDir")));
    ASSERT_TRUE(compare_ && download_ && unzip_);
}

int HVDownLoadTest::Compare(const QString& stamp, const QString& localFile) const
{
    return compare_(stamp.toUtf8().constData(), localFile.toUtf8().constData());
}

bool HVDownLoadTest::Download(const QString& source, const QString& target, QString& error,
    const QString& timeout, int* bytes, int* status) const
{
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer); // a missing terminator shows as garbage
    int unusedBytes = 0;
    int unusedStatus = 0;
    const int ok = download_(0, "", "PLKT", timeout.toUtf8().constData(), source.toUtf8().constData(),
        target.toUtf8().constData(), bytes ? bytes : &unusedBytes, buffer, status ? status : &unusedStatus,
        0);
    EXPECT_NE(std::memchr(buffer, '\0', sizeof buffer), nullptr) << "error text not terminated";
    error = QString::fromUtf8(buffer);
    return ok != 0;
}

bool HVDownLoadTest::Unzip(const QString& zipFile, const QString& destFolder, QString& error) const
{
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    const int ok = unzip_(zipFile.toUtf8().constData(), destFolder.toUtf8().constData(), buffer);
    EXPECT_NE(std::memchr(buffer, '\0', sizeof buffer), nullptr) << "error text not terminated";
    error = QString::fromUtf8(buffer);
    return ok != 0;
}
