// The colour dictionary "COLOR.DIC": named colours the user keeps between
// runs and picks from in the colour edit dialog (its text: color_dic_text.h).
//
// The whole file is kept in one memory block for the life of the program; the
// colour edit dialog adds and removes entries in that block and sets the
// modified flag.
//
// The program directory may be read-only (an installed program), so the
// dictionary also lives in the user's settings directory: loading prefers
// the user's copy when there is one; saving writes where the dictionary came
// from (the program directory, or the user's copy), and falls back to the
// user's copy when the program directory cannot be written. Every write goes
// to a temporary file that then replaces the old one.
#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

#include "frame/color_dic_text.h"
#include "platform/memory.h"

inline constexpr char kColorDicFileName[] = "COLOR.DIC";

class ColorDicFile {
public:
    ColorDicFile() = default;
    ~ColorDicFile();
    ColorDicFile(const ColorDicFile&) = delete;
    ColorDicFile& operator=(const ColorDicFile&) = delete;

    // Where the file is looked for and written (both end in '/').
    void SetDirectories(const QString& programDirectory, const QString& userDirectory);
    // The file the dictionary was loaded from (empty before a load).
    const QString& LoadedPath() const { return loadedPath_; }

    // Reads the file into a new block. 1 when loaded; 0 when no file can be
    // opened ("COLOR.DIC 找不到" is shown) or the block cannot be had (no
    // message). Clears the modified flag.
    int LoadColorDic();
    // Writes the block up to and including its end byte. 1 when saved; 0
    // with "COLOR.DIC 无法打开" when neither place can be written (block and
    // flag are kept). Nothing to do without a block (returns 0, no message).
    int SaveColorDic();

    MemHandle Block() const { return block_; }
    // Takes a new block (the old one is freed).
    void ReplaceBlock(MemHandle block);
    bool IsModified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // The block's bytes (a copy).
    QByteArray Bytes() const;
    std::vector<ColorDicEntry> Entries() const;
    // Appends an entry before the end byte and sets the modified flag;
    // false when the name holds a comma or a line break, or no memory.
    bool AddEntry(const ColorDicEntry& entry);
    // Removes entry `index` (in Entries() order) and sets the modified flag.
    bool DeleteEntry(int index);

private:
    bool setBytes(const QByteArray& bytes);
    bool writeTo(const QString& path) const;

    QString programDir_;
    QString userDir_;
    QString loadedPath_;
    MemHandle block_ = nullptr;
    bool modified_ = false;
};
