// One ruler beside the canvas view of a child frame: the horizontal one
// above the view, the vertical one on its left. It paints white and draws
// the ticks and numbers of view/ruler_marks.h in black; nothing is erased
// before the paint.
#pragma once

#include <functional>

#include <QWidget>

#include "view/ruler_marks.h"

class CRulerCtrl : public QWidget {
    Q_OBJECT
public:
    // The centring offset of the ruler's view along the ruler.
    using CentreSource = std::function<int()>;

    CRulerCtrl(view::RulerOrientation orientation, QWidget* parent = nullptr);

    // The ruler state: orientation, the view's zoom, its scroll position
    // along the ruler in screen pixels.
    view::RulerOrientation Orientation() const { return m_nOrientation; }
    int Zoom() const { return m_nZoom; }
    int ScrollPosition() const { return m_nScroll; }
    void SetState(int zoom, int scroll);
    // Stores zoom and position; true when either changed.
    bool Follow(int zoom, int scroll);
    void SetCentreSource(CentreSource source) { m_Centre = std::move(source); }

    // What the ruler shows at its size now.
    view::RulerMarks Marks() const;

    // The numbers' font: 9-point "宋体" where it is installed, else the
    // interface font at that size.
    static QFont NumberFont(const QFont& interfaceFont);
    // The strip a ruler takes beside the view: 16 dialog units high
    // (horizontal) or 14 wide (vertical) in the numbers' font.
    static int StripSize(view::RulerOrientation orientation, const QFont& font);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    view::RulerOrientation m_nOrientation;
    int m_nZoom = 1;
    int m_nScroll = 0;
    CentreSource m_Centre;
};
