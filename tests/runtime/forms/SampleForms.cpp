#include "SampleForms.h"

TfrmSample::TfrmSample(TComponent* owner)
    : TForm(owner)
{
    ReadFormResource(this, QStringLiteral(":/forms/TfrmSample.dfm"));
}

void TfrmSample::btnOKClick(TObject* Sender)
{
    Calls << QStringLiteral("btnOKClick:") + Sender->objectName();
}

void TfrmSample::btnCancelClick(TObject* Sender)
{
    Calls << QStringLiteral("btnCancelClick:") + Sender->objectName();
}

void TfrmSample::edCodeExit(TObject* Sender)
{
    Calls << QStringLiteral("edCodeExit:") + Sender->objectName();
}

void TfrmSample::FormKeyDown(TObject* Sender, Word& Key, TShiftState)
{
    Calls << QStringLiteral("FormKeyDown:%1:%2").arg(Sender->objectName()).arg(Key);
    if (Key == SwallowKey)
        Key = 0;
}

void TfrmSample::FormCloseQuery(TObject*, bool& CanClose)
{
    Calls << QStringLiteral("FormCloseQuery");
    CanClose = AllowClose;
}

void TfrmSample::BadHandler(int)
{
}

TfrmSampleChild::TfrmSampleChild(TComponent* owner)
    : TfrmSample(owner)
{
    ReadFormResource(this, QStringLiteral(":/forms/TfrmSampleChild.dfm"));
}

void RegisterSampleForms()
{
    RegisterClass<TfrmSample>();
    RegisterClass<TfrmSampleChild>();
}
