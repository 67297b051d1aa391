#pragma once
// An options form for driving the report controller: it records every call
// the controller makes in a journal shared with the test (so the order of
// calls and controller events can be checked) and answers as configured.

#include "frame/OptionsFormClass.h"
#include "runtime/forms/Forms.h"

#include <QStringList>
#include <functional>

class TRecordingOptionsForm : public TForm, public IVROptionsForm {
    Q_OBJECT
public:
    explicit TRecordingOptionsForm(TComponent* owner = nullptr);
    ~TRecordingOptionsForm() override;

    // Every call, in order, e.g. "ApplyParams [\"DS\", ...]"; tests add their own lines.
    static QStringList& Journal();
    // Forms made since the last ResetCounters(), and the last one (null once it is gone).
    static int Created;
    static TRecordingOptionsForm* Last;
    static void ResetCounters();

    // How the form answers.
    bool ApplyResult = true;
    bool CommandResult = true;
    bool SetParamsThrows = false;
    bool FreeOnClose = true; // close box frees the form, as the options forms do
    int ResultCodeValue = 0;
    Variant ResultValueValue;
    QString ModulePath;
    Variant Host;

    TForm* AsForm() override { return this; }
    void SetModulePath(const QString& path) override;
    void SetHostObject(const Variant& host) override;
    bool ApplyParams(const Variant& params) override;
    void SetParams(const Variant& params) override;
    bool PrintOrPreview(bool preview) override;
    bool PrintKeys(const Variant& keys, bool preview) override;
    bool ExportPictures(
        const Variant& keys, int kind, const QString& extra, const QString& prefix, int resolution) override;
    void CloseDesigner() override;
    QString VersionStamp() const override { return QStringLiteral("ZTEST 1.0.7"); }
    int ResultCode() const override { return ResultCodeValue; }
    Variant ResultValue() const override { return ResultValueValue; }
    QString UserCode() const override { return user_; }
    QString CompanyCode() const override { return company_; }
    QString ProgramCode() const override { return QStringLiteral("ZTEST"); }
    QString ProgramName() const override { return QStringLiteral("Test program"); }

protected:
    virtual void Record(const QString& line);

private:
    QString user_;
    QString company_;
};
