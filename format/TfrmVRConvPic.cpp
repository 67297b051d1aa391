#include "format/TfrmVRConvPic.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/StdCtrls.h"

#include <QCoreApplication>

void InitFormatResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(format);
        return true;
    }();
    (void)done;
}

TfrmVRConvPic::TfrmVRConvPic(TComponent* owner)
    : THVForm(owner)
{
    InitFormatResources();
    ReadFormResource(this, QStringLiteral(":/format/TfrmVRConvPic.dfm"));
    ProgressBar = FindComponent<TProgressBar>(QStringLiteral("ProgressBar"));
    Label1 = FindComponent<TLabel>(QStringLiteral("Label1"));
    lblState = FindComponent<TLabel>(QStringLiteral("lblState"));
    btnCancel = FindComponent<TButton>(QStringLiteral("btnCancel"));
    btnCancel->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) {
        cancelled_ = true;
        if (OnCancel)
            OnCancel();
    }));
}

void TfrmVRConvPic::Start(int count)
{
    cancelled_ = false;
    ProgressBar->SetMin(0);
    ProgressBar->SetMax(count);
    Progress(0, count);
}

void TfrmVRConvPic::Progress(int done, int count)
{
    ProgressBar->SetPosition(done);
    lblState->SetCaption(QStringLiteral("%1/%2").arg(done).arg(count));
    QCoreApplication::processEvents();
}
