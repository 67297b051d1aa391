#pragma once
// TFormatStore: named report layouts ("formats") of a format form, kept in
// table WARRANT through the application server, with a local file as the
// fallback when the database does not take a save.
//
// It works on any format form: a component of a registered class whose
// constructor builds the built-in layout (TQuickRep, bands, controls,
// query builder), described by TFormatStoreHost. The form keeps one store
// for its lifetime and routes its designer events and menu commands here:
//   designer OnLoadChanges  -> LoadChanges       menu Save    -> SaveClick
//   designer OnSaveChanges  -> SaveChanges       menu SaveAs  -> SaveAsClick
//   start of design         -> ReadNameLimit     menu SaveLoc -> SaveLocalFormat
//   menu LoadLoc / Ctrl+Alt+L -> LoadLocalClick
//
// The stored text is the form's difference from a fresh instance of its
// class (object entries for components the built-in layout lacks, inherited
// entries for changed ones), one line per array element, converted in the
// storage direction, character sets named "GB2312_CHARSET", no indentation.
// Components named in RuntimeComponents are always written as "object".
//
// Guarantees:
// - A save that the server refuses or that fails (lock lost to another
//   user, update or insert refused, the call raising, the server gone)
//   leaves the stored row as it was, puts the layout into the local file
//   and leaves SaveOK false; success is reported only after the server
//   confirmed the write.
// - A stored text that does not parse, names an unknown class, or binds an
//   event to a handler outside AllowedHandlers is refused as a whole with
//   the "Open Standard DFM error!!" / "Can not read DFM data !!" messages;
//   the form keeps its built-in layout and nothing of the text runs.
// - Messages go through the converter's message dialog (or the dialog
//   service when the host has no converter); names through InputQuery.
// Everything runs on the main thread.

#include "common/forms/LibCodeConvert.h"
#include "format/FormatStoreMessages.h"
#include "runtime/system/Variant.h"

#include <QStringList>
#include <functional>

class TComponent;

// What a format form gives its store.
struct TFormatStoreHost {
    TComponent* Form = nullptr; // the format form (its class name keys the stored rows)
    Variant ApplicationServer;
    QString CompanyCode, UserCode, UserGroup;
    QString ClientHome; // ends in "\"
    QString CustomFormatPath; // folder of local files, used as it is; may be empty
    QString SystemCodePage = QStringLiteral("936");
    TCodeConverter* Converter = nullptr; // conversions and message dialogs; may be null
    // Event handlers a stored layout may bind (the form's own handlers for
    // components the designer creates).
    QStringList AllowedHandlers {QStringLiteral("OnBarCodeInvalidChar")};

    // Optional hooks.
    std::function<QString(const QString& key, const QString& defaultText)>
        LangText; // default: the language table
    std::function<QString(const QString& text)> Translate; // the translator, used on a 950 system
    std::function<QString()> OptionSnapshot; // the option snapshot of a save
    std::function<void(const QString& displayName)> FormatAdded; // the options form lists a new format
    std::function<void()> HideForm;
    std::function<void(const QString& path)> LoadBackground; // the page picture
    std::function<int()> PageStyle; // 0 normal, 1 half page
    // After a stored layout was read into the form (not when there was none).
    std::function<void()> BuilderHandOver;
    // The catalogue query of the base criteria form ("SimpleSql", params -> rows).
    std::function<bool(const QString& kind, const Variant& params, Variant& rows)> Query;
};

class TFormatStore {
public:
    explicit TFormatStore(TFormatStoreHost host);

    static constexpr const char* NewFormatName = "<New>";
    static bool IsNewFormat(const QString& name);

    // Fields the format form publishes.
    QString FormatName = QString::fromLatin1(NewFormatName);
    bool SaveOK = true;
    bool Saved = false;
    int NameLimit = 0;
    QStringList RuntimeComponents;

    QString ClientHome() const { return host_.ClientHome; }
    // The host, for a format form that learns its context after it was made
    // (the options window hands over server, company and user later).
    TFormatStoreHost& Host() { return host_; }
    int LanguageMode() const;
    int DBMode() const;
    QString ClassName() const;

    // The name limit from the catalogue (0 when the answer is empty).
    void ReadNameLimit();
    // The name dialog; true with name set when a name was accepted.
    bool AskFormatName(QString& name, const QString& caption, const QString& prompt);

    // The designer's save event: the question "EnssureSave" (Yes saves, No
    // stores nothing and lets the designer stop, Cancel raises EAbort). Raises
    // EAbort where the save is given up silently (the designer then stays
    // open).
    void SaveChanges(bool& done);
    void LoadChanges(bool& done);
    void SaveClick();
    void SaveAsClick();
    void LoadLocalClick();
    // Writes the stored row; SaveOK false when it did not.
    void StoreFormat(const QString& className, const QString& formatName);
    // Reads the stored row into the form; nothing when there is none.
    void LoadStoredFormat(const QString& className, const QString& formatName);
    // A stored row was read by the last LoadStoredFormat.
    bool StoredFormatRead() const { return storedFormatRead_; }
    // Writes the local fallback file; raises EAbort after its warning.
    void SaveLocalFormat(const QString& formatName);

    QString LocalFormatFile(const QString& formatName) const;
    QString BackgroundPicture() const;
    // The stored lines of the form as StoreFormat sends them.
    QStringList StoredLines() const;

    // Shows a message of the table; answers the modal result.
    int Show(TStoreMessage id, const QString& argument = QString());
    QString Text(TStoreMessage id) const;

private:
    QString toStorage(const QString& text) const;
    QString toDisplay(const QString& text) const;
    void hideForm();
    bool readRow(const QString& className, const QString& formatName, QString& counter, QString& text);
    bool writeRow(bool update, const QStringList& lines, const QString& className, const QString& formatName,
        const QString& counter);
    void failSave(TStoreMessage warning, const QString& formatName);
    // False when the text was refused before reading (told to the user).
    bool readStoredText(const QString& text);

    TFormatStoreHost host_;
    bool storedFormatRead_ = false;
};

// The local fallback file: folder + prefix + class + "_" + name + ".dat"
// (no "_" + name for a blank name); folder = customPath when it is not
// empty, else clientHome + "C_DATA\"; prefix "CHS_" for mode 1, "CHT_" for 2.
QString LocalFormatFilePath(const QString& customPath, const QString& clientHome, int languageMode,
    const QString& className, const QString& formatName);
// The page picture of a class: clientHome + "C_DATA\" + prefix + program +
// style + qualifier + ".emf" (program and qualifier cut from the class name
// around "FRM" and "FMT"; style "H" half page, "F" other page style).
// Empty for language modes other than 1 and 2.
QString BackgroundPicturePath(
    const QString& clientHome, int languageMode, const QString& className, int pageStyle);
// Refuses (EReadError naming the line) a stored text that does not parse,
// names an unregistered class or binds an event to a handler not in allowed.
void VerifyStoredLayout(const QString& text, const QStringList& allowed);
// line with the texts of its string values ('quoted' runs and #code
// characters) passed through convert and written again the way the form
// writer writes strings; names, numbers and the rest stay as they are. A
// run that convert leaves alone keeps its spelling. This is how stored
// texts change script: the writer spells Chinese as #codes, so converting
// the line's characters alone would change nothing.
QString ConvertFormTextStrings(const QString& line, const std::function<QString(const QString&)>& convert);
// The next edit counter after the counter text read: counter + 1, where a
// text that is no number counts 0 and 999 counts 0 (so 999 is followed by 1).
int CounterToLock(const QString& counterText);
