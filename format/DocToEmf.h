#pragma once
// The designer's "Word doc转emf图档": the suite's document converter doc2emf
// turns a document (Word, Writer, a PDF ...) into a picture, which becomes
// the background of the report's pages.
//
// The converter is the client home's C_HVBIN\doc2emf (on this system the
// executable "doc2emf", found without regard to case; "doc2emf.exe" too);
// a home without one uses the doc2emf installed beside the running program
// (its bin folder, runtime/system/InstallLayout.h: /usr/bin installed, the
// build's bin/ built), so a home keeps a converter of its own only to
// replace that one.
// Start() runs it without arguments, so it asks the user for the document
// and the picture's name itself, and returns at once: the designer stays
// usable while the converter works. When the converter ends with status 0
// it has printed the picture's path on its last output line; Finished then
// gets that path. Any other end (the user cancelled, the conversion
// failed, no office program) gets an empty path and the converter's own
// reason on its error output, which it has shown the user already.
//
// Start() answers false, starting nothing, when neither place holds a
// converter (LastError names both) or when it would not start. The process
// belongs to the given parent: freeing the parent stops a converter still
// running.

#include <QObject>
#include <QString>
#include <functional>

class TDocToEmf {
public:
    TDocToEmf();

    // The converter in clientHome's C_HVBIN, else the one in programFolder
    // (empty: none looked for there); empty when neither has one.
    static QString ProgramPath(const QString& clientHome, const QString& programFolder = {});

    // The folder of the installed converter; the running program's own
    // unless set (an empty one looks in the home only).
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }
    QString ProgramFolder() const { return programFolder_; }

    using FinishedEvent = std::function<void(const QString& picture)>;
    bool Start(const QString& clientHome, QObject* parent, FinishedEvent finished);
    QString LastError() const { return lastError_; }

private:
    QString programFolder_;
    QString lastError_;
};
