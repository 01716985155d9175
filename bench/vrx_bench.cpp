// The VRX LZ codec against zlib (compress2 level 6, uncompress) on the same
// bytes: the photos of the test data at 2048 x 2048 reduced to 256 colours by
// the engine, and a GIF frame tiled to 2048 x 2048 (flat sprite areas). The
// counters give the compressed sizes of both.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <QImage>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "gif_peer.h"
#include "imaging/color_reduce.h"
#include "plugins/vorex32/vrx_lz.h"

namespace {

constexpr int kSide = 2048;

std::string DataPath(const std::string& name) {
    const char* dir = std::getenv("KAVOLT_TESTDATA");
    return std::string(dir && *dir ? dir : KAVOLT_TESTDATA_DEFAULT) + "/" + name;
}

// 8-bit indexes, kSide x kSide.
std::vector<uint8_t> ReducedPhoto(const std::string& name) {
    QImage image(QString::fromStdString(DataPath("photos/" + name)));
    if (image.isNull()) return {};
    image = image.scaled(kSide, kSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(QImage::Format_BGR888);
    std::vector<uint8_t> bgr(size_t(kSide) * kSide * 3);
    for (int y = 0; y < kSide; ++y) std::memcpy(bgr.data() + size_t(y) * kSide * 3, image.constScanLine(y), kSide * 3);
    std::vector<uint8_t> pixels(size_t(kSide) * kSide);
    PaletteEntry palette[256];
    if (!ReduceImageColors(bgr.data(), pixels.data(), kSide, kSide, palette, 256, 24, 0)) return {};
    return pixels;
}

std::vector<uint8_t> TiledGif(const std::string& name) {
    auto picture = gifpeer::PeerDecode(gifpeer::ReadBytes(DataPath("gif/" + name)));
    if (!picture || picture->frames.empty()) return {};
    const auto& f = picture->frames[0];
    std::vector<uint8_t> pixels(size_t(kSide) * kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            pixels[size_t(y) * kSide + size_t(x)] = f.indices[size_t(y % f.height) * size_t(f.width) + size_t(x % f.width)];
    return pixels;
}

const std::vector<uint8_t>& Input(const std::string& key) {
    static std::map<std::string, std::vector<uint8_t>> cache;
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    std::vector<uint8_t> data = key.rfind("gif/", 0) == 0 ? TiledGif(key.substr(4)) : ReducedPhoto(key);
    return cache.emplace(key, std::move(data)).first->second;
}

std::vector<uint8_t> Deflated(const std::vector<uint8_t>& in) {
    uLongf n = compressBound(uLong(in.size()));
    std::vector<uint8_t> out(n);
    compress2(out.data(), &n, in.data(), uLong(in.size()), 6);
    out.resize(n);
    return out;
}

void Sizes(benchmark::State& state, const std::vector<uint8_t>& in) {
    std::vector<uint8_t> vrx;
    VrxCompress(in.data(), in.size(), vrx);
    state.counters["vrx_bytes"] = double(vrx.size());
    state.counters["zlib_bytes"] = double(Deflated(in).size());
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
}

void BM_VrxCompress(benchmark::State& state, std::string key) {
    const auto& in = Input(key);
    if (in.empty()) return state.SkipWithError("missing test data");
    std::vector<uint8_t> out;
    for (auto _ : state) {
        VrxCompress(in.data(), in.size(), out);
        benchmark::DoNotOptimize(out.data());
    }
    Sizes(state, in);
}

void BM_ZlibCompress(benchmark::State& state, std::string key) {
    const auto& in = Input(key);
    if (in.empty()) return state.SkipWithError("missing test data");
    for (auto _ : state) benchmark::DoNotOptimize(Deflated(in).data());
    Sizes(state, in);
}

void BM_VrxDecompress(benchmark::State& state, std::string key) {
    const auto& in = Input(key);
    if (in.empty()) return state.SkipWithError("missing test data");
    std::vector<uint8_t> stream, out(in.size());
    VrxCompress(in.data(), in.size(), stream);
    for (auto _ : state) {
        VrxDecompress(stream.data(), stream.size(), out.data(), out.size());
        benchmark::DoNotOptimize(out.data());
    }
    if (out != in) state.SkipWithError("round trip differs");
    Sizes(state, in);
}

void BM_ZlibUncompress(benchmark::State& state, std::string key) {
    const auto& in = Input(key);
    if (in.empty()) return state.SkipWithError("missing test data");
    std::vector<uint8_t> deflated = Deflated(in), out(in.size());
    for (auto _ : state) {
        uLongf n = uLongf(out.size());
        uncompress(out.data(), &n, deflated.data(), uLong(deflated.size()));
        benchmark::DoNotOptimize(out.data());
    }
    Sizes(state, in);
}

const int kRegistered = [] {
    for (std::string key : {"bricks-color.png", "harvesters.png", "hat.png", "hibiscus.regular.png", "peacock.png",
                            "gif/pillow/chi.gif"}) {
        benchmark::RegisterBenchmark(("BM_VrxCompress/" + key).c_str(), BM_VrxCompress, key)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_ZlibCompress/" + key).c_str(), BM_ZlibCompress, key)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_VrxDecompress/" + key).c_str(), BM_VrxDecompress, key)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("BM_ZlibUncompress/" + key).c_str(), BM_ZlibUncompress, key)->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

}  // namespace
