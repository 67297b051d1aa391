// The page pictures of the format form: one page, all pages, a recipient's
// pages (with the "转图档中" progress and its Cancel) and the whole report
// as one vector PDF, all through the page writer. Names come as path texts
// ("\" or "/"); the writer gets them as native paths.

#include "format/VRBaseFmtF.h"

#include "format/PageWriter.h"
#include "format/TfrmVRConvPic.h"
#include "runtime/system/NativePath.h"

namespace {

// The progress dialog as the page writer sees it; Cancel also raises the
// format form's own flag.
class ConvPicProgress : public IPageWriteProgress {
public:
    explicit ConvPicProgress(TfrmVRBaseFmt* form)
        : dialog_(new TfrmVRConvPic(form))
    {
        dialog_->OnCancel = [form] { form->Cancelled = true; };
    }
    void Start(int count) override
    {
        dialog_->Start(count);
        dialog_->Show();
    }
    void Progress(int done, int count) override { dialog_->Progress(done, count); }
    bool Cancelled() const override { return dialog_->Cancelled(); }

private:
    std::unique_ptr<TfrmVRConvPic, FreeComponent> dialog_;
};

// Disables the form while pages are written and enables it again.
class FormDisabled {
public:
    explicit FormDisabled(TForm* form)
        : form_(form)
    {
        form_->SetEnabled(false);
    }
    ~FormDisabled() { form_->SetEnabled(true); }

private:
    TForm* form_;
};

} // namespace

TPageWriterSettings TfrmVRBaseFmt::writerSettings() const
{
    TPageWriterSettings settings;
    settings.Resolution = Resolution;
    settings.KeepLeftMargin = KeepLeftMargin;
    settings.KeepTopMargin = KeepTopMargin;
    settings.ClientHome = HomeFolder();
    return settings;
}

bool TfrmVRBaseFmt::WritePage(const QString& baseName, TOutputKind kind, int page, QString* written)
{
    TPageWriter writer(*QuickRep1);
    writer.Settings = writerSettings();
    const bool ok = writer.WritePage(NativePath(baseName), kind, page, written);
    if (!ok)
        SetLastError(writer.LastError());
    return ok;
}

bool TfrmVRBaseFmt::WriteAllPages(const QString& prefix, TOutputKind kind)
{
    TPageWriter writer(*QuickRep1);
    writer.Settings = writerSettings();
    const FormDisabled disabled(this);
    Cancelled = false;
    ConvPicProgress progress(this);
    QStringList files;
    // The page counter names the width of the numbers (P01 .. P12).
    const bool ok = writer.WriteAllPages(NativePath(prefix), kind, PrintCounter, &progress, &files);
    if (!ok)
        SetLastError(Cancelled ? QStringLiteral("cancelled") : writer.LastError());
    return ok;
}

bool TfrmVRBaseFmt::WriteRecipientPages(
    const TSendRecipient& recipient, const QString& baseName, TOutputKind kind, QStringList& files)
{
    TPageWriter writer(*QuickRep1);
    writer.Settings = writerSettings();
    const FormDisabled disabled(this);
    ConvPicProgress progress(this);
    // The slips are counted once they went out (CountSentSlips), not when
    // their pictures are made: a refused mail must leave them unsent.
    const bool ok = writer.WriteRecipientPages(recipient, NativePath(baseName), kind, &progress, {}, files);
    if (!ok)
        SetLastError(writer.LastError());
    return ok;
}

bool TfrmVRBaseFmt::Export(const TExportTarget& target)
{
    if (const auto* file = std::get_if<TReportFile>(&target.Where()))
        return WriteVectorPdf(file->Path);
    // Pictures for other programs start at the paper's edge.
    KeepLeftMargin = false;
    KeepTopMargin = false;
    return WriteAllPages(std::get<TPagesPrefix>(target.Where()).Prefix, target.Kind());
}

bool TfrmVRBaseFmt::WriteVectorPdf(const QString& path)
{
    TPageWriter writer(*QuickRep1);
    writer.Settings = writerSettings();
    const bool ok = writer.WriteVectorPdf(NativePath(path), DisplayTitle());
    if (!ok)
        SetLastError(writer.LastError());
    return ok;
}
