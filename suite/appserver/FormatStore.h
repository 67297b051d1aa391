#pragma once
// Stored report formats in table WARRANT, keyed by format class (NT001) and
// format name (NT002), with the edit counter in FLAG (1..999, then 1 again).
//
// Saving an existing format is optimistic: the client reads the row and its
// counter, asks for the lock with the counter it read, and then writes. The
// lock succeeds only while the stored counter is still the one read, and it
// moves the counter on at once to the value the client will write, so of two
// clients that read the same counter exactly one obtains the lock. The write
// that follows succeeds only for the session that holds the lock (NT006) and
// while the counter is still the locked value, so a client that did not get
// the lock, or whose lock was overtaken, cannot overwrite the newer format.
// A lock left behind by a client that went away is simply taken over by the
// next client that read the current counter.

#include "runtime/system/Variant.h"

class TDbBackend;

namespace FormatStore {

// Largest format name in bytes of the database code page, as the catalogue
// (syscolumns) tells clients.
constexpr int NameLimit = 40;

// What a stored format may hold: a slip layout has some hundred components;
// one of 100,000 labels took 40 s and 448 MB on every export.
constexpr int MaxFormComponents = 5000;
constexpr qsizetype MaxFormChars = 8 * 1024 * 1024;
// Raises EDatabaseError, naming the format and the limit, for a form text
// above either limit. Write refuses such a text; Read refuses to hand one out.
void CheckFormText(const QString& text, const QString& name);

// The counter that follows counter (an integer 0..999): counter + 1, after 999 1.
int NextCounter(int counter);

// [class, name]: 1 and out = [counter text, form text] when found, 0 when not.
int Read(TDbBackend& db, const Variant& key, Variant& out);
// [counter, counter text as read, class, name]: 1 when the lock was obtained, -1 when not.
int Lock(TDbBackend& db, const Variant& args, const QString& session);
// Insert (update false): params [company, user, group, class, name, "", snapshot].
// Update: params [company, user, "", new counter text, class, name, snapshot].
// lines: the form text, one element per line. 1 on success, -1 on failure.
// session: the server session that took the lock.
int Write(TDbBackend& db, bool update, const Variant& lines, const Variant& params, int sizeKB,
    const QString& session);
// [class, name]: the number of rows deleted.
int Delete(TDbBackend& db, const Variant& key);

} // namespace FormatStore
