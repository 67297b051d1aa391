#pragma once
// TClientDataSet: a data set whose records come from a provider of the
// application server (ProviderName over RemoteServer), from a data packet
// (LoadFromPacket, SetData) or from field definitions (CreateDataSet), and
// are then browsed and edited in the local cache.
//
// With PacketRecords -1 Open fetches every row at once; with a positive
// number it fetches that many and the next packet each time the cursor runs
// past the last row fetched (Last, Locate and Append fetch the rest).
// The query text goes to the provider as the data request with the first
// packet of every Open (see DataPacket.h for the exchange).

#include "runtime/data/DataSet.h"
#include "runtime/data/SocketConnection.h"

#include <QPointer>

class TClientDataSet : public TDataSet {
    Q_OBJECT
    Q_PROPERTY(QString ProviderName READ ProviderName WRITE SetProviderName)
    Q_PROPERTY(QString CommandText READ CommandText WRITE SetCommandText)
    Q_PROPERTY(int PacketRecords READ PacketRecords WRITE SetPacketRecords)
    Q_PROPERTY(bool FetchOnDemand READ FetchOnDemand WRITE SetFetchOnDemand)
    Q_PROPERTY(TSocketConnection* RemoteServer READ RemoteServer WRITE SetRemoteServer)

public:
    explicit TClientDataSet(QObject* owner = nullptr);
    ~TClientDataSet() override;

    const QString& ProviderName() const { return providerName_; }
    void SetProviderName(const QString& name);
    TSocketConnection* RemoteServer() const { return remoteServer_; }
    void SetRemoteServer(TSocketConnection* connection);
    // Query text sent to the provider with the first packet of each Open.
    const QString& CommandText() const { return commandText_; }
    void SetCommandText(const QString& text) { commandText_ = text; }
    // Sets the data request of the next Open (the query text) and answers
    // Unassigned; the provider receives it with the first packet.
    Variant DataRequest(const Variant& data);
    int PacketRecords() const { return packetRecords_; }
    void SetPacketRecords(int count);
    bool FetchOnDemand() const { return fetchOnDemand_; }
    void SetFetchOnDemand(bool on) { fetchOnDemand_ = on; }

    // Fetches the next packet; answers the rows received (0 at the end).
    int GetNextPacket();
    // True while the provider may still have rows for this data set.
    bool MorePending() const { return morePending_; }

    // Replaces the content by the packet and opens the data set over it.
    void LoadFromPacket(const QByteArray& packet);
    // The cached records as a packet (Bytes); Unassigned when closed.
    Variant Data() const;
    void SetData(const Variant& packet) { LoadFromPacket(packet.ToBytes()); }
    // Opens an empty data set of the field definitions (or, without any, of
    // the persistent fields).
    void CreateDataSet();

protected:
    void openData(RecordStore& store) override;
    bool fetchMore(RecordStore& store) override;
    void closeData() override;
    void discardPending() override { morePending_ = false; }

private:
    QByteArray requestPacket(int count, const QString& request, int options);

    QString providerName_;
    QPointer<TSocketConnection> remoteServer_;
    QString commandText_;
    int packetRecords_ = -1;
    bool fetchOnDemand_ = true;
    bool morePending_ = false;
    // Set by LoadFromPacket and CreateDataSet for the next openData.
    enum class Source { Provider, Packet, Definitions } source_ = Source::Provider;
    QByteArray pendingPacket_;
};

// The InfoPower data set of the scheme list and the reports: the same data set
// under its own class name.
class TwwClientDataSet : public TClientDataSet {
    Q_OBJECT

public:
    explicit TwwClientDataSet(QObject* owner = nullptr)
        : TClientDataSet(owner)
    {
    }
};
