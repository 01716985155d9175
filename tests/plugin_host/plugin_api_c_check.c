/* The plug-in contract must build as plain C, the way a plug-in in C sees it. */
#include "plugin_api/plugin_api.h"

_Static_assert(sizeof(PluginToolRecord) == 1192, "tool record");
_Static_assert(sizeof(PackedAnimTable) == 1024, "frame table");

/* Packs one frame from C and reads it back; 1 when it survives. */
int KvPluginApiFromC(void) {
    PackedAnimTable table = {{{0}}};
    PackedAnimFrame in = {300, 5, 17, 2047, 1000};
    PackedAnimWrite(&table, 3, &in);
    PackedAnimSetValid(&table, 1);
    PackedAnimFrame out = PackedAnimRead(&table, 3);
    return out.x == 300 && out.height == 2047 && out.delay == 1000 &&
           PluginResultMessage(9, 1) != 0;
}
