// Palette files (*.clt): 1024 bytes of red, green, blue and alpha, read as
// far as the file goes and written whole or not at all.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>

#include "document/clut_file.h"
#include "tests/support/file_size_limit.h"

namespace {

WorkingPalette Ramp(uint8_t seed) {
    WorkingPalette p{};
    for (int i = 0; i < 256; ++i)
        p[size_t(i)] = {uint8_t(i + seed), uint8_t(255 - i), uint8_t(i * 3 + seed), uint8_t(i ^ 0x5a)};
    return p;
}

QByteArray Bytes(int count, uint8_t start) {
    QByteArray bytes(count, 0);
    for (int i = 0; i < count; ++i) bytes[i] = char(uint8_t(start + i * 7));
    return bytes;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(ClutFile, WrittenAndReadBackByteIdentical) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.clt");
    const WorkingPalette palette = Ramp(3);
    ASSERT_TRUE(document::WriteClutFile(path, palette));
    const QByteArray bytes = Read(path);
    ASSERT_EQ(bytes.size(), 1024);
    EXPECT_EQ(bytes.at(4), char(1 + 3));  // entry 1 starts with red
    EXPECT_EQ(bytes.at(7), char(1 ^ 0x5a));
    WorkingPalette back{};
    ASSERT_TRUE(document::ReadClutFile(path, back));
    EXPECT_EQ(document::ClutFileBytes(back), bytes);
}

TEST(ClutFile, AFileFillsAsMuchAsItHolds) {
    struct Case {
        int size;
        int filled;  // bytes of the palette taken from the file
    } cases[] = {{1000, 1000}, {1024, 1024}, {2000, 1024}, {0, 0}, {3, 3}};
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString path = dir.filePath(QStringLiteral("%1.clt").arg(c.size));
        const QByteArray file = Bytes(c.size, 11);
        Write(path, file);
        WorkingPalette palette = Ramp(0);
        const QByteArray before = document::ClutFileBytes(palette);
        ASSERT_TRUE(document::ReadClutFile(path, palette)) << c.size;
        const QByteArray after = document::ClutFileBytes(palette);
        EXPECT_EQ(after.left(c.filled), file.left(c.filled)) << c.size;
        EXPECT_EQ(after.mid(c.filled), before.mid(c.filled)) << c.size;
    }
}

TEST(ClutFile, AMissingFileChangesNothing) {
    QTemporaryDir dir;
    WorkingPalette palette = Ramp(9);
    EXPECT_FALSE(document::ReadClutFile(dir.filePath("none.clt"), palette));
    EXPECT_EQ(document::ClutFileBytes(palette), document::ClutFileBytes(Ramp(9)));
}

TEST(ClutFile, AFailedSaveLeavesTheOldFile) {
    QTemporaryDir dir;
    // A folder that cannot hold the file: a plain file stands in its place.
    Write(dir.filePath("blocker"), "x");
    EXPECT_FALSE(document::WriteClutFile(dir.filePath("blocker/a.clt"), Ramp(1)));

    // A write error: the file size limit stops the new file half way.
    const QString path = dir.filePath("old.clt");
    const QByteArray old = Bytes(300, 5);
    Write(path, old);
    const bool written = kvtest::WithFileSizeLimit(512, [&] { return document::WriteClutFile(path, Ramp(2)); });
    EXPECT_FALSE(written);
    EXPECT_EQ(Read(path), old);
}

}  // namespace
