// What the ImageMagick comparisons share: a photo made into a 256-colour
// picture of a given size, that picture as the plug-ins see a document (a
// packed DIB and one layer), the start of each comparison program, the best
// of a few timed runs, and one run of ImageMagick's convert.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

#include "bench_timing.h"
#include "platform/memory.h"

namespace benchphoto {

// The photo scaled to side x side and reduced to 256 colours (null when it
// cannot be read).
QImage IndexedPhoto(const QString& path, int side);

// The indexed picture as a packed DIB and one layer holding its pixels, in
// the host's table of 101 layer slots.
struct Document {
    MemHandle image = nullptr;
    MemHandle layers[101] = {};
};
Document MakeDocument(const QImage& indexed);

// What a comparison program `<program> <photo> [work directory]` starts
// from: the photo as a side x side 256-colour picture, that picture as a
// 24-bit BMP in the work directory (default: the temporary folder) for
// ImageMagick to read, a path beside it for ImageMagick's output, and the
// picture as a document. The document is freed and both files removed at the
// end.
struct Comparison {
    Comparison() = default;
    Comparison(const Comparison&) = delete;
    Comparison& operator=(const Comparison&) = delete;
    ~Comparison();

    QImage indexed;
    QString bmp;  // "<stem>_in.bmp"
    QString out;  // "<stem>_out.bmp"
    Document doc;
};
// Reads the command line into `comparison`: 0 when it is ready, else the
// program's exit code after saying why on stderr (2: no photo given, 1: the
// photo cannot be read).
int StartComparison(int argc, char** argv, const char* program, const char* stem, int side, Comparison* comparison);

using benchtiming::BestOf;
using benchtiming::BestOfTimes;
using benchtiming::BestRun;
using benchtiming::Cell;
using benchtiming::ImageMagickConvert;
using benchtiming::RunConvert;
using benchtiming::Times;

}  // namespace benchphoto
