// doc2emf: turns a document into a report page's background picture.
//
//   doc2emf DOCUMENT [PICTURE]   converts at once; PICTURE defaults to the
//                                document's name with ".png"
//   doc2emf                      (as the report menu starts it) asks for the
//                                document and the picture name
//
// On success the picture's path is the last line on standard output, in
// both ways: the designer that started the tool loads it from there.
//
// Exit status 0 on success, 1 when the conversion failed, 2 when LibreOffice
// is missing, 3 when the user cancelled. Messages go to standard error on
// the command line and to a message box when asking.

#include "suite/doc2emf/DocumentConverter.h"

#include "runtime/forms/Dialogs.h"

#include <QApplication>
#include <QTextStream>

namespace {

int statusOf(const QString& error)
{
    if (error.isEmpty())
        return 0;
    return error == TDocumentConverter::NotInstalledMessage() ? 2 : 1;
}

int runCommandLine(const QStringList& args)
{
    const QString document = args.at(0);
    const QString target = args.size() > 1 ? args.at(1) : TDocumentConverter::DefaultTarget(document);
    const QString error = TDocumentConverter().Convert(document, target);
    QTextStream err(stderr);
    if (error.isEmpty())
        QTextStream(stdout) << target << Qt::endl;
    else
        err << "doc2emf: " << error << Qt::endl;
    return statusOf(error);
}

int runAsking()
{
    if (TDocumentConverter::OfficeProgram().isEmpty()) {
        ShowMessage(TDocumentConverter::NotInstalledMessage());
        return 2;
    }
    FileDialogOptions open;
    open.Title = QStringLiteral("Document");
    open.Filter = QStringLiteral("Documents (*.doc;*.docx;*.odt;*.rtf;*.xls;*.xlsx;*.ods;*.pdf)|"
                                 "*.doc;*.docx;*.odt;*.rtf;*.xls;*.xlsx;*.ods;*.pdf|All files (*.*)|*.*");
    if (!Dialogs().OpenDialog(open))
        return 3;
    FileDialogOptions save;
    save.Title = QStringLiteral("Picture");
    save.Filter
        = QStringLiteral("PNG picture (*.png)|*.png|SVG picture (*.svg)|*.svg|EMF picture (*.emf)|*.emf");
    save.DefaultExt = QStringLiteral("png");
    save.FileName = TDocumentConverter::DefaultTarget(open.FileName);
    if (!Dialogs().SaveDialog(save))
        return 3;
    const QString error = TDocumentConverter().Convert(open.FileName, save.FileName);
    ShowMessage(error.isEmpty() ? QStringLiteral("The picture was written to %1").arg(save.FileName) : error);
    if (error.isEmpty())
        QTextStream(stdout) << save.FileName << Qt::endl;
    return statusOf(error);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.size() > 2) {
        QTextStream(stdout) << "Usage: doc2emf [DOCUMENT [PICTURE.png|.svg|.pdf|.emf]]" << Qt::endl;
        return args.contains(QStringLiteral("--help")) ? 0 : 1;
    }
    return args.isEmpty() ? runAsking() : runCommandLine(args);
}
