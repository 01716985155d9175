#include "framework/resource_pictures.h"

#include <array>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include <QImage>
#include <QPainter>

namespace pictures {

namespace {

// Colours of the pixel art, by letter.
QRgb colourOf(char c) {
    switch (c) {
    case 'k': return qRgb(0, 0, 0);
    case 'w': return qRgb(255, 255, 255);
    case 'g': return qRgb(192, 192, 192);
    case 'd': return qRgb(128, 128, 128);
    case 'r': return qRgb(220, 30, 30);
    case 'R': return qRgb(128, 0, 0);
    case 'b': return qRgb(40, 80, 220);
    case 'B': return qRgb(0, 0, 128);
    case 'y': return qRgb(250, 220, 40);
    case 'Y': return qRgb(180, 140, 0);
    case 'G': return qRgb(30, 160, 40);
    case 'c': return qRgb(60, 200, 220);
    case 'm': return qRgb(200, 60, 200);
    case 'o': return qRgb(240, 140, 30);
    case 'n': return qRgb(140, 90, 40);
    case 's': return qRgb(250, 210, 170);
    default: return qRgba(0, 0, 0, 0);
    }
}

// One 16 x 15 picture being drawn.
class Pic {
public:
    Pic() : img_(kButtonImage, QImage::Format_ARGB32) { img_.fill(Qt::transparent); }
    explicit Pic(QSize size) : img_(size, QImage::Format_ARGB32) { img_.fill(Qt::transparent); }

    void px(int x, int y, char c) {
        if (x >= 0 && y >= 0 && x < img_.width() && y < img_.height()) img_.setPixel(x, y, colourOf(c));
    }
    // Rows of letters; '.' and ' ' leave the pixel alone.
    Pic& art(std::initializer_list<const char*> rows, int x0 = 0, int y0 = 0) {
        int y = y0;
        for (const char* row : rows) {
            for (int x = 0; row[x]; ++x)
                if (row[x] != '.' && row[x] != ' ') px(x0 + x, y, row[x]);
            ++y;
        }
        return *this;
    }
    Pic& fill(int x0, int y0, int x1, int y1, char c) {
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) px(x, y, c);
        return *this;
    }
    Pic& frame(int x0, int y0, int x1, int y1, char c) {
        for (int x = x0; x <= x1; ++x) px(x, y0, c), px(x, y1, c);
        for (int y = y0; y <= y1; ++y) px(x0, y, c), px(x1, y, c);
        return *this;
    }
    Pic& dashed(int x0, int y0, int x1, int y1) {
        int i = 0;
        for (int x = x0; x <= x1; ++x, ++i) px(x, y0, (i / 2) % 2 ? 'w' : 'k'), px(x, y1, (i / 2) % 2 ? 'w' : 'k');
        for (int y = y0; y <= y1; ++y, ++i) px(x0, y, (i / 2) % 2 ? 'w' : 'k'), px(x1, y, (i / 2) % 2 ? 'w' : 'k');
        return *this;
    }
    Pic& line(int x0, int y0, int x1, int y1, char c) {
        int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            px(x0, y0, c);
            if (x0 == x1 && y0 == y1) break;
            int e2 = 2 * err;
            if (e2 >= dy) err += dy, x0 += sx;
            if (e2 <= dx) err += dx, y0 += sy;
        }
        return *this;
    }
    // Ellipse inside the box, outline or filled (integer midpoint test).
    Pic& ellipse(int x0, int y0, int x1, int y1, char c, bool filled, char edge = 0) {
        double cx = (x0 + x1) / 2.0, cy = (y0 + y1) / 2.0;
        double rx = (x1 - x0) / 2.0 + 0.5, ry = (y1 - y0) / 2.0 + 0.5;
        auto inside = [&](int x, int y) {
            double u = (x - cx) / rx, v = (y - cy) / ry;
            return u * u + v * v <= 1.0;
        };
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                if (!inside(x, y)) continue;
                bool border = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
                if (border) px(x, y, edge ? edge : c);
                else if (filled) px(x, y, c);
            }
        return *this;
    }
    // A digit string in a 3 x 5 font.
    Pic& digits(const char* text, int x, int y, char c) {
        static const char* font[10][5] = {
            {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
            {"###", "..#", "###", "#..", "###"}, {"###", "..#", "###", "..#", "###"},
            {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
            {"###", "#..", "###", "#.#", "###"}, {"###", "..#", "..#", ".#.", ".#."},
            {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"}};
        for (; *text; ++text, x += 4) {
            int d = *text - '0';
            if (d < 0 || d > 9) continue;
            for (int r = 0; r < 5; ++r)
                for (int k = 0; k < 3; ++k)
                    if (font[d][r][k] == '#') px(x + k, y + r, c);
        }
        return *this;
    }
    const QImage& image() const { return img_; }

private:
    QImage img_;
};

QPixmap strip(const std::vector<QImage>& images) {
    QImage out(kButtonImage.width() * int(images.size()), kButtonImage.height(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    QPainter p(&out);
    for (size_t i = 0; i < images.size(); ++i) p.drawImage(int(i) * kButtonImage.width(), 0, images[i]);
    p.end();
    return QPixmap::fromImage(out);
}

// --- shared pictures -------------------------------------------------------

QImage arrow(int dir) {  // 0 up, 1 left, 2 right, 3 down
    Pic p;
    const char* up[] = {"......k.......", ".....kbk......", "....kbbbk.....", "...kbbbbbk....",
                        "..kbbbbbbbk...", ".kkkkbbbkkkk..", "....kbbbk.....", "....kbbbk.....",
                        "....kbbbk.....", "....kbbbk.....", "....kkkkk....."};
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 14; ++x) {
            char c = up[y][x];
            if (c == '.') continue;
            int X = x + 1, Y = y + 2;
            switch (dir) {
            case 0: p.px(X, Y, c); break;
            case 3: p.px(X, 14 - Y, c); break;
            case 1: p.px(Y + 1, X, c); break;
            case 2: p.px(14 - Y, X, c); break;
            }
        }
    return p.image();
}

QImage magnifier(const char* label) {
    Pic p;
    p.ellipse(0, 0, 10, 10, 'w', true, 'k');
    p.line(9, 9, 14, 14, 'n').line(10, 9, 15, 14, 'n');
    if (label) p.digits(label, std::strlen(label) > 1 ? 2 : 4, 3, 'B');
    return p.image();
}

QImage pencil() {
    return Pic().art({"...........kk...", "..........kssk..", ".........kyysk..",
                      "........kyyyk...", ".......kyyyk....", "......kyyyk.....",
                      ".....kyyyk......", "....kyyyk.......", "...kyyyk........",
                      "..ksyyk.........", "..kssk..........", ".kkkk...........",
                      ".kk.............", "................"}, 0, 1)
        .image();
}

QImage bucket() {
    return Pic().art({"....kkk.........", "...k...k........", "...k..kkkk......",
                      "...k.kwwwwk.....", "..kkkwwwwwwk....", ".kwwwwwwwwwwk...",
                      "kwwwwwwwwwwwkb..", ".kwwwwwwwwwkbbb.", "..kwwwwwwwkbbbbb",
                      "...kwwwwwk.bbbbb", "....kwwwk...bbb.", ".....kwk....bbb.",
                      "......k.....bb..", "................"}, 0, 0)
        .image();
}

QImage hand() {
    return Pic().art({"......kk........", "...kk.kwk.kk....", "..kwwkkwkkwwk...",
                      "..kwwkkwkkwwk.k.", "...kwwkwkwwk.kwk", "...kwwkwkwwkkwwk",
                      "..kkwwwwwwwkwwk.", ".kwwkwwwwwwwwwk.", ".kwwwwwwwwwwwk..",
                      "..kwwwwwwwwwwk..", "...kwwwwwwwwk...", "....kwwwwwwk....",
                      ".....kwwwwwk....", ".....kkkkkkk...."}, 0, 0)
        .image();
}

QImage wand() {
    Pic p;
    p.line(1, 14, 10, 5, 'k').line(2, 14, 11, 5, 'k').line(1, 13, 10, 4, 'd');
    p.art({".y.", "yyy", ".y."}, 11, 1).art({"y"}, 14, 6).art({"y"}, 8, 0).art({"c"}, 14, 1);
    return p.image();
}

QImage textTool() {
    return Pic().art({"................", ".....kkkkkk.....", "....kk....kk....",
                      "...kk......kk...", "...kk......kk...", "...kk......kk...",
                      "...kkkkkkkkkk...", "...kk......kk...", "...kk......kk...",
                      "...kk......kk...", "...kk......kk...", "..kkkk....kkkk..",
                      "................"}, 0, 1)
        .image();
}

QImage scissors() {
    return Pic().art({"...k.......k....", "...k.......k....", "...kk.....kk....",
                      "....k.....k.....", "....kk...kk.....", ".....k...k......",
                      ".....kk.kk......", "......kkk.......", "......rkr.......",
                      "....rrr.rrr.....", "...r..r.r..r....", "...r..r.r..r....",
                      "....rr...rr....."}, 0, 1)
        .image();
}

QImage page(int x, int y) {
    Pic p;
    p.art({"kkkkkkk..", "kwwwwwkk.", "kwwwwwkwk", "kwwwwwkkkk"}, x, y);
    for (int r = 4; r < 13; ++r) p.art({"kwwwwwwwwk"}, x, y + r);
    p.art({"kkkkkkkkkk"}, x, y + 13);
    return p.image();
}

QImage tonePattern(int level, int w, int h) {
    // Positions of the 16 cells of a 4 x 4 ordered pattern, in fill order.
    static const int order[16] = {0, 10, 8, 2, 5, 15, 13, 7, 1, 11, 9, 3, 4, 14, 12, 6};
    bool on[16] = {};
    for (int k = 0; k <= level; ++k) on[order[k]] = true;
    Pic p(QSize(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.px(x, y, on[(y % 4) * 4 + (x % 4)] ? 'k' : 'w');
    return p.image();
}

QImage selectModeImage(int mode) {
    Pic p;
    switch (mode) {
    case 0: p.dashed(1, 2, 14, 12); break;
    case 1: {
        p.ellipse(1, 1, 14, 13, 'k', false);
        QImage img = p.image();
        Pic q;
        int i = 0;
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAlpha(img.pixel(x, y))) q.px(x, y, (i++ / 2) % 2 ? 'w' : 'k');
        return q.image();
    }
    case 2:
        p.art({"....kkwwkk......", "..kw......kkw...", ".k...........k..", "w.............w.",
               "k..............k", "k.............w.", ".w..........kk..", "..kkwwk...w.....",
               "........k.k.....", ".........k......", "........k.......", ".......w........",
               "......k........."}, 0, 1);
        break;
    case 3:
        p.line(1, 12, 4, 2, 'k').line(4, 2, 13, 4, 'w').line(13, 4, 9, 9, 'k').line(9, 9, 14, 13, 'w').line(14, 13, 1, 12, 'k');
        p.fill(3, 1, 5, 3, 'r').fill(12, 3, 14, 5, 'r').fill(8, 8, 10, 10, 'r');
        break;
    }
    return p.image();
}

}  // namespace

QPixmap ToolbarStrip() {
    std::vector<QImage> v;
    v.push_back(page(3, 0));                                                     // 0 new
    v.push_back(Pic().art({"................", "..kkkk..........", ".kyyyyk.........",  // 1 open
                           ".kyyyykkkkkkk...", ".kyyyyyyyyyyk...", ".kyykkkkkkkkkkk.",
                           ".kyk.oooooooook.", ".kykoooooooook..", ".kkoooooooook...",
                           ".kkoooooooook...", ".koooooooook....", ".kkkkkkkkkk....."}, 0, 1)
                        .image());
    v.push_back(Pic().art({"kkkkkkkkkkkkkk..", "kbkwwwwwwwwkbk..", "kbkwwwwwwwwkbk..",  // 2 save
                           "kbkwwwwwwwwkbk..", "kbkwwwwwwwwkbk..", "kbbkkkkkkkkbbk..",
                           "kbbbbbbbbbbbbk..", "kbbkkkkkkkkbbk..", "kbbkggggkwkbbk..",
                           "kbbkggggkwkbbk..", "kbbkggggkwkbbk..", ".kkkkkkkkkkkkk.."}, 1, 1)
                        .image());
    v.push_back(scissors());                                                     // 3 cut
    {                                                                            // 4 copy
        Pic p;
        p.fill(1, 0, 8, 9, 'w').frame(1, 0, 8, 9, 'k').fill(6, 4, 14, 14, 'w').frame(6, 4, 14, 14, 'k');
        for (int y = 2; y < 8; y += 2) p.line(3, y, 6, y, 'd');
        for (int y = 7; y < 13; y += 2) p.line(8, y, 12, y, 'd');
        v.push_back(p.image());
    }
    {                                                                            // 5 paste
        Pic p;
        p.fill(1, 2, 11, 14, 'n').frame(1, 2, 11, 14, 'k').fill(4, 0, 8, 3, 'g').frame(4, 0, 8, 3, 'k');
        p.fill(6, 6, 14, 14, 'w').frame(6, 6, 14, 14, 'k');
        for (int y = 8; y < 14; y += 2) p.line(8, y, 12, y, 'd');
        v.push_back(p.image());
    }
    for (int i = 6; i < 9; ++i) v.push_back(Pic().image());                      // 6-8 spare
    v.push_back(Pic().art({"................", "....k...........", "...kk...........",  // 9 undo
                           "..kbkkkkkkk.....", ".kbbbbbbbbbkk...", "..kbkkkkkkbbbk..",
                           "...kk.....kkbbk.", "....k......kbbk.", "...........kbbk.",
                           "..........kbbk..", "........kkbbk...", "........kkkk...."}, 0, 1)
                        .image());
    v.push_back(Pic().art({"................", "...........k....", "...........kk...",  // 10 redo
                           ".....kkkkkkkrk..", "...kkrrrrrrrrrk.", "..krrrkkkkkkrk..",
                           ".krrkk.....kk...", ".krrk......k....", ".krrk...........",
                           "..krrk..........", "...krrkk........", "....kkkk........"}, 0, 1)
                        .image());
    for (const char* z : {"1", "2", "4", "6", "8", "16"}) v.push_back(magnifier(z));  // 11-16 zoom
    {                                                                            // 17 alpha view
        Pic p;
        for (int y = 1; y < 14; ++y)
            for (int x = 1; x < 15; ++x) p.px(x, y, ((x / 3) + (y / 3)) % 2 ? 'g' : 'w');
        p.frame(0, 0, 15, 14, 'k');
        p.art({".kk..k", "k..k.k", "k...kk", "k..k.k", ".kk..k"}, 5, 5);
        v.push_back(p.image());
    }
    {                                                                            // 18 guides shown
        Pic p;
        p.line(1, 13, 14, 1, 'm').line(1, 12, 13, 1, 'm');
        p.fill(0, 12, 2, 14, 'k').fill(13, 0, 15, 2, 'k');
        v.push_back(p.image());
    }
    for (int mode = 0; mode < 3; ++mode) {                                       // 19-21 paste modes
        Pic p;
        p.fill(0, 0, 9, 9, 'b').frame(0, 0, 9, 9, 'k');
        if (mode == 0) p.fill(5, 5, 15, 14, 'r').frame(5, 5, 15, 14, 'k');
        if (mode == 1) {
            p.frame(5, 5, 15, 14, 'k');
            p.art({"rrr", "r.r", "rrr"}, 9, 8);
        }
        if (mode == 2) {
            p.frame(5, 5, 15, 14, 'k');
            for (int y = 6; y < 14; ++y)
                for (int x = 6; x < 15; ++x)
                    if ((x + y) % 2) p.px(x, y, 'r');
        }
        v.push_back(p.image());
    }
    for (int sub = 0; sub < 2; ++sub) {                                          // 22-23 snap
        Pic p;
        int step = sub ? 3 : 5;
        for (int x = 0; x < 16; x += step)
            for (int y = 0; y < 15; ++y) p.px(x, y, 'g');
        for (int y = 0; y < 15; y += step)
            for (int x = 0; x < 16; ++x) p.px(x, y, 'g');
        p.art({"rr..rr", "rr..rr", "rr..rr", "rrrrrr", ".rrrr."}, 5, 4);
        p.art({"ww..ww"}, 5, 4);
        v.push_back(p.image());
    }
    {                                                                            // 24 guide settings
        Pic p;
        p.line(2, 12, 13, 2, 'm');
        p.frame(0, 10, 4, 14, 'k').frame(11, 0, 15, 4, 'k');
        p.fill(1, 11, 3, 13, 'w').fill(12, 1, 14, 3, 'w');
        v.push_back(p.image());
    }
    for (int sub = 0; sub < 2; ++sub) {                                          // 25-26 grids
        Pic p;
        int step = sub ? 3 : 5;
        char c = sub ? 'b' : 'k';
        for (int x = 0; x < 16; x += step)
            for (int y = 0; y < 15; ++y) p.px(x, y, c);
        for (int y = 0; y < 15; y += step)
            for (int x = 0; x < 16; ++x) p.px(x, y, c);
        v.push_back(p.image());
    }
    {                                                                            // 27 animation
        Pic p;
        p.fill(0, 1, 15, 13, 'k');
        for (int x = 1; x < 16; x += 3) p.px(x, 2, 'w'), p.px(x, 12, 'w');
        p.fill(1, 4, 6, 10, 'c').fill(9, 4, 14, 10, 'y');
        v.push_back(p.image());
    }
    {                                                                            // 28 preview
        Pic p;
        for (int x = 0; x < 10; ++x) p.line(3 + x, 1 + x * 6 / 10, 3 + x, 13 - x * 6 / 10, 'G');
        p.line(3, 1, 13, 7, 'k').line(3, 13, 13, 7, 'k').line(3, 1, 3, 13, 'k');
        v.push_back(p.image());
    }
    return strip(v);
}

QPixmap ToolPaletteStrip() {
    std::vector<QImage> v;
    v.push_back(selectModeImage(0));                                  // 0 selection
    v.push_back(wand());                                              // 1 wand
    v.push_back(hand());                                              // 2 hand
    v.push_back(pencil());                                            // 3 pen
    v.push_back(Pic().line(1, 13, 14, 1, 'k').line(2, 13, 14, 2, 'k').fill(0, 12, 2, 14, 'b').fill(13, 0, 15, 2, 'b').image());  // 4 line
    v.push_back(bucket());                                            // 5 fill
    v.push_back(Pic().frame(1, 2, 14, 12, 'k').frame(2, 3, 13, 11, 'k').image());   // 6 rectangle
    v.push_back(Pic().ellipse(1, 1, 14, 13, 'k', false).image());     // 7 ellipse
    v.push_back(magnifier(nullptr));                                  // 8 zoom
    v.push_back(Pic().fill(1, 2, 14, 12, 'b').frame(1, 2, 14, 12, 'k').image());    // 9 filled rectangle
    v.push_back(Pic().ellipse(1, 1, 14, 13, 'b', true, 'k').image()); // 10 filled ellipse
    v.push_back(textTool());                                          // 11 text
    {                                                                 // 12 flip horizontally
        Pic p;
        p.line(7, 0, 7, 14, 'd');
        p.art({"....k", "...kk", "..kbk", ".kbbk", "kbbbk", ".kbbk", "..kbk", "...kk", "....k"}, 1, 3);
        p.art({"k....", "kk...", "kwk..", "kwwk.", "kwwwk", "kwwk.", "kwk..", "kk...", "k...."}, 9, 3);
        v.push_back(p.image());
    }
    {                                                                 // 13 flip vertically
        Pic p;
        p.line(0, 7, 15, 7, 'd');
        p.art({"....k....", "...kbk...", "..kbbbk..", ".kbbbbbk.", "kkkkkkkkk"}, 3, 1);
        p.art({"kkkkkkkkk", ".kwwwwwk.", "..kwwwk..", "...kwk...", "....k...."}, 3, 9);
        v.push_back(p.image());
    }
    v.push_back(arrow(0));                                            // 14 up
    v.push_back(arrow(1));                                            // 15 left
    v.push_back(arrow(2));                                            // 16 right
    v.push_back(arrow(3));                                            // 17 down
    {                                                                 // 18 scale
        Pic p;
        p.frame(0, 6, 7, 14, 'k').dashed(0, 0, 15, 14);
        p.line(5, 9, 13, 2, 'b').art({"bbbb", "...b", "...b", "...b"}, 10, 2);
        v.push_back(p.image());
    }
    {                                                                 // 19 rotate
        Pic p;
        p.ellipse(2, 2, 13, 13, 'G', false);
        p.fill(7, 0, 15, 6, 0);
        Pic q(QSize(16, 15));
        QImage img = p.image();
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAlpha(img.pixel(x, y)) && !(x >= 8 && y <= 6)) q.px(x, y, 'G'), q.px(x, y + 1, 'G');
        q.art({"GGGGG", ".GGG.", "..G.."}, 10, 5);
        v.push_back(q.image());
    }
    {                                                                 // 20 delete
        Pic p;
        for (int i = 0; i < 11; ++i) {
            p.px(2 + i, 2 + i, 'r'), p.px(3 + i, 2 + i, 'r'), p.px(13 - i, 2 + i, 'r'), p.px(12 - i, 2 + i, 'r');
        }
        v.push_back(p.image());
    }
    v.push_back(Pic().image());                                       // 21 spare
    v.push_back(Pic().image());                                       // 22 spare
    for (int mode = 0; mode < 4; ++mode) v.push_back(selectModeImage(mode));  // 23-26
    for (int d : {1, 3, 5, 7, 13, 15}) {                              // 27-32 pens
        Pic p;
        int c0x = 8 - (d + 1) / 2, c0y = 7 - d / 2;
        if (d <= 2) p.px(7, 7, 'k');
        else p.ellipse(c0x, c0y, c0x + d - 1, c0y + d - 1, 'k', true);
        v.push_back(p.image());
    }
    for (int k = 1; k <= 3; ++k) {                                    // 33-35 custom pens
        Pic p;
        p.ellipse(1, 1, 9, 9, 'd', true, 'k');
        p.digits(QByteArray::number(k).constData(), 11, 9, 'b');
        v.push_back(p.image());
    }
    return strip(v);
}

QPixmap LinkPaletteStrip() {
    std::vector<QImage> v;
    {                                                                 // 0 URL
        Pic p;
        p.ellipse(0, 0, 14, 14, 'c', true, 'B');
        p.line(7, 0, 7, 14, 'B').line(0, 7, 14, 7, 'B').ellipse(4, 0, 10, 14, 'B', false);
        v.push_back(p.image());
    }
    {                                                                 // 1 move
        Pic p;
        p.line(7, 0, 7, 14, 'k').line(0, 7, 14, 7, 'k');
        p.art({"..k..", ".kkk.", "kkkkk"}, 5, 0).art({"kkkkk", ".kkk.", "..k.."}, 5, 12);
        p.art({"..k", ".kk", "kkk", ".kk", "..k"}, 0, 5).art({"k..", "kk.", "kkk", "kk.", "k.."}, 12, 5);
        v.push_back(p.image());
    }
    {                                                                 // 2 polygon
        Pic p;
        p.line(1, 10, 5, 1, 'b').line(5, 1, 14, 5, 'b').line(14, 5, 10, 13, 'b').line(10, 13, 1, 10, 'b');
        p.px(1, 10, 'k'), p.px(5, 1, 'k'), p.px(14, 5, 'k'), p.px(10, 13, 'k');
        v.push_back(p.image());
    }
    v.push_back(Pic().frame(1, 2, 14, 12, 'b').fill(0, 1, 1, 2, 'k').fill(14, 12, 15, 13, 'k').image());  // 3 rect
    v.push_back(Pic().ellipse(1, 1, 13, 13, 'b', false).fill(6, 6, 8, 8, 'k').image());                   // 4 circle
    {                                                                 // 5 delete area
        Pic p;
        p.frame(1, 2, 14, 12, 'b');
        for (int i = 0; i < 8; ++i) p.px(4 + i, 3 + i, 'r'), p.px(11 - i, 3 + i, 'r');
        v.push_back(p.image());
    }
    {                                                                 // 6 open map file
        Pic p;
        p.art({"..kkkk..........", ".kyyyyk.........", ".kyyyykkkkkkk...", ".kyyyyyyyyyyk...",
               ".kyykkkkkkkkkkk.", ".kyk.bbbbbbbbbk.", ".kykbbbbbbbbbk..", ".kkbbbbbbbbbk...",
               ".kbbbbbbbbbk....", ".kkkkkkkkkk....."}, 0, 2);
        v.push_back(p.image());
    }
    {                                                                 // 7 save map file
        Pic p;
        p.fill(1, 1, 14, 13, 'G').frame(1, 1, 14, 13, 'k').fill(4, 1, 11, 6, 'w').frame(4, 1, 11, 6, 'k');
        p.fill(4, 9, 11, 13, 'g');
        v.push_back(p.image());
    }
    {                                                                 // 8 area text
        Pic p;
        p.art({"..k.........k...", ".k...........k..", "k..kkk.kkk....k.", ".k..k..k.k...k..",
               "..k.k..kkk..k..."}, 0, 5);
        v.push_back(p.image());
    }
    return strip(v);
}

QPixmap ToneBarStrip() {
    std::vector<QImage> v;
    for (int level = 0; level < kToneImages; ++level) {
        Pic p;
        QImage pattern = tonePattern(level, 12, 11);
        for (int y = 0; y < 11; ++y)
            for (int x = 0; x < 12; ++x) p.px(2 + x, 2 + y, qGray(pattern.pixel(x, y)) < 128 ? 'k' : 'w');
        p.frame(1, 1, 14, 13, 'd');
        v.push_back(p.image());
    }
    return strip(v);
}

QPixmap SelectModeStrip() {
    std::vector<QImage> v;
    for (int mode = 0; mode < kSelectModeImages; ++mode) v.push_back(selectModeImage(mode));
    return strip(v);
}

namespace {

constexpr std::array<int, kProgramCursorCount> kCursorIds = {
    110, 111, 112, 113, 114, 115, 116, 118, 119, 144, 179, 180, 181, 182,
    183, 184, 207, 249, 250, 251, 252, 253, 254, 271, 272, 273, 274};

// Each cursor is a cross-hair with a badge of the tool it stands for.
struct CursorArt {
    int strip;   // 0 tool palette, 1 link palette, 2 selection modes
    int image;
    bool cross;  // cross-hair with the hot spot at its centre
};

CursorArt cursorArt(int index) {
    static const CursorArt arts[kProgramCursorCount] = {
        {0, 3, false}, {0, 5, false}, {0, 1, true},  {0, 8, false}, {0, 2, false}, {0, 4, true},
        {0, 6, true},  {0, 7, true},  {0, 9, true},  {0, 10, true}, {0, 11, true}, {0, 18, true},
        {0, 19, true}, {0, 14, true}, {0, 15, true}, {0, 16, true}, {0, 17, true}, {1, 0, true},
        {1, 1, true},  {1, 2, true},  {1, 3, true},  {1, 4, true},  {1, 5, true},  {2, 0, true},
        {2, 1, true},  {2, 2, true},  {2, 3, true}};
    return arts[index];
}

int cursorIndex(int resourceId) {
    for (int i = 0; i < kProgramCursorCount; ++i)
        if (kCursorIds[size_t(i)] == resourceId) return i;
    return -1;
}

}  // namespace

const int* ProgramCursorIds() { return kCursorIds.data(); }

QImage ProgramCursorImage(int resourceId) {
    int index = cursorIndex(resourceId);
    QImage out(32, 32, QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    if (index < 0) return out;
    CursorArt art = cursorArt(index);
    QPixmap source = art.strip == 0 ? ToolPaletteStrip() : art.strip == 1 ? LinkPaletteStrip() : SelectModeStrip();
    QImage badge = source.toImage().copy(art.image * 16, 0, 16, 15);
    QPainter p(&out);
    if (art.cross) {
        // White-edged black cross, hot spot at (8, 8); the badge below right.
        p.fillRect(QRect(0, 7, 17, 3), Qt::white);
        p.fillRect(QRect(7, 0, 3, 17), Qt::white);
        p.fillRect(QRect(0, 8, 17, 1), Qt::black);
        p.fillRect(QRect(8, 0, 1, 17), Qt::black);
        p.fillRect(QRect(7, 7, 3, 3), Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(QRect(8, 8, 1, 1), Qt::transparent);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawImage(13, 14, badge);
    } else {
        p.drawImage(0, 0, badge);
    }
    return out;
}

QCursor ProgramCursor(int resourceId) {
    int index = cursorIndex(resourceId);
    if (index < 0) return QCursor(Qt::ArrowCursor);
    CursorArt art = cursorArt(index);
    QPoint hot = art.cross ? QPoint(8, 8) : (art.image == 3 ? QPoint(1, 13) : art.image == 5 ? QPoint(13, 9) : QPoint(7, 7));
    return QCursor(QPixmap::fromImage(ProgramCursorImage(resourceId)), hot.x(), hot.y());
}

QIcon ProgramIcon() {
    // A painter's palette with colour wells and a brush, 32 x 32.
    Pic p(QSize(32, 32));
    p.ellipse(1, 4, 30, 27, 'n', true, 'k');
    p.ellipse(18, 17, 24, 23, 0, true, 0);
    QImage img = p.image();
    for (int y = 17; y <= 23; ++y)
        for (int x = 18; x <= 24; ++x) {
            double u = (x - 21) / 3.5, w = (y - 20) / 3.5;
            if (u * u + w * w <= 1.0) img.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    QPainter painter(&img);
    Pic wells(QSize(32, 32));
    wells.ellipse(5, 9, 10, 14, 'r', true, 'k').ellipse(12, 6, 17, 11, 'y', true, 'k')
        .ellipse(19, 7, 24, 12, 'G', true, 'k').ellipse(6, 17, 11, 22, 'b', true, 'k')
        .ellipse(23, 13, 28, 18, 'm', true, 'k');
    wells.line(14, 30, 28, 1, 'k').line(15, 30, 29, 1, 'Y').line(16, 30, 30, 1, 'k');
    wells.fill(13, 27, 16, 31, 'k').fill(14, 28, 15, 30, 'B');
    painter.drawImage(0, 0, wells.image());
    painter.end();
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(img));
    icon.addPixmap(QPixmap::fromImage(img.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    return icon;
}

}  // namespace pictures
