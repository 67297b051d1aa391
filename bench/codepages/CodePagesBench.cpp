// Throughput of the code-page conversions: byte counting is called for every
// name a user types, so it must stay cheap. Prints nanoseconds per call.

#include "runtime/system/CodePages.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

namespace {

template<typename Work> void Measure(const char* label, int iterations, Work&& work)
{
    long long sink = 0;
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < iterations; ++i)
        sink += work();
    const double nanoseconds = double(timer.nsecsElapsed()) / iterations;
    std::printf("%-44s %10.1f ns/call  (checksum %lld)\n", label, nanoseconds, sink);
}

} // namespace

int main()
{
    const QString ascii = QStringLiteral("Scheme 2024-07 final");
    const QString chinese = QStringLiteral("工单变更单打印方案一");
    const QString mixed = QStringLiteral("ZORV52 工单 No.12 预览");
    const QString longText = chinese.repeated(100);
    constexpr int n = 200000;

    Measure("ByteLength ascii 20 chars, 936", n, [&] { return ByteLength(ascii, 936); });
    Measure("ByteLength chinese 10 chars, 936", n, [&] { return ByteLength(chinese, 936); });
    Measure("ByteLength mixed 20 chars, 950", n, [&] { return ByteLength(mixed, 950); });
    Measure("ByteLength chinese 10 chars, 65001", n, [&] { return ByteLength(chinese, 65001); });
    Measure("ByteLength chinese 1000 chars, 936", n / 20, [&] { return ByteLength(longText, 936); });
    Measure("EncodeText chinese 10 chars, 936", n, [&] { return int(EncodeText(chinese, 936).size()); });
    const QByteArray gbk = EncodeText(chinese, 936);
    Measure("DecodeText chinese 20 bytes, 936", n, [&] { return int(DecodeText(gbk, 936).size()); });
    return 0;
}
