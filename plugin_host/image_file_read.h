// Reading a picture from an image file through its file-format plug-in, for
// a document's underlay and for a palette taken from an image file. The
// document open (document_open.cpp) reads a whole document instead.
#pragma once

#include <QString>

#include "platform/memory.h"

namespace plugin_host {

struct PluginPicture {
    MemHandle image = nullptr;  // the caller's
    int colors = 0;             // as the plug-in counted them
};

// What becomes of the layers the plug-in hands over beside its picture (a
// GIF reader keeps the frames there and the picture holds only the palette).
enum class OfferedLayers { Freed, ComposedIntoPicture };

// The plug-in listing the path's extension (upper-cased) reads the file:
// ImportDlgIn with a copy of the path (nonzero stops the read), the ten
// colour reduction slots lent, ImportGR. The picture is checked against its
// block; layers that fit it are composed by their draw modes into an 8-bit
// picture when asked; every layer, channel and underlay the plug-in handed
// over is freed. The wait cursor shows meanwhile.
// No picture: the message has been shown: "<PATH>\n 是不支持的文件格式。",
// "文件格式不正确。", "文件无法读取。" (once), or none when the user cancelled
// inside the plug-in.
PluginPicture ReadPictureFile(const QString& path, OfferedLayers layers);

}  // namespace plugin_host
