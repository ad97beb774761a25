// A metafile played record by record, with every shape that reaches far
// beyond the picture cut to a box around it before GDI sees it. Some GDI
// rasterisers walk a shape's whole outline and every row of its fill,
// inside the picture or not: a 116-byte file holding an ellipse thousands of
// times the picture's size kept one busy for minutes.
#pragma once

#include <windows.h>

namespace orvel {

// Plays the metafile on `dc`, whose mapping is set and whose bitmap is
// width x height pixels. Shapes (rectangles, rounded rectangles, ellipses,
// arcs, pies, chords, lines, polylines and polygons) that lie within the
// box that reaches the picture's larger side and 32 pixels beyond each of
// its edges are played as they are; larger ones are drawn by the same pen
// and brush as polygons cut to that box, curves to about a tenth of a pixel.
// Everything else is played as it is. False when GDI refuses the metafile.
bool PlayMetafileCut(HDC dc, HMETAFILE metafile, int width, int height);

}  // namespace orvel
