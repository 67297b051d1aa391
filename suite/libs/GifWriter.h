#pragma once
// Writes a palette picture as a GIF file with giflib.
//
// In: a Format_Indexed8 image whose colour table has 1 to 256 entries and
// whose pixels all index into it. The table is padded with black to the
// next power of two, as the format requires. One frame, no transparency,
// GIF87a (what every reader takes).
//
// Out: true when the whole file reached the device; on false the device may
// hold part of a file, so callers write to a QSaveFile and do not commit.

class QImage;
class QIODevice;

bool WriteGif(const QImage& indexed, QIODevice& device);
