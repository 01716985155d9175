#include "imaging/dib_clipboard.h"

#include <cstring>

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStringList>

#include "imaging/dib_qimage.h"

namespace {

constexpr char kPngMime[] = "image/png";
constexpr char kBmpMime[] = "image/bmp";
constexpr char kQtImageMime[] = "application/x-qt-image";

QClipboard* Clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard()
                                                                          : nullptr;
}

// One copy: the own bytes held, the picture encoded when asked for.
class DibMimeData : public QMimeData {
public:
    DibMimeData(QImage picture, QByteArray own) : picture_(std::move(picture)), own_(std::move(own)) {}

    QStringList formats() const override {
        return {QString::fromLatin1(kKavoltDibMime), QString::fromLatin1(kPngMime),
                QString::fromLatin1(kBmpMime), QString::fromLatin1(kQtImageMime)};
    }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override {
        if (mime == QLatin1String(kKavoltDibMime)) return own_;
        if (mime == QLatin1String(kQtImageMime)) {
            if (type.id() == QMetaType::QByteArray) return encoded("PNG");
            return picture_;
        }
        if (mime == QLatin1String(kPngMime)) return encoded("PNG");
        if (mime == QLatin1String(kBmpMime)) return encoded("BMP");
        return QMimeData::retrieveData(mime, type);
    }

private:
    QByteArray encoded(const char* format) const {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture_.save(&buffer, format);
        return bytes;
    }

    QImage picture_;
    QByteArray own_;
};

void AppendU32(QByteArray& out, uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }

bool ReadU32(const QByteArray& in, qsizetype at, uint32_t* v) {
    if (at < 0 || in.size() - at < 4) return false;
    std::memcpy(v, in.constData() + at, 4);
    return true;
}

}  // namespace

QByteArray PackOwnClipboardData(const QByteArray& dib, const QByteArray& extra) {
    QByteArray out;
    out.reserve(8 + dib.size() + extra.size());
    AppendU32(out, uint32_t(dib.size()));
    out.append(dib);
    AppendU32(out, uint32_t(extra.size()));
    out.append(extra);
    return out;
}

bool UnpackOwnClipboardData(const QByteArray& data, QByteArray* dib, QByteArray* extra) {
    uint32_t dibSize = 0, extraSize = 0;
    if (!ReadU32(data, 0, &dibSize) || qsizetype(dibSize) > data.size() - 4) return false;
    const qsizetype extraAt = 4 + qsizetype(dibSize);
    if (!ReadU32(data, extraAt, &extraSize) || qsizetype(extraSize) != data.size() - extraAt - 4)
        return false;
    if (dib) *dib = data.mid(4, dibSize);
    if (extra) *extra = data.mid(extraAt + 4, extraSize);
    return true;
}

bool ClipboardHasDib() {
    QClipboard* clipboard = Clipboard();
    if (!clipboard) return false;
    const QMimeData* data = clipboard->mimeData();
    return data && (data->hasFormat(QString::fromLatin1(kKavoltDibMime)) || data->hasImage());
}

bool ClipboardHasOwnDib() {
    QClipboard* clipboard = Clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasFormat(QString::fromLatin1(kKavoltDibMime));
}

bool ClipboardPutDib(MemHandle image, const QByteArray& extra) {
    QImage picture = DibToQImage(image);
    QByteArray dib;
    if (!picture.isNull()) {
        MemLockGuard lock(image);
        if (lock) dib = QByteArray(reinterpret_cast<const char*>(lock.get()), qsizetype(lock.size()));
    }
    MemFree(image);
    QClipboard* clipboard = Clipboard();
    if (!clipboard || picture.isNull() || dib.isEmpty()) return false;
    clipboard->setMimeData(new DibMimeData(std::move(picture), PackOwnClipboardData(dib, extra)));
    return true;
}

MemHandle ClipboardGetDib(QByteArray* extra, bool* own) {
    if (extra) extra->clear();
    if (own) *own = false;
    QClipboard* clipboard = Clipboard();
    if (!clipboard) return nullptr;
    const QMimeData* data = clipboard->mimeData();
    if (!data) return nullptr;
    const QString ownMime = QString::fromLatin1(kKavoltDibMime);
    if (data->hasFormat(ownMime)) {
        QByteArray dib;
        if (!UnpackOwnClipboardData(data->data(ownMime), &dib, extra) || dib.isEmpty()) return nullptr;
        MemHandle block = MemAlloc(size_t(dib.size()));
        MemLockGuard lock(block);
        if (!lock) {
            if (block) MemFree(block);
            return nullptr;
        }
        std::memcpy(lock.get(), dib.constData(), size_t(dib.size()));
        if (own) *own = true;
        return block;
    }
    return QImageToDib(clipboard->image());
}

void ClipboardEmpty() {
    if (QClipboard* clipboard = Clipboard()) clipboard->clear();
}
