#pragma once
// TfrmZtst53: the options window of ZTST53, the change slips' headers. One
// criterion, the slip type (a range or a list in the panel spTO001; empty:
// every slip type). From the criteria or the shell's keys (type, number,
// version) it builds one statement over MOCTO alone, every typed value a
// quoted literal, and prints it with TfrmZtst53Fmt.

#include "options/VROptF.h"

class TSelectPanel;

class TfrmZtst53 : public TfrmVROpt {
    Q_OBJECT
public:
    explicit TfrmZtst53(TComponent* owner = nullptr);

    void SetupEnvironment() override;
    bool PutTitleInfo(Variant& texts) override;
    bool PutPrintDate(Variant& values) override;
    void BuildQuery(int mode, const Variant& values, Variant& sql) override;
    void AdjustQuery(Variant& sql) override;

    // The statement's text over MOCTO before AdjustQuery: the pieces of
    // mode 0 (values[1]: the slip type criterion) or mode 1 (values: the
    // keys). Raises EConvertError for a value no literal can hold.
    static void FillPieces(int mode, const Variant& values, TQueryPieces& pieces);

    TSelectPanel* spTO001 = nullptr;
};
