// A swatch button of the gradation dialog: a black frame filled with one
// palette index of the image. When the image gives no palette it says so
// once ("palette ", caption "error") and shows the frame alone.
#pragma once

#include <QPushButton>

#include "imaging/logical_palette.h"
#include "platform/memory.h"

class CPaletteSwatch : public QPushButton {
public:
    explicit CPaletteSwatch(QWidget* parent);

    void Attach(MemHandle image) { m_hDib = image; }
    void SetIndex(int index);
    int Index() const { return m_nIndex; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MemHandle m_hDib = nullptr;
    int m_nIndex = 0;
    bool m_bToldNoPalette = false;
};
