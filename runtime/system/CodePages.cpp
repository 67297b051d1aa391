#include "runtime/system/CodePages.h"

#include "runtime/system/Exceptions.h"

#include <QtEndian>

#include <cerrno>
#include <iconv.h>
#include <unordered_map>

namespace {

constexpr int kUtf8 = 65001;

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr const char* kUtf16 = "UTF-16LE";
#else
constexpr const char* kUtf16 = "UTF-16BE";
#endif

const char* CharsetOf(int codePage)
{
    switch (codePage) {
    case 936:
        return "CP936";
    case 950:
        return "CP950";
    case 437:
        return "CP437";
    case 1252:
        return "CP1252";
    default:
        return nullptr;
    }
}

[[noreturn]] void RaiseUnsupported(int codePage)
{
    throw EConvertError(QStringLiteral("Code page %1 is not supported").arg(codePage));
}

const char* CharsetOrRaise(int codePage)
{
    const char* charset = CharsetOf(codePage);
    if (!charset)
        RaiseUnsupported(codePage);
    return charset;
}

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// The descriptors of one thread, opened on first use and kept: counting bytes
// is frequent and opening a descriptor costs far more than a conversion.
// iconv descriptors carry state, hence one set per thread.
class ThreadConverters {
public:
    ThreadConverters() = default;
    ThreadConverters(const ThreadConverters&) = delete;
    ThreadConverters& operator=(const ThreadConverters&) = delete;
    ~ThreadConverters()
    {
        for (auto& [key, cd] : open_)
            iconv_close(cd);
    }

    // toCodePage: UTF-16 to the code page, else the code page to UTF-16.
    iconv_t Get(int codePage, bool toCodePage)
    {
        const int key = toCodePage ? codePage : -codePage;
        const auto found = open_.find(key);
        if (found != open_.end()) {
            iconv(found->second, nullptr, nullptr, nullptr, nullptr); // reset shift state
            return found->second;
        }
        const char* charset = CharsetOrRaise(codePage);
        const iconv_t cd = toCodePage ? iconv_open(charset, kUtf16) : iconv_open(kUtf16, charset);
        if (cd == kNoConverter)
            throw EConvertError(QStringLiteral("Code page %1 is not available on this system").arg(codePage));
        open_.emplace(key, cd);
        return cd;
    }

private:
    std::unordered_map<int, iconv_t> open_;
};

iconv_t Converter(int codePage, bool toCodePage)
{
    thread_local ThreadConverters converters;
    return converters.Get(codePage, toCodePage);
}

bool IsAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Runs text through the encoder, handing each produced block of bytes to sink;
// unencodable characters reach the sink as "?".
template<typename Sink> void Encode(const QString& text, int codePage, Sink&& sink)
{
    const iconv_t cd = Converter(codePage, true);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(text.utf16()));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char buffer[1024];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        sink(buffer, static_cast<size_t>(out - buffer));
        if (done != static_cast<size_t>(-1) || error == E2BIG)
            continue;
        if (error != EILSEQ && error != EINVAL) {
            sink("?", 1);
            break;
        }
        // Skip one character: two UTF-16 units for a valid surrogate pair, else one.
        const char16_t* unit = reinterpret_cast<const char16_t*>(in);
        size_t skip = 2;
        if (inLeft >= 4 && QChar::isHighSurrogate(unit[0]) && QChar::isLowSurrogate(unit[1]))
            skip = 4;
        sink("?", 1);
        in += std::min(skip, inLeft);
        inLeft -= std::min(skip, inLeft);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Flush a final shift sequence (none of our code pages has one; harmless).
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    sink(buffer, static_cast<size_t>(out - buffer));
}

int Utf8Length(const QString& text)
{
    int length = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            length += 1;
        else if (c < 0x800)
            length += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(text[i + 1].unicode())) {
            length += 4;
            ++i;
        } else
            length += 3; // lone surrogates become U+FFFD, three bytes
    }
    return length;
}

} // namespace

bool IsSupportedCodePage(int codePage)
{
    return codePage == kUtf8 || CharsetOf(codePage) != nullptr;
}

QByteArray EncodeText(const QString& text, int codePage)
{
    if (codePage == kUtf8)
        return text.toUtf8();
    CharsetOrRaise(codePage);
    if (IsAscii(text))
        return text.toLatin1();
    QByteArray result;
    result.reserve(text.size() * 2);
    Encode(text, codePage, [&](const char* bytes, size_t count) { result.append(bytes, qsizetype(count)); });
    return result;
}

int ByteLength(const QString& text, int codePage)
{
    if (codePage == kUtf8)
        return Utf8Length(text);
    CharsetOrRaise(codePage);
    if (IsAscii(text))
        return static_cast<int>(text.size());
    size_t length = 0;
    Encode(text, codePage, [&](const char*, size_t count) { length += count; });
    return static_cast<int>(length);
}

QString DecodeText(const QByteArray& bytes, int codePage)
{
    if (codePage == kUtf8)
        return QString::fromUtf8(bytes);
    const iconv_t cd = Converter(codePage, false);
    QString result;
    result.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char16_t buffer[512];
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        result.append(QStringView(buffer, (reinterpret_cast<char16_t*>(out) - buffer)));
        if (done != static_cast<size_t>(-1) || error == E2BIG)
            continue;
        result.append(QChar(QChar::ReplacementCharacter));
        if (error == EILSEQ) {
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            continue;
        }
        break; // EINVAL: a sequence cut short by the end of the data
    }
    return result;
}

bool IsValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int trail;
        char32_t code;
        char32_t minimum;
        if ((lead & 0xE0) == 0xC0) {
            trail = 1, code = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            trail = 2, code = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            trail = 3, code = lead & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (end - p <= trail)
            return false;
        for (int i = 1; i <= trail; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        p += trail + 1;
    }
    return true;
}

QString DecodeFileText(const QByteArray& bytes, int ansiCodePage)
{
    if (bytes.startsWith("\xFF\xFE"))
        return QString::fromUtf16(
            reinterpret_cast<const char16_t*>(bytes.constData() + 2), (bytes.size() - 2) / 2);
    if (bytes.startsWith("\xFE\xFF")) {
        QString text((bytes.size() - 2) / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(qFromBigEndian<quint16>(bytes.constData() + 2 + 2 * i));
        return text;
    }
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    if (!IsSupportedCodePage(ansiCodePage))
        return QString::fromLatin1(bytes);
    return DecodeText(bytes, ansiCodePage);
}
