// Everything one drawing operation writes with: the pixels, the palette, the
// pen, the colours and the tone.
#pragma once

#include "imaging/dib_layout.h"
#include "imaging/layer_stack.h"
#include "tools/pen_stamps.h"
#include "tools/repaint_sink.h"
#include "tools/tone.h"

namespace tools {

struct DrawTarget {
    LayerStack stack;
    const PaletteEntry* colors = nullptr;  // 256 entries of the composite
    int paletteEntries = 256;              // 16 in a 16-colour document
    int penId = kPenSingle;
    // 1: the drawing colour is written as it is; 0: through the tone mask.
    // Always 0 while the tone pattern is not 0.
    bool directWrite = true;
    int color = 0;
    int color2 = 0;
    int tonePattern = 0;
    ToneMask mask;
    // While guide lines are edited nothing is drawn.
    bool guideEditing = false;
    RepaintSink* sink = nullptr;

    // Sets pattern, colours and write flag as one drawing operation starts:
    // the document's tone flag and second colour are dropped while the
    // pattern is not 0, and the mask is built for the drawing colour.
    void SetTone(int pattern, bool toneFlag, int drawColor, int secondColor);
};

}  // namespace tools
