#include "options/TypedAddress.h"

#include "common/FaxNumber.h"
#include "common/MailAddress.h"
#include "options/SendWay.h"

#include <utility>

namespace {

// The detail of a refusal: what was typed, or a word with its message name.
struct Detail {
    Detail(QString text = {}, QString key = {})
        : Text(std::move(text))
        , Key(std::move(key))
    {
    }
    QString Text;
    QString Key;
};

TAddressRefusal refusal(const char* key, const char* text, const QString& entry, const Detail& detail = {})
{
    return {QString::fromLatin1(key), QString::fromUtf8(text), entry, detail.Text, detail.Key};
}

Detail named(const char* key, const char* text)
{
    return {QString::fromUtf8(text), QString::fromLatin1(key)};
}

// A blank is invisible between brackets: it is named instead.
Detail shown(const QString& character)
{
    return character == u" " ? named("sBlankCharacter", "空格") : Detail(character);
}

TAddressRefusal mailRefusal(const QString& typed)
{
    const TMailAddressCheck check = CheckRecipients(typed);
    const QString& entry = check.Entry;
    switch (check.Problem) {
    case TMailAddressProblem::None:
        return {};
    case TMailAddressProblem::NoAt:
        return refusal("sMailNoAt", "“%1”不是电子邮件地址: 缺少 @ (例如 chen@example.com)。", entry);
    case TMailAddressProblem::SeveralAt:
        return refusal("sMailSeveralAt", "“%1”不是电子邮件地址: 只能有一个 @。", entry);
    case TMailAddressProblem::NoLocalPart:
        return refusal("sMailNoLocalPart", "“%1”不是电子邮件地址: @ 前面缺少用户名。", entry);
    case TMailAddressProblem::BadCharacter:
        return refusal("sMailBadChar", "“%1”不是电子邮件地址: 不能含有“%2”。", entry, shown(check.Character));
    case TMailAddressProblem::IncompleteDomain:
        return refusal("sMailNoDomain", "“%1”不是电子邮件地址: @ 后面的域名“%2”不完整 (例如 example.com)。",
            entry, check.Domain);
    case TMailAddressProblem::TooLong:
        return refusal("sMailTooLong", "“%1”不是电子邮件地址: 太长 (最多 254 个字符)。", entry);
    case TMailAddressProblem::Malformed:
        break;
    }
    return refusal("sMailMalformed", "“%1”不是电子邮件地址。", entry);
}

TAddressRefusal faxRefusal(const QString& typed)
{
    const TFaxNumberCheck check = CheckFaxNumber(typed);
    switch (check.Problem) {
    case TFaxNumberProblem::None:
    case TFaxNumberProblem::Empty:
        return {};
    case TFaxNumberProblem::BadCharacter:
        return refusal("sFaxBadChar", "“%1”不是传真号码: 不能含有“%2”, 只能用数字、空格和 + - ( ) . , # *。",
            typed, shown(check.Character));
    case TFaxNumberProblem::BadStart:
        return refusal("sFaxBadStart", "“%1”不是传真号码: 不能以“%2”开头。", typed, shown(check.Character));
    case TFaxNumberProblem::NoDigit:
        return refusal("sFaxNoDigit", "“%1”不是传真号码: 没有数字。", typed);
    case TFaxNumberProblem::TooLong:
        break;
    }
    return refusal("sFaxTooLong", "“%1”不是传真号码: 太长 (最多 64 个字符)。", typed);
}

} // namespace

QString TAddressRefusal::Message(const QString& text, const QString& detail) const
{
    // One pass over both markers, so a "%2" typed in the entry stays as typed.
    const QString base = text.isEmpty() ? Text : text;
    return base.contains(QLatin1String("%2")) ? base.arg(Entry, detail.isEmpty() ? Detail : detail)
                                              : base.arg(Entry);
}

TAddressRefusal CheckTypedAddress(int sendMode, const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    if (sendMode == SendModeEmail)
        return mailRefusal(text);
    if (sendMode == SendModeFax)
        return faxRefusal(text);
    return {};
}
