#pragma once
// Unit libPDF: TPrintPDF writes a one-page PDF 1.4 file that shows
// bitmaps. The report output renders a page into a bitmap, sets the page size,
// and calls BeginDoc, DrawBitmap once at (0, 0) and EndDoc.
//
// The file's text is built in memory with an exact table of byte offsets, so
// the cross-reference table is exact. Each image object (its dictionary and
// pixel bytes) is parked by DrawBitmap in the document's temporary image
// file; EndDoc writes the text and copies each image object from that file
// into its place in the output file. The temporary file has no name in any
// folder: it goes when EndDoc ends, whether it succeeds or fails, when the
// writer is destroyed, and with the process however that ends. By default it
// lives in the system temporary folder ($TMPDIR, else /tmp); see
// SetTemporaryStorage.
//
// With Compression on, each image stream is one zlib stream. Everything runs
// on the calling thread. The pixel buffers are kept for the writer's life.
//
// The output goes to a new file in FileName's folder that takes FileName's
// place (by rename; through a link, the place of the file the link names) only
// when it is whole: a failed or interrupted EndDoc leaves what was there, a
// good document or nothing, and no part of the new one. A device or pipe
// named as the output is written in place.
//
// Failures raise to the caller (runtime/system/Exceptions.h):
//   EFCreateError  the output file or the temporary file cannot be created,
//                  or FileName contains a NUL character;
//   EWriteError    one of them cannot be written completely;
//   EReadError     the temporary file cannot be read completely at EndDoc;
//   EInOutError    DrawBitmap or EndDoc without BeginDoc.

#include <QObject>
#include <QString>
#include <memory>

class QImage;

class TPrintPDF : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString TITLE READ TITLE WRITE SetTITLE)
    Q_PROPERTY(int PageNumber READ PageNumber)
    Q_PROPERTY(int PageWidth READ PageWidth WRITE SetPageWidth)
    Q_PROPERTY(int PageHeight READ PageHeight WRITE SetPageHeight)
    Q_PROPERTY(QString Author READ Author WRITE SetAuthor)
    Q_PROPERTY(QString Creator READ Creator WRITE SetCreator)
    Q_PROPERTY(QString Producer READ Producer WRITE SetProducer)
    Q_PROPERTY(QString Keywords READ Keywords WRITE SetKeywords)
    Q_PROPERTY(QString Subject READ Subject WRITE SetSubject)
    Q_PROPERTY(bool Compression READ Compression WRITE SetCompression)

public:
    // The owner (the report format form) becomes the QObject parent.
    // The screen resolution is taken from the primary screen when the
    // application has one, else 96 dots per inch (see SetScreenDpi).
    explicit TPrintPDF(QObject* owner = nullptr);
    ~TPrintPDF() override;

    // Published properties.
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& value) { fileName_ = value; }
    QString TITLE() const { return title_; }
    void SetTITLE(const QString& value) { title_ = value; }
    int PageNumber() const { return pageNumber_; }
    int PageWidth() const { return pageWidth_; }
    void SetPageWidth(int value) { pageWidth_ = value; }
    int PageHeight() const { return pageHeight_; }
    void SetPageHeight(int value) { pageHeight_ = value; }
    QString Author() const { return author_; }
    void SetAuthor(const QString& value) { author_ = value; }
    QString Creator() const { return creator_; }
    void SetCreator(const QString& value) { creator_ = value; }
    QString Producer() const { return producer_; }
    void SetProducer(const QString& value) { producer_ = value; }
    QString Keywords() const { return keywords_; }
    void SetKeywords(const QString& value) { keywords_ = value; }
    QString Subject() const { return subject_; }
    void SetSubject(const QString& value) { subject_ = value; }
    // Off: the file is byte for byte the plain layout. On: each image
    // stream is Flate-compressed (/Filter /FlateDecode, compressed /Length).
    bool Compression() const { return compression_; }
    void SetCompression(bool value) { compression_ = value; }

    // The screen resolution used for the scale factors of DrawBitmap.
    int ScreenDpiX() const { return screenDpiX_; }
    int ScreenDpiY() const { return screenDpiY_; }
    void SetScreenDpi(int dpiX, int dpiY);

    // Starts a document: counters, lists and buffers cleared; header,
    // information object and the start of the page content written.
    void BeginDoc();
    // Draws bitmap (any format, written as 24-bit RGB) with its top left
    // corner at (x, y) in PDF units from the top left of the page.
    void DrawBitmap(int x, int y, const QImage& bitmap);
    // Draws bitmap stretched to width x height PDF units at (x, y) from the
    // top left of the page. With the page size set to width x height and
    // (x, y) = (0, 0) the picture covers the whole page, whatever the screen
    // resolution: the form for page pictures. The bytes written are those of
    // DrawBitmap with the same placement.
    void DrawBitmapSized(int x, int y, int width, int height, const QImage& bitmap);
    // Writes the remaining objects, the cross-reference table and trailer,
    // saves the file to FileName and removes the temporary image files.
    void EndDoc();

    // Where the image objects wait for EndDoc. Folder: a file without a name
    // in the system temporary folder, which must exist (on a file system
    // that cannot make unnamed files, a file whose name is removed as soon
    // as it is made). Memory: a file in memory, in no folder. The output
    // bytes are the same either way. Taken at the first DrawBitmap of a
    // document.
    enum class TempStorage { Folder, Memory };
    TempStorage TemporaryStorage() const { return tempStorage_; }
    void SetTemporaryStorage(TempStorage value) { tempStorage_ = value; }

    // The open handle of this document's temporary image file; -1 before
    // the first DrawBitmap and after EndDoc (for tests).
    int TemporaryFileHandle() const;

private:
    struct Private;
    std::unique_ptr<Private> d_;

    QString fileName_;
    QString title_;
    int pageNumber_ = 1;
    int pageWidth_ = 612;
    int pageHeight_ = 792;
    QString author_ = QStringLiteral("Q. Talvik");
    QString creator_ = QStringLiteral("Q. Talvik");
    QString producer_ = QStringLiteral("Q. Talvik");
    QString keywords_;
    QString subject_;
    bool compression_ = false;
    TempStorage tempStorage_ = TempStorage::Folder;
    int screenDpiX_ = 96;
    int screenDpiY_ = 96;
};
