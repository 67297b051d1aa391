#pragma once
// One run of a report: walks the rows and prints the bands into a page model
// (the band order and the slip pages are described in QuickRpt.h). Internal
// to the report component, which owns the generator of its current run.

#include "runtime/report/QRCtrls.h"
#include "runtime/report/QRExpr.h"
#include "runtime/report/QRPageModel.h"
#include "runtime/report/QuickRpt.h"

#include <memory>
#include <vector>

class TQRGenerator {
public:
    explicit TQRGenerator(TQuickRep* report);
    ~TQRGenerator();

    // Checks the page, builds the model, prepares controls and group
    // expressions, runs the report's BeforePrint and opens the first page.
    // Raises EQRError/EQRExprError; false when BeforePrint refused the run.
    bool Start();
    // Goes on until one more page is done or the run ends; false once ended.
    bool Step();
    bool Finished() const { return phase_ == Phase::Finished; }
    void Cancel();
    bool Cancelled() const { return cancelled_; }
    std::shared_ptr<TQRPageModel> Pages() const { return pages_; }
    const QStringList& Warnings() const { return warnings_; }

private:
    enum class Phase { Rows, Finished };
    struct Group {
        TQRGroup* band;
        TQRExpression expression;
        QVariant value;
        bool open = false; // between its header and its footer
    };

    void collect();
    void processRow();
    void finishRows();
    int groupBreakLevel();
    void printGroupFooters(int fromLevel);
    void printGroupHeaders(int fromLevel);
    void printDetail(TQRCustomBand* band);
    // fit false: print where the page stands (bands that close a page).
    bool printBand(TQRCustomBand* band, bool fit = true);
    void printChildren(TQRCustomBand* band);
    void placeBand(TQRCustomBand* band, int height, int extra);
    int bandHeightUnits(const TQRCustomBand* band) const;
    void openPage();
    void closePage(bool last);
    void openSlip();
    void closeSlip();
    void printSlipEnd();
    void reportProgress();
    void stop();
    bool slipMode() const;
    QList<TQRCustomBand*> bandsOfType(TQRBandType type) const;

    TQuickRep* report_;
    std::shared_ptr<TQRPageModel> pages_;
    TQRRunContext context_;
    QStringList warnings_;
    Phase phase_ = Phase::Finished;
    bool cancelled_ = false;
    TQRDataSource* source_ = nullptr;

    std::vector<Group> groups_;
    QList<TQRCustomBand*> bands_;
    QHash<TQRCustomBand*, QList<TQRPrintable*>> controls_;
    QHash<TQRCustomBand*, QList<TQRChildBand*>> children_;
    // Every control of every band, in band order (detail rows go to each).
    QList<TQRPrintable*> everyPrintable_;

    // Page geometry in units.
    int left_ = 0;
    int top_ = 0;
    int bottom_ = 0;
    int y_ = 0;
    bool pageOpen_ = false;
    bool pageFresh_ = true; // nothing but the automatic bands on the page yet
    bool firstRow_ = true;
    bool slipOpen_ = false;
    bool endBandPrinted_ = false;
    int attachDesignHeight_ = 0;
    int rows_ = 0;
    int background_ = -1; // image index of the background picture
};
