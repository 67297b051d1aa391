#pragma once
// Counting the prints of a slip: the application server's UpdatePrintCount
// with [table, count column, key condition] (passed by reference, as the
// server's interface has it).
//
// Mode 0 (a preview) counts nothing and answers 0; modes 1 (print) and 2
// (send) ask the server and answer the rows it updated. A slip without
// table, column or condition, a missing server or a failing call answer -1;
// nothing is raised, so one slip's count cannot stop a print or a send.

#include "format/SendList.h"

#include "runtime/system/Variant.h"

enum TPrintCountMode { pcmPreview = 0, pcmPrint = 1, pcmSend = 2 };

int UpdatePrintCount(const Variant& server, int mode, const TSendGroup& slip) noexcept;

// The slips of a report run by the report pages they print on, so that a
// print counts exactly the slips whose pages went out. A slip header adds
// its slip on every page it prints on (Page: that report page); a run
// starts with Clear.
class TSlipPages {
public:
    void Clear() { slips_.clear(); }
    void Add(const TSendGroup& slip) { slips_ << slip; }
    bool IsEmpty() const { return slips_.isEmpty(); }
    // The slips with a page in first..last (report pages), each once, in
    // the order of their first page; slips that cannot be counted are left out.
    QList<TSendGroup> OnPages(int first, int last) const;

private:
    QList<TSendGroup> slips_;
};
