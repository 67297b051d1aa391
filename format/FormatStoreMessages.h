#pragma once
// The messages of the format store: each with the key it is looked up by in
// the language table (section "TfrmVRBaseFmt"; no key: the text is used as
// it stands), its default text, its kind and its buttons. "SaveFormatError"
// has two default texts under one key: the store raising, and the insert
// failing.

#include "runtime/forms/VclTypes.h"

#include <QString>

enum class TStoreMessage {
    EnsureSave, // question before a save
    SaveFormatName, // prompt
    SaveFormat, // caption
    StoreRaised, // the store raised
    FormatExists, // %s = format name
    FormatLockError,
    RefreshFormatError,
    InsertFailed,
    LocalFileFailed,
    LoadLastFailed, // load the changes of the last failed save?
    LoadLocalCaption,
    LoadLocalPrompt,
    SaveAsFormatName,
    SaveAsFormat,
    SaveAsFormatOK, // + name
    SaveFormatOK, // + name
    NameLengthError, // %d = NameLimit
    PlsNewName,
    NameIsBlank,
    NewLabel, // caption of a free label added in the designer
};

struct TStoreMessageText {
    TStoreMessage Id;
    const char* Key; // empty: no language look-up
    const char* Default; // UTF-8
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
};

// The entry of a message (every TStoreMessage has one).
const TStoreMessageText& StoreMessageText(TStoreMessage id);

// The section of the language table the keys are in.
inline constexpr const char* StoreMessageSection = "TfrmVRBaseFmt";
// The two texts shown when a stored layout cannot be read (message boxes
// captioned "Open Error" with OK and Cancel; the answer is not used).
inline constexpr const char* OpenStandardDfmError = "Open Standard DFM error!! ";
inline constexpr const char* CannotReadDfmData = "Can not read DFM data !!  ";
inline constexpr const char* OpenErrorCaption = "Open Error";
