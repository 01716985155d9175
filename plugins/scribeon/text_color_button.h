// The background colour button of the text dialog: a left click opens a menu
// of eight colours (items 32771 to 32778); the chosen colour fills the
// button and becomes the text box's background.
#pragma once

#include <functional>

#include <QPushButton>

class QMenu;

class CTextColorButton : public QPushButton {
public:
    static constexpr int kFirstItem = 32771;
    static constexpr int kColors = 8;

    explicit CTextColorButton(QWidget* parent);

    // The colour of entry k (0..7) as red, green, blue.
    static QColor ColorOf(int index);
    int Index() const { return index_; }
    // Sets the entry, repaints and tells the owner.
    void SetIndex(int index);
    QMenu* Menu() const { return menu_; }
    // The owner's part: the colour reaches the text box.
    std::function<void(const QColor&)> onColor;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QMenu* menu_;
    int index_ = 0;
};
