#include "common/forms/LangDocument.h"

#include "common/forms/LangXml.h"
#include "runtime/system/CodePages.h"
#include "runtime/system/NativePath.h"

#include <QFile>
#include <QRegularExpression>

namespace langdoc {

int DeclaredCodePage(const QByteArray& bytes)
{
    // The declaration is ASCII and comes first; look only at its head.
    const QByteArray head = bytes.left(256);
    int start = 0;
    while (start < head.size() && QChar::isSpace(uchar(head.at(start))))
        ++start;
    if (!head.mid(start).startsWith("<?xml"))
        return 0;
    const int end = static_cast<int>(head.indexOf("?>", start));
    if (end < 0)
        return 0;
    static const QRegularExpression encoding(QStringLiteral("encoding\\s*=\\s*[\"']([A-Za-z0-9._:-]*)[\"']"));
    const auto match = encoding.match(QString::fromLatin1(head.mid(start, end - start)));
    if (!match.hasMatch())
        return 0;
    const QString name = match.captured(1).toLower();
    if (name == u"utf-8" || name == u"utf8" || name == u"us-ascii" || name == u"ascii")
        return 65001;
    if (name == u"gb2312" || name == u"gbk" || name == u"cp936" || name == u"x-gbk" || name == u"euc-cn"
        || name == u"gb18030" || name == u"windows-936")
        return 936;
    if (name == u"big5" || name == u"big5-hkscs" || name == u"cp950" || name == u"x-big5"
        || name == u"windows-950")
        return 950;
    if (name == u"windows-1252" || name == u"iso-8859-1" || name == u"latin1" || name == u"cp1252")
        return 1252;
    return -1;
}

QString DecodeDocument(const QByteArray& bytes, int ansiCodePage)
{
    // A byte-order mark outranks the declaration, as XML wants.
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        return DecodeFileText(bytes, ansiCodePage);
    const int codePage = DeclaredCodePage(bytes);
    if (codePage < 0)
        throw LanguageControllerError(QStringLiteral("Line 1: unsupported encoding"));
    if (codePage == 0)
        return DecodeFileText(bytes, ansiCodePage);
    return DecodeText(bytes, codePage);
}

void ParseDocument(pugi::xml_document& document, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    const pugi::xml_parse_result result = document.load_buffer(
        utf8.constData(), static_cast<size_t>(utf8.size()), pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
        const qsizetype offset = std::clamp<qsizetype>(result.offset, 0, utf8.size());
        const int line = static_cast<int>(QByteArrayView(utf8.constData(), offset).count('\n')) + 1;
        document.reset();
        throw LanguageControllerError(
            QStringLiteral("Line %1: %2").arg(line).arg(QString::fromUtf8(result.description())));
    }
    if (!document.document_element()) {
        document.reset();
        throw LanguageControllerError(QStringLiteral("Line 1: no root element"));
    }
}

void LoadDocumentFile(pugi::xml_document& document, const QString& pathText, int ansiCodePage)
{
    QFile file(NativePath(pathText));
    if (!file.open(QIODevice::ReadOnly))
        throw LanguageControllerError(QStringLiteral("Cannot Find File %1!").arg(pathText));
    if (file.size() > MaxDocumentBytes)
        throw LanguageControllerError(QStringLiteral("Line 1: the file %1 is too large").arg(pathText));
    ParseDocument(document, DecodeDocument(file.readAll(), ansiCodePage));
}

bool IsSafeElementName(const QString& name)
{
    if (name.isEmpty() || name.size() > 256)
        return false;
    const QChar first = name.at(0);
    if (!(first.isLetter() || first == u'_'))
        return false;
    for (const QChar c : name)
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'-' || c == u'.'))
            return false;
    return true;
}

} // namespace langdoc
