// Feeds arbitrary bytes to the INI file reader and reads back every section
// and key it found, by listing and by name. Any input must read as some
// sections and values (or none), never as a crash or a hang.

#include "../FuzzFile.h"
#include "runtime/system/IniFile.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const TIniFile ini(fuzzfile::Write("input.ini", data, size));
    QStringList sections;
    ini.ReadSections(sections);
    int reads = 0;
    for (const QString& section : std::as_const(sections)) {
        if (!ini.SectionExists(section))
            std::abort(); // a listed section must be found by its name
        QStringList keys;
        ini.ReadSection(section, keys);
        QStringList lines;
        ini.ReadSectionValues(section, lines);
        if (lines.size() != keys.size())
            std::abort();
        for (const QString& key : std::as_const(keys)) {
            if (++reads > 20000)
                return 0;
            (void)ini.ReadString(section, key, QString());
            (void)ini.ReadInteger(section, key, 0);
            (void)ini.ReadBool(section, key, false);
        }
    }
    return 0;
}
