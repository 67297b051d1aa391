#pragma once
// What the generic layers know of one print program: its code, its title,
// the class names of its options and format forms, the class of its server
// object, the slip tables whose print and send counts the server may raise,
// and the rows the demo database needs so that its users may run it.
//
// A program folder keeps this in its Program.txt; the build (zorv_program in
// cmake/Zorv.cmake) copies the file to <module folder>/programs/<CODE>.txt
// and compiles its text into the program's module, whose main block
// registers it (RegisterProgram). Lines:
//
//   # a comment                        blank lines and comments are skipped
//   Code=ZORV52                        1 to 6 letters or digits, upper case
//   Title=工单变更单打印                 any text but empty
//   OptionsForm=TfrmZorv52             identifiers
//   FormatForm=TfrmZorv52Fmt
//   ServerClass=ZORV52S.Class1         identifiers joined by dots
//   Slip=MOCTO|TO042|TO053             table | print count | send count
//                                      column (the send count may be left
//                                      out: "MOCTO|TO042"); repeatable
//   Demo=ADMMG|MG001=CHEN|MG002=ZORV52 one demo row: the table, then
//                                      column=value pairs; repeatable
//
// Table and column names are identifiers ([A-Za-z_][A-Za-z0-9_]*, stored
// upper case), so they may be written into SQL text; demo values are any
// text and are bound as values. Code, Title, OptionsForm, FormatForm and
// ServerClass are required, each once. Anything else is refused: Parse
// names the line and what is wrong with it, and gives no descriptor.
//
// Nothing here raises; the registry is made on first use (function-local),
// so a module's main block may register while the library is being loaded.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <optional>

struct TSlipTable {
    QString Table; // upper case, without "$$"
    QString PrintCountColumn; // upper case
    QString SendCountColumn; // upper case; empty when the slips are never sent
};

struct TDemoRow {
    QString Table; // upper case
    QList<QPair<QString, QString>> Values; // upper-case column -> value, in file order
};

struct TProgramDescriptor {
    QString Code;
    QString Title;
    QString OptionsFormClass;
    QString FormatFormClass;
    QString ServerClass;
    QList<TSlipTable> SlipTables;
    QList<TDemoRow> DemoRows;

    // The descriptor of a Program.txt text; nullopt with error set
    // ("line 3: ...") when the text is not one.
    static std::optional<TProgramDescriptor> Parse(const QString& text, QString& error);
    // The descriptor in that file (a native path); nullopt with error set
    // when it cannot be read or parsed.
    static std::optional<TProgramDescriptor> Load(const QString& fileName, QString& error);

    // The count columns of table (upper case, without "$$"), print count
    // first; empty when the program keeps no counts in it.
    QStringList CountColumns(const QString& table) const;
};

// Makes program known to this process, replacing a program of the same code
// registered before. A module's main block registers its own program.
void RegisterProgram(const TProgramDescriptor& program);
// RegisterProgram of a Program.txt text; false (nothing registered) when the
// text is no descriptor.
bool RegisterProgramText(const char* text);
// The Program.txt text of the module being linked: zorv_program compiles it
// into each program module (constant-initialised, so the main block may
// read it); defined in program modules only.
extern const char* const ModuleProgramText;

// The folders searched for installed descriptors (<folder>/programs/*.txt):
// the module folders of the running executable (runtime/system/InstallLayout.h),
// the folders outside libraries are loaded from (runtime/system/Libraries.h)
// and, for an executable below a build folder (one that holds CMakeCache.txt,
// at most four levels up), that build folder's lib/, then the shared data
// folder (where the server package puts them); in that order, each once.
QStringList ProgramDescriptorFolders();

// Every program this process knows: those registered, then those installed
// in ProgramDescriptorFolders() whose code is not known yet (the first file
// of a code wins), in code order within each group. A file that is no
// descriptor is skipped. The folders are read again on every call.
QList<TProgramDescriptor> KnownPrograms();
// The known program of that code (any case); nullopt when there is none.
std::optional<TProgramDescriptor> FindProgram(const QString& code);
