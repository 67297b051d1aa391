// libHvlanguage.so: the suite's conversion library between Simplified Chinese
// ("GB") and Traditional Chinese ("Big5") texts.
//
// Texts cross the C boundary as NUL-terminated UTF-8. A result stays valid
// until the next call of the same entry point on the same thread, so callers
// copy it at once (as they copy any text a library hands them).

#include "runtime/system/ScriptConverter.h"

#include <string>

#define HV_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const char* convert(const char* text, QString (*direction)(const QString&), std::string& buffer) noexcept
{
    try {
        if (!text)
            text = "";
        buffer = direction(QString::fromUtf8(text)).toStdString();
    } catch (...) {
        buffer = text ? text : ""; // a converter that cannot load leaves the text as it is
    }
    return buffer.c_str();
}

} // namespace

// Simplified to traditional characters.
HV_EXPORT const char* GBtoBIG5(const char* text)
{
    thread_local std::string buffer;
    return convert(text, &SimplifiedToTraditional, buffer);
}

// Traditional to simplified characters.
HV_EXPORT const char* BIG5toGB(const char* text)
{
    thread_local std::string buffer;
    return convert(text, &TraditionalToSimplified, buffer);
}

// The whole text in traditional characters, as GBtoBIG5 gives it.
HV_EXPORT const char* GetBIG5Data(const char* text)
{
    return GBtoBIG5(text);
}

// The whole text in simplified characters, as BIG5toGB gives it.
HV_EXPORT const char* GetGBData(const char* text)
{
    return BIG5toGB(text);
}
