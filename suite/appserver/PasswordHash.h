#pragma once
// Users' passwords as the server keeps them: a salted scrypt hash, never the
// password itself or anything it could be read back from.
//
// Stored form (one text, at most 200 characters):
//   scrypt$<log2 N>$<r>$<p>$<salt, base64>$<hash, base64>
// with a 16-byte random salt and a 32-byte hash. New hashes use
// DefaultCost; a stored text carries its own cost, so hashes made with
// another cost keep verifying (and a later, higher default needs no
// migration).
//
// What is guaranteed:
// - HashPassword gives a different text for the same password every time
//   (fresh salt); VerifyPassword(p, HashPassword(p)) holds; VerifyPassword
//   compares in time that does not depend on where the hashes differ.
// - VerifyPassword answers false, never raises, for a stored text that is
//   empty, damaged, of another scheme, or whose cost lies outside the
//   bounds below (a tampered row cannot make the server spend gigabytes).
// - At most two derivations run at once in the process; more callers wait
//   (each takes 32 MiB or more while it runs).
// HashPassword raises Exception when the crypto library fails.

#include <QString>

struct TScryptCost {
    int LogN = 15; // N = 2^LogN
    int R = 8;
    int P = 3;
};

// The cost of new hashes: about 32 MiB and a quarter second of one core.
constexpr TScryptCost DefaultScryptCost {};

QString HashPassword(const QString& password, TScryptCost cost = DefaultScryptCost);
bool VerifyPassword(const QString& password, const QString& stored);
