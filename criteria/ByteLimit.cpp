#include "criteria/ByteLimit.h"

#include "runtime/forms/StdCtrls.h"
#include "runtime/system/CodePages.h"

#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace {

class ByteLimitValidator : public QValidator {
public:
    ByteLimitValidator(int maxBytes, int codePage, QObject* parent)
        : QValidator(parent)
        , maxBytes_(maxBytes)
        , codePage_(codePage)
    {
    }

    State validate(QString& input, int& pos) const override
    {
        // What came last stands before the caret: it goes first, a whole
        // character (both halves of a surrogate pair) at a time.
        while (pos > 0 && pos <= input.size() && tooLong(input)) {
            const int width
                = pos > 1 && input.at(pos - 1).isLowSurrogate() && input.at(pos - 2).isHighSurrogate() ? 2
                                                                                                       : 1;
            input.remove(pos - width, width);
            pos -= width;
        }
        while (!input.isEmpty() && tooLong(input))
            input.chop(input.size() > 1 && input.back().isLowSurrogate() ? 2 : 1);
        pos = std::min(pos, static_cast<int>(input.size()));
        return Acceptable;
    }

private:
    bool tooLong(const QString& text) const { return ByteLength(text, codePage_) > maxBytes_; }

    int maxBytes_;
    int codePage_;
};

} // namespace

void LimitEditBytes(TEdit* edit, int maxBytes, int codePage)
{
    auto* line = edit ? qobject_cast<QLineEdit*>(edit->Widget()) : nullptr;
    if (!line)
        return;
    line->setValidator(new ByteLimitValidator(maxBytes, codePage, line));
}
