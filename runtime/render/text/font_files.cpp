#include "text/font_files.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstdlib>

namespace kvr::render {
namespace {

// One FreeType library for the process, never closed: Cairo may keep a face
// (and so its FreeType face) alive past the renderer that made it.
FT_Library library() {
  static FT_Library lib = [] {
    FT_Library made = nullptr;
    if (FT_Init_FreeType(&made) != 0) made = nullptr;
    return made;
  }();
  return lib;
}

const char* reason(FT_Error error) {
  switch (error) {
    case FT_Err_Cannot_Open_Resource:
      return "cannot open the file";
    case FT_Err_Unknown_File_Format:
      return "not a font file";
    case FT_Err_Invalid_File_Format:
      return "damaged font file";
    default:
      return "FreeType cannot read it";
  }
}

void done_face(void* face) {
  FT_Done_Face(static_cast<FT_Face>(face));
}

cairo_user_data_key_t face_key;

}  // namespace

std::string font_file(bool bold) {
  const char* dir = std::getenv("KVR_FONT_DIR");
  std::string path = dir != nullptr && *dir != '\0' ? dir : kFontFolder;
  path += bold ? "/DejaVuSans-Bold.ttf" : "/DejaVuSans.ttf";
  return path;
}

cairo_font_face_t* open_font_face(bool bold) {
  const std::string path = font_file(bold);
  FT_Library lib = library();
  FT_Face face = nullptr;
  const FT_Error error =
      lib == nullptr ? FT_Err_Cannot_Open_Resource : FT_New_Face(lib, path.c_str(), 0, &face);
  if (error == 0) {
    cairo_font_face_t* made = cairo_ft_font_face_create_for_ft_face(face, 0);
    if (cairo_font_face_set_user_data(made, &face_key, face, done_face) == CAIRO_STATUS_SUCCESS)
      return made;
    cairo_font_face_destroy(made);
    FT_Done_Face(face);
  }
  static bool told[2] = {false, false};
  if (!told[bold ? 1 : 0]) {
    told[bold ? 1 : 0] = true;
    std::fprintf(stderr, "%s: %s; texts are drawn in another font\n", path.c_str(),
                 error != 0 ? reason(error) : "cannot make a face of it");
  }
  return cairo_toy_font_face_create(kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                                    bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
}

}  // namespace kvr::render
