#include "AssetGen_Lettering.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <mutex>

namespace AssetGen {
namespace {

constexpr std::array<const char*, 4> kFileNames = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
                                                   "DejaVuSansMono-Bold.ttf"};

std::string& Directory() {
    static std::string directory;
    return directory;
}

struct Faces {
    FT_Library library = nullptr;
    std::array<cairo_font_face_t*, kFileNames.size()> faces{};
};

// Loaded together, once, before any thread draws with them: FreeType may
// not open faces from several threads at once; cairo locks each face while
// it rasterises. They live until the process ends.
const Faces& LoadedFaces() {
    static const Faces loaded = [] {
        Faces result;
        if (FT_Init_FreeType(&result.library) != 0) {
            return result;
        }
        for (std::size_t i = 0; i < kFileNames.size(); ++i) {
            FT_Face face = nullptr;
            const std::string path = Directory() + "/" + kFileNames[i];
            if (FT_New_Face(result.library, path.c_str(), 0, &face) == 0) {
                result.faces[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
            }
        }
        return result;
    }();
    return loaded;
}

}  // namespace

void SetFontDirectory(const std::string& directory) { Directory() = directory; }

std::string FontFile(DejaVu face) { return Directory() + "/" + kFileNames[static_cast<std::size_t>(face)]; }

cairo_font_face_t* FontFace(DejaVu face) { return LoadedFaces().faces[static_cast<std::size_t>(face)]; }

void UseFont(cairo_t* cr, DejaVu face, double size) {
    cairo_set_font_face(cr, FontFace(face));
    cairo_set_font_size(cr, size);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
}

void DrawCentredText(cairo_t* cr, const char* text, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1, -1);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text, &extents);
    cairo_move_to(cr, -extents.x_bearing - extents.width / 2, -extents.y_bearing - extents.height / 2);
    cairo_show_text(cr, text);
    cairo_restore(cr);
}

}  // namespace AssetGen
