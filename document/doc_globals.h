// Program-wide values the document reads and other parts of the program set.
#pragma once

namespace document {

// Set by the commands that make a document from a pasted or scanned picture
// around the creation of that document: the new document then asks for no
// size and gets its image from the command.
bool IsNewFromData();
void SetNewFromData(bool on);

// Sets the flag for the length of a scope.
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
