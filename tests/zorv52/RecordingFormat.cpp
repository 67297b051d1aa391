#include "RecordingFormat.h"

#include "runtime/data/DataPacket.h"

TRecordingFormat::TRecordingFormat(TComponent* owner, std::shared_ptr<TFormatRecord> record)
    : window_(qobject_cast<TfrmBaseGene*>(owner))
    , record_(std::move(record))
{
    record_->Calls << QStringLiteral("create");
}

TRecordingFormat::~TRecordingFormat()
{
    ++record_->Destroyed;
}

void TRecordingFormat::SetFormatName(const QString& name)
{
    record_->Calls << QStringLiteral("name");
    record_->FormatName = name;
}

void TRecordingFormat::SetContext(const TFormatContext& context)
{
    record_->Calls << QStringLiteral("context");
    record_->Context = context;
}

void TRecordingFormat::PrepareData()
{
    record_->Calls << QStringLiteral("prepare");
}

void TRecordingFormat::UnbindExtendedFields()
{
    record_->Calls << QStringLiteral("unbind");
}

QString TRecordingFormat::GetFinalQuery(const QString&)
{
    record_->Calls << QStringLiteral("final query");
    if (record_->ExtendedRaises)
        throw Exception(QStringLiteral("the relation table of an extended field is gone"));
    return record_->ExtendedQuery;
}

int TRecordingFormat::OpenData(const QString& sql)
{
    record_->Calls << QStringLiteral("open");
    record_->OpenedSql << sql;
    const Variant server = window_ ? window_->ApplicationServer() : Variant();
    if (server.IsEmptyOrNull())
        return -1;
    Variant sent;
    Variant packet;
    try {
        packet = server.Call(QStringLiteral("AS_GetRecords"),
            {QStringLiteral("Provider1"), -1, Variant::Ref(sent), sql, GetRecordsReset});
    } catch (const Exception&) {
        return -1; // as a format form's data set reports a query the server refused
    }
    DataPacketReader reader(packet.ToBytes());
    int rows = 0;
    while (reader.NextRow())
        ++rows;
    record_->Rows = rows;
    return rows > 0 ? 1 : 0;
}

void TRecordingFormat::ClearField(const QString& dataField)
{
    record_->ClearedFields << dataField;
}

bool TRecordingFormat::Print()
{
    record_->Calls << QStringLiteral("print");
    return true;
}

TPrintSettings TRecordingFormat::Printing() const
{
    // A printer picked in the print dialog is the destination now, by its index.
    TPrintSettings settings = record_->Context.Printing;
    if (record_->PrinterChosen >= 0) {
        settings.Output = TPrintSettings::Destination::Printer;
        settings.PrinterName.clear();
        settings.OutputFile.clear();
    }
    return settings;
}

void TRecordingFormat::Preview()
{
    record_->Calls << QStringLiteral("preview");
}

int TRecordingFormat::PrinterIndex() const
{
    return record_->PrinterChosen >= 0 ? record_->PrinterChosen : record_->Context.PrinterIndex;
}

void TRecordingFormat::BeginDesign(const TDesignContext&)
{
    record_->Calls << QStringLiteral("design");
}

void TRecordingFormat::EndDesign()
{
    record_->Calls << QStringLiteral("end design");
}

void TRecordingFormat::SetSlipType(const QString& slipType)
{
    record_->SlipType = slipType;
}

void TRecordingFormat::SetWorkflowSignOff(bool on, const QString&)
{
    record_->Workflow = on;
}

void TRecordingFormat::SetFooterLines(const QStringList& lines)
{
    record_->FooterLines = lines;
}

void TRecordingFormat::SetSignOffLines(const QStringList& lines)
{
    record_->SignOffLines = lines;
}

TFormatClass RecordingFormatClass(std::shared_ptr<TFormatRecord> record)
{
    return {QStringLiteral("TfrmZorv52Fmt"), [record](TComponent* owner) -> std::unique_ptr<IVRFormatForm> {
                return std::make_unique<TRecordingFormat>(owner, record);
            }};
}
