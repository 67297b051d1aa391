#pragma once
// The options window of a print program as the controller sees it: a form
// class T descended from TfrmVRBaseOpt, joined to IVROptionsForm. The module
// registers the adapted class:
//
//     frmVRBaseOptClass = &OptionsFormClass<TVROptionsAdapter<TfrmZorv52>>;
//
// Every operation goes straight to the form; nothing is kept here. (The
// options forms live below the frame and cannot name its interface.)

#include "frame/VROptionsForm.h"

#include <QString>

template<typename T> class TVROptionsAdapter : public T, public IVROptionsForm {
public:
    explicit TVROptionsAdapter(TComponent* owner = nullptr) : T(owner) {}

    TForm* AsForm() override { return this; }
    void SetModulePath(const QString& path) override { T::SetModulePath(path); }
    void SetHostObject(const Variant& host) override { T::SetHostObject(host); }
    bool ApplyParams(const Variant& params) override { return T::ApplyParams(params); }
    void SetParams(const Variant& params) override { T::SetParams(params); }
    bool PrintOrPreview(bool preview) override { return T::PrintOrPreview(preview); }
    bool PrintKeys(const Variant& keys, bool preview) override { return T::PrintKeys(keys, preview); }
    bool ExportPictures(
        const Variant& keys, int kind, const QString& extra, const QString& prefix, int resolution) override
    {
        return T::ExportPictures(keys, kind, extra, prefix, resolution);
    }
    bool OpenScheme(const QString& name) override { return T::OpenSchemeNamed(name); }
    bool SendReport() override { return T::SendReport(); }
    void CloseDesigner() override { T::CloseDesigner(); }
    QString VersionStamp() const override { return T::VersionStamp(); }
    int ResultCode() const override { return T::ResultCode(); }
    Variant ResultValue() const override { return T::ResultValue(); }
    QString UserCode() const override { return T::UserCode(); }
    QString CompanyCode() const override { return T::CompanyCode(); }
    QString ProgramCode() const override { return T::ProgramCode(); }
    QString ProgramName() const override { return T::ProgramName(); }
};
