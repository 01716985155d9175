// GIF decoding and encoding throughput (megapixels per second) of the codec
// and of giflib on the larger photos and animations of the test data, with the
// encoded sizes of both. KAVOLT_LARGE_GIF names a large animation made at
// bench time (scripts/bench.sh makes 100 frames of 1024 x 1024 scrolled over
// a photo) to time as well.
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "gif_peer.h"
#include "plugins/loopcast/gif_io.h"

namespace {

const char* const kFiles[] = {
    "wuffs/hibiscus.regular.gif", "wuffs/hibiscus.primitive.gif", "pillow/chi.gif",
    "wuffs/bricks-dither.gif",    "wuffs/hippopotamus.regular.gif", "wuffs/hippopotamus.interlaced.gif",
    "wuffs/muybridge.gif",        "pillow/dispose_none_load_end.gif", "pillow/test.colors.gif",
};

std::string DataPath(const char* name) {
    if (name[0] == '/') return name;
    const char* dir = std::getenv("KAVOLT_TESTDATA");
    return std::string(dir && *dir ? dir : KAVOLT_TESTDATA_DEFAULT) + "/gif/" + name;
}

double Megapixels(const gifpeer::Picture& p) {
    double n = 0;
    for (const auto& f : p.frames) n += double(f.width) * f.height;
    return n / 1e6;
}

struct Cursor {
    const std::vector<uint8_t>* bytes;
    size_t pos;
};

int ReadCursor(GifFileType* gif, GifByteType* out, int n) {
    auto* c = static_cast<Cursor*>(gif->UserData);
    size_t take = std::min(c->bytes->size() - c->pos, size_t(n));
    std::memcpy(out, c->bytes->data() + c->pos, take);
    c->pos += take;
    return int(take);
}

void SetRate(benchmark::State& state, double mp) {
    state.counters["MP/s"] = benchmark::Counter(mp, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_DecodeCodec(benchmark::State& state, const char* name) {
    std::vector<uint8_t> bytes = gifpeer::ReadBytes(DataPath(name));
    for (auto _ : state) {
        FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
        GifFile* file = GifReadFile(in);
        benchmark::DoNotOptimize(file);
        GifFreeFile(file);
        std::fclose(in);
    }
    SetRate(state, Megapixels(*gifpeer::PeerDecode(bytes)));
}

void BM_DecodeGiflib(benchmark::State& state, const char* name) {
    std::vector<uint8_t> bytes = gifpeer::ReadBytes(DataPath(name));
    for (auto _ : state) {
        Cursor cursor{&bytes, 0};
        int error = 0;
        GifFileType* gif = DGifOpen(&cursor, ReadCursor, &error);
        DGifSlurp(gif);
        benchmark::DoNotOptimize(gif->SavedImages);
        DGifCloseFile(gif, &error);
    }
    SetRate(state, Megapixels(*gifpeer::PeerDecode(bytes)));
}

void BM_EncodeCodec(benchmark::State& state, const char* name) {
    gifpeer::Picture p = *gifpeer::PeerDecode(gifpeer::ReadBytes(DataPath(name)));
    GifFile* tree = gifpeer::ToTree(p);
    size_t size = 0;
    for (auto _ : state) size = gifpeer::CodecWrite(tree).size();
    GifFreeFile(tree);
    SetRate(state, Megapixels(p));
    state.counters["bytes"] = double(size);
}

void BM_EncodeGiflib(benchmark::State& state, const char* name) {
    gifpeer::Picture p = *gifpeer::PeerDecode(gifpeer::ReadBytes(DataPath(name)));
    size_t size = 0;
    for (auto _ : state) size = gifpeer::PeerEncode(p).size();
    SetRate(state, Megapixels(p));
    state.counters["bytes"] = double(size);
}

int Register() {
    std::vector<const char*> names(std::begin(kFiles), std::end(kFiles));
    if (const char* large = std::getenv("KAVOLT_LARGE_GIF"); large && *large) names.push_back(large);
    for (const char* name : names) {
        benchmark::RegisterBenchmark((std::string("GifDecode/codec/") + name).c_str(), BM_DecodeCodec, name);
        benchmark::RegisterBenchmark((std::string("GifDecode/giflib/") + name).c_str(), BM_DecodeGiflib, name);
        benchmark::RegisterBenchmark((std::string("GifEncode/codec/") + name).c_str(), BM_EncodeCodec, name);
        benchmark::RegisterBenchmark((std::string("GifEncode/giflib/") + name).c_str(), BM_EncodeGiflib, name);
    }
    return 0;
}
const int kRegistered = Register();

}  // namespace
