#include "format/PictureLibrary.h"

#include "runtime/system/Exceptions.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

using testsupport::ScopedEnv;
using testsupport::TempFolder;

namespace {

QImage Page()
{
    QImage page(120, 90, QImage::Format_ARGB32_Premultiplied); // a layout the library does not take
    page.fill(Qt::white);
    for (int x = 10; x < 110; ++x)
        page.setPixel(x, 45, qRgb(0, 0, 128));
    return page;
}

// The text of the Exception SavePicture raises, empty when it raises none.
QString Raised(const QString& home)
{
    QString finalName;
    try {
        TPictureLibrary::SavePicture(
            Page(), TOutputKind::Gif, home + QStringLiteral("/x"), home, 96, finalName);
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}

QString BuiltLibrary(const QString& name)
{
    return qEnvironmentVariable("ZORV_BINARY_DIR") + QStringLiteral("/lib/") + name;
}

} // namespace

TEST(PictureLibrary, SavesThroughTheLibraryByName)
{
    TempFolder folder;
    QString finalName;
    ASSERT_TRUE(TPictureLibrary::SavePicture(
        Page(), TOutputKind::Gif, folder.file(QStringLiteral("ZORV52_001")), folder.path(), 96, finalName));
    EXPECT_EQ(finalName, folder.file(QStringLiteral("ZORV52_001.gif")));
    const QImage back(finalName);
    EXPECT_EQ(back.pixel(50, 45), qRgb(0, 0, 128));
    EXPECT_EQ(back.pixel(50, 10), qRgb(255, 255, 255));

    ASSERT_TRUE(TPictureLibrary::SavePicture(
        Page(), TOutputKind::Jpg, folder.file(QStringLiteral("fax")), folder.path(), 200, finalName));
    EXPECT_EQ(QImageReader(finalName).format(), QByteArray("jpeg"));
    EXPECT_EQ(qRound(QImage(finalName).dotsPerMeterX() * 0.0254), 200);

    EXPECT_FALSE(TPictureLibrary::SavePicture(
        Page(), TOutputKind::PicturePdf, folder.file(QStringLiteral("pdf")), folder.path(), 96, finalName));
    EXPECT_EQ(finalName, folder.file(QStringLiteral("fax.jpg"))) << "a failure leaves the name alone";
}

TEST(PictureLibrary, NamesOver250CharactersFailAtOnce)
{
    TempFolder folder;
    const ScopedEnv nowhere("STEWARD_LIBRARY_PATH", "/nonexistent");
    QString finalName;
    // No library is reachable: a load would raise, so a plain false shows none was tried.
    EXPECT_FALSE(TPictureLibrary::SavePicture(
        Page(), TOutputKind::Gif, QString(251, QLatin1Char('n')), folder.path(), 96, finalName));
    EXPECT_TRUE(finalName.isEmpty());
}

TEST(PictureLibrary, LoadFailuresSayWhatWentWrong)
{
    TempFolder home;
    const ScopedEnv onlyHome("STEWARD_LIBRARY_PATH", "/nonexistent");
    EXPECT_EQ(Raised(home.path()),
        QStringLiteral("Can't found DLL file ") + home.path() + QStringLiteral("\\C_HVBIN\\HVBmpToFile.dll"));

    home.write(QStringLiteral("C_HVBIN/libhvbmptofile.SO"), "not a shared object");
    EXPECT_TRUE(Raised(home.path()).startsWith(QStringLiteral("Load DLL Error ")))
        << Raised(home.path()).toStdString();
    EXPECT_FALSE(TPictureLibrary::LastDetail().isEmpty());

    // A real library of another kind: no entry point.
    QFile::remove(home.file(QStringLiteral("C_HVBIN/libhvbmptofile.SO")));
    ASSERT_TRUE(QFile::copy(BuiltLibrary(QStringLiteral("libHvlanguage.so")),
        home.file(QStringLiteral("C_HVBIN/libHVBmpToFile.so"))));
    EXPECT_TRUE(Raised(home.path()).startsWith(QStringLiteral("Can't found function BMPToFile in ")))
        << Raised(home.path()).toStdString();
}
