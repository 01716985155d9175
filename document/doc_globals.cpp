#include "document/doc_globals.h"

namespace document {

namespace {
bool g_newFromData = false;
}

bool IsNewFromData() { return g_newFromData; }
void SetNewFromData(bool on) { g_newFromData = on; }

namespace {
bool g_noReduceQuestion = false;
}

bool IsNoReduceQuestion() { return g_noReduceQuestion; }
void SetNoReduceQuestion(bool on) { g_noReduceQuestion = on; }

}  // namespace document
