#pragma once
// A mail message in Internet format (RFC 5322 with MIME), ready for SMTP.
//
// In: sender, checked recipients (TMailAddress), subject, plain-text body and
// attachments (name and bytes). Out: the message bytes with CR LF line ends,
// lines of at most 78 characters:
// - headers Date, From, To, Subject, Message-ID, MIME-Version; a subject or
//   display name that is not plain ASCII is written as RFC 2047 encoded
//   words (UTF-8, base64), and control characters in it (CR and LF above
//   all) become blanks first, so a header can never be split or added;
// - without attachments a single text/plain part, else multipart/mixed with
//   the text first and each attachment base64-encoded, its type guessed from
//   the name, its name in the Content-Disposition (RFC 2231 for names that
//   are not plain ASCII, plus an encoded-word "name" for older readers).
// The boundary is random and checked not to occur in any part.

#include "common/MailAddress.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct TMailAttachment {
    QString FileName; // the name shown to the recipient (no folder)
    QByteArray Data;
};

struct TMimeMessage {
    QString From;
    QList<TMailAddress> To;
    QString Subject;
    QString Body;
    QList<TMailAttachment> Attachments;

    QByteArray Compose() const;
};

// A header value as encoded words when it needs them, else as it is; control
// characters become blanks. firstLineRoom is what the header name leaves of
// the first line. Exposed for the tests.
QByteArray EncodeHeaderText(const QString& text, int firstLineRoom = 66);
