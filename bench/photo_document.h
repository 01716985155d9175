// What the ImageMagick comparisons share: a photo made into a 256-colour
// picture of a given size, that picture as the plug-ins see a document (a
// packed DIB and one layer), the best of a few timed runs, and one run of
// ImageMagick's convert.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

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

// The shortest of `runs` runs in seconds; -1 when a run fails.
double BestOf(int runs, const std::function<bool()>& run);

// Runs convert with these arguments; true when it ended normally with 0.
bool RunConvert(const QString& convert, const QStringList& args);

}  // namespace benchphoto
