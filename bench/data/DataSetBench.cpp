// Report-sized data: a packet of 800,000 change-slip lines of 50 columns is
// built as a provider would, read into a client data set and walked. Prints
// rows a second for each stage and the bytes a row takes. Then rows as wide
// as the change-slip query's (317 fields, mostly text, mostly null) arrive in
// packets of 5,000 and are read as a report and a search read them.
//
//   bench_data [rows] [packet rows] [wide rows]

#include "runtime/data/ClientDataSet.h"
#include "runtime/data/RecordStore.h"

#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

constexpr int kStrings = 18, kDates = 8, kNames = 6, kFloats = 12, kIntegers = 6; // 50 columns

struct Rng {
    quint64 s = 0x9E3779B97F4A7C15ULL;
    quint32 next()
    {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return static_cast<quint32>(s);
    }
};

QList<FieldDescriptor> columns()
{
    QList<FieldDescriptor> f;
    for (int i = 0; i < kStrings; ++i)
        f.append({QStringLiteral("TO%1").arg(i + 1, 3, 10, QLatin1Char('0')), ftString, 20, false});
    for (int i = 0; i < kDates; ++i)
        f.append({QStringLiteral("TO1%1").arg(i + 1, 2, 10, QLatin1Char('0')), ftString, 8, false});
    for (int i = 0; i < kNames; ++i)
        f.append({QStringLiteral("NAME%1").arg(i + 1), ftString, 40, false});
    for (int i = 0; i < kFloats; ++i)
        f.append({QStringLiteral("TP%1").arg(i + 1, 3, 10, QLatin1Char('0')), ftFloat, 0, false});
    for (int i = 0; i < kIntegers; ++i)
        f.append({QStringLiteral("TP1%1").arg(i + 1, 2, 10, QLatin1Char('0')), ftInteger, 0, false});
    return f;
}

// Rows as a database cursor would give them; texts already UTF-8.
class Writer {
public:
    explicit Writer(const QList<FieldDescriptor>& fields)
        : w_(fields)
    {
        const QStringList names = {"成品仓库", "工单变更", "华东区事业部", "精密零件", "Steel plate",
            "电子料", "外包加工厂", "包装材料"};
        for (const auto& n : names)
            names_.append(n.toUtf8());
    }
    QByteArray packet(int rows, int& serial)
    {
        char code[24];
        for (int r = 0; r < rows; ++r, ++serial) {
            for (int i = 0; i < kStrings; ++i) {
                const int n = std::snprintf(code, sizeof code, i == 0 ? "5101" : "%c%09u", 'A' + i,
                    (i == 1 ? serial : rng_.next() % 100000u));
                w_.WriteUtf8(QByteArrayView(code, n));
            }
            for (int i = 0; i < kDates; ++i) {
                if (rng_.next() % 10 == 0) { // some dates are not given
                    w_.WriteNull();
                    continue;
                }
                const int n = std::snprintf(code, sizeof code, "20%02u%02u%02u", 10 + rng_.next() % 15,
                    1 + rng_.next() % 12, 1 + rng_.next() % 28);
                w_.WriteUtf8(QByteArrayView(code, n));
            }
            for (int i = 0; i < kNames; ++i)
                w_.WriteUtf8(names_[static_cast<qsizetype>(rng_.next() % names_.size())]);
            for (int i = 0; i < kFloats; ++i)
                w_.WriteFloat((rng_.next() % 10000000) / 100.0);
            for (int i = 0; i < kIntegers; ++i)
                w_.WriteInteger(static_cast<qint64>(rng_.next() % 5000));
        }
        return w_.Finish();
    }

private:
    DataPacketWriter w_;
    QList<QByteArray> names_;
    Rng rng_;
};

double rate(qint64 rows, qint64 ns)
{
    return ns > 0 ? rows * 1e9 / static_cast<double>(ns) : 0;
}

// Processor time of this thread: the machine is shared, so wall time alone
// says more about the neighbours than about the code.
qint64 cpuNs()
{
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

// Resident bytes of the process.
qint64 residentBytes()
{
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return static_cast<qint64>(resident) * 4096;
}

long minorFaults()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_minflt;
}

// Wall and processor time and page faults of one stage.
struct Stage {
    QElapsedTimer wall;
    qint64 cpu0 = 0;
    long faults0 = 0;
    qint64 wallNs = 0, cpuNs = 0;
    long faults = 0;
    void start()
    {
        wall.start();
        cpu0 = ::cpuNs();
        faults0 = minorFaults();
    }
    void stop()
    {
        wallNs = wall.nsecsElapsed();
        cpuNs = ::cpuNs() - cpu0;
        faults = minorFaults() - faults0;
    }
    void print(const char* name, qint64 rows, const char* extra = "") const
    {
        std::printf("%-22s %8.0f ms wall %10.0f rows/s | %8.0f ms cpu %10.0f rows/s | %7ld faults  %s\n",
            name, wallNs / 1e6, rate(rows, wallNs), cpuNs / 1e6, rate(rows, cpuNs), faults, extra);
    }
};

// Wide rows: 317 fields, 280 of them text; three in four cells null.
constexpr int kWideFields = 317;

QList<FieldDescriptor> wideColumns()
{
    QList<FieldDescriptor> f;
    for (int i = 0; i < kWideFields; ++i) {
        const TFieldType type = i % 10 == 3 ? ftFloat : i % 20 == 7 ? ftInteger : ftString;
        f.append(
            {QStringLiteral("W%1").arg(i, 3, 10, QLatin1Char('0')), type, type == ftString ? 30 : 0, false});
    }
    return f;
}

QByteArray widePacket(DataPacketWriter& w, Rng& rng, int rows, int& serial)
{
    char text[40];
    for (int r = 0; r < rows; ++r, ++serial)
        for (int i = 0; i < kWideFields; ++i) {
            if (i > 1 && rng.next() % 4 != 0) {
                w.WriteNull();
                continue;
            }
            switch (w.Fields()[i].Type) {
            case ftFloat:
                w.WriteFloat((rng.next() % 1000000) / 100.0);
                break;
            case ftInteger:
                w.WriteInteger(rng.next() % 100000);
                break;
            default: {
                const int n = i == 1 ? std::snprintf(text, sizeof text, "%09d", serial)
                                     : std::snprintf(text, sizeof text, "工单%u", rng.next() % 100000u);
                w.WriteUtf8(QByteArrayView(text, n));
                break;
            }
            }
        }
    return w.Finish();
}

// Hands out packets made before, as a provider with its rows at hand.
class PacketServer : public TAutoObject {
public:
    explicit PacketServer(QList<QByteArray> packets)
        : TAutoObject("BenchW.Class1")
        , packets_(std::move(packets))
    {
        AddMethod("AS_GetRecords", [this](VariantList& args) {
            if (Arg(args, 4).ToInt() & GetRecordsReset)
                next_ = 0;
            return Variant(packets_[std::min<qsizetype>(next_++, packets_.size() - 1)]);
        });
    }

private:
    QList<QByteArray> packets_;
    qsizetype next_ = 0;
};

void wideBench(int rows)
{
    constexpr int perPacket = 5000;
    const QList<FieldDescriptor> fields = wideColumns();
    DataPacketWriter w(fields);
    Rng rng;
    QList<QByteArray> packets;
    qint64 packetBytes = 0;
    int serial = 0;
    while (serial < rows) {
        packets.append(widePacket(w, rng, std::min(perPacket, rows - serial), serial));
        packetBytes += packets.back().size();
    }
    if (rows % perPacket == 0) // the provider's answer after the last full packet
        packets.append(widePacket(w, rng, 0, serial));
    std::printf("wide rows %d, columns %d, %.1f bytes/row in %lld packets\n", rows, kWideFields,
        static_cast<double>(packetBytes) / rows, static_cast<long long>(packets.size()));

    Stage st;
    char extra[160];
    TSocketConnection connection;
    connection.SetAppServer(Variant(std::make_shared<PacketServer>(packets)));
    packets.clear(); // the server holds them, as one sending them would
    TClientDataSet cds;
    cds.SetRemoteServer(&connection);
    cds.SetProviderName("Provider1");
    cds.SetPacketRecords(perPacket);
    const qint64 resident0 = residentBytes();
    st.start();
    cds.Open();
    cds.Last();
    st.stop();
    std::snprintf(extra, sizeof extra, "%.1f bytes/row cached, %.1f resident",
        static_cast<double>(cds.CacheBytes()) / rows,
        static_cast<double>(residentBytes() - resident0) / rows);
    st.print("wide: load in packets", cds.RecordCount(), extra);

    // A report: 60 fields of each record, spread over the row, as text.
    QList<TField*> some;
    for (int i = 0; i < kWideFields; i += 5)
        some.append(cds.Fields()[i]);
    qint64 chars = 0;
    st.start();
    for (cds.First(); !cds.Eof(); cds.Next())
        for (TField* f : some)
            chars += f->AsString().size();
    st.stop();
    st.print("wide: walk, 64 fields", rows);

    // A search by the first and by the last field: one cell of every record.
    st.start();
    const bool first = cds.Locate("W001", QStringLiteral("%1").arg(rows - 1, 9, 10, QLatin1Char('0')), {});
    st.stop();
    st.print("wide: Locate, field 2", rows, first ? "found" : "NOT FOUND");
    st.start();
    const bool last = cds.Locate("W316", "no such text", {});
    st.stop();
    st.print("wide: Locate, field 317", rows, last ? "found" : "not found, as it should");

    // Records added and edited through the data set: every field of a new
    // record set, then three fields of existing ones changed.
    constexpr int edits = 2000;
    st.start();
    for (int i = 0; i < edits; ++i) {
        cds.Append();
        for (int c = 0; c < kWideFields; ++c)
            if (c % 10 != 3 && c % 20 != 7)
                cds.Fields()[c]->SetAsString(QStringLiteral("新%1").arg(i));
        cds.Post();
    }
    st.stop();
    st.print("wide: Append+Post", edits, "280 text fields set");
    st.start();
    cds.First();
    for (int i = 0; i < edits; ++i, cds.Next()) {
        cds.Edit();
        for (int c : {2, 150, 316})
            cds.Fields()[c]->SetAsString(QStringLiteral("改%1").arg(i));
        cds.Post();
    }
    st.stop();
    st.print("wide: Edit+Post", edits, "3 text fields changed");

    // Two records compared field by field in turn, as a sort compares them.
    RecordStore store;
    store.Reset(fields);
    for (int i = 0, s = 0; i < 20; ++i) {
        DataPacketReader reader(widePacket(w, rng, perPacket, s));
        store.AppendPacket(reader);
    }
    const qint64 n = store.Count();
    qint64 differ = 0;
    st.start();
    for (qint64 i = 0; i + 1 < n; ++i) {
        const std::uint32_t a = store.SlotAt(i), b = store.SlotAt(i + 1);
        for (int c = 0; c < kWideFields; ++c)
            differ += store.IsNull(c, a) != store.IsNull(c, b)
                || (w.Fields()[c].Type == ftString && store.Bytes(c, a) != store.Bytes(c, b));
    }
    st.stop();
    std::snprintf(extra, sizeof extra, "pairs of records, every field of both (%lld differ)",
        static_cast<long long>(differ));
    st.print("wide: alternate reads", n - 1, extra);
    if (chars == 0)
        std::printf("no text read\n");
}

} // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 800000;
    const int packetRows = argc > 2 ? std::atoi(argv[2]) : 5000;
    const int wideRows = argc > 3 ? std::atoi(argv[3]) : 200000;
    const QList<FieldDescriptor> fields = columns();
    Stage st;
    char extra[128];
    std::printf("rows %d, columns %lld\n", rows, static_cast<long long>(fields.size()));

    // 1. One packet of every row, as the report's provider sends with PacketRecords -1.
    Writer writer(fields);
    int serial = 0;
    st.start();
    const QByteArray packet = writer.packet(rows, serial);
    st.stop();
    std::snprintf(
        extra, sizeof extra, "%.1f bytes/row in the packet", static_cast<double>(packet.size()) / rows);
    st.print("generate+write packet", rows, extra);

    // 2. Read it into a client data set.
    TClientDataSet cds;
    const qint64 resident0 = residentBytes();
    st.start();
    cds.LoadFromPacket(packet);
    st.stop();
    const qint64 loadWall = st.wallNs, loadCpu = st.cpuNs;
    std::snprintf(extra, sizeof extra, "%.1f bytes/row cached (%.1f resident)",
        static_cast<double>(cds.CacheBytes()) / rows,
        static_cast<double>(residentBytes() - resident0) / rows);
    st.print("load into data set", rows, extra);

    // 3a. Walk it reading every field by its type (texts as QString, numbers as numbers).
    QList<TField*> all;
    for (int i = 0; i < cds.FieldCount(); ++i)
        all.append(cds.Fields()[i]);
    qint64 chars = 0;
    double sum = 0;
    st.start();
    for (cds.First(); !cds.Eof(); cds.Next()) {
        for (TField* f : all) {
            if (f->DataType() == ftString)
                chars += f->AsString().size();
            else
                sum += f->AsFloat();
        }
    }
    st.stop();
    st.print("walk, 50 typed reads", rows);
    std::printf("%-22s %8.0f ms wall %10.0f rows/s | %8.0f ms cpu %10.0f rows/s\n", "load + typed walk",
        (loadWall + st.wallNs) / 1e6, rate(rows, loadWall + st.wallNs), (loadCpu + st.cpuNs) / 1e6,
        rate(rows, loadCpu + st.cpuNs));

    // 3b. Every field as display text, numbers formatted, as a report prints them.
    st.start();
    for (cds.First(); !cds.Eof(); cds.Next())
        for (TField* f : all)
            chars += f->DisplayText().size();
    st.stop();
    st.print("walk, 50 DisplayText", rows);

    // 4. The same rows fetched on demand in packets through an in-process server.
    class Server : public TAutoObject {
    public:
        Server(const QList<FieldDescriptor>& f, int total)
            : TAutoObject("BenchS.Class1")
            , writer_(f)
            , total_(total)
        {
            AddMethod("AS_GetRecords", [this](VariantList& args) {
                const int count = Arg(args, 1).ToInt();
                const int n = std::min(count < 0 ? total_ : count, total_ - serial_);
                return Variant(writer_.packet(n, serial_));
            });
        }

    private:
        Writer writer_;
        int total_;
        int serial_ = 0;
    };
    TSocketConnection connection;
    connection.SetAppServer(Variant(std::make_shared<Server>(fields, rows)));
    TClientDataSet streamed;
    streamed.SetRemoteServer(&connection);
    streamed.SetProviderName("Provider1");
    streamed.SetPacketRecords(packetRows);
    st.start();
    streamed.Open();
    TField* key = streamed.FieldByName("TO002");
    for (; !streamed.Eof(); streamed.Next())
        chars += key->AsString().size();
    st.stop();
    std::snprintf(extra, sizeof extra, "packets of %d, server writing included", packetRows);
    st.print("stream and walk", streamed.RecordCount(), extra);
    streamed.Close();
    cds.Close();

    if (wideRows > 0)
        wideBench(wideRows);
    return chars > 0 && sum > 0 ? 0 : 1;
}
