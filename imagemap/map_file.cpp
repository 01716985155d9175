#include "imagemap/map_file.h"

#include <charconv>
#include <optional>

#include <QFile>

#include "platform/safe_save.h"
#include "platform/text_codec.h"

namespace imagemap {

namespace {

// The program's comma escape. A comma of a URL is written "%2C"; a URL's own
// "%2C" must come back as typed, so a '%' that begins "2C" after any number
// of "25" ("%2C", "%252C", ...) is written "%25". Reading turns "%2C" into a
// comma and "%25" before such a run into '%'; every other '%' is itself, as
// in the files of earlier versions.
//
// The character a '%' at `at` that begins such a run stands for: ',' or '%'.
std::optional<char> CommaRunAt(std::string_view url, size_t at) {
    size_t i = at + 1;
    while (i + 1 < url.size() && url[i] == '2' && url[i + 1] == '5') i += 2;
    if (i + 1 >= url.size() || url[i] != '2' || (url[i + 1] != 'C' && url[i + 1] != 'c')) return std::nullopt;
    return i == at + 1 ? ',' : '%';
}

std::string EncodeCommas(std::string_view url) {
    std::string out;
    out.reserve(url.size());
    for (size_t i = 0; i < url.size(); ++i) {
        if (url[i] == ',') out += "%2C";
        else if (url[i] == '%' && CommaRunAt(url, i)) out += "%25";
        else out += url[i];
    }
    return out;
}

// Decoded, the URL keeps its length under the 127-byte limit.
std::string DecodeCommas(std::string_view url) {
    std::string out;
    out.reserve(url.size());
    for (size_t i = 0; i < url.size(); ++i) {
        const std::optional<char> run = url[i] == '%' ? CommaRunAt(url, i) : std::nullopt;
        out += run.value_or(url[i]);
        if (run) i += 2;
    }
    return out;
}

const char* Keyword(int type) {
    switch (type) {
    case kPolygon: return "poly  ";
    case kRectangle: return "rect  ";
    case kCircle: return "circle";
    case kPointRegion: return "point ";
    default: return nullptr;
    }
}

// The points a region writes (no closing copy, no duplicate); 0 for a
// region that is not written.
int WrittenPoints(const ImageMapRegion& r) {
    switch (r.type) {
    case kPolygon: return AreaVertexCount(r);
    case kRectangle:
    case kCircle: return r.count >= 2 ? 2 : 0;
    case kPointRegion: return r.count >= 1 ? 1 : 0;
    default: return 0;
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::optional<int> ParseCoordinate(std::string_view s) {
    int value = 0;
    if (s.empty()) return std::nullopt;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    if (value < -32768 || value > 32767) return std::nullopt;
    return value;
}

std::optional<MapPoint> ParsePair(std::string_view token) {
    const size_t comma = token.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    std::optional<int> x = ParseCoordinate(token.substr(0, comma));
    std::optional<int> y = ParseCoordinate(token.substr(comma + 1));
    if (!x || !y) return std::nullopt;
    return MapPoint{*x, *y};
}

struct Token {
    size_t begin;
    std::string_view text;
};

std::vector<Token> Tokens(std::string_view line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        size_t start = i;
        while (i < line.size() && !IsBlank(line[i])) ++i;
        if (i > start) tokens.push_back({start, line.substr(start, i - start)});
    }
    return tokens;
}

int TypeOf(std::string_view keyword) {
    if (keyword.empty()) return kNoRegion;
    switch (keyword[0]) {
    case 'c': return kCircle;
    case 'r': return kRectangle;
    case 'p': return keyword.size() > 2 && keyword[2] == 'l' ? kPolygon : kPointRegion;
    default: return kNoRegion;
    }
}

bool PairCountFits(int type, size_t pairs) {
    switch (type) {
    case kPolygon: return pairs >= 2 && pairs <= size_t(kMaxPoints);
    case kRectangle:
    case kCircle: return pairs == 2;
    case kPointRegion: return pairs == 1;
    default: return false;
    }
}

// One line's region: its type, points (closing copy and duplicate added)
// and URL; nullopt for a damaged line.
struct LineRegion {
    int type = kNoRegion;
    std::vector<MapPoint> points;
    std::string url;
};

std::optional<LineRegion> ParseLine(std::string_view line) {
    std::vector<Token> tokens = Tokens(line);
    if (tokens.empty()) return std::nullopt;
    LineRegion region;
    region.type = TypeOf(tokens[0].text);
    if (region.type == kNoRegion) return std::nullopt;
    size_t first = 1;
    while (first < tokens.size() && !ParsePair(tokens[first].text)) ++first;
    if (first == tokens.size()) return std::nullopt;
    for (size_t t = first; t < tokens.size(); ++t) {
        std::optional<MapPoint> p = ParsePair(tokens[t].text);
        if (!p) return std::nullopt;
        region.points.push_back(*p);
    }
    if (!PairCountFits(region.type, region.points.size())) return std::nullopt;
    if (first > 1) {
        const size_t begin = tokens[1].begin;
        const size_t end = tokens[first - 1].begin + tokens[first - 1].text.size();
        region.url = std::string(line.substr(begin, end - begin));
    }
    if (region.url == kUrlPlaceholder) region.url.clear();
    region.url = DecodeCommas(region.url);
    if (region.type == kPolygon || region.type == kPointRegion) region.points.push_back(region.points.front());
    return region;
}

}  // namespace

std::string WriteMapText(const RegionTable& table) {
    std::string out;
    for (int i = 0; i < table.Finished(); ++i) {
        const ImageMapRegion& r = table.Region(i);
        const char* keyword = Keyword(r.type);
        const int points = WrittenPoints(r);
        if (!keyword || points == 0) continue;
        out += keyword;
        out += "    ";
        const std::string& url = table.Url(i);
        out += url.empty() ? std::string(kUrlPlaceholder) : EncodeCommas(url);
        for (int j = 0; j < points; ++j) {
            const MapPoint p = r.points[size_t(j)];
            out += ' ' + std::to_string(p.x) + ',' + std::to_string(p.y);
        }
        out += "\r\n";
    }
    return out;
}

MapReadResult ReadMapText(std::string_view text, RegionTable& table) {
    MapReadResult result;
    table.Clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::optional<LineRegion> region = ParseLine(line);
        if (!region) {
            result.messages.push_back("数据损坏\n" + std::string(line));
            continue;
        }
        if (table.RegionLimitReached()) {
            result.messages.push_back("最大 " + std::to_string(kMaxRegions) + " 个。");
            break;
        }
        table.AppendRegion(region->type, region->points.data(), int(region->points.size()), region->url);
    }
    return result;
}

bool WriteMapFile(const QString& path, const RegionTable& table) {
    const std::string text = WriteMapText(table);
    return platform::SaveFileSafely(QFile::encodeName(path).toStdString(), text);
}

bool ReadMapFile(const QString& path, RegionTable& table, MapReadResult* result) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return false;
    MapReadResult read = ReadMapText(platform::DecodeFileText(bytes), table);
    if (result) *result = std::move(read);
    return true;
}

}  // namespace imagemap
