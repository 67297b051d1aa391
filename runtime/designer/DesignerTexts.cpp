#include "runtime/designer/DesignerTexts.h"

namespace {

TDesignerTranslator& translator()
{
    static TDesignerTranslator current;
    return current;
}

} // namespace

void SetDesignerTranslator(TDesignerTranslator value)
{
    translator() = std::move(value);
}

QString DesignerText(const char* name, const char* text)
{
    const QString builtIn = QString::fromUtf8(text);
    if (!translator())
        return builtIn;
    const QString translated = translator()(QString::fromLatin1(name), builtIn);
    return translated.isEmpty() ? builtIn : translated;
}
