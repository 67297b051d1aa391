#include "runtime/report/QRPageModel.h"

#include <algorithm>

TQRPageModel::TQRPageModel(int pageWidth, int pageHeight, bool halfPage)
    : width_(pageWidth)
    , height_(pageHeight)
    , halfPage_(halfPage)
{
}

namespace {

// Style tables stay small (a report uses a handful of fonts), so a linear
// search beats hashing the family name of every text printed.
template<typename T> int indexOrAdd(std::vector<T>& table, const T& value)
{
    const auto found = std::find(table.begin(), table.end(), value);
    if (found != table.end())
        return static_cast<int>(found - table.begin());
    table.push_back(value);
    return static_cast<int>(table.size() - 1);
}

} // namespace

int TQRPageModel::TextStyleIndex(const TQRTextStyle& style)
{
    return indexOrAdd(textStyles_, style);
}

int TQRPageModel::ShapeStyleIndex(const TQRShapeStyle& style)
{
    return indexOrAdd(shapeStyles_, style);
}

int TQRPageModel::ImageIndex(const QImage& image)
{
    for (size_t i = 0; i < images_.size(); ++i)
        if (images_[i].cacheKey() == image.cacheKey())
            return static_cast<int>(i);
    images_.push_back(image);
    return static_cast<int>(images_.size() - 1);
}

void TQRPageModel::BeginPage()
{
    current_ = Page();
    open_ = true;
}

void TQRPageModel::AddText(const QRect& box, QStringView text, int style, std::uint8_t flags, QRgb background)
{
    if (!open_ || text.isEmpty())
        return;
    TQRItem item;
    item.kind = TQRItem::Text;
    item.flags = flags;
    item.style = static_cast<std::uint16_t>(style);
    item.x = box.x();
    item.y = box.y();
    item.w = box.width();
    item.h = box.height();
    item.text = static_cast<std::uint32_t>(current_.text.size());
    item.length = static_cast<std::uint32_t>(text.size());
    item.extra = background;
    current_.text.append(text);
    current_.items.push_back(item);
}

void TQRPageModel::AddLine(QPoint from, QPoint to, int style)
{
    if (!open_)
        return;
    TQRItem item;
    item.kind = TQRItem::Line;
    item.style = static_cast<std::uint16_t>(style);
    item.x = from.x();
    item.y = from.y();
    item.w = to.x() - from.x();
    item.h = to.y() - from.y();
    current_.items.push_back(item);
}

void TQRPageModel::AddRect(const QRect& box, int style)
{
    if (!open_)
        return;
    TQRItem item;
    item.kind = TQRItem::Rect;
    item.style = static_cast<std::uint16_t>(style);
    item.x = box.x();
    item.y = box.y();
    item.w = box.width();
    item.h = box.height();
    current_.items.push_back(item);
}

void TQRPageModel::AddEllipse(const QRect& box, int style)
{
    AddRect(box, style);
    if (open_)
        current_.items.back().kind = TQRItem::Ellipse;
}

void TQRPageModel::AddImage(const QRect& box, int image)
{
    AddRect(box, image);
    if (open_)
        current_.items.back().kind = TQRItem::Image;
}

void TQRPageModel::EndPage()
{
    if (!open_)
        return;
    current_.items.shrink_to_fit();
    current_.text.squeeze();
    pages_.push_back(std::move(current_));
    current_ = Page();
    open_ = false;
}

void TQRPageModel::DiscardPage()
{
    current_ = Page();
    open_ = false;
}

QStringView TQRPageModel::ItemText(int page, const TQRItem& item) const
{
    const QString& text = pages_.at(static_cast<size_t>(page - 1)).text;
    return QStringView(text).mid(item.text, item.length);
}

QList<TQRPageModel::TextAt> TQRPageModel::Texts(int page) const
{
    QList<TextAt> texts;
    if (page < 1 || page > PageCount())
        return texts;
    for (const TQRItem& item : Items(page))
        if (item.kind == TQRItem::Text)
            texts.append({ItemText(page, item).toString(), item.Box()});
    return texts;
}

TQRPageModel::TextAt TQRPageModel::FindText(int page, const QString& text) const
{
    if (page >= 1 && page <= PageCount())
        for (const TQRItem& item : Items(page))
            if (item.kind == TQRItem::Text && ItemText(page, item) == text)
                return {text, item.Box()};
    return {};
}

std::size_t TQRPageModel::PageBytes(int page) const
{
    const Page& p = pages_.at(static_cast<size_t>(page - 1));
    return sizeof(Page) + p.items.capacity() * sizeof(TQRItem)
        + static_cast<size_t>(p.text.capacity()) * sizeof(QChar);
}

std::size_t TQRPageModel::SharedBytes() const
{
    std::size_t bytes = 0;
    for (const TQRTextStyle& style : textStyles_)
        bytes += sizeof(style) + static_cast<size_t>(style.Family.capacity()) * sizeof(QChar);
    bytes += shapeStyles_.size() * sizeof(TQRShapeStyle);
    for (const QImage& image : images_)
        bytes += static_cast<size_t>(image.sizeInBytes());
    return bytes;
}
