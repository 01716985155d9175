#include "dialogs/splash_dlg.h"

#include <QFont>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 220;
constexpr int kPixel = 8;  // screen pixels per picture pixel of the sprite

// A small brush-and-palette sprite, 16 x 16, one character per pixel.
constexpr const char* kSprite[16] = {
    "..........##....",
    ".........#yy#...",
    "........#yy#....",
    ".......#yy#.....",
    "......#ww#......",
    ".....#ww#.......",
    "..####ww#.......",
    ".#rrrr##........",
    "#rrbbrr#........",
    "#rbbbbr#..####..",
    "#rbbbbr##.#gg#..",
    "#rrbbrr#.##gg##.",
    ".#rrrr#.#gggggg#",
    "..####..#gg##gg#",
    "........#gggggg#",
    ".........######.",
};

QColor spriteColor(char c) {
    switch (c) {
    case '#': return QColor(0x18, 0x18, 0x28);
    case 'y': return QColor(0xFF, 0xCB, 0x30);
    case 'w': return QColor(0xE8, 0xE8, 0xE8);
    case 'r': return QColor(0xD3, 0x00, 0x28);
    case 'b': return QColor(0x3C, 0x5C, 0xC7);
    case 'g': return QColor(0x10, 0xAF, 0x10);
    default: return QColor();
    }
}

// The 16 colours of a new 16-colour image.
constexpr QRgb kStrip[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                             0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                             0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

QImage drawPicture() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(image.rect(), QColor(0x2D, 0x85, 0x85));
    // A checkerboard band, as behind a transparent image.
    for (int y = 0; y < kHeight; y += kPixel)
        for (int x = 0; x < kWidth; x += kPixel)
            if (((x + y) / kPixel) % 2 == 0 && y >= kHeight - 3 * kPixel)
                p.fillRect(x, y, kPixel, kPixel, QColor(0x23, 0x71, 0x70));
    for (int row = 0; row < 16; ++row)
        for (int col = 0; col < 16; ++col) {
            QColor color = spriteColor(kSprite[row][col]);
            if (color.isValid())
                p.fillRect(24 + col * kPixel, 32 + row * kPixel, kPixel, kPixel, color);
        }
    for (int i = 0; i < 16; ++i)
        p.fillRect(168 + i * 13, 140, 12, 12, QColor(kStrip[i]));
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(54);
    title.setBold(true);
    title.setStyleStrategy(QFont::NoAntialias);
    p.setFont(title);
    p.setPen(QColor(0x18, 0x18, 0x28));
    p.drawText(QRect(171, 51, 220, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kavolt"));
    p.setPen(QColor(0xFF, 0xF7, 0xDB));
    p.drawText(QRect(168, 48, 220, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kavolt"));
    p.setPen(QColor(0x18, 0x18, 0x28));
    p.drawRect(0, 0, kWidth - 1, kHeight - 1);
    return image;
}

}  // namespace

CSplashDlg::CSplashDlg() : framework::Dialog(kTemplateId) {
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setWindowTitle(QString());
    picture_ = new QLabel(this);
    picture_->setPixmap(QPixmap::fromImage(Picture()));
    picture_->setGeometry(0, 0, kWidth, kHeight);
    setFixedSize(kWidth, kHeight);
}

CSplashDlg::~CSplashDlg() = default;

const QImage& CSplashDlg::Picture() {
    static const QImage picture = drawPicture();
    return picture;
}

bool CSplashDlg::OnInitDialog() {
    if (QWidget* owner = parentWidget()) {
        QRect area = owner->frameGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }
    return framework::Dialog::OnInitDialog();
}
