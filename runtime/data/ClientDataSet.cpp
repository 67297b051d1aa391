#include "runtime/data/ClientDataSet.h"

TClientDataSet::TClientDataSet(QObject* owner)
    : TDataSet(owner)
{
}

TClientDataSet::~TClientDataSet() = default;

void TClientDataSet::SetProviderName(const QString& name)
{
    if (name == providerName_)
        return;
    if (Active())
        error(QStringLiteral("Cannot change the provider of an open dataset"));
    providerName_ = name;
}

void TClientDataSet::SetRemoteServer(TSocketConnection* connection)
{
    if (connection == remoteServer_)
        return;
    if (Active())
        error(QStringLiteral("Cannot change the connection of an open dataset"));
    remoteServer_ = connection;
}

Variant TClientDataSet::DataRequest(const Variant& data)
{
    commandText_ = data.Deref().ToString();
    return Variant();
}

void TClientDataSet::SetPacketRecords(int count)
{
    // 0 would fetch nothing ever; the runtime's rule is -1 or a positive count.
    packetRecords_ = count > 0 ? count : -1;
}

QByteArray TClientDataSet::requestPacket(int count, const QString& request, int options)
{
    if (!remoteServer_)
        error(QStringLiteral("Missing remote server"));
    const Variant server = remoteServer_->GetServer();
    if (!server.IsObject())
        error(QStringLiteral("The application server is not available"));
    Variant recordsOut = 0;
    const Variant answer = server.Call(QStringLiteral("AS_GetRecords"),
        {Variant(providerName_), Variant(count), Variant::Ref(recordsOut), Variant(request),
            Variant(options)});
    if (!answer.IsBytes())
        error(QStringLiteral("Provider '%1' answered no data packet").arg(providerName_));
    return answer.ToBytes();
}

void TClientDataSet::openData(RecordStore& store)
{
    const Source source = std::exchange(source_, Source::Provider);
    morePending_ = false;
    if (source == Source::Definitions) {
        store.Reset(
            pendingPacket_.isEmpty() ? QList<FieldDescriptor> {} : DataPacketReader(pendingPacket_).Fields());
        pendingPacket_.clear();
        return;
    }
    QByteArray packet;
    if (source == Source::Packet) {
        packet = std::exchange(pendingPacket_, QByteArray());
    } else {
        if (providerName_.isEmpty())
            error(QStringLiteral("Missing data provider or data packet"));
        packet = requestPacket(packetRecords_, commandText_, GetRecordsReset);
    }
    DataPacketReader reader(packet);
    store.Reset(reader.Fields());
    const qint64 rows = store.AppendPacket(reader);
    if (source == Source::Provider)
        morePending_ = packetRecords_ > 0 && rows >= packetRecords_ && !reader.EndOfData();
}

bool TClientDataSet::fetchMore(RecordStore&)
{
    if (!morePending_ || !fetchOnDemand_)
        return false;
    return GetNextPacket() > 0;
}

int TClientDataSet::GetNextPacket()
{
    if (!Active() || !morePending_)
        return 0;
    morePending_ = false; // stays off when the request fails
    DataPacketReader reader(requestPacket(packetRecords_, QString(), 0));
    const qint64 rows = store().AppendPacket(reader);
    morePending_ = packetRecords_ > 0 && rows >= packetRecords_ && !reader.EndOfData();
    return static_cast<int>(rows);
}

void TClientDataSet::closeData()
{
    morePending_ = false;
}

void TClientDataSet::LoadFromPacket(const QByteArray& packet)
{
    Close();
    source_ = Source::Packet;
    pendingPacket_ = packet;
    try {
        Open();
    } catch (...) {
        source_ = Source::Provider;
        pendingPacket_.clear();
        throw;
    }
}

void TClientDataSet::CreateDataSet()
{
    QList<FieldDescriptor> defs = FieldDefs().Items();
    if (defs.isEmpty())
        for (int i = 0; i < Fields().Count(); ++i) {
            const TField* f = Fields()[i];
            defs.append(FieldDescriptor {f->FieldName(), f->DataType(), f->Size(), f->Required()});
        }
    if (defs.isEmpty())
        error(QStringLiteral("Field definitions are missing"));
    Close();
    source_ = Source::Definitions;
    pendingPacket_ = DataPacketWriter(defs).Finish(true); // checks the definitions
    try {
        Open();
    } catch (...) {
        source_ = Source::Provider;
        pendingPacket_.clear();
        throw;
    }
}

Variant TClientDataSet::Data() const
{
    if (!Active())
        return Variant();
    auto* self = const_cast<TClientDataSet*>(this);
    const RecordStore& cache = self->store();
    DataPacketWriter writer(cache.Fields());
    for (qint64 i = 0; i < cache.Count(); ++i) {
        const std::uint32_t slot = cache.SlotAt(i);
        for (int c = 0; c < cache.ColumnCount(); ++c)
            writer.WriteVariant(cache.Value(c, slot));
    }
    return Variant(writer.Finish(true));
}
