#include "runtime/report/QRBarcode.h"

#include <qrencode.h>

#include <QFontMetricsF>
#include <array>
#include <memory>

namespace {

// Code 39: narrow/wide pattern of the nine elements (bar first) of each
// character; wide elements are three modules, narrow one.
const QString code39Chars = QStringLiteral("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%*");
const char* const code39Patterns[] = {
    "nnnwwnwnn",
    "wnnwnnnnw",
    "nnwwnnnnw",
    "wnwwnnnnn",
    "nnnwwnnnw",
    "wnnwwnnnn",
    "nnwwwnnnn",
    "nnnwnnwnw",
    "wnnwnnwnn",
    "nnwwnnwnn",
    "wnnnnwnnw",
    "nnwnnwnnw",
    "wnwnnwnnn",
    "nnnnwwnnw",
    "wnnnwwnnn",
    "nnwnwwnnn",
    "nnnnnwwnw",
    "wnnnnwwnn",
    "nnwnnwwnn",
    "nnnnwwwnn",
    "wnnnnnnww",
    "nnwnnnnww",
    "wnwnnnnwn",
    "nnnnwnnww",
    "wnnnwnnwn",
    "nnwnwnnwn",
    "nnnnnnwww",
    "wnnnnnwwn",
    "nnwnnnwwn",
    "nnnnwnwwn",
    "wwnnnnnnw",
    "nwwnnnnnw",
    "wwwnnnnnn",
    "nwnnwnnnw",
    "wwnnwnnnn",
    "nwwnwnnnn",
    "nwnnnnwnw",
    "wwnnnnwnn",
    "nwwnnnwnn",
    "nwnwnwnnn",
    "nwnwnnnwn",
    "nwnnnwnwn",
    "nnnwnwnwn",
    "nwnnwnwnn",
};

// Code 128: element widths (bar, space, ...) of symbols 0-105 and the stop.
const char* const code128Patterns[] = {
    "212222",
    "222122",
    "222221",
    "121223",
    "121322",
    "131222",
    "122213",
    "122312",
    "132212",
    "221213",
    "221312",
    "231212",
    "112232",
    "122132",
    "122231",
    "113222",
    "123122",
    "123221",
    "223211",
    "221132",
    "221231",
    "213212",
    "223112",
    "312131",
    "311222",
    "321122",
    "321221",
    "312212",
    "322112",
    "322211",
    "212123",
    "212321",
    "232121",
    "111323",
    "131123",
    "131321",
    "112313",
    "132113",
    "132311",
    "211313",
    "231113",
    "231311",
    "112133",
    "112331",
    "132131",
    "113123",
    "113321",
    "133121",
    "313121",
    "211331",
    "231131",
    "213113",
    "213311",
    "213131",
    "311123",
    "311321",
    "331121",
    "312113",
    "312311",
    "332111",
    "314111",
    "221411",
    "431111",
    "111224",
    "111422",
    "121124",
    "121421",
    "141122",
    "141221",
    "112214",
    "112412",
    "122114",
    "122411",
    "142112",
    "142211",
    "241211",
    "221114",
    "413111",
    "241112",
    "134111",
    "111242",
    "121142",
    "121241",
    "114212",
    "124112",
    "124211",
    "411212",
    "421112",
    "421211",
    "212141",
    "214121",
    "412121",
    "111143",
    "111341",
    "131141",
    "114113",
    "114311",
    "411113",
    "411311",
    "113141",
    "114131",
    "311141",
    "411131",
    "211412",
    "211214",
    "211232",
    "2331112",
};
constexpr int code128StartB = 104;
constexpr int code128StartC = 105;
constexpr int code128Stop = 106;

// EAN-13: left-hand odd-parity (L) codes; G codes are R codes reversed, R
// codes are L codes inverted. The first digit chooses the L/G parity of the
// left half.
const char* const eanL[] = {"0001101", "0011001", "0010011", "0111101", "0100011", "0110001", "0101111",
    "0111011", "0110111", "0001011"};
const char* const eanParity[]
    = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG", "LGGLLG", "LGGGLG", "LGLGLG", "LGLGGL", "LGGLGL"};

void appendWidths(std::vector<std::uint8_t>& modules, const char* widths)
{
    bool bar = true;
    for (const char* w = widths; *w; ++w, bar = !bar)
        modules.insert(modules.end(), static_cast<size_t>(*w - '0'), bar ? 1 : 0);
}

void appendBits(std::vector<std::uint8_t>& modules, const QString& bits)
{
    for (QChar c : bits)
        modules.push_back(c == u'1' ? 1 : 0);
}

// Replaces what accept refuses through the handler; replacements that are
// themselves refused are dropped.
QString cleanText(
    const QString& text, const std::function<bool(QChar)>& accept, const TQRInvalidCharHandler& invalid)
{
    QString clean;
    for (QChar c : text) {
        if (accept(c)) {
            clean += c;
            continue;
        }
        if (!invalid)
            continue;
        for (QChar r : invalid(c))
            if (accept(r))
                clean += r;
    }
    return clean;
}

TQRBarcodeSymbol linear(std::vector<std::uint8_t> modules, const QString& text)
{
    TQRBarcodeSymbol symbol;
    symbol.Columns = static_cast<int>(modules.size());
    symbol.Rows = 1;
    symbol.Modules = std::move(modules);
    symbol.Text = text;
    return symbol;
}

TQRBarcodeSymbol code39(const QString& text, const TQRInvalidCharHandler& invalid)
{
    const QString clean = cleanText(
        text, [](QChar c) { return c != u'*' && code39Chars.contains(c); }, invalid);
    std::vector<std::uint8_t> modules;
    const QString framed = u'*' + clean + u'*';
    for (int i = 0; i < framed.size(); ++i) {
        if (i > 0)
            modules.push_back(0); // the narrow gap between characters
        const char* pattern = code39Patterns[code39Chars.indexOf(framed.at(i))];
        bool bar = true;
        for (const char* e = pattern; *e; ++e, bar = !bar)
            modules.insert(modules.end(), *e == 'w' ? 3 : 1, bar ? 1 : 0);
    }
    return linear(std::move(modules), clean);
}

TQRBarcodeSymbol code128(const QString& text, const TQRInvalidCharHandler& invalid)
{
    const QString clean = cleanText(
        text, [](QChar c) { return c.unicode() >= 32 && c.unicode() <= 126; }, invalid);
    std::vector<int> codes;
    const bool digits = clean.size() >= 4 && clean.size() % 2 == 0
        && std::all_of(
            clean.cbegin(), clean.cend(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
    if (digits) {
        codes.push_back(code128StartC);
        for (int i = 0; i < clean.size(); i += 2)
            codes.push_back(clean.mid(i, 2).toInt());
    } else {
        codes.push_back(code128StartB);
        for (QChar c : clean)
            codes.push_back(c.unicode() - 32);
    }
    // The check symbol: the start symbol plus each symbol times its position.
    int sum = codes.front();
    for (size_t i = 1; i < codes.size(); ++i)
        sum += codes[i] * static_cast<int>(i);
    codes.push_back(sum % 103);
    codes.push_back(code128Stop);
    std::vector<std::uint8_t> modules;
    for (int code : codes)
        appendWidths(modules, code128Patterns[code]);
    return linear(std::move(modules), clean);
}

int eanCheckDigit(const QString& twelve)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (twelve.at(i).unicode() - '0') * (i % 2 ? 3 : 1);
    return (10 - sum % 10) % 10;
}

TQRBarcodeSymbol ean13(const QString& text, const TQRInvalidCharHandler& invalid)
{
    QString clean = cleanText(
        text, [](QChar c) { return c >= u'0' && c <= u'9'; }, invalid);
    TQRBarcodeSymbol symbol;
    if (clean.size() != 12 && clean.size() != 13) {
        symbol.Error = QStringLiteral("EAN-13 needs 12 or 13 digits, not %1").arg(clean.size());
        return symbol;
    }
    const int check = eanCheckDigit(clean);
    if (clean.size() == 13 && clean.at(12).unicode() - '0' != check) {
        symbol.Error = QStringLiteral("EAN-13 check digit of %1 should be %2").arg(clean).arg(check);
        return symbol;
    }
    if (clean.size() == 12)
        clean += QChar(u'0' + check);
    std::vector<std::uint8_t> modules;
    appendBits(modules, QStringLiteral("101"));
    const char* parity = eanParity[clean.at(0).unicode() - '0'];
    for (int i = 1; i <= 6; ++i) {
        const QString l = QString::fromLatin1(eanL[clean.at(i).unicode() - '0']);
        if (parity[i - 1] == 'L') {
            appendBits(modules, l);
        } else {
            QString g; // G = L inverted and reversed
            for (int k = 6; k >= 0; --k)
                g += l.at(k) == u'1' ? u'0' : u'1';
            appendBits(modules, g);
        }
    }
    appendBits(modules, QStringLiteral("01010"));
    for (int i = 7; i <= 12; ++i) {
        QString r; // R = L inverted
        for (QChar c : QString::fromLatin1(eanL[clean.at(i).unicode() - '0']))
            r += c == u'1' ? u'0' : u'1';
        appendBits(modules, r);
    }
    appendBits(modules, QStringLiteral("101"));
    return linear(std::move(modules), clean);
}

TQRBarcodeSymbol qrCode(const QString& text)
{
    TQRBarcodeSymbol symbol;
    if (text.isEmpty()) {
        symbol.Error = QStringLiteral("QR code of an empty text");
        return symbol;
    }
    const QByteArray utf8 = text.toUtf8();
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(static_cast<int>(utf8.size()),
            reinterpret_cast<const unsigned char*>(utf8.constData()), 0, QR_ECLEVEL_M),
        &QRcode_free);
    if (!code) {
        symbol.Error = QStringLiteral("the text is too long for a QR code");
        return symbol;
    }
    symbol.Columns = code->width;
    symbol.Rows = code->width;
    symbol.Modules.resize(static_cast<size_t>(code->width) * static_cast<size_t>(code->width));
    for (size_t i = 0; i < symbol.Modules.size(); ++i)
        symbol.Modules[i] = code->data[i] & 1; // bit 0: dark module
    symbol.Text = text;
    return symbol;
}

} // namespace

TQRBarcodeSymbol EncodeBarcode(TQRBarcodeType type, const QString& text, const TQRInvalidCharHandler& invalid)
{
    switch (type) {
    case bcCode39:
        return code39(text, invalid);
    case bcCode128:
        return code128(text, invalid);
    case bcEAN13:
        return ean13(text, invalid);
    case bcQRCode:
        return qrCode(text);
    }
    return {};
}

ReportDBBarcode::ReportDBBarcode(TComponent* owner)
    : TQRPrintable(owner)
{
    SetBounds(0, 0, 150, 40);
}

TQRBarcodeSymbol ReportDBBarcode::Encode(const QString& text) const
{
    TQRInvalidCharHandler handler;
    if (onInvalidChar_.Assigned())
        handler = [this](QChar) {
            QString replacement;
            onInvalidChar_(const_cast<ReportDBBarcode*>(this), static_cast<int>(type_), replacement);
            return replacement;
        };
    return EncodeBarcode(type_, text, handler);
}

void ReportDBBarcode::BeginRun(TQRRunContext& context)
{
    TQRPrintable::BeginRun(context);
    TQRShapeStyle bars;
    bars.PenStyle = Qt::NoPen;
    bars.Filled = true;
    bars.BrushColor = 0xFF000000;
    barStyle_ = context.Pages->ShapeStyleIndex(bars);
    TQRTextStyle text;
    text.Family = Font()->Name();
    text.PointSize = std::abs(Font()->Height()) * 72.0 / 96.0;
    textStyle_ = context.Pages->TextStyleIndex(text);
}

void ReportDBBarcode::Print(TQRRunContext& context, QPoint origin)
{
    QRect box = PageBox(context, origin);
    PrintFrame(context, box);
    if (!FieldBound())
        return;
    const TQRBarcodeSymbol symbol = Encode(FieldText());
    if (!symbol.Valid())
        return;
    if (showText_ && symbol.Rows == 1) {
        const int textHeight
            = static_cast<int>(context.Pages->TextStyle(textStyle_).PointSize * 2540.0 / 72.0 * 1.2);
        const QRect textBox(box.x(), box.bottom() - textHeight, box.width(), textHeight);
        context.Pages->AddText(textBox, symbol.Text, textStyle_, TQRItem::AlignCenter | TQRItem::NoClip);
        box.setHeight(std::max(0, box.height() - textHeight));
    }
    // One rectangle per run of dark modules in a row keeps the page small.
    const double moduleWidth = static_cast<double>(box.width()) / symbol.Columns;
    const double moduleHeight = static_cast<double>(box.height()) / symbol.Rows;
    for (int row = 0; row < symbol.Rows; ++row)
        for (int column = 0; column < symbol.Columns;) {
            if (!symbol.Dark(column, row)) {
                ++column;
                continue;
            }
            int end = column;
            while (end < symbol.Columns && symbol.Dark(end, row))
                ++end;
            const int x0 = box.x() + static_cast<int>(column * moduleWidth);
            const int x1 = box.x() + static_cast<int>(end * moduleWidth);
            const int y0 = box.y() + static_cast<int>(row * moduleHeight);
            const int y1 = box.y() + static_cast<int>((row + 1) * moduleHeight);
            context.Pages->AddRect(QRect(x0, y0, x1 - x0, y1 - y0), barStyle_);
            column = end;
        }
}
