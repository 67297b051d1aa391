#include "controls/ExtPage.h"

#include <QEvent>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>

TExtPageControl::TExtPageControl(TComponent* owner)
    : TPageControl(owner)
{
    static const bool registered = [] {
        RegisterEventFamily<TDrawTabEvent>(QStringLiteral("TDrawTabEvent"));
        return true;
    }();
    Q_UNUSED(registered);
}

TTabSheet* TExtPageControl::PageOfTab(int tabIndex) const
{
    if (tabIndex < 0)
        return nullptr;
    int visible = -1;
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible() && ++visible == tabIndex)
            return Pages(i);
    return nullptr;
}

void TExtPageControl::DrawTab(QPainter& painter, int tabIndex, const QRect& rect, bool active)
{
    if (onDrawTab_.Assigned()) {
        onDrawTab_(this, &painter, tabIndex, rect, active);
        return;
    }
    TTabSheet* page = PageOfTab(tabIndex);
    QFont font = Font()->ToQFont();
    QRect area = rect;
    if (active) {
        area.adjust(2, 2, -2, -2);
        font.setBold(true);
        painter.fillRect(area, ColorToQColor(clActiveCaption));
        painter.setPen(ColorToQColor(clCaptionText));
    } else {
        painter.fillRect(area, ColorToQColor(clInactiveCaption));
        painter.setPen(ColorToQColor(clInactiveCaptionText));
    }
    painter.setFont(font);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, page ? page->Caption() : QString());
}

QWidget* TExtPageControl::CreateWidget(QWidget* parent)
{
    QWidget* widget = TPageControl::CreateWidget(parent);
    if (auto* bar = widget->findChild<QTabBar*>())
        bar->installEventFilter(this);
    return widget;
}

bool TExtPageControl::eventFilter(QObject* watched, QEvent* event)
{
    auto* bar = qobject_cast<QTabBar*>(watched);
    if (!bar || event->type() != QEvent::Paint)
        return TPageControl::eventFilter(watched, event);
    QPainter painter(bar);
    painter.fillRect(bar->rect(), ColorToQColor(clBtnFace));
    int tabIndex = 0;
    for (int i = 0; i < bar->count(); ++i) {
        if (!bar->isTabVisible(i))
            continue;
        DrawTab(painter, tabIndex++, bar->tabRect(i), i == bar->currentIndex());
    }
    return true;
}
