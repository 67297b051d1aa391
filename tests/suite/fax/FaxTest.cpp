#include "suite/fax/HvnFaxApplication.h"
#include "suite/fax/SendFaxJob.h"

#include "common/StewardIniTestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

using steward_test::TestHome;
using testsupport::ScopedEnv;

namespace {

class FaxTest : public ::testing::Test {
protected:
    FaxTest()
        : home_({})
        , path_(
              "PATH", (home_.Folder(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin")).toLocal8Bit())
    {
        // fake-sendfax.sh records the arguments of each run (see there).
        const QString script = home_.Write(QStringLiteral("bin/sendfax"),
            testsupport::readAll(testsupport::sourcePath(QStringLiteral("tests/suite/fax/fake-sendfax.sh"))));
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WriteFaxSection("Server1=总公司传真|faxhost.example\n"
                        "Server2=Branch|10.1.2.3:4559\n"
                        "Server3=Bad|-oProxyCommand=x\n"
                        "Server4=127.0.0.1\n"
                        "Server6=after a gap\n");
        QDir().mkpath(home_.Folder(QStringLiteral("tmp"))); // the home's $TMPDIR
        RegisterHvnFax();
    }

    void WriteFaxSection(const QByteArray& section)
    {
        const QString ini = home_.Write(QStringLiteral("client/StewardC.ini"), "[Fax]\n" + section);
        home_.WriteRegistry({{QStringLiteral("ClientPath"), QFileInfo(ini).absolutePath()}});
    }

    QStringList RecordedArguments() const
    {
        QStringList args = QString::fromUtf8(home_.Read(QStringLiteral("bin/argv"))).split(QChar(0));
        args.removeLast(); // after the last NUL
        return args;
    }
    int Calls() const { return int(home_.Read(QStringLiteral("bin/calls")).count('\n')); }
    QByteArray SentFile(int argument) const { return home_.Read(QStringLiteral("bin/file%1").arg(argument)); }

    // A page picture as the fax run writes it: JPEG at 200 dpi.
    QString FaxPage(const QString& name, int width, int height) const
    {
        QImage page(width, height, QImage::Format_RGB32);
        page.fill(Qt::white);
        page.setDotsPerMeterX(qRound(200 / 0.0254));
        page.setDotsPerMeterY(qRound(200 / 0.0254));
        const QString path = home_.Folder(name);
        page.save(path, "JPG");
        return path;
    }

    static Variant Sender()
    {
        return CreateOleObject(QStringLiteral("HVNFAX.APP")).Get(QStringLiteral("SendFax"));
    }

    static QString SendError(const Variant& job, const Variant& number, const Variant& key = Variant("C001"))
    {
        try {
            job.Call(QStringLiteral("SendFax"), {number, key, Variant("CHEN"), Variant(0)});
            return {};
        } catch (const EOleError& e) {
            return e.Message();
        }
    }

    TestHome home_;
    ScopedEnv path_;
};

} // namespace

TEST_F(FaxTest, ServerListComesFromTheConfiguration)
{
    const Variant fax = CreateOleObject(QStringLiteral("HVNFAX.APP"));
    EXPECT_EQ(fax.Get(QStringLiteral("FaxServerCount")).ToInt(), 0) << "nothing before a refresh";
    fax.Call(QStringLiteral("RefreshFaxServerInfo"));
    ASSERT_EQ(fax.Get(QStringLiteral("FaxServerCount")).ToInt(), 3);
    const QStringList expected[] = {{QStringLiteral("总公司传真"), QStringLiteral("faxhost.example")},
        {QStringLiteral("Branch"), QStringLiteral("10.1.2.3:4559")},
        {QStringLiteral("127.0.0.1"), QStringLiteral("127.0.0.1")}};
    for (int i = 0; i < 3; ++i) {
        Variant name, number;
        EXPECT_TRUE(fax.Call(QStringLiteral("GetFaxServerInfo"),
                           {Variant(i), Variant::Ref(name), Variant::Ref(number)})
                        .ToBool());
        EXPECT_EQ(name.ToString(), expected[i][0]) << i;
        EXPECT_EQ(number.ToString(), expected[i][1]) << i;
    }
    Variant name(QStringLiteral("kept"));
    Variant number;
    EXPECT_FALSE(
        fax.Call(QStringLiteral("GetFaxServerInfo"), {Variant(3), Variant::Ref(name), Variant::Ref(number)})
            .ToBool());
    EXPECT_EQ(name.ToString(), QStringLiteral("kept"));
}

TEST_F(FaxTest, SendsEveryAddedPageInOneRunOfSendfax)
{
    const Variant job = Sender();
    ASSERT_TRUE(job.Call(QStringLiteral("ConnectFaxServer"), {Variant("10.1.2.3:4559")}).ToBool());
    const QString picture = FaxPage(QStringLiteral("ZORV52_1.jpg"), 1700, 2200);
    const QString pdf = home_.Write(QStringLiteral("cover.pdf"), "%PDF-1.4 stand-in");
    EXPECT_TRUE(job.Call(QStringLiteral("AddFaxFile"), {Variant(picture)}).ToBool());
    EXPECT_TRUE(job.Call(QStringLiteral("AddFaxFile"), {Variant(pdf)}).ToBool());
    // Blanks, quotes and shell characters in the recipient's key stay one argument.
    const QString key = QStringLiteral("C001 客户; rm -rf ~ $(id) `id` \"x\"");
    ASSERT_EQ(SendError(job, Variant("+86 (21) 5555-0101"), Variant(key)), QString());

    const QStringList args = RecordedArguments();
    ASSERT_EQ(args.size(), 12) << args.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(args.mid(0, 10),
        (QStringList {QStringLiteral("-h"), QStringLiteral("10.1.2.3:4559"), QStringLiteral("-m"),
            QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("+86 (21) 5555-0101"),
            QStringLiteral("-i"), key, QStringLiteral("-f"), QStringLiteral("CHEN")}));
    // The picture went as a PDF page of its own size at 200 dpi: 8.5 x 11 inches.
    EXPECT_TRUE(args[10].endsWith(QLatin1String(".pdf")));
    const QByteArray page = SentFile(11);
    EXPECT_TRUE(page.startsWith("%PDF"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral(R"(/MediaBox \[0 0 612(\.0+)? 792(\.0+)?\])"))
                    .match(QString::fromLatin1(page))
                    .hasMatch())
        << page.mid(page.indexOf("/MediaBox"), 40).constData();
    EXPECT_EQ(args[11], QFileInfo(pdf).absoluteFilePath());
    EXPECT_EQ(SentFile(12), QByteArray("%PDF-1.4 stand-in"));

    job.Call(QStringLiteral("DisconnectFaxServer"));
    EXPECT_FALSE(QFileInfo::exists(args[10])) << "the converted page goes with the connection";
    EXPECT_TRUE(QFileInfo::exists(picture)) << "the caller's files stay";
    EXPECT_NE(SendError(job, Variant("5550101")), QString()) << "no longer connected";
    EXPECT_EQ(Calls(), 1);
}

TEST_F(FaxTest, NumbersThatAreNoNumbersNeverReachSendfax)
{
    const Variant job = Sender();
    ASSERT_TRUE(job.Call(QStringLiteral("ConnectFaxServer"), {Variant("faxhost.example")}).ToBool());
    job.Call(QStringLiteral("AddFaxFile"), {Variant(FaxPage(QStringLiteral("p.jpg"), 20, 20))});
    for (const char* number :
        {"", "   ", "-d 5550101", "5550101; rm -rf /", "555\r\n0101", "abc", "name@5550101", "$(id)",
            "5550101 `id`", "12345678901234567890123456789012345678901234567890123456789012345"}) {
        const QString error = SendError(job, Variant(QString::fromUtf8(number)));
        EXPECT_TRUE(error.contains(QStringLiteral("no fax number"))) << number << ": " << error.toStdString();
    }
    EXPECT_EQ(Calls(), 0);
    EXPECT_EQ(SendError(job, Variant("*31#0 (755) 8888-1234,,22")), QString());
    EXPECT_EQ(Calls(), 1);
}

TEST_F(FaxTest, ACoverPageIsAskedForByTheLastArgument)
{
    const Variant job = Sender();
    ASSERT_TRUE(job.Call(QStringLiteral("ConnectFaxServer"), {Variant("faxhost.example")}).ToBool());
    job.Call(QStringLiteral("AddFaxFile"), {Variant(home_.Write(QStringLiteral("a.pdf"), "%PDF"))});
    job.Call(QStringLiteral("SendFax"), {Variant("5550101"), Variant("C001"), Variant("CHEN"), Variant(1)});
    EXPECT_FALSE(RecordedArguments().contains(QStringLiteral("-n")));
}

TEST_F(FaxTest, FailuresRaiseAndSayWhy)
{
    const Variant job = Sender();
    EXPECT_TRUE(SendError(job, Variant("5550101")).contains(QStringLiteral("Not connected")));
    EXPECT_FALSE(job.Call(QStringLiteral("ConnectFaxServer"), {Variant("-oProxyCommand=x")}).ToBool());
    EXPECT_FALSE(job.Call(QStringLiteral("ConnectFaxServer"), {Variant("host name")}).ToBool());
    ASSERT_TRUE(job.Call(QStringLiteral("ConnectFaxServer"), {Variant("faxhost.example")}).ToBool());
    EXPECT_TRUE(SendError(job, Variant("5550101")).contains(QStringLiteral("nothing to fax")));
    EXPECT_THROW(
        job.Call(QStringLiteral("AddFaxFile"), {Variant(home_.Folder(QStringLiteral("missing.jpg")))}),
        EOleError);
    EXPECT_THROW(job.Call(QStringLiteral("AddFaxFile"),
                     {Variant(home_.Write(QStringLiteral("bad.jpg"), "not a picture"))}),
        EOleError);

    job.Call(QStringLiteral("AddFaxFile"), {Variant(home_.Write(QStringLiteral("a.pdf"), "%PDF"))});
    home_.Write(QStringLiteral("bin/status"), "2");
    const QString error = SendError(job, Variant("5550101"));
    EXPECT_TRUE(error.contains(QStringLiteral("status 2")) && error.contains(QStringLiteral("refused")))
        << error.toStdString();
}

TEST_F(FaxTest, WithoutHylaFaxThereIsNoConnection)
{
    const ScopedEnv noSendfax("PATH", "/nonexistent");
    const Variant job = Sender();
    EXPECT_FALSE(job.Call(QStringLiteral("ConnectFaxServer"), {Variant("faxhost.example")}).ToBool());
}

TEST(SendFaxJob, DialableNumbers)
{
    for (const char* good :
        {"5550101", "+86 21 5555 0101", "(021) 5555-0101", "0,,5550101", "*31#5550101", "555.0101"})
        EXPECT_TRUE(TSendFaxJob::IsDialable(QString::fromLatin1(good))) << good;
    for (const char* bad :
        {"", "-5550101", " 5550101", "+", "()", "555\t0101", "555/0101", "5550101x", "５５５"})
        EXPECT_FALSE(TSendFaxJob::IsDialable(QString::fromUtf8(bad))) << bad;
}
