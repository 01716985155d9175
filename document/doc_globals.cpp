#include "document/doc_globals.h"

namespace document {

namespace {
bool g_newFromData = false;
}

bool IsNewFromData() { return g_newFromData; }
void SetNewFromData(bool on) { g_newFromData = on; }

}  // namespace document
