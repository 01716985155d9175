// The preview of Cinereel.so through the editor's real loading path: frames
// put into the document's table, the preview's bars reached by control id
// and its timer 1 driven by messages.
#pragma once

#include <vector>

#include "cinereel_fixture.h"

namespace hosttest {
namespace {

// The colour the palette above shows for an index (entry 0 as white).
inline QRgb Colour(int index) {
    return index == 0 ? qRgb(255, 255, 255) : qRgb(index, 255 - index, uint8_t(2 * index));
}

class CinereelPreviewTest : public CinereelTest {
protected:
    // The table of the document: the given frames at rows 0.., the rest empty.
    static void Frames(CPelmarkDoc* doc, const std::vector<PackedAnimFrame>& frames) {
        auto* table = reinterpret_cast<PackedAnimTable*>(doc->m_AnimTable.data());
        std::memset(table, 0, sizeof *table);
        for (int i = 0; i < 128; ++i) {
            PackedAnimFrame f = i < int(frames.size()) ? frames[size_t(i)] : PackedAnimFrame{0, 0, 0, 0, 100};
            PackedAnimWrite(table, i, &f);
        }
        PackedAnimSetValid(table, 1);
    }
    // Colour table entry i = (i, 255 - i, 2 i), entry 0 black; `used` colours.
    static void Palette(CPelmarkDoc* doc, uint32_t used = 256) {
        MemLockGuard image(doc->m_hImage);
        DibInfoHeader h;
        std::memcpy(&h, image.get(), sizeof h);
        h.clrUsed = used;
        std::memcpy(image.get(), &h, sizeof h);
        uint8_t* table = image.get() + DIB_INFO_HEADER_SIZE;
        for (int i = 0; i < 256; ++i) {
            table[4 * i + 0] = uint8_t(2 * i);
            table[4 * i + 1] = uint8_t(i == 0 ? 0 : 255 - i);
            table[4 * i + 2] = uint8_t(i);
            table[4 * i + 3] = 0;
        }
    }
    static framework::Dialog* PreviewBar(int id) {
        return static_cast<framework::Dialog*>(Preview()->findChild<QDialog*>(QStringLiteral("bar%1").arg(id)));
    }
    static QAbstractScrollArea* PreviewView() { return Preview()->findChild<QAbstractScrollArea*>("CpView"); }
    static int ViewValue(const char* name) { return PreviewView()->property(name).toInt(); }
    static int State() { return Preview()->property("buttonState").toInt(); }
    static void Press(int id) { PreviewBar(16019)->ClickButton(id); }
    // Timer 1 fires (only while it is set, as the platform's timer would).
    static bool Tick() {
        if (ViewValue("timer") < 0) return false;
        WinSendMessage(AnimRecord().window2, 0x0113, 1, 0);
        return true;
    }
    static void SelectFrame(int index) { WinSendMessage(AnimRecord().window2, 0x04D3, WinWParam(index), 0); }
    static void ClosePreview() { WinSendMessage(AnimRecord().window2, 0x0010, 0, 0); }
    QString AnimPos() const { return app->GetProfileString(QStringLiteral("Settings"), QStringLiteral("ANIMPOS")); }
};

}  // namespace
}  // namespace hosttest
