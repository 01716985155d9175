// The document's underlay read from an image file.
#include "document/pelmark_doc.h"
#include "framework/framework_strings.h"
#include "framework/support_file_dialog.h"
#include "imaging/mono_expand.h"
#include "plugin_host/file_prompt.h"
#include "plugin_host/image_file_read.h"

void CPelmarkDoc::OnUnderlayFromFile() {
    QString path;
    // The underlay's file is not the program's last opened file.
    if (!plugin_host::DoPromptFileName(path, framework::IDS_OPEN_TITLE, dialogs::OFN_FILEMUSTEXIST, true,
                                       nullptr, /*single=*/true, /*keepLastOpenedPath=*/true))
        return;
    if (MemHandle picture = ReadUnderlayFile(path)) SetUnderlay(picture, 0);
}

MemHandle CPelmarkDoc::ReadUnderlayFile(const QString& path) {
    using namespace plugin_host;
    PluginPicture picture = ReadPictureFile(path, OfferedLayers::ComposedIntoPicture);
    // A 2-colour picture counts as 256 colours from here.
    if (picture.image && picture.colors == 2) picture.image = ExpandMonoDib(picture.image);
    return picture.image;
}
