#pragma once
// Texts on their way into a server log (the connection log, the query log),
// where clients' words end up: user codes, class names, SQL, messages that
// quote them.
//
// LogSafe returns text with every character that could end the line or act
// on a terminal written out as a visible escape: the C0 controls (CR, LF,
// ESC, TAB, NUL, ...), DEL and the C1 controls as "\xNN", the Unicode line
// and paragraph separators and the bidirectional overrides and isolates as
// "\uNNNN". Everything else, Chinese texts included, stays as it is. So one
// call to a log writer makes one line, whatever the client sent, and the
// console shows the bytes rather than obeying them.

#include <QString>

QString LogSafe(QStringView text);
