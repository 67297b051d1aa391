#include "runtime/report/QuickRpt.h"

#include "runtime/report/QRGenerator.h"
#include "runtime/report/QRPrinter.h"

#include <QFrame>
#include <QMetaEnum>
#include <algorithm>

namespace {

// Portrait width x length in tenths of a millimetre, in the order of
// TQRPaperSize. Default stands for Letter, the printer default here.
constexpr double paperSizes[][2] = {
    {2159, 2794},
    {2159, 2794},
    {2159, 2794},
    {2794, 4318},
    {4318, 2794},
    {2159, 3556},
    {1397, 2159},
    {1842, 2667},
    {2970, 4200},
    {2100, 2970},
    {2100, 2970},
    {1480, 2100},
    {2500, 3540},
    {1820, 2570},
    {2159, 3302},
    {2150, 2750},
    {2540, 3556},
    {2794, 4318},
    {2159, 2794},
    {984, 2254},
    {1048, 2413},
    {1143, 2635},
    {1207, 2794},
    {1270, 2921},
    {4318, 5588},
    {5588, 8636},
    {8636, 11176},
    {0, 0},
};
static_assert(std::size(paperSizes) == 28);

} // namespace

QString QRPaperSizeName(TQRPaperSize size)
{
    const char* key = QMetaEnum::fromType<TQRPaperSize>().valueToKey(size);
    QString name = key ? QString::fromLatin1(key) : QString();
    // The enumeration spells the two sizes that start with a digit with a
    // prefix; the list shows them as "10X14" and "11X17".
    if (name.startsWith(u"qr"))
        name = name.mid(2);
    return name;
}

QSizeF QRPaperSizeTenthMM(TQRPaperSize size)
{
    const int index = std::clamp(static_cast<int>(size), 0, 27);
    return QSizeF(paperSizes[index][0], paperSizes[index][1]);
}

QString QRUnitName(TQRUnit unit)
{
    const char* key = QMetaEnum::fromType<TQRUnit>().valueToKey(unit);
    return key ? QString::fromLatin1(key) : QString();
}

TQRPage::TQRPage(QObject* parent)
    : TPersistent(parent)
{
}

void TQRPage::SetValues(const QList<double>& values)
{
    bool changed = false;
    for (int i = 0; i < ValueCount && i < values.size(); ++i)
        if (values_[i] != values[i]) {
            values_[i] = values[i];
            changed = true;
        }
    if (changed)
        emit Changed();
}

void TQRPage::SetValue(int index, double value)
{
    if (index < 0 || index >= ValueCount || values_[index] == value)
        return;
    values_[index] = value;
    emit Changed();
}

void TQRPage::SetPaperSize(TQRPaperSize size)
{
    paperSize_ = size;
    if (size == Custom)
        return;
    QSizeF paper = QRPaperSizeTenthMM(size);
    if (orientation_ == poLandscape)
        paper.transpose();
    values_[Width] = paper.width();
    values_[Length] = paper.height();
    emit Changed();
}

void TQRPage::SetOrientation(TPrinterOrientation orientation)
{
    if (orientation_ == orientation)
        return;
    orientation_ = orientation;
    std::swap(values_[Width], values_[Length]);
    emit Changed();
}

void TQRPage::Assign(const TPersistent* source)
{
    if (auto* other = qobject_cast<const TQRPage*>(source)) {
        values_ = other->values_;
        paperSize_ = other->paperSize_;
        orientation_ = other->orientation_;
        columns_ = other->columns_;
        emit Changed();
        return;
    }
    TPersistent::Assign(source);
}

TQuickRep::TQuickRep(TComponent* owner)
    : TWinControl(owner)
    , page_(new TQRPage(this))
    , background_(new TPicture(this))
{
    RegisterReportClasses();
    options_ = TQROptions(FirstPageHeader) | LastPageFooter;
    SetColor(clWhite);
    SetBounds(0, 0, 816, 1056);
}

TQuickRep::~TQuickRep() = default;

void TQuickRep::SetZoom(int zoom)
{
    zoom = std::clamp(zoom, 10, 400);
    if (zoom == zoom_)
        return;
    if (!IsLoading()) {
        const double factor = static_cast<double>(zoom) / zoom_;
        auto scale = [factor](int v) { return static_cast<int>(std::lround(v * factor)); };
        for (TQRCustomBand* band : Bands()) {
            band->SetHeight(scale(band->Height()));
            for (TControl* control : band->ControlList()) {
                const QRect b = control->BoundsRect();
                control->SetBounds(scale(b.x()), scale(b.y()), scale(b.width()), scale(b.height()));
            }
        }
    }
    zoom_ = zoom;
}

void TQuickRep::AddDataSource(const QString& name, TQRDataSource* source)
{
    RemoveDataSource(name);
    sources_.append({name, source});
}

void TQuickRep::RemoveDataSource(const QString& name)
{
    sources_.removeIf([&](const auto& entry) { return entry.first.compare(name, Qt::CaseInsensitive) == 0; });
}

TQRDataSource* TQuickRep::FindDataSource(const QString& name) const
{
    for (const auto& entry : sources_)
        if (entry.first.compare(name, Qt::CaseInsensitive) == 0)
            return entry.second;
    return nullptr;
}

TQRDataSource* TQuickRep::MainSource() const
{
    return mainSource_ ? mainSource_ : FindDataSource(dataSet_);
}

QList<TQRCustomBand*> TQuickRep::Bands() const
{
    QList<TQRCustomBand*> bands;
    for (TControl* control : ControlList())
        if (auto* band = qobject_cast<TQRCustomBand*>(control))
            bands.append(band);
    std::stable_sort(bands.begin(), bands.end(),
        [](const TQRCustomBand* a, const TQRCustomBand* b) { return a->BandType() < b->BandType(); });
    return bands;
}

bool TQuickRep::Start()
{
    generator_.reset();
    pages_.reset();
    cancelled_ = false;
    pageNumber_ = 0;
    auto generator = std::make_unique<TQRGenerator>(this);
    if (!generator->Start())
        return false;
    pages_ = generator->Pages();
    generator_ = std::move(generator);
    return true;
}

bool TQuickRep::Step()
{
    if (!generator_)
        return false;
    const bool more = generator_->Step();
    if (generator_->Cancelled())
        cancelled_ = true;
    return more;
}

bool TQuickRep::Generating() const
{
    return generator_ && !generator_->Finished();
}

void TQuickRep::Cancel()
{
    if (generator_)
        generator_->Cancel();
    cancelled_ = true;
}

QStringList TQuickRep::Warnings() const
{
    return generator_ ? generator_->Warnings() : QStringList();
}

bool TQuickRep::Prepare()
{
    if (!Start())
        return false;
    while (Step()) { }
    return !cancelled_;
}

TQRPrinter* TQuickRep::QRPrinter()
{
    if (!printer_)
        printer_ = new TQRPrinter(this);
    return printer_;
}

QWidget* TQuickRep::CreateWidget(QWidget* parent)
{
    return new QFrame(parent);
}

TQRCustomBand::TQRCustomBand(TComponent* owner)
    : TWinControl(owner)
    , size_(new TQRSize(this))
{
    SetColor(clWhite);
    SetBounds(0, 0, 700, 40);
}

void TQRCustomBand::SetHeight(int value)
{
    height_ = value;
    TWinControl::SetBounds(Left(), Top(), Width(), std::max(0, value));
}

void TQRCustomBand::SetBounds(int left, int top, int width, int height)
{
    height_ = height;
    TWinControl::SetBounds(left, top, width, std::max(0, height));
}

TQuickRep* TQRCustomBand::ParentReport() const
{
    return qobject_cast<TQuickRep*>(Parent());
}

QWidget* TQRCustomBand::CreateWidget(QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    return frame;
}

TQRChildBand::TQRChildBand(TComponent* owner)
    : TQRCustomBand(owner)
{
    bandType_ = rbChild;
}

TQRGroup::TQRGroup(TComponent* owner)
    : TQRCustomBand(owner)
{
    bandType_ = rbGroupHeader;
}
