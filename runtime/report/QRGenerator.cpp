#include "runtime/report/QRGenerator.h"

#include <cmath>

namespace {

int toUnits(double tenthMM)
{
    return static_cast<int>(std::lround(tenthMM * 10.0));
}

} // namespace

TQRGenerator::TQRGenerator(TQuickRep* report)
    : report_(report)
{
}

TQRGenerator::~TQRGenerator()
{
    if (phase_ != Phase::Finished)
        stop();
}

bool TQRGenerator::slipMode() const
{
    return report_->PageStartBand() && report_->PageDetailBand() && report_->PageAttachDetailBand();
}

QList<TQRCustomBand*> TQRGenerator::bandsOfType(TQRBandType type) const
{
    QList<TQRCustomBand*> found;
    for (TQRCustomBand* band : bands_)
        if (band->BandType() == type)
            found.append(band);
    return found;
}

void TQRGenerator::collect()
{
    bands_ = report_->Bands();
    for (TQRCustomBand* band : bands_) {
        band->designHeight_ = band->Height();
        band->stretch_ = 0;
        QList<TQRPrintable*> printables;
        for (TControl* control : band->ControlList())
            if (auto* printable = qobject_cast<TQRPrintable*>(control)) {
                printables.append(printable);
                printable->BeginRun(context_);
                everyPrintable_.append(printable);
            }
        controls_.insert(band, printables);
        if (auto* child = qobject_cast<TQRChildBand*>(band); child && child->ParentBand())
            children_[child->ParentBand()].append(child);
        if (auto* group = qobject_cast<TQRGroup*>(band)) {
            Group entry {group, TQRExpression(), QVariant()};
            // A group whose expression does not parse cannot page the
            // report: the run stops here with the reason.
            if (!group->Expression().trimmed().isEmpty())
                entry.expression.Prepare(group->Expression(), context_.Environment);
            groups_.push_back(std::move(entry));
        }
    }
}

bool TQRGenerator::Start()
{
    const TQRPage* page = report_->Page();
    const int width = toUnits(page->Value(TQRPage::Width));
    int length = toUnits(page->Value(TQRPage::Length));
    if (width <= 0 || length <= 0)
        throw EQRError(QStringLiteral("The page has no size (%1 x %2)")
                           .arg(page->Value(TQRPage::Width))
                           .arg(page->Value(TQRPage::Length)));
    const bool half = report_->PageStyle() == psHalfPage;
    if (half)
        length /= 2;
    left_ = toUnits(page->Value(TQRPage::LeftMargin));
    top_ = toUnits(page->Value(TQRPage::TopMargin));
    bottom_ = length - toUnits(page->Value(TQRPage::BottomMargin));
    const int right = width - toUnits(page->Value(TQRPage::RightMargin));
    if (left_ < 0 || top_ < 0 || bottom_ <= top_ || right <= left_)
        throw EQRError(QStringLiteral("The margins leave no room on the page"));

    pages_ = std::make_shared<TQRPageModel>(width, length, half);
    context_.Report = report_;
    context_.Pages = pages_.get();
    context_.Scale = report_->PixelsToUnits(1.0);
    context_.Warnings = &warnings_;
    context_.Environment.DefaultSource = report_->MainSource();
    context_.Environment.FindSource
        = [report = report_](const QString& name) { return report->FindDataSource(name); };
    source_ = report_->MainSource();
    background_ = -1;
    if (!report_->Background()->Empty()) {
        const QImage picture = QImage::fromData(report_->Background()->Data());
        if (picture.isNull())
            warnings_ << QStringLiteral("%1: the background picture cannot be read").arg(report_->Name());
        else
            background_ = pages_->ImageIndex(picture);
    }

    bool go = true;
    if (report_->BeforePrint().Assigned())
        report_->BeforePrint()(report_, go);
    if (!go)
        return false;
    if (slipMode())
        attachDesignHeight_ = report_->PageAttachDetailBand()->Height();
    try {
        collect();
    } catch (...) {
        stop();
        throw;
    }
    if (source_)
        source_->First();
    phase_ = Phase::Rows;
    const bool empty = !source_ || source_->Eof();
    if (empty && !report_->PrintIfEmpty()) {
        stop();
        return true;
    }
    openPage();
    return true;
}

bool TQRGenerator::Step()
{
    if (phase_ == Phase::Finished)
        return false;
    const int before = pages_->PageCount();
    while (phase_ == Phase::Rows && pages_->PageCount() == before) {
        if (!source_ || source_->Eof())
            finishRows();
        else
            processRow();
    }
    return phase_ != Phase::Finished;
}

void TQRGenerator::Cancel()
{
    cancelled_ = true;
    if (phase_ != Phase::Finished)
        stop();
}

void TQRGenerator::stop()
{
    if (pages_ && pages_->PageOpen())
        pages_->DiscardPage();
    for (TQRCustomBand* band : bands_)
        for (TQRPrintable* printable : controls_.value(band))
            printable->EndRun();
    if (slipMode())
        report_->PageAttachDetailBand()->SetHeight(attachDesignHeight_);
    phase_ = Phase::Finished;
}

void TQRGenerator::reportProgress()
{
    const auto& progress = report_->Progress();
    if (progress && !progress(pages_->PageCount(), rows_, source_ ? source_->RecordCount() : 0))
        Cancel();
}

// Which group level changed on this row: the outermost changed group, or
// groups_.size() when none did. The first row opens every group.
int TQRGenerator::groupBreakLevel()
{
    int level = static_cast<int>(groups_.size());
    for (int i = 0; i < static_cast<int>(groups_.size()); ++i) {
        Group& group = groups_[static_cast<size_t>(i)];
        const QVariant value = group.expression.Prepared() ? group.expression.Value() : QVariant();
        if (level == static_cast<int>(groups_.size()) && (firstRow_ || value != group.value))
            level = i;
        group.value = value;
    }
    return level;
}

void TQRGenerator::processRow()
{
    ++rows_;
    const int level = groupBreakLevel();
    if (!firstRow_ && level < static_cast<int>(groups_.size())) {
        // Footers belong to the group's last row: print them there.
        source_->Prior();
        printGroupFooters(level);
        source_->Next();
    }
    firstRow_ = false;
    if (phase_ == Phase::Finished)
        return;
    printGroupHeaders(level);
    for (TQRCustomBand* band : bandsOfType(rbDetail))
        printDetail(band);
    if (phase_ == Phase::Finished)
        return;
    source_->Next();
}

void TQRGenerator::printGroupFooters(int fromLevel)
{
    for (int i = static_cast<int>(groups_.size()) - 1; i >= fromLevel && phase_ != Phase::Finished; --i) {
        TQRGroup* group = groups_[static_cast<size_t>(i)].band;
        groups_[static_cast<size_t>(i)].open = false;
        if (slipMode() && group == report_->PageStartBand()) {
            closeSlip();
            continue;
        }
        if (TQRCustomBand* footer = group->FooterBand())
            printBand(footer);
    }
}

void TQRGenerator::printGroupHeaders(int fromLevel)
{
    for (int i = fromLevel; i < static_cast<int>(groups_.size()) && phase_ != Phase::Finished; ++i) {
        TQRGroup* group = groups_[static_cast<size_t>(i)].band;
        if (slipMode() && group == report_->PageStartBand()) {
            openSlip();
            continue;
        }
        if (group->ForceNewPage() && !pageFresh_) {
            closePage(false);
            if (phase_ == Phase::Finished)
                return;
            openPage();
        }
        printBand(group);
        groups_[static_cast<size_t>(i)].open = true;
    }
}

void TQRGenerator::printDetail(TQRCustomBand* band)
{
    if (phase_ == Phase::Finished)
        return;
    TQRCustomBand* attached
        = slipMode() && band == report_->PageDetailBand() ? report_->PageAttachDetailBand() : nullptr;
    if (!attached) {
        printBand(band);
        return;
    }
    // The body area is full once the attached band has gone negative; a
    // line refused then goes to the next page of the same slip.
    const bool full = attached->Height() < 0;
    if (printBand(band)) {
        attached->SetHeight(attached->Height() - band->Height());
    } else if (full) {
        closePage(false);
        if (phase_ != Phase::Finished)
            openPage();
    }
}

int TQRGenerator::bandHeightUnits(const TQRCustomBand* band) const
{
    return static_cast<int>(std::lround(std::max(0, band->Height()) * context_.Scale));
}

bool TQRGenerator::printBand(TQRCustomBand* band, bool fit)
{
    if (!band || !band->Enabled())
        return false;
    bool print = true;
    if (band->BeforePrint().Assigned())
        band->BeforePrint()(band, print);
    if (!print) {
        band->stretch_ = 0;
        if (band->AfterPrint().Assigned())
            band->AfterPrint()(band, false);
        return false;
    }
    // Aggregates take the row once its detail band is sure to print, so a
    // running total on the detail band itself includes this row.
    if (band->BandType() == rbDetail)
        for (TQRPrintable* printable : everyPrintable_)
            printable->TakeDetailRow();
    int extra = 0;
    const QList<TQRPrintable*>& printables = controls_.value(band);
    for (TQRPrintable* printable : printables)
        if (printable->Enabled())
            extra = std::max(extra, printable->Measure(context_));
    const int height = bandHeightUnits(band) + extra;
    int limit = bottom_;
    for (TQRCustomBand* footer : bandsOfType(rbPageFooter))
        if (footer->Enabled())
            limit -= bandHeightUnits(footer);
    // A band that does not fit starts a new page, unless the page is still
    // empty (then it would never fit: it prints, cut at the page's end).
    if (fit && y_ + height > limit && !pageFresh_) {
        closePage(false);
        if (phase_ == Phase::Finished)
            return false;
        openPage();
    }
    placeBand(band, height, extra);
    pageFresh_ = false;
    band->stretch_ = static_cast<int>(std::lround(report_->UnitsToPixels(extra)));
    if (band->AfterPrint().Assigned())
        band->AfterPrint()(band, true);
    printChildren(band);
    return true;
}

void TQRGenerator::placeBand(TQRCustomBand* band, int height, int /*extra*/)
{
    const QPoint origin(left_, y_);
    for (TQRPrintable* printable : controls_.value(band))
        if (printable->Enabled())
            printable->Print(context_, origin);
    y_ += height;
}

void TQRGenerator::printChildren(TQRCustomBand* band)
{
    for (TQRChildBand* child : children_.value(band)) {
        if (child == report_->PageEndBand())
            endBandPrinted_ = true;
        printBand(child);
    }
}

void TQRGenerator::openPage()
{
    pages_->BeginPage();
    if (background_ >= 0)
        pages_->AddImage(QRect(0, 0, pages_->PageWidth(), pages_->PageHeight()), background_);
    pageOpen_ = true;
    pageFresh_ = true;
    y_ = top_;
    report_->pageNumber_ = pages_->PageCount() + 1;
    if (report_->OnStartPage().Assigned())
        report_->OnStartPage()(report_);
    const bool first = pages_->PageCount() == 0;
    if (first)
        for (TQRCustomBand* band : bandsOfType(rbTitle))
            printBand(band);
    if (!first || report_->Options().testFlag(FirstPageHeader))
        for (TQRCustomBand* band : bandsOfType(rbPageHeader))
            printBand(band);
    for (TQRCustomBand* band : bandsOfType(rbColumnHeader))
        printBand(band);
    for (const Group& group : groups_)
        if (group.open && group.band->ReprintOnNewPage()
            && !(slipMode() && group.band == report_->PageStartBand()))
            printBand(group.band);
    pageFresh_ = true;
    if (slipOpen_) {
        report_->PageAttachDetailBand()->SetHeight(attachDesignHeight_);
        printBand(report_->PageStartBand());
    }
}

void TQRGenerator::closePage(bool last)
{
    if (!pageOpen_)
        return;
    if (slipOpen_)
        printSlipEnd();
    if (!last || report_->Options().testFlag(LastPageFooter))
        for (TQRCustomBand* band : bandsOfType(rbPageFooter)) {
            const int height = bandHeightUnits(band);
            y_ = std::max(y_, bottom_ - height);
            printBand(band, false);
        }
    if (report_->OnEndPage().Assigned())
        report_->OnEndPage()(report_);
    pages_->EndPage();
    pageOpen_ = false;
    reportProgress();
}

void TQRGenerator::openSlip()
{
    // Every slip starts on a page of its own.
    if (!pageFresh_) {
        slipOpen_ = false;
        closePage(false);
        if (phase_ == Phase::Finished)
            return;
        slipOpen_ = true;
        openPage();
        return;
    }
    slipOpen_ = true;
    report_->PageAttachDetailBand()->SetHeight(attachDesignHeight_);
    printBand(report_->PageStartBand());
}

// The attached band, then the page-end band (usually the attached band's
// child, which then printed with it).
void TQRGenerator::printSlipEnd()
{
    endBandPrinted_ = false;
    printBand(report_->PageAttachDetailBand(), false);
    if (!endBandPrinted_ && report_->PageEndBand() != report_->PageAttachDetailBand())
        printBand(report_->PageEndBand(), false);
}

void TQRGenerator::closeSlip()
{
    if (!slipOpen_)
        return;
    printSlipEnd();
    slipOpen_ = false;
    pageFresh_ = false;
}

void TQRGenerator::finishRows()
{
    if (!firstRow_)
        printGroupFooters(0);
    if (phase_ == Phase::Finished)
        return;
    const QList<TQRCustomBand*> summaries = bandsOfType(rbSummary);
    for (TQRCustomBand* band : summaries)
        printBand(band);
    closePage(true);
    if (phase_ != Phase::Finished)
        stop();
    if (report_->AfterPrint().Assigned())
        report_->AfterPrint()(report_);
}
