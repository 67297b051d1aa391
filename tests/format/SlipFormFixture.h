#pragma once
// A slip layout (TfrmVRFormat) over rows of its own: slips of TO001 + TO002
// with numbered lines (TP003) and an amount of text type 4 (AMT).

#include "format/VRFormatF.h"
#include "runtime/report/QRPageModel.h"

#include <QStringList>
#include <memory>

class SlipForm {
public:
    // linesPerPage: the footer holds that many lines less one.
    explicit SlipForm(int linesPerPage = 3);
    ~SlipForm();

    // A slip of lines rows; 0 lines is one row without a line (TP003 empty).
    void AddSlip(const QString& number, int lines, const QString& amount = QStringLiteral("1500"));
    // Generates every page; the pages of the run.
    std::shared_ptr<TQRPageModel> Run();

    TfrmVRFormat* Form() const { return form_.get(); }
    static constexpr int DetailHeight = 18;

private:
    std::unique_ptr<TfrmVRFormat, FreeComponent> form_;
    bool open_ = false;
};

// The texts of a report page.
QStringList TextsOn(const TQRPageModel& pages, int page);
// The texts of a page that start with prefix.
QStringList TextsStartingWith(const TQRPageModel& pages, int page, const QString& prefix);
