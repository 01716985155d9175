#include "document/pelmark_doc.h"

CPelmarkDoc::CPelmarkDoc() = default;
CPelmarkDoc::~CPelmarkDoc() = default;
