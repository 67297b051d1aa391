// Reading configuration files of hostile shapes: an INI file of many sections,
// a registry file with many sibling keys listed one by one, and one key nested
// deep. Prints milliseconds per case; each should grow with the file's size
// only, not with its square.

#include "runtime/system/IniFile.h"
#include "runtime/system/RegistryFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QString Write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return path;
}

template<typename Work> void Measure(const char* label, Work&& work)
{
    QElapsedTimer timer;
    timer.start();
    const long long check = work();
    std::printf("%-52s %9.1f ms  (check %lld)\n", label, timer.nsecsElapsed() / 1e6, check);
}

} // namespace

int main()
{
    QTemporaryDir dir;
    for (const int sections : {8000, 32000}) {
        QByteArray ini;
        for (int i = 0; i < sections; ++i)
            ini += "[Section" + QByteArray::number(i) + "]\nKey=" + QByteArray::number(i) + "\n";
        const QString file = Write(dir, "many.ini", ini);
        const QByteArray label = "INI " + QByteArray::number(sections) + " sections: read, look up each";
        Measure(label.constData(), [&] {
            const TIniFile reader(file);
            long long sum = 0;
            for (int i = 0; i < sections; ++i)
                sum += reader.ReadInteger(QStringLiteral("SECTION%1").arg(i), QStringLiteral("key"), 0);
            return sum;
        });
    }
    for (const int keys : {1000, 4000}) {
        QByteArray reg = "Windows Registry Editor Version 5.00\n";
        for (int i = 0; i < keys; ++i)
            reg += "[HKEY_LOCAL_MACHINE\\Software\\HVN\\K" + QByteArray::number(i) + "]\n\"V\"=\"x\"\n";
        const QString file = Write(dir, "keys.reg", reg);
        const QByteArray label = "registry " + QByteArray::number(keys) + " keys: list sub-keys of each";
        Measure(label.constData(), [&] {
            TRegistry registry(file);
            long long total = 0;
            for (int i = 0; i < keys; ++i) {
                if (registry.OpenKeyReadOnly(QStringLiteral("\\Software\\HVN\\K%1").arg(i)))
                    total += registry.GetKeyNames().size() + 1;
            }
            return total;
        });
    }
    for (const int depth : {500, 16000}) {
        QByteArray reg = "REGEDIT4\n[HKEY_LOCAL_MACHINE";
        for (int i = 0; i < depth; ++i)
            reg += "\\K";
        reg += "]\n";
        const QString file = Write(dir, "deep.reg", reg);
        const QByteArray label = "registry one key " + QByteArray::number(depth) + " levels deep: read";
        Measure(label.constData(), [&] {
            TRegistry registry(file);
            return static_cast<long long>(registry.KeyExists(QStringLiteral("\\K")));
        });
    }
    return 0;
}
