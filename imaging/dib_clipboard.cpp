#include "imaging/dib_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "imaging/dib_qimage.h"

namespace {

QClipboard* Clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                          : nullptr;
}

}  // namespace

bool ClipboardHasDib() {
    QClipboard* clipboard = Clipboard();
    if (!clipboard) return false;
    const QMimeData* data = clipboard->mimeData();
    return data && data->hasImage();
}

bool ClipboardPutDib(MemHandle image) {
    QImage picture = DibToQImage(image);
    MemFree(image);
    QClipboard* clipboard = Clipboard();
    if (!clipboard || picture.isNull()) return false;
    clipboard->setImage(picture);
    return true;
}

MemHandle ClipboardGetDib() {
    QClipboard* clipboard = Clipboard();
    if (!clipboard) return nullptr;
    return QImageToDib(clipboard->image());
}

void ClipboardEmpty() {
    if (QClipboard* clipboard = Clipboard()) clipboard->clear();
}
