#include "common/TranslatorU.h"

#include "runtime/system/Libraries.h"

#include <QStringList>

TTranslator::TTranslator(const QStringList& extraFolders)
    : library_(TLibrary::Load(QString::fromLatin1(LibraryName), extraFolders))
{
    if (!library_)
        throw ETranslatorError(
            QStringLiteral("Load Library %1 Error!").arg(QString::fromLatin1(LibraryName)));
    bind();
}

TTranslator::TTranslator(std::unique_ptr<TLibrary> library)
    : library_(std::move(library))
{
    if (!library_)
        throw ETranslatorError(
            QStringLiteral("Load Library %1 Error!").arg(QString::fromLatin1(LibraryName)));
    bind();
}

TTranslator::~TTranslator()
{
    // The language library stays loaded: its entries answer in per-thread
    // buffers (thread_local), which outlive this object in every thread that
    // called it, and the library serves the whole process anyway (each form's
    // converter loads it again). Unloading it left LeakSanitizer reading the
    // freed thread-local blocks at exit.
    TLibrary::KeepLoaded(std::move(library_));
}

void TTranslator::bind()
{
    gbToBig5_ = reinterpret_cast<TextProc>(library_->GetProcAddress(QStringLiteral("GBtoBIG5")));
    big5ToGb_ = reinterpret_cast<TextProc>(library_->GetProcAddress(QStringLiteral("BIG5toGB")));
    getBig5Data_ = reinterpret_cast<TextProc>(library_->GetProcAddress(QStringLiteral("GetBIG5Data")));
    getGbData_ = reinterpret_cast<TextProc>(library_->GetProcAddress(QStringLiteral("GetGBData")));
    saveOrder_ = library_->GetProcAddress(QStringLiteral("SaveOrder"));
    if (!gbToBig5_ || !big5ToGb_)
        throw ETranslatorError(QStringLiteral("Get Library Procedure Address Error!"));
}

QString TTranslator::call(TextProc proc, const QString& text) const
{
    if (!proc || text.isEmpty())
        return text;
    ++calls_;
    const QByteArray utf8 = text.toUtf8();
    const char* result = proc(utf8.constData());
    return result ? QString::fromUtf8(result) : text;
}

QString TTranslator::BIG5toGB(const QString& text) const
{
    return call(big5ToGb_, text);
}

QString TTranslator::GBtoBIG5(const QString& text) const
{
    return call(gbToBig5_, text);
}
