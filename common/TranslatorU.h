#pragma once
// TTranslator: the conversion library "Hvlanguage.dll" (libHvlanguage.so here),
// loaded by name and bound by its entry points. Texts cross the library
// boundary as UTF-8; a result is copied at once because the library reuses its
// buffer on the next call.

#include "runtime/system/Exceptions.h"

#include <QString>
#include <QStringList>
#include <memory>

class TLibrary;

ZORV_EXCEPTION_CLASS(ETranslatorError, Exception)

class TTranslator {
public:
    static constexpr const char* LibraryName = "Hvlanguage.dll";

    // Loads the library; raises ETranslatorError "Load Library Hvlanguage.dll
    // Error!" when it cannot be loaded and "Get Library Procedure Address
    // Error!" when GBtoBIG5 or BIG5toGB is missing. extraFolders are searched
    // after the module's folder (the client's C_HVBIN).
    explicit TTranslator(const QStringList& extraFolders = {});
    // Binds an already loaded library (tests hand in a stand-in library).
    explicit TTranslator(std::unique_ptr<TLibrary> library);
    ~TTranslator();
    TTranslator(const TTranslator&) = delete;
    TTranslator& operator=(const TTranslator&) = delete;

    // Traditional to simplified characters; the text unchanged without the entry point.
    QString BIG5toGB(const QString& text) const;
    // Simplified to traditional characters.
    QString GBtoBIG5(const QString& text) const;
    // How many times the library was called (the converter keeps it to one call per list).
    qint64 CallCount() const { return calls_; }

private:
    using TextProc = const char* (*)(const char*);
    void bind();
    QString call(TextProc proc, const QString& text) const;

    std::unique_ptr<TLibrary> library_;
    TextProc gbToBig5_ = nullptr;
    TextProc big5ToGb_ = nullptr;
    TextProc getBig5Data_ = nullptr;
    TextProc getGbData_ = nullptr;
    void* saveOrder_ = nullptr;
    mutable qint64 calls_ = 0;
};
