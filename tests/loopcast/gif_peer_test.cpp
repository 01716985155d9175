// The codec against giflib on the real and malformed files of the test data.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "gif_peer.h"
#include "plugins/loopcast/gif_io.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using namespace gifpeer;

std::vector<fs::path> TestFiles() {
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(kvtest::TestDataPath("gif")))
        if (e.is_regular_file() && e.path().extension() == ".gif") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

void ExpectSamePicture(const Picture& ours, const Picture& peer) {
    EXPECT_EQ(ours.width, peer.width);
    EXPECT_EQ(ours.height, peer.height);
    EXPECT_EQ(ours.palette, peer.palette);
    ASSERT_EQ(ours.frames.size(), peer.frames.size());
    for (size_t i = 0; i < ours.frames.size(); ++i) {
        SCOPED_TRACE("frame " + std::to_string(i));
        const Frame& a = ours.frames[i];
        const Frame& b = peer.frames[i];
        EXPECT_EQ(a.left, b.left);
        EXPECT_EQ(a.top, b.top);
        EXPECT_EQ(a.width, b.width);
        EXPECT_EQ(a.height, b.height);
        EXPECT_EQ(a.interlaced, b.interlaced);
        EXPECT_EQ(a.palette, b.palette);
        EXPECT_TRUE(a.indices == b.indices) << "indices differ";
    }
}

struct TreeDeleter {
    void operator()(GifFile* f) const { GifFreeFile(f); }
};
using Tree = std::unique_ptr<GifFile, TreeDeleter>;

// Every file giflib decodes reads the same with the codec; every file at all
// reads without fault (the sanitized build checks the buffers).
TEST(GifPeer, FolderReadsLikeGiflib) {
    std::vector<fs::path> files = TestFiles();
    ASSERT_GT(files.size(), 40u);
    int compared = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        std::vector<uint8_t> bytes = ReadBytes(path);
        Tree tree(CodecRead(bytes));
        std::optional<Picture> peer = PeerDecode(bytes);
        if (!peer) continue;
        ASSERT_TRUE(tree);
        ExpectSamePicture(FromTree(tree.get()), *peer);
        ++compared;
    }
    EXPECT_GT(compared, 30);
}

// What the writer makes of every file of the folder decodes with giflib to
// the indices the codec read (images without pixels as index 0).
TEST(GifPeer, WrittenFilesDecodeWithGiflib) {
    int written = 0;
    for (const fs::path& path : TestFiles()) {
        SCOPED_TRACE(path.filename().string());
        Tree tree(CodecRead(ReadBytes(path)));
        if (!tree) continue;
        Picture ours = FromTree(tree.get());
        // giflib refuses files without images and images of zero width or
        // height, which the tree keeps.
        if (ours.frames.empty() || std::any_of(ours.frames.begin(), ours.frames.end(), [](const Frame& f) {
                return f.width == 0 || f.height == 0;
            }))
            continue;
        std::vector<uint8_t> out = CodecWrite(tree.get());
        std::optional<Picture> peer = PeerDecode(out);
        ASSERT_TRUE(peer);
        // Images without pixels are written as index 0.
        for (size_t i = 0; i < ours.frames.size(); ++i)
            if (ours.frames[i].indices.empty())
                ours.frames[i].indices.assign(size_t(ours.frames[i].width) * ours.frames[i].height, 0);
        ExpectSamePicture(ours, *peer);
        ++written;
    }
    EXPECT_GT(written, 40);
}

// giflib's own files of the same pictures read the same with the codec.
TEST(GifPeer, ReadsGiflibOutput) {
    for (const char* name : {"wuffs/hippopotamus.interlaced.gif", "pillow/chi.gif", "wuffs/bricks-dither.gif"}) {
        SCOPED_TRACE(name);
        std::optional<Picture> peer = PeerDecode(ReadBytes(kvtest::TestDataPath(std::string("gif/") + name)));
        ASSERT_TRUE(peer);
        std::vector<uint8_t> bytes = PeerEncode(*peer);
        ASSERT_FALSE(bytes.empty());
        Tree tree(CodecRead(bytes));
        ASSERT_TRUE(tree);
        ExpectSamePicture(FromTree(tree.get()), *peer);
    }
}

}  // namespace
