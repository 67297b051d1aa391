#include "controls/ExtPage.h"
#include "runtime/forms/Forms.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <cmath>
#include <gtest/gtest.h>

namespace {

double luminance(const QColor& c)
{
    auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

// The contrast ratio of two colours (1 to 21); 4.5 is the usual floor for text.
double contrast(const QColor& a, const QColor& b)
{
    const double x = luminance(a), y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

} // namespace

TEST(TabColours, EveryTabReadsClearlyUnderLightAndDarkPalettes)
{
    const QPalette saved = QApplication::palette();
    QPalette dark = saved;
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    for (const QPalette& palette : {saved, dark}) {
        QApplication::setPalette(palette);
        EXPECT_GE(contrast(ColorToQColor(clInactiveCaption), ColorToQColor(clInactiveCaptionText)), 4.5);
        EXPECT_GE(contrast(ColorToQColor(clActiveCaption), ColorToQColor(clCaptionText)), 3.0);

        // The text an inactive tab draws stands out from its ground.
        TForm form;
        auto* pages = new TExtPageControl(&form);
        pages->SetParent(&form);
        auto* sheet = new TTabSheet(&form);
        sheet->SetCaption(QStringLiteral("系统选项"));
        sheet->SetParent(pages);
        QImage image(80, 24, QImage::Format_RGB32);
        QPainter painter(&image);
        pages->DrawTab(painter, 0, image.rect(), false);
        painter.end();
        const QColor ground = image.pixelColor(1, 1);
        double best = 1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                best = std::max(best, contrast(ground, image.pixelColor(x, y)));
        EXPECT_GE(best, 4.5) << "the caption is drawn in a colour that reads";
    }
    QApplication::setPalette(saved);
}
