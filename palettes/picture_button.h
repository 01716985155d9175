// A button shown by four pictures of its own: up, down, focus and disabled.
// A latched button shows its down picture while its mode is on.
#pragma once

#include <array>

#include <QAbstractButton>
#include <QPixmap>

class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    enum Picture { kUp = 0, kDown = 1, kFocus = 2, kDisabled = 3 };

    PictureButton(const std::array<QPixmap, 4>& pictures, QWidget* parent);

    void SetLatched(bool latched);
    bool Latched() const { return latched_; }
    // The picture the button shows now.
    Picture Shown() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::array<QPixmap, 4> pictures_;
    bool latched_ = false;
};

// The four pictures of a palette bar button by control id (3000 to 3004),
// `size` pixels each.
std::array<QPixmap, 4> PaletteBarButtonPictures(int id, const QSize& size);
