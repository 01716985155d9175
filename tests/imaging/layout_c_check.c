/* Compiles the shared layouts as C, the way a plug-in written in C sees them. */
#include "imaging/dib_layout.h"

int KvLayoutSizesFromC(void) {
    return (int)(sizeof(DibInfoHeader) + sizeof(DibCoreHeader) + sizeof(PaletteEntry) +
                 sizeof(CoreColorEntry) + sizeof(LayerHeader) + sizeof(DibRect));
}
