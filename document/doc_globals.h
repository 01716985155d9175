// Program-wide values the document reads and other parts of the program set.
#pragma once

namespace document {

// Set by the commands that make a document from a pasted or scanned picture
// around the creation of that document: the new document then asks for no
// size and gets its image from the command.
bool IsNewFromData();
void SetNewFromData(bool on);

// Set by a plug-in (WM_PLUGIN_MODIFIED_NOASK) while a document opens: the
// open asks no colour-reduction question and marks the new document
// modified. The open clears it when it starts.
bool IsNoReduceQuestion();
void SetNoReduceQuestion(bool on);

// Sets the new-from-data flag for the length of a scope.
class ScopedNewFromData {
public:
    ScopedNewFromData() : previous_(IsNewFromData()) { SetNewFromData(true); }
    ~ScopedNewFromData() { SetNewFromData(previous_); }
    ScopedNewFromData(const ScopedNewFromData&) = delete;
    ScopedNewFromData& operator=(const ScopedNewFromData&) = delete;

private:
    bool previous_;
};

}  // namespace document
