#pragma once
// The designer's own words: its menu, tool bar, status line, tool windows,
// inspector and dialogs. They are built in (simplified Chinese) and shown
// through the translator the program sets, so that the designer speaks the
// user's language without knowing of language packages.
//
// DesignerText(name, text) answers the translator's text for the message
// name (the program's language package "TDesigner" holds one per name), or
// text itself when no translator is set or it answers nothing. A window
// takes its words when it is made: set the translator before the designer
// starts. Not thread-safe (the designer runs on the GUI thread).

#include <QString>

#include <functional>

using TDesignerTranslator = std::function<QString(const QString& name, const QString& text)>;

// Replaces the translator; an empty one shows the built-in words.
void SetDesignerTranslator(TDesignerTranslator translator);

QString DesignerText(const char* name, const char* text);
