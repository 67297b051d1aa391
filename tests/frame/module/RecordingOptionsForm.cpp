#include "tests/frame/module/RecordingOptionsForm.h"

int TRecordingOptionsForm::Created = 0;
TRecordingOptionsForm* TRecordingOptionsForm::Last = nullptr;

QStringList& TRecordingOptionsForm::Journal()
{
    static QStringList journal;
    return journal;
}

void TRecordingOptionsForm::ResetCounters()
{
    Created = 0;
    Last = nullptr;
    Journal().clear();
}

TRecordingOptionsForm::TRecordingOptionsForm(TComponent* owner)
    : TForm(owner)
{
    ++Created;
    Last = this;
    SetName(QStringLiteral("frmTest"));
    SetCaption(QStringLiteral("Test options"));
    SetOnClose(TCloseEvent::Of(this, [this](TObject*, Vcl::TCloseAction& action) {
        if (FreeOnClose)
            action = Vcl::caFree;
    }));
}

TRecordingOptionsForm::~TRecordingOptionsForm()
{
    if (Last == this)
        Last = nullptr;
}

void TRecordingOptionsForm::Record(const QString& line)
{
    Journal().append(line);
}

void TRecordingOptionsForm::SetModulePath(const QString& path)
{
    ModulePath = path;
    Record(QStringLiteral("SetModulePath"));
}

void TRecordingOptionsForm::SetHostObject(const Variant& host)
{
    Host = host;
    Record(QStringLiteral("SetHostObject %1").arg(host.DebugText()));
}

bool TRecordingOptionsForm::ApplyParams(const Variant& params)
{
    Record(QStringLiteral("ApplyParams %1").arg(params.DebugText()));
    // The criteria form needs all five elements of the shell's array.
    if (!params.IsArray() || params.HighBound() < 4) {
        ResultValueValue = Variant("E;000038");
        return false;
    }
    user_ = params[0].ToString();
    company_ = params[1].ToString();
    if (!ApplyResult)
        ResultValueValue = Variant("E;000036");
    return ApplyResult;
}

void TRecordingOptionsForm::SetParams(const Variant& params)
{
    Record(QStringLiteral("SetParams %1").arg(params.DebugText()));
    if (SetParamsThrows)
        throw EConvertError(QStringLiteral("bad parameters"));
}

bool TRecordingOptionsForm::PrintOrPreview(bool preview)
{
    Record(QStringLiteral("PrintOrPreview %1").arg(preview ? "preview" : "print"));
    return CommandResult;
}

bool TRecordingOptionsForm::PrintKeys(const Variant& keys, bool preview)
{
    Record(QStringLiteral("PrintKeys %1 %2").arg(keys.DebugText(), preview ? "preview" : "print"));
    return CommandResult;
}

bool TRecordingOptionsForm::ExportPictures(
    const Variant& keys, int kind, const QString& extra, const QString& prefix, int resolution)
{
    Record(QStringLiteral("ExportPictures %1 kind=%2 extra=\"%3\" prefix=\"%4\" resolution=%5")
               .arg(keys.DebugText())
               .arg(kind)
               .arg(extra, prefix)
               .arg(resolution));
    return CommandResult;
}

void TRecordingOptionsForm::CloseDesigner()
{
    Record(QStringLiteral("CloseDesigner"));
}
