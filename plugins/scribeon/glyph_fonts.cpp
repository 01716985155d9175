#include "plugins/scribeon/glyph_fonts.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

namespace {

// The slant of a synthesised italic (FreeType's own oblique).
constexpr FT_Fixed kOblique = 0x0366A;

std::string FcString(FcPattern* p, const char* object) {
    FcChar8* s = nullptr;
    return FcPatternGetString(p, object, 0, &s) == FcResultMatch && s ? std::string(reinterpret_cast<char*>(s))
                                                                      : std::string();
}

int FcInt(FcPattern* p, const char* object, int fallback) {
    int v = 0;
    return FcPatternGetInteger(p, object, 0, &v) == FcResultMatch ? v : fallback;
}

const char* LanguageOf(int charset) { return charset == kJapaneseCharset ? "ja" : "zh-cn"; }

// An opened font file.
struct Face {
    FT_Face ft = nullptr;
    FcCharSet* coverage = nullptr;
    std::string family;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    int height = -1;  // the cell height the size is set for
    int ascent = 0;   // of that cell, pixels
    ~Face() {
        if (ft) FT_Done_Face(ft);
        if (coverage) FcCharSetDestroy(coverage);
    }
};

}  // namespace

bool FontChoice::operator<(const FontChoice& o) const {
    return std::tie(face, bold, italic, charset) < std::tie(o.face, o.bold, o.italic, o.charset);
}

std::vector<std::string> InstalledFontFamilies() {
    std::set<std::string> names;
    if (!FcInit()) return {};
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
        for (int i = 0; i < set->nfont; ++i) {
            std::string name = FcString(set->fonts[i], FC_FAMILY);
            if (!name.empty() && name[0] != '@') names.insert(name);
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return {names.begin(), names.end()};
}

int CharsetOfFamily(const std::string& family) {
    if (!FcInit()) return kDefaultCharset;
    int charset = kDefaultCharset;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_LANG, nullptr);
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
        for (int i = 0; i < set->nfont; ++i) {
            FcLangSet* langs = nullptr;
            if (FcPatternGetLangSet(set->fonts[i], FC_LANG, 0, &langs) == FcResultMatch &&
                FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) == FcLangEqual)
                charset = kJapaneseCharset;
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return charset;
}

bool GlyphFonts::IsFullWidth(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
           (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

struct GlyphFonts::Impl {
    FT_Library library = nullptr;
    std::map<std::pair<std::string, int>, std::unique_ptr<Face>> files;
    std::map<FontChoice, Face*> matches;                          // null: no face at all
    std::map<std::pair<FontChoice, char32_t>, Face*> fallbacks;   // a character the match lacks

    Face* Open(FcPattern* font) {
        const std::string file = FcString(font, FC_FILE);
        const int index = FcInt(font, FC_INDEX, 0);
        if (file.empty()) return nullptr;
        auto key = std::make_pair(file, index);
        auto it = files.find(key);
        if (it != files.end()) return it->second.get();
        auto face = std::make_unique<Face>();
        if (FT_New_Face(library, file.c_str(), index, &face->ft) != 0) {
            face->ft = nullptr;
            files[key] = nullptr;
            return nullptr;
        }
        FcCharSet* coverage = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &coverage) == FcResultMatch)
            face->coverage = FcCharSetCopy(coverage);
        face->family = FcString(font, FC_FAMILY);
        face->weight = FcInt(font, FC_WEIGHT, FC_WEIGHT_REGULAR);
        face->slant = FcInt(font, FC_SLANT, FC_SLANT_ROMAN);
        Face* raw = face.get();
        files[key] = std::move(face);
        return raw;
    }

    FcPattern* Pattern(const FontChoice& font, char32_t ch) {
        FcPattern* p = FcPatternCreate();
        FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(font.face.c_str()));
        FcPatternAddString(p, FC_LANG, reinterpret_cast<const FcChar8*>(LanguageOf(font.charset)));
        FcPatternAddInteger(p, FC_WEIGHT, font.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(p, FC_SLANT, font.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(p, FC_SCALABLE, FcTrue);
        if (ch) {
            FcCharSet* want = FcCharSetCreate();
            FcCharSetAddChar(want, ch);
            FcPatternAddCharSet(p, FC_CHARSET, want);
            FcCharSetDestroy(want);
        }
        FcConfigSubstitute(nullptr, p, FcMatchPattern);
        FcDefaultSubstitute(p);
        return p;
    }

    Face* Match(const FontChoice& font) {
        auto it = matches.find(font);
        if (it != matches.end()) return it->second;
        Face* face = nullptr;
        FcPattern* p = Pattern(font, 0);
        FcResult result;
        if (FcPattern* font = FcFontMatch(nullptr, p, &result)) {
            face = Open(font);
            FcPatternDestroy(font);
        }
        FcPatternDestroy(p);
        matches[font] = face;
        return face;
    }

    static bool Covers(const Face* face, char32_t ch) {
        return face && face->ft && (face->coverage ? FcCharSetHasChar(face->coverage, ch) : true) &&
               FT_Get_Char_Index(face->ft, ch) != 0;
    }

    Face* FaceFor(const FontChoice& font, char32_t ch) {
        Face* base = Match(font);
        if (Covers(base, ch)) return base;
        auto key = std::make_pair(font, ch);
        auto it = fallbacks.find(key);
        if (it != fallbacks.end()) return it->second;
        Face* face = nullptr;
        FcPattern* p = Pattern(font, ch);
        FcResult result;
        if (FcFontSet* set = FcFontSort(nullptr, p, FcFalse, nullptr, &result)) {
            for (int i = 0; i < set->nfont && !face; ++i) {
                FcCharSet* coverage = nullptr;
                if (FcPatternGetCharSet(set->fonts[i], FC_CHARSET, 0, &coverage) != FcResultMatch ||
                    !FcCharSetHasChar(coverage, ch))
                    continue;
                FcPattern* font = FcFontRenderPrepare(nullptr, p, set->fonts[i]);
                if (font) {
                    Face* candidate = Open(font);
                    if (Covers(candidate, ch)) face = candidate;
                    FcPatternDestroy(font);
                }
            }
            FcFontSetDestroy(set);
        }
        FcPatternDestroy(p);
        fallbacks[key] = face;
        return face;
    }

    // Sets the face to the cell height: em = height x unitsPerEm /
    // (winAscent + winDescent).
    static bool SetHeight(Face* face, int height) {
        if (face->height == height) return true;
        FT_Face ft = face->ft;
        long ascent = ft->ascender, descent = -ft->descender;
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
            os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            ascent = os2->usWinAscent;
            descent = os2->usWinDescent;
        }
        const long cell = std::max(1L, ascent + descent);
        const FT_F26Dot6 em = FT_F26Dot6((double(height) * 64.0 * ft->units_per_EM) / double(cell) + 0.5);
        if (FT_Set_Char_Size(ft, 0, std::max<FT_F26Dot6>(em, 1), 72, 72) != 0) return false;
        face->height = height;
        face->ascent = int((long(height) * ascent + cell / 2) / cell);
        return true;
    }

    // Loads (and, with `render`, renders) the character's glyph into the
    // face's slot.
    bool Load(const FontChoice& font, char32_t ch, bool antiAlias, bool horizontal, bool render, Face** used,
              bool* upright) {
        Face* face = FaceFor(font, ch);
        if (!face || font.height <= 0 || !SetHeight(face, font.height)) return false;
        FT_Face ft = face->ft;
        const bool oblique = font.italic && face->slant == FC_SLANT_ROMAN;
        const bool embolden = font.bold && face->weight < FC_WEIGHT_DEMIBOLD;
        *upright = horizontal || IsFullWidth(ch);
        const FT_Fixed shear = oblique ? kOblique : 0;
        FT_Matrix m;
        if (*upright) {
            m = {0x10000, shear, 0, 0x10000};
        } else {  // a quarter turn clockwise
            m = {0, 0x10000, -0x10000, -shear};
        }
        FT_Set_Transform(ft, &m, nullptr);
        const FT_Int32 flags = FT_LOAD_NO_BITMAP | (antiAlias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
        const FT_UInt index = FT_Get_Char_Index(ft, ch);
        const bool loaded = FT_Load_Glyph(ft, index, flags) == 0 && ft->glyph->format == FT_GLYPH_FORMAT_OUTLINE;
        FT_Set_Transform(ft, nullptr, nullptr);
        if (!loaded) return false;
        if (embolden) {
            const FT_Pos strength = FT_MulFix(ft->units_per_EM, ft->size->metrics.y_scale) / 24;
            FT_Outline_Embolden(&ft->glyph->outline, strength);
            if (*upright) ft->glyph->advance.x += strength;
            else ft->glyph->advance.y -= strength;
        }
        if (render && FT_Render_Glyph(ft->glyph, antiAlias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0)
            return false;
        *used = face;
        return true;
    }
};

GlyphFonts::GlyphFonts() : impl_(std::make_unique<Impl>()) {
    FcInit();
    if (FT_Init_FreeType(&impl_->library) != 0) impl_->library = nullptr;
}

GlyphFonts::~GlyphFonts() {
    impl_->fallbacks.clear();
    impl_->matches.clear();
    impl_->files.clear();
    if (impl_->library) FT_Done_FreeType(impl_->library);
}

bool GlyphFonts::Ok() const { return impl_->library != nullptr; }

std::string GlyphFonts::FamilyFor(const FontChoice& font, char32_t ch) {
    if (!Ok()) return {};
    Face* face = ch ? impl_->FaceFor(font, ch) : impl_->Match(font);
    return face ? face->family : std::string();
}

namespace {

int Round26(FT_Pos v) { return int((std::abs(v) + 32) >> 6); }

}  // namespace

bool GlyphFonts::Measure(const FontChoice& font, char32_t ch, bool horizontal, int* width, int* height) {
    Face* face = nullptr;
    bool upright = true;
    // Advances are taken as the anti-aliased render gives them.
    if (!Ok() || !impl_->Load(font, ch, true, horizontal, false, &face, &upright)) return false;
    const FT_GlyphSlot slot = face->ft->glyph;
    if (horizontal) {
        *width = Round26(slot->advance.x);
        *height = Round26(slot->advance.y);
    } else if (upright) {
        *width = 0;
        *height = Round26(slot->advance.x);
    } else {
        *width = Round26(slot->advance.x);
        *height = Round26(slot->advance.y);
    }
    return true;
}

bool GlyphFonts::Glyph(const FontChoice& font, char32_t ch, bool antiAlias, bool horizontal, GlyphImage* out) {
    Face* face = nullptr;
    bool upright = true;
    if (!Ok() || !impl_->Load(font, ch, antiAlias, horizontal, true, &face, &upright)) return false;
    const FT_GlyphSlot slot = face->ft->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    int advance = Round26(upright ? slot->advance.x : slot->advance.y);
    const int pitch = std::abs(bm.pitch);
    out->storage.clear();
    out->bitmap = GlyphBitmap{};
    out->bitmap.gray = antiAlias;
    out->bitmap.width = int(bm.width);
    out->bitmap.rows = int(bm.rows);
    if (antiAlias) {
        out->bitmap.pitch = int(bm.width);
        out->storage.resize(size_t(bm.width) * bm.rows);
        for (unsigned y = 0; y < bm.rows; ++y) {
            const uint8_t* src = bm.buffer + size_t(y) * pitch;
            uint8_t* dst = out->storage.data() + size_t(y) * bm.width;
            for (unsigned x = 0; x < bm.width; ++x) dst[x] = uint8_t((src[x] * 64 + 127) / 255);
        }
    } else {
        out->bitmap.pitch = pitch;
        out->storage.assign(bm.buffer, bm.buffer + size_t(pitch) * bm.rows);
    }
    out->bitmap.bits = out->storage.empty() ? nullptr : out->storage.data();
    out->originX = slot->bitmap_left;
    out->originY = slot->bitmap_top;
    if (horizontal) {
        out->advanceX = advance;
        out->advanceY = 0;
    } else {
        out->advanceX = 0;
        out->advanceY = advance;
        if (upright) {
            // Upright in the cell of the turned glyph: ascent right of the
            // pen, descent left of it, the advance running down.
            const int descent = font.height - face->ascent;
            const int across = Round26(slot->advance.x);
            out->originX = -descent + (font.height - across) / 2 + slot->bitmap_left;
            out->originY = slot->bitmap_top - face->ascent;
        }
    }
    return true;
}
