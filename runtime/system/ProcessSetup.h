#pragma once
// What every program of the suite sets up for its process before anything
// else runs.

// Makes a write past the file size limit (RLIMIT_FSIZE) fail with EFBIG, which
// the writer reports as an error, instead of killing the process with
// SIGXFSZ: a program must never die half-way through saving a file.
void IgnoreFileSizeSignal();
