#include "suite/doc2emf/DocumentConverter.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

// A stand-in for LibreOffice: records its arguments (NUL-separated) in
// <folder>/argv; with <folder>/status holding a number it says "broken
// filter" on standard error and exits with it; with <folder>/silent it
// exits 0 having written nothing; otherwise it writes
// <outdir>/<document base name>.<format> holding "converted <document>".
const char* FakeOffice = R"sh(#!/bin/sh
dir="$(dirname "$0")"
printf '%s\0' "$@" > "$dir/argv"
if [ -f "$dir/status" ]; then echo "broken filter" >&2; exit "$(cat "$dir/status")"; fi
[ -f "$dir/silent" ] && exit 0
while [ $# -gt 1 ]; do
  case "$1" in
    --convert-to) format="$2"; shift ;;
    --outdir) outdir="$2"; shift ;;
  esac
  shift
done
base="$(basename "$1")"
printf 'converted %s' "$1" > "$outdir/${base%.*}.$format"
)sh";

class DocumentConverterTest : public ::testing::Test {
protected:
    DocumentConverterTest()
        : tmp_("TMPDIR", folder_.file(QStringLiteral("tmp")).toLocal8Bit())
        , office_("STEWARD_SOFFICE", folder_.file(QStringLiteral("office/soffice")).toLocal8Bit())
    {
        QDir().mkpath(folder_.file(QStringLiteral("tmp")));
        const QString script = folder_.write(QStringLiteral("office/soffice"), FakeOffice);
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        document_ = folder_.write(QStringLiteral("docs/背景 page.docx"), "document");
    }

    QStringList Arguments() const
    {
        QStringList args = QString::fromUtf8(folder_.read(QStringLiteral("office/argv"))).split(QChar(0));
        args.removeLast();
        return args;
    }

    TempFolder folder_;
    ScopedEnv tmp_;
    ScopedEnv office_;
    QString document_;
};

} // namespace

TEST_F(DocumentConverterTest, ConvertsTheFirstPageWithAPrivateProfile)
{
    const QString target = folder_.file(QStringLiteral("背景.png"));
    ASSERT_EQ(TDocumentConverter().Convert(document_, target), QString());
    EXPECT_EQ(folder_.read(QStringLiteral("背景.png")), ("converted " + document_).toUtf8());

    const QStringList args = Arguments();
    ASSERT_EQ(args.size(), 9) << args.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(args.mid(0, 3),
        (QStringList {
            QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nologo")}));
    EXPECT_TRUE(args[3].startsWith(
        QStringLiteral("-env:UserInstallation=file://") + folder_.file(QStringLiteral("tmp/doc2emf-"))))
        << args[3].toStdString();
    EXPECT_EQ(args.mid(4, 2), (QStringList {QStringLiteral("--convert-to"), QStringLiteral("png")}));
    EXPECT_EQ(args[8], document_);
    EXPECT_TRUE(QDir(folder_.file(QStringLiteral("tmp"))).isEmpty()) << "the work folder goes away";
}

TEST_F(DocumentConverterTest, TheFormatFollowsTheTargetsExtension)
{
    ASSERT_EQ(TDocumentConverter().Convert(document_, folder_.file(QStringLiteral("bg.SVG"))), QString());
    EXPECT_TRUE(Arguments().contains(QStringLiteral("svg")));
    EXPECT_EQ(
        TDocumentConverter::DefaultTarget(document_), folder_.file(QStringLiteral("docs/背景 page.png")));
    const QString error = TDocumentConverter().Convert(document_, folder_.file(QStringLiteral("bg.exe")));
    EXPECT_TRUE(error.contains(QStringLiteral("no picture name"))) << error.toStdString();
}

TEST_F(DocumentConverterTest, ADocumentNamedLikeAnOptionGoesAsAPath)
{
    folder_.write(QStringLiteral("--infilter=x.doc"), "document");
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder_.path()));
    const QString error = TDocumentConverter().Convert(
        QStringLiteral("--infilter=x.doc"), folder_.file(QStringLiteral("x.png")));
    QDir::setCurrent(saved);
    ASSERT_EQ(error, QString());
    EXPECT_EQ(Arguments().last(), folder_.file(QStringLiteral("--infilter=x.doc")));
}

TEST_F(DocumentConverterTest, FailuresLeaveTheTargetAsItWas)
{
    const QString target = folder_.write(QStringLiteral("old.png"), "old picture");
    folder_.write(QStringLiteral("office/status"), "77");
    QString error = TDocumentConverter().Convert(document_, target);
    EXPECT_TRUE(
        error.contains(QStringLiteral("status 77")) && error.contains(QStringLiteral("broken filter")))
        << error.toStdString();
    EXPECT_EQ(folder_.read(QStringLiteral("old.png")), QByteArray("old picture"));

    QFile::remove(folder_.file(QStringLiteral("office/status")));
    folder_.write(QStringLiteral("office/silent"), "");
    error = TDocumentConverter().Convert(document_, target);
    EXPECT_TRUE(error.contains(QStringLiteral("could not convert"))) << error.toStdString();
    EXPECT_EQ(folder_.read(QStringLiteral("old.png")), QByteArray("old picture"));

    error = TDocumentConverter().Convert(folder_.file(QStringLiteral("missing.docx")), target);
    EXPECT_TRUE(error.contains(QStringLiteral("cannot be read"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(target + QStringLiteral(".part")));
}

TEST_F(DocumentConverterTest, WithoutLibreOfficeTheToolSaysSo)
{
    const ScopedEnv noOffice("STEWARD_SOFFICE", folder_.file(QStringLiteral("none/soffice")).toLocal8Bit());
    EXPECT_EQ(TDocumentConverter().Convert(document_, folder_.file(QStringLiteral("x.png"))),
        TDocumentConverter::NotInstalledMessage());

    // The tool itself: status 2 and the message on standard error.
    QProcess tool;
    tool.start(qEnvironmentVariable("ZORV_BINARY_DIR") + QStringLiteral("/bin/doc2emf"), {document_});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 2);
    EXPECT_TRUE(
        QString::fromLocal8Bit(tool.readAllStandardError()).contains(QStringLiteral("libreoffice-writer")));
    EXPECT_FALSE(QFile::exists(TDocumentConverter::DefaultTarget(document_)));
}

TEST_F(DocumentConverterTest, TheToolConvertsFromTheCommandLine)
{
    QProcess tool;
    tool.start(qEnvironmentVariable("ZORV_BINARY_DIR") + QStringLiteral("/bin/doc2emf"), {document_});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
    EXPECT_EQ(QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed(),
        TDocumentConverter::DefaultTarget(document_));
    EXPECT_TRUE(QFile::exists(TDocumentConverter::DefaultTarget(document_)));
}
