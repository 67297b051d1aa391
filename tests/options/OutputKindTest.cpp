// Export kinds: the numbers that cross the module's edges, the texts a
// person types, and the targets that keep a page prefix apart from a file.
#include "options/OutputKind.h"

#include <gtest/gtest.h>

namespace {

TEST(OutputKindTest, TheNumbersOfTheEdgesStayWhatTheyAre)
{
    // Schemes, the controller's export command and the shell's "0 to 3"
    // carry these numbers; a renumbered table would export the wrong kind.
    const std::pair<int, TOutputKind> fixed[] = {{0, TOutputKind::Bmp}, {1, TOutputKind::Jpg},
        {2, TOutputKind::Gif}, {3, TOutputKind::PicturePdf}, {4, TOutputKind::ReportPdf}};
    for (const auto& [wire, kind] : fixed) {
        EXPECT_EQ(OutputKindFromWire(wire), kind) << wire;
        EXPECT_EQ(WireOf(kind), wire) << wire;
    }
    EXPECT_EQ(OutputKindFromWire(5), std::nullopt);
    EXPECT_EQ(OutputKindFromWire(-1), std::nullopt);
    EXPECT_EQ(ExtensionOf(TOutputKind::Gif), QStringLiteral(".gif"));
    EXPECT_EQ(ExtensionOf(TOutputKind::ReportPdf), QStringLiteral(".pdf"));
    EXPECT_TRUE(WritesPages(TOutputKind::PicturePdf));
    EXPECT_FALSE(WritesPages(TOutputKind::ReportPdf));
}

TEST(OutputKindTest, APageKindIsTypedByItsNameInAnyCaseOrByItsNumber)
{
    EXPECT_EQ(PageKindFromText(u"jpg"), TOutputKind::Jpg);
    EXPECT_EQ(PageKindFromText(u"Gif"), TOutputKind::Gif);
    EXPECT_EQ(PageKindFromText(u"PDF"), TOutputKind::PicturePdf);
    EXPECT_EQ(PageKindFromText(u"0"), TOutputKind::Bmp);
    EXPECT_EQ(PageKindFromText(u"3"), TOutputKind::PicturePdf);
    // The whole report is no page kind, by name or by number.
    EXPECT_EQ(PageKindFromText(u"4"), std::nullopt);
    EXPECT_EQ(PageKindFromText(u"REPORTPDF"), std::nullopt);
    EXPECT_EQ(PageKindFromText(u"TIFF"), std::nullopt);
    EXPECT_EQ(PageKindFromText(u""), std::nullopt);
    EXPECT_EQ(PageKindFromText(u"-1"), std::nullopt);
    EXPECT_EQ(PageKindNames(), (QStringList {"BMP", "JPG", "GIF", "PDF"}));
    EXPECT_EQ(PageKindNumbers(), QStringLiteral("0 to 3"));
}

TEST(OutputKindTest, TheKindDecidesWhetherTheTextIsAPrefixOrTheFile)
{
    const std::optional<TExportTarget> pages = TExportTarget::FromWire(1, QStringLiteral("/tmp/slip"));
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->Kind(), TOutputKind::Jpg);
    ASSERT_TRUE(std::holds_alternative<TPagesPrefix>(pages->Where()));
    EXPECT_EQ(std::get<TPagesPrefix>(pages->Where()).Prefix, QStringLiteral("/tmp/slip"));
    EXPECT_EQ(pages->WireText(), QStringLiteral("/tmp/slip"));

    const std::optional<TExportTarget> file = TExportTarget::FromWire(4, QStringLiteral("/tmp/all.pdf"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Kind(), TOutputKind::ReportPdf);
    ASSERT_TRUE(std::holds_alternative<TReportFile>(file->Where()));
    EXPECT_EQ(std::get<TReportFile>(file->Where()).Path, QStringLiteral("/tmp/all.pdf"));
    EXPECT_EQ(file->WireText(), QStringLiteral("/tmp/all.pdf"));

    EXPECT_FALSE(TExportTarget::FromWire(7, QStringLiteral("x")));
    // A place that does not fit the kind is not made at all.
    EXPECT_FALSE(TExportTarget::Pages(TOutputKind::ReportPdf, QStringLiteral("p")));
    EXPECT_FALSE(TExportTarget::File(TOutputKind::Bmp, QStringLiteral("a.bmp")));
    EXPECT_EQ(TExportTarget::Pages(TOutputKind::Jpg, QStringLiteral("/tmp/slip")), pages);
}

} // namespace
