#include "PaletteQuantizer.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace {

// 5 bits per channel: 32768 cells, small enough to scan, fine enough that a
// cell's colours differ by at most 7 levels per channel.
constexpr int CellBits = 5;
constexpr int CellCount = 1 << (3 * CellBits);

int cellOf(QRgb rgb)
{
    return ((qRed(rgb) >> 3) << 10) | ((qGreen(rgb) >> 3) << 5) | (qBlue(rgb) >> 3);
}

int cellChannel(int cell, int channel)
{
    return (cell >> (10 - 5 * channel)) & 31;
}

struct Cell {
    uint32_t count = 0;
    uint64_t sum[3] = {0, 0, 0};

    QRgb mean() const
    {
        const uint64_t half = count / 2;
        return qRgb(int((sum[0] + half) / count), int((sum[1] + half) / count), int((sum[2] + half) / count));
    }
};

// Distinct colours of the picture, or an empty list when there are more than
// limit. Pages are long runs of one colour, so the last colour seen is kept
// aside; the table is open addressing over a power of two well above limit.
std::vector<QRgb> distinctColours(const QImage& rgb, int limit)
{
    const int tableSize = 4096;
    std::vector<QRgb> table(tableSize);
    std::vector<bool> used(tableSize, false);
    std::vector<QRgb> colours;
    QRgb last = 0;
    bool haveLast = false;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = line[x] | 0xff000000u;
            if (haveLast && colour == last)
                continue;
            last = colour;
            haveLast = true;
            uint32_t slot = (colour * 2654435761u) >> 20; // Fibonacci hashing to 12 bits
            while (used[slot] && table[slot] != colour)
                slot = (slot + 1) & (tableSize - 1);
            if (used[slot])
                continue;
            if (int(colours.size()) == limit)
                return {};
            used[slot] = true;
            table[slot] = colour;
            colours.push_back(colour);
        }
    }
    return colours;
}

QImage exactPalette(const QImage& rgb, const std::vector<QRgb>& colours)
{
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(QList<QRgb>(colours.begin(), colours.end()));
    // Pixels look their colour up in a sorted copy; the run cache keeps this
    // off the hot path for flat areas.
    std::vector<std::pair<QRgb, uchar>> sorted;
    for (size_t i = 0; i < colours.size(); ++i)
        sorted.emplace_back(colours[i], uchar(i));
    std::sort(sorted.begin(), sorted.end());
    QRgb last = 0;
    uchar lastIndex = 0;
    bool haveLast = false;
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* target = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = line[x] | 0xff000000u;
            if (!haveLast || colour != last) {
                const auto it
                    = std::lower_bound(sorted.begin(), sorted.end(), std::make_pair(colour, uchar(0)));
                last = colour;
                lastIndex = it->second;
                haveLast = true;
            }
            target[x] = lastIndex;
        }
    }
    return out;
}

// A group of histogram cells: a range of the occupied-cell list.
struct Box {
    int begin = 0;
    int end = 0;
    uint64_t pixels = 0;
    int widestChannel = 0;
    int extent = 0; // of the widest channel, in cells

    uint64_t priority() const { return extent == 0 ? 0 : pixels * uint64_t(extent); }
};

class MedianCut {
public:
    MedianCut(const std::vector<Cell>& cells, std::vector<int> occupied)
        : cells_(cells)
        , occupied_(std::move(occupied))
    {
    }

    std::vector<Box> run(int maxBoxes)
    {
        std::vector<Box> boxes {measure(Box {0, int(occupied_.size())})};
        while (int(boxes.size()) < maxBoxes) {
            const auto next = std::max_element(boxes.begin(), boxes.end(),
                [](const Box& a, const Box& b) { return a.priority() < b.priority(); });
            if (next->priority() == 0)
                break;
            const Box parent = *next;
            const int middle = split(parent);
            *next = measure(Box {parent.begin, middle});
            boxes.push_back(measure(Box {middle, parent.end}));
        }
        return boxes;
    }

    const std::vector<int>& occupied() const { return occupied_; }

private:
    Box measure(Box box) const
    {
        int low[3] = {31, 31, 31};
        int high[3] = {0, 0, 0};
        box.pixels = 0;
        for (int i = box.begin; i < box.end; ++i) {
            const int cell = occupied_[i];
            box.pixels += cells_[cell].count;
            for (int c = 0; c < 3; ++c) {
                low[c] = std::min(low[c], cellChannel(cell, c));
                high[c] = std::max(high[c], cellChannel(cell, c));
            }
        }
        box.extent = -1;
        for (int c = 0; c < 3; ++c) {
            if (high[c] - low[c] > box.extent) {
                box.extent = high[c] - low[c];
                box.widestChannel = c;
            }
        }
        return box;
    }

    // Sorts the box's cells along its widest channel and answers the first
    // cell of the upper half: where the pixel count passes half, but never
    // an empty half (the box has at least two distinct cells on that channel).
    int split(const Box& box)
    {
        const int channel = box.widestChannel;
        std::sort(occupied_.begin() + box.begin, occupied_.begin() + box.end,
            [channel](int a, int b) { return cellChannel(a, channel) < cellChannel(b, channel); });
        uint64_t seen = 0;
        int middle = box.begin + 1;
        for (int i = box.begin; i < box.end - 1; ++i) {
            seen += cells_[occupied_[i]].count;
            middle = i + 1;
            if (2 * seen >= box.pixels)
                break;
        }
        // Keep cells of one channel value together so both halves shrink.
        const int value = cellChannel(occupied_[middle - 1], channel);
        while (middle < box.end && cellChannel(occupied_[middle], channel) == value)
            ++middle;
        if (middle == box.end) {
            middle = box.end - 1;
            while (middle > box.begin + 1
                && cellChannel(occupied_[middle - 1], channel) == cellChannel(occupied_[middle], channel))
                --middle;
        }
        return middle;
    }

    const std::vector<Cell>& cells_;
    std::vector<int> occupied_;
};

int distance2(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

QImage medianCutPalette(const QImage& rgb, int maxColours)
{
    std::vector<Cell> cells(CellCount);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            Cell& cell = cells[cellOf(line[x])];
            ++cell.count;
            cell.sum[0] += qRed(line[x]);
            cell.sum[1] += qGreen(line[x]);
            cell.sum[2] += qBlue(line[x]);
        }
    }
    std::vector<int> occupied;
    for (int i = 0; i < CellCount; ++i) {
        if (cells[i].count)
            occupied.push_back(i);
    }
    MedianCut cut(cells, std::move(occupied));
    const std::vector<Box> boxes = cut.run(maxColours);

    QList<QRgb> palette;
    for (const Box& box : boxes) {
        Cell total;
        for (int i = box.begin; i < box.end; ++i) {
            const Cell& cell = cells[cut.occupied()[i]];
            total.count += cell.count;
            for (int c = 0; c < 3; ++c)
                total.sum[c] += cell.sum[c];
        }
        palette.append(total.mean());
    }
    // Each occupied cell takes the entry nearest its own mean, which may lie
    // in a neighbouring box: better than the box it was cut into.
    std::vector<uchar> lookup(CellCount, 0);
    for (int cell : cut.occupied()) {
        const QRgb mean = cells[cell].mean();
        int best = 0;
        int bestDistance = distance2(mean, palette[0]);
        for (int i = 1; i < palette.size() && bestDistance > 0; ++i) {
            const int d = distance2(mean, palette[i]);
            if (d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        lookup[cell] = uchar(best);
    }
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(palette);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* target = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            target[x] = lookup[cellOf(line[x])];
    }
    return out;
}

} // namespace

QImage QuantizeToPalette(const QImage& image, int maxColours)
{
    if (image.isNull())
        return {};
    maxColours = std::clamp(maxColours, 1, 256);
    const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    const std::vector<QRgb> colours = distinctColours(rgb, maxColours);
    if (!colours.empty())
        return exactPalette(rgb, colours);
    return medianCutPalette(rgb, maxColours);
}
