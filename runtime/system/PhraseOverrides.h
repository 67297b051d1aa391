#pragma once
// Phrases a script converter renders wrongly for the module's words, with
// the rendering to use instead. OpenCC, for one, reads 签 as 籤 (a slip of
// bamboo) in 签核, where a Taiwanese user writes 簽 (to sign): 簽核.
//
// File format (UTF-8), one override a line; "#" starts a comment line:
//   source<TAB>result
// Convert() splits a text at the override phrases (the longest one first
// where several start at one place): the pieces between them go through the
// converter as they are, each phrase becomes its result unconverted. So a
// result is never converted again, and no text without a phrase changes.

#include <QList>
#include <QString>

#include <functional>
#include <utility>

class TPhraseOverrides {
public:
    // Raises EConvertError "line n: reason" for a line without exactly one
    // tab, an empty source or result, or a source given twice.
    static TPhraseOverrides Parse(const QString& text);

    QString Convert(const QString& text, const std::function<QString(const QString&)>& convert) const;
    qsizetype Size() const { return phrases_.size(); }

private:
    QList<std::pair<QString, QString>> phrases_; // longest source first
};
