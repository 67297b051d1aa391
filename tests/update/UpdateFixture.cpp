#include "UpdateFixture.h"

#include "runtime/system/NativePath.h"
#include "update/HVDownLoadNewFileU.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

UpdateFixture::UpdateFixture()
    : registry_("STEWARD_REGISTRY", temp_.file("registry.reg").toLocal8Bit())
    , tmp_("TMPDIR", temp_.file("tmp").toLocal8Bit())
{
}

void UpdateFixture::SetUp()
{
    QDir().mkpath(temp_.file("tmp"));
    QDir().mkpath(temp_.file("server/S_PKG"));
    SetSwitch(QStringLiteral("1"));
    logSize_ = QFileInfo(NativePath(UpdateLogFileName(QDate::currentDate()))).size();
}

void UpdateFixture::TearDown()
{
    EXPECT_EQ(dialogs_.Failures(), QStringList());
    EXPECT_EQ(dialogs_.Pending(), 0) << "a scripted dialog was never shown";
}

void UpdateFixture::SetSwitch(const std::optional<QString>& goAhead)
{
    QByteArray text = "Windows Registry Editor Version 5.00\r\n\r\n";
    if (goAhead)
        text += "[HKEY_LOCAL_MACHINE\\Software\\PLKT\\Velmor]\r\n\"GoAhead\"=\"" + goAhead->toUtf8()
            + "\"\r\n\r\n";
    QString home = temp_.file("home");
    home.replace('\\', "\\\\");
    text += "[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\r\n\"ServerPath\"=\"" + home.toUtf8() + "\"\r\n";
    temp_.write("registry.reg", text);
}

QString UpdateFixture::WriteFile(
    const QString& relative, const QByteArray& content, const QDateTime& modified)
{
    const QString path = temp_.write(relative, content);
    QFile file(path);
    EXPECT_TRUE(
        file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime));
    return path;
}

void UpdateFixture::WriteServerZip(const QString& name, testsupport::TestZip& zip)
{
    ASSERT_TRUE(zip.Write(temp_.file("server/S_PKG/" + name + ".zip"))) << zip.Error().toStdString();
}

QString UpdateFixture::FileInfo(const QString& name, const QDateTime& modified) const
{
    return QStringLiteral("<Modify>%1</Modify><Path>%2</Path>")
        .arg(Stamp(modified), temp_.file("server/S_PKG/" + name));
}

QString UpdateFixture::LogAdded() const
{
    QFile log(NativePath(UpdateLogFileName(QDate::currentDate())));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    log.seek(logSize_);
    return QString::fromUtf8(log.readAll());
}

QString UpdateFixture::BuiltLibrary(const QString& fileName)
{
    return qEnvironmentVariable("STEWARD_LIBRARY_PATH") + "/" + fileName;
}

bool UpdateFixture::IsLoaded(const QString& path)
{
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (handle)
        dlclose(handle);
    return handle != nullptr;
}
