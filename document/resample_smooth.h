// Raster operations of the document that match their results back to the
// palette: an area-averaging resample of a rectangle into a layer, and the
// softening of strong colour edges inside the selection.
//
// Colours come from the composite image's colour table at the start of each
// operation; a result colour becomes the nearest entry (dib::NearestColorIndex)
// among the first 16 entries in a 16-colour document and all 256 otherwise,
// and a pixel no entry is near enough to keeps its index. Only pixels whose
// selection bit is set are written; everything is computed before the first
// write, so a failure leaves the layer as it was.
#pragma once

#include "imaging/dib_layout.h"
#include "platform/memory.h"

class CPelmarkDoc;

namespace document {

// Resamples the input rectangle into the output rectangle of an image-size
// layer by area averaging (imaging/area_resample.h). Rectangles have right
// and bottom exclusive and are ordered first. Input pixel (x, y) is read at
// (x, y) moved by the paste offset, from the floating image (its own pixels,
// (0, 0) its top-left) when one exists, else from `layer`; a point outside
// that picture reads as palette entry 0. Output pixels outside the image are
// dropped. 1 when done (also when a rectangle is empty); 0 when the layer is
// missing or does not hold the image, or after the main frame's
// out-of-memory message when work memory cannot be had.
int ResampleIntoLayer(CPelmarkDoc& doc, const DibRect& input, const DibRect& output,
                      MemHandle layer);

// Every selected pixel of the current layer with a neighbour farther than
// dib::kEdgeThreshold takes the nearest colour of its 3 x 3 average
// (imaging/edge_smooth.h); other selected pixels take the lowest index of
// their own colour. 1 when done; 0 without a current layer or when work
// memory cannot be had (no message).
int SmoothEdgesInSelection(CPelmarkDoc& doc);

}  // namespace document
