#pragma once
// Reduction of a true-colour picture to a palette of at most 256 colours, for
// GIF files.
//
// - A picture with at most maxColours distinct colours keeps them exactly:
//   every pixel maps to its own colour (report pages, mostly white, black
//   and a few anti-aliasing greys, usually take this road).
// - Otherwise the colours are grouped by median cut over a histogram of
//   5 bits per channel: the group with the most pixels times its widest
//   channel extent is split at the pixel-weighted median of that channel,
//   until there are maxColours groups or none can be split. Each palette
//   entry is the pixel-weighted mean of its group, and every pixel maps to
//   the palette entry nearest to its histogram cell's mean colour.
// - No dithering: dither noise hurts text more than the small banding it
//   removes from the rare photo on a slip.
//
// Alpha is ignored. The result is Format_Indexed8 with a colour table of at
// most maxColours entries (at least one for a non-empty picture); an empty
// input gives an empty image.

#include <QImage>

QImage QuantizeToPalette(const QImage& image, int maxColours = 256);
