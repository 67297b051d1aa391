#pragma once
// A format form of the tests: it records what the options window hands it
// and opens its data through the window's own server connection (the
// in-process application server), the way a real format form's data sets
// do. What it saw outlives it in a shared record, since the window frees
// every format form before it returns.

#include "criteria/BaseGene.h"
#include "options/VRFormatForm.h"

#include <QStringList>
#include <memory>

struct TFormatRecord {
    QStringList Calls; // operation names in order
    QString FormatName;
    TFormatContext Context;
    QStringList OpenedSql;
    int Rows = -1;
    QStringList ClearedFields;
    QString SlipType;
    bool Workflow = false;
    QStringList FooterLines, SignOffLines;
    int Destroyed = 0;
    // The printer the user picks in the form's print dialog; -1: the one
    // the window handed over stays.
    int PrinterChosen = -1;
    // Extended fields: with a final query the form's builder is active and
    // answers it; with ExtendedRaises asking for it raises instead.
    QString ExtendedQuery;
    bool ExtendedRaises = false;
};

class TRecordingFormat : public IVRFormatForm, public IVRSlipFormat {
public:
    TRecordingFormat(TComponent* owner, std::shared_ptr<TFormatRecord> record);
    ~TRecordingFormat() override;

    void SetFormatName(const QString& name) override;
    void SetContext(const TFormatContext& context) override;
    void PrepareData() override;
    bool QueryBuilderActive() const override
    {
        return !record_->ExtendedQuery.isEmpty() || record_->ExtendedRaises;
    }
    void SetQueryBuilderMode(bool) override { }
    bool AcceptQueryParts(const TQueryParts&) override { return false; }
    void SetQueryParts(const TQueryParts&, bool) override { }
    QString GetFinalQuery(const QString&) override;
    void UnbindExtendedFields() override;
    int OpenData(const QString& sql) override;
    void ClearField(const QString& dataField) override;
    bool Print() override;
    void Preview() override;
    int PrinterIndex() const override;
    TPrintSettings Printing() const override;
    void SetResolution(int) override { }
    bool PreparePages() override { return true; }
    bool Export(const TExportTarget&) override { return true; }
    void BeginDesign(const TDesignContext&) override;
    void EndDesign() override;
    TPaperInfo PaperInfo() const override { return {9, 0, 210, 297}; }

    void SetSlipType(const QString& slipType) override;
    void SetWorkflowSignOff(bool on, const QString&) override;
    void SetText(int, const QString&) override { }
    void SetEveryPage(bool, bool, bool) override { }
    void SetFooterLines(const QStringList& lines) override;
    void SetSignOffLines(const QStringList& lines) override;

private:
    TfrmBaseGene* window_;
    std::shared_ptr<TFormatRecord> record_;
};

// The format class of the tests, recording into record.
TFormatClass RecordingFormatClass(std::shared_ptr<TFormatRecord> record);
