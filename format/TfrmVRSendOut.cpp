#include "format/TfrmVRSendOut.h"

#include "format/TfrmVRConvPic.h"

#include "runtime/forms/ComCtrls.h"
#include "runtime/forms/FormReader.h"
#include "runtime/forms/StdCtrls.h"

#include <QCoreApplication>

TfrmVRSendOut::TfrmVRSendOut(TComponent* owner)
    : THVForm(owner)
{
    InitFormatResources();
    ReadFormResource(this, QStringLiteral(":/format/TfrmVRSendOut.dfm"));
    Label2 = FindComponent<TLabel>(QStringLiteral("Label2"));
    txtReceiver = FindComponent<TLabel>(QStringLiteral("txtReceiver"));
    txtReceiveCnt = FindComponent<TLabel>(QStringLiteral("txtReceiveCnt"));
    Label1 = FindComponent<TLabel>(QStringLiteral("Label1"));
    txtPageCnt = FindComponent<TLabel>(QStringLiteral("txtPageCnt"));
    ProgressBar1 = FindComponent<TProgressBar>(QStringLiteral("ProgressBar1"));
    btnCancel = FindComponent<TButton>(QStringLiteral("btnCancel"));
    btnCancel->SetOnClick(TNotifyEvent::Of(this, [this](TObject*) {
        cancelled_ = true;
        if (OnCancel)
            OnCancel();
    }));
}

void TfrmVRSendOut::Start(int pages)
{
    cancelled_ = false;
    ProgressBar1->SetMin(0);
    ProgressBar1->SetMax(pages);
    ProgressBar1->SetPosition(0);
}

void TfrmVRSendOut::Recipient(const QString& key, int index, int count)
{
    txtReceiver->SetCaption(key);
    txtReceiveCnt->SetCaption(QStringLiteral("%1/%2").arg(index).arg(count));
    txtPageCnt->SetCaption(QString());
    QCoreApplication::processEvents();
}

void TfrmVRSendOut::File(int index, int count)
{
    ProgressBar1->StepIt();
    txtPageCnt->SetCaption(QStringLiteral("%1/%2").arg(index).arg(count));
    QCoreApplication::processEvents();
}
