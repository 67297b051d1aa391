#pragma once
// TfrmVRPreview ("凭证预览"): the pages a format form generated, shown one
// sheet at a time with paging, zoom, printing, export of the shown page as
// pictures or PDF (and of the whole report as one vector PDF), and the
// e-mail and fax buttons of a send run. Modal and maximised; made by the
// format form (its owner), freed when it closes.
//
// Zoom box: a chosen item zooms to its value (100 when it is no number); a
// typed value is clamped between the list's last (20) and first (200)
// items, 100 when it is no number. Page box: a typed page is clamped to
// 1 .. page count (the current page when it is no number); "0" while no
// page exists.
// Keys anywhere in the window (the zoom and page boxes too): PgUp/PgDn the
// previous/next page, Ctrl+Home/Ctrl+End the first/last page (Home/End
// alone as well, except in the zoom and page boxes, where they move the
// cursor), "+"/"-" the next larger/smaller zoom of the list, Esc closes,
// Ctrl+P is the print button.
// The page indicator shows "page / count" once every page exists, and says
// that pages are still being made while they are; the last page is the
// report's real last page (going there finishes the generation).
// Export of the shown page: into HomePath + "c_data\" + UserCode (made when
// missing; a folder of the same name in another case, such as the home's
// "C_DATA", is that folder), named ProgramCode_yyyymmddhhnnss + 3-digit page; a half-page
// report writes both report pages of the sheet (the second only when it
// exists); then the user is asked whether to open the files. Paths shown
// to the user are native ones; a file no program could be started for is
// named in a warning.

#include "common/forms/HVForm.h"
#include "options/OutputKind.h"

class TComboBox;
class TEdit;
class TLabel;
class TMemo;
class TMenuItem;
class TPopupMenu;
class TQRPreview;
class TQuickRep;
class TStatusBar;
class TToolBar;
class TToolButton;
class TfrmVRBaseFmt;

// The zoom a zoom-box text asks for: clamped between lowest and highest,
// fallback when the text is no number.
int ZoomFromText(const QString& text, int lowest, int highest, int fallback = 100);

class TfrmVRPreview : public THVForm {
    Q_OBJECT
public:
    // owner: the format form whose pages show.
    explicit TfrmVRPreview(TfrmVRBaseFmt* owner);

    // Attaches the format's report, sets up the send buttons and the fax
    // servers, and shows the window modally.
    void ShowPreview();
    // The same without showing (what ShowPreview does before the modal loop).
    void Prepare();

    TQuickRep* Report() const { return report_; }
    // Goes to page p, clamped to the pages there are.
    void GoToPage(int page);
    void ZoomTo(int zoom);
    void RefreshState();
    // The files the last export wrote.
    const QStringList& ExportedFiles() const { return exported_; }
    // What the export menu's items do: a page kind exports the shown page,
    // the whole-report kind the whole report. False when nothing was written.
    bool Export(TOutputKind kind);
    // The shown page (both halves of a half-page sheet) as a page kind.
    bool ExportShownPage(TOutputKind kind);
    // The whole report as one file of a whole-report kind in the export folder.
    bool ExportWholeReport(TOutputKind kind);

    TQRPreview* QRPreview = nullptr;
    TMemo* moPaperSize = nullptr;
    TMemo* moUnits = nullptr;
    TToolBar* ToolBar1 = nullptr;
    TToolButton* btnZoomToPage = nullptr;
    TToolButton* btnZoomToWidth = nullptr;
    TLabel* lblScale = nullptr;
    TComboBox* cboZoom = nullptr;
    TToolButton* btnPrint = nullptr;
    TToolButton* btnFirstPage = nullptr;
    TToolButton* btnPreviousPage = nullptr;
    TLabel* lblPageNo = nullptr;
    TEdit* edtPageNo = nullptr;
    TToolButton* btnNextPage = nullptr;
    TToolButton* btnLastPage = nullptr;
    TToolButton* btnSaveBMP = nullptr;
    TToolButton* btnExit = nullptr;
    TToolButton* btnEmail = nullptr;
    TToolButton* btnFax = nullptr;
    TStatusBar* StatusBar = nullptr;
    TPopupMenu* pmuSaveBMP = nullptr;
    TMenuItem* pmBMP = nullptr;
    TMenuItem* pmGIF = nullptr;
    TMenuItem* pmJPG = nullptr;
    TMenuItem* pmPDF = nullptr;
    TMenuItem* pmVectorPDF = nullptr;
    TPopupMenu* PopupmenuSendFax = nullptr;

public slots:
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormClose(TObject* Sender, Vcl::TCloseAction& Action);
    void btnZoomToPageClick(TObject* Sender);
    void btnZoomToWidthClick(TObject* Sender);
    void cboZoomClick(TObject* Sender);
    void cboZoomExit(TObject* Sender);
    void cboZoomKeyPress(TObject* Sender, QChar& Key);
    void cboZoomKeyDown(TObject* Sender, Word& Key, Vcl::TShiftState Shift);
    void edtPageNoKeyPress(TObject* Sender, QChar& Key);
    void edtPageNoExit(TObject* Sender);
    void btnFirstPageClick(TObject* Sender);
    void btnPreviousPageClick(TObject* Sender);
    void btnNextPageClick(TObject* Sender);
    void btnLastPageClick(TObject* Sender);
    void QRPreviewPageAvailable(TObject* Sender);
    void btnPrintClick(TObject* Sender);
    void btnEmailClick(TObject* Sender);
    void btnFaxClick(TObject* Sender);
    void pmBMPClick(TObject* Sender);
    void pmJPGClick(TObject* Sender);
    void pmGIFClick(TObject* Sender);
    void pmPDFClick(TObject* Sender);
    void pmVectorPDFClick(TObject* Sender);
    void btnExitClick(TObject* Sender);
    void FormKeyDown(TObject* Sender, Word& Key, Vcl::TShiftState Shift);
    void FormKeyPress(TObject* Sender, QChar& Key);

private:
    void setupSendButtons();
    void addFaxServers();
    QString exportBaseName();
    void offerToOpen(const QString& baseName);
    void selectZoomItem(int zoom);
    // The list's next larger (direction 1) or smaller (-1) zoom than the shown one.
    int steppedZoom(int direction) const;
    bool typingInABox() const;
    QString paperText() const;

    // The status bar's paper caption in the user's language.
    QString paperCaption() const;
    TfrmVRBaseFmt* format_;
    TQuickRep* report_ = nullptr;
    QStringList exported_;
};
