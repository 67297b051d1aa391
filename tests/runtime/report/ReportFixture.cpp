#include "ReportFixture.h"

namespace reporttest {

QStringList PageTexts(const TQRPageModel& pages, int page)
{
    QStringList texts;
    for (const auto& text : pages.Texts(page))
        texts << text.Text;
    return texts;
}

} // namespace reporttest
