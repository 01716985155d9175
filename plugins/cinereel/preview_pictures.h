// The pictures of the preview's playback buttons, drawn by code: one per
// picture id, the pressed ones on a darker ground.
#pragma once

#include <QPixmap>

QPixmap PreviewPicture(int id);
