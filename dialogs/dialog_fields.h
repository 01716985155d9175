// Helpers the editor's dialogs share for their fields and messages.
#pragma once

#include <QString>

class QLineEdit;

namespace framework {
class Dialog;
}

// The edit refuses typing that would make its text longer than `maxBytes`
// bytes of UTF-8, so a character is either taken whole or not at all. A text
// set by the program is not cut.
void LimitUtf8Bytes(QLineEdit* edit, int maxBytes);

// A message box owned by the dialog, with the application's name as caption.
int ShowDialogMessage(framework::Dialog& dialog, const QString& text, unsigned type);
