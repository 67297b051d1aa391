#pragma once
// A length limit in bytes of a code page for an edit, kept while the user
// types: a character that would pass the limit is not taken, and a pasted
// text is cut to what still fits (the server keeps names in a field of so
// many bytes of the database's code page, where a Chinese character takes
// two). Meant for what the user types: text that code sets should fit
// already (the widget would show it cut while the edit's Text keeps it
// whole). Installed on the edit's widget, which it creates; the edit keeps
// its own MaxLength in characters.

class TEdit;

void LimitEditBytes(TEdit* edit, int maxBytes, int codePage);
