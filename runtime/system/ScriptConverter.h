#pragma once
// Simplified and Traditional Chinese script conversion with OpenCC.
//
// "GB to Big5" turns simplified characters into traditional ones, "Big5 to GB"
// the reverse. Both work on Unicode text; the names only recall the code pages
// the scripts were once stored in.

#include <QString>

#include <memory>

// One OpenCC conversion, loaded from a configuration ("s2t.json", or a full
// path). Raises Exception when OpenCC cannot load it. Convert() is safe to
// call from several threads at once.
class TScriptConverter {
public:
    explicit TScriptConverter(const QString& configName);
    ~TScriptConverter();
    TScriptConverter(const TScriptConverter&) = delete;
    TScriptConverter& operator=(const TScriptConverter&) = delete;

    QString Convert(const QString& text) const;

private:
    void* handle_; // opencc_t, owned
    QString configName_;
};

// Simplified to Traditional ("GB to Big5"): Taiwan's characters (the shared
// s2tw converter, made on first use), with the suite's words OpenCC gets
// wrong mended (签核 -> 簽核). Empty in, empty out; raises Exception when
// OpenCC cannot load.
QString SimplifiedToTraditional(const QString& text);
// Traditional to Simplified ("Big5 to GB"), with the shared t2s converter.
QString TraditionalToSimplified(const QString& text);
