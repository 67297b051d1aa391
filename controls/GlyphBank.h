#pragma once
// The glyph bank: the small pictures of the criteria controls' buttons, by
// number. A glyph of n cells (normal, disabled ...) is n squares side by side.
//
//   1 OK, 2 cancel, 3 open, 4 clear list (2 cells), 5 save, 6 print,
//   7 preview, 8 look-up, 9 calendar, 10 add, 11 design, 12 mail, 47 delete row.

#include "runtime/system/Exceptions.h"

#include <QByteArray>
#include <QImage>
#include <QString>

class TPicture;

ZORV_EXCEPTION_CLASS(EInvalidGraphic, Exception)

// The largest glyph number.
int MaxGlyphIndex();
// Loads glyph index into picture; false (picture untouched) when the bank has
// no glyph of that number. Raises EInvalidGraphic when the stored image is damaged.
bool LoadGlyph(TPicture* picture, int index);
// The image of glyph index (null when none).
QImage GlyphImage(int index);
// The check-box pictures: "CHECKED", "UNCHECKED", "GRAYED" (PNG data).
QByteArray BitmapResource(const QString& name);
