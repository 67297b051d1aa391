#include "controls/ExtPage.h"

#include "runtime/forms/Forms.h"

#include <QDir>
#include <QTabBar>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct Pages {
    Pages()
    {
        form.SetBounds(0, 0, 360, 200);
        control->SetParent(&form);
        control->SetBounds(0, 0, 340, 160);
        for (const QString& caption :
            {QStringLiteral("条件"), QStringLiteral("隐藏"), QStringLiteral("格式")}) {
            auto* sheet = new TTabSheet(&form);
            sheet->SetCaption(caption);
            sheet->SetParent(control);
        }
        control->Pages(1)->SetTabVisible(false);
    }
    TForm form;
    TExtPageControl* control = new TExtPageControl(&form);
};

} // namespace

TEST(ExtPageControl, TabIndexCountsVisibleTabsOnly)
{
    Pages p;
    EXPECT_EQ(p.control->PageOfTab(0), p.control->Pages(0));
    EXPECT_EQ(p.control->PageOfTab(1), p.control->Pages(2));
    EXPECT_EQ(p.control->PageOfTab(2), nullptr);
    EXPECT_EQ(p.control->PageOfTab(-1), nullptr);
}

TEST(ExtPageControl, HandlerDrawsEveryVisibleTab)
{
    Pages p;
    QList<std::pair<int, bool>> drawn;
    p.control->SetOnDrawTab(
        TDrawTabEvent::Of([&](TObject* sender, QPainter* painter, int tab, QRect rect, bool active) {
            EXPECT_EQ(sender, p.control);
            EXPECT_NE(painter, nullptr);
            EXPECT_FALSE(rect.isEmpty());
            drawn.append({tab, active});
        }));
    p.form.Show();
    drawn.clear();
    p.control->Widget()->grab(); // paints the tabs
    EXPECT_EQ(drawn, (QList<std::pair<int, bool>> {{0, true}, {1, false}}));
}

TEST(ExtPageControl, DefaultLookMarksTheActiveTab)
{
    Pages p;
    p.form.Show();
    // Set after the widgets exist: creating the first tab makes it current.
    p.control->SetActivePage(p.control->Pages(2));
    auto* bar = p.control->Widget()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    const QImage image = bar->grab().toImage();
    const QRect active = bar->tabRect(bar->currentIndex());
    const QRect other = bar->tabRect(0);
    EXPECT_EQ(image.pixel(active.left() + 4, active.top() + 4), ColorToQColor(clActiveCaption).rgb());
    EXPECT_EQ(image.pixel(active.left(), active.top()), ColorToQColor(clBtnFace).rgb())
        << "inset by 2 pixels";
    EXPECT_EQ(image.pixel(other.left() + 1, other.top() + 1), ColorToQColor(clInactiveCaption).rgb());
    const QString shots = qEnvironmentVariable("ZORV_BINARY_DIR") + QStringLiteral("/screenshots");
    QDir().mkpath(shots);
    EXPECT_TRUE(p.form.Widget()->grab().save(shots + QStringLiteral("/extpage.png")));
}
