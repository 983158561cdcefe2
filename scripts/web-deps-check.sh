#!/usr/bin/env bash
# Links one tiny program per WebAssembly library of the web prefix and runs it
# under Node.js: each must print what the library itself computed.
#   scripts/web-deps-check.sh PREFIX
set -euo pipefail
prefix=${1:?usage: web-deps-check.sh PREFIX}
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

check() {
  # check NAME EXPECTED-OUTPUT LIBS... <<< C-PROGRAM
  local name=$1 expected=$2 src compiler=emcc
  shift 2
  src=$work/$name.${ext:-c}
  [ "${ext:-c}" = cpp ] && compiler=em++
  cat >"$src"
  if ! "$compiler" -O1 -I"$prefix/include" -I"$prefix/include/freetype2" -I"$prefix/include/cairo" -I"$prefix/include/pixman-1" \
      -I"$prefix/include/SDL2" "$src" -L"$prefix/lib" "$@" \
      -sWASM_ASYNC_COMPILATION=0 -sSINGLE_FILE -sNODERAWFS -o "$work/$name.js" >"$work/$name.log" 2>&1; then
    echo "web-deps-check: $name does not link:" >&2
    sed 's/^/    /' "$work/$name.log" >&2
    failed=1
    return
  fi
  local got
  got=$(cd "$work" && node "$work/$name.js" 2>&1) || true
  if [ "$got" = "$expected" ]; then
    echo "web-deps-check: $name ok ($got)" >&2
  else
    echo "web-deps-check: $name printed '$got', expected '$expected'" >&2
    failed=1
  fi
}

check zlib "crc 414fa339 roundtrip ok" -lz <<'EOF'
#include <stdio.h>
#include <string.h>
#include <zlib.h>
int main(void) {
  const char* s = "The quick brown fox jumps over the lazy dog";
  unsigned char packed[128], back[128];
  uLongf n = sizeof packed, m = sizeof back;
  compress(packed, &n, (const Bytef*)s, strlen(s));
  uncompress(back, &m, packed, n);
  printf("crc %08lx roundtrip %s\n", crc32(0, (const Bytef*)s, (uInt)strlen(s)),
         m == strlen(s) && memcmp(back, s, m) == 0 ? "ok" : "bad");
  return 0;
}
EOF

check libpng "png 3x2 rgba" -lpng16 -lz <<'EOF'
#include <png.h>
#include <stdio.h>
int main(void) {
  png_image w = {0};
  w.version = PNG_IMAGE_VERSION; w.width = 3; w.height = 2; w.format = PNG_FORMAT_RGBA;
  unsigned char px[3 * 2 * 4] = {255, 0, 0, 255};
  if (!png_image_write_to_file(&w, "t.png", 0, px, 0, NULL)) return 1;
  png_image r = {0};
  r.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&r, "t.png")) return 1;
  printf("png %ux%u %s\n", r.width, r.height, (r.format & PNG_FORMAT_FLAG_ALPHA) ? "rgba" : "rgb");
  png_image_free(&r);
  return 0;
}
EOF

check freetype "freetype 2 ok" -lfreetype -lz <<'EOF'
#include <ft2build.h>
#include FT_FREETYPE_H
#include <stdio.h>
int main(void) {
  FT_Library lib;
  FT_Int major, minor, patch;
  if (FT_Init_FreeType(&lib)) return 1;
  FT_Library_Version(lib, &major, &minor, &patch);
  printf("freetype %d %s\n", major, FT_Done_FreeType(lib) == 0 ? "ok" : "bad");
  return 0;
}
EOF

check pixman "pixman fill ff336699" -lpixman-1 <<'EOF'
#include <pixman.h>
#include <stdint.h>
#include <stdio.h>
int main(void) {
  uint32_t bits[4 * 4] = {0};
  pixman_image_t* img = pixman_image_create_bits(PIXMAN_a8r8g8b8, 4, 4, bits, 16);
  pixman_color_t c = {0x3333, 0x6666, 0x9999, 0xffff};
  pixman_box32_t box = {0, 0, 4, 4};
  pixman_image_fill_boxes(PIXMAN_OP_SRC, img, &c, 1, &box);
  printf("pixman fill %08x\n", bits[5]);
  pixman_image_unref(img);
  return 0;
}
EOF

check cairo "cairo png ok pdf ok ft ok pixel ff0000ff" -lcairo -lpixman-1 -lfreetype -lpng16 -lz <<'EOF'
#include <cairo.h>
#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <stdint.h>
#include <stdio.h>
int main(void) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgb(cr, 0, 0, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_flush(s);
  uint32_t px = *(uint32_t*)cairo_image_surface_get_data(s);
  int png = cairo_surface_write_to_png(s, "t.png") == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  cairo_surface_t* pdf = cairo_pdf_surface_create("t.pdf", 100, 100);
  cr = cairo_create(pdf);
  cairo_rectangle(cr, 10, 10, 50, 50);
  cairo_fill(cr);
  cairo_show_page(cr);
  cairo_destroy(cr);
  cairo_surface_finish(pdf);
  int pdf_ok = cairo_surface_status(pdf) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(pdf);
  FILE* f = fopen("t.pdf", "rb");
  char head[5] = {0};
  if (f) { fread(head, 1, 4, f); fclose(f); }
  pdf_ok = pdf_ok && head[0] == '%' && head[1] == 'P';
  cairo_font_face_t* (*ft)(FT_Face, int) = cairo_ft_font_face_create_for_ft_face;
  printf("cairo png %s pdf %s ft %s pixel %08x\n", png ? "ok" : "bad", pdf_ok ? "ok" : "bad",
         ft ? "ok" : "bad", px);
  return 0;
}
EOF

# Text through FreeType with a font file (what the renderer needs without
# fontconfig): ink where the glyphs are, none elsewhere.
font=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
if [ -f "$font" ]; then
check cairo-ft-text "ft text ink yes" -lcairo -lpixman-1 -lfreetype -lpng16 -lz <<EOF
#include <cairo.h>
#include <cairo-ft.h>
#include <stdint.h>
#include <stdio.h>
int main(void) {
  FT_Library lib;
  FT_Face face;
  if (FT_Init_FreeType(&lib) || FT_New_Face(lib, "$font", 0, &face)) return 1;
  cairo_font_face_t* ff = cairo_ft_font_face_create_for_ft_face(face, 0);
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 200, 40);
  cairo_t* cr = cairo_create(s);
  cairo_set_font_face(cr, ff);
  cairo_set_font_size(cr, 24);
  cairo_move_to(cr, 5, 30);
  cairo_show_text(cr, "Besoin annuel 123,4");
  cairo_destroy(cr);
  cairo_surface_flush(s);
  const unsigned char* px = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s), inked = 0;
  for (int y = 0; y < 40; y++)
    for (int x = 0; x < 200; x++) inked += px[y * stride + x * 4 + 3] != 0;
  printf("ft text ink %s\n", inked > 200 && inked < 200 * 40 / 2 ? "yes" : "no");
  cairo_surface_destroy(s);
  return 0;
}
EOF
fi

if [ ! -f "$prefix/lib/libSDL2.a" ]; then
  echo "web-deps-check: no SDL2 (left out)" >&2
else
check sdl2 "sdl 2 timer ok" -lSDL2 <<'EOF'
#include <SDL.h>
#include <stdio.h>
int main(int argc, char** argv) {
  (void)argc; (void)argv;
  SDL_version v;
  SDL_GetVersion(&v);
  int ok = SDL_Init(SDL_INIT_TIMER) == 0;
  printf("sdl %d timer %s\n", v.major, ok ? "ok" : SDL_GetError());
  SDL_Quit();
  return 0;
}
EOF
fi

check inih "ini runtime.backend=headless" -linih <<'EOF'
#include <ini.h>
#include <stdio.h>
#include <string.h>
static int on(void* u, const char* s, const char* k, const char* v) {
  (void)u;
  printf("ini %s.%s=%s\n", s, k, v);
  return 1;
}
int main(void) {
  FILE* f = fopen("t.ini", "w");
  fputs("[runtime]\nbackend = headless ; comment\n", f);
  fclose(f);
  return ini_parse("t.ini", on, NULL);
}
EOF

check libcsv 'csv "a,b",c' -lcsv <<'EOF'
#include <csv.h>
#include <stdio.h>
int main(void) {
  char out[32];
  size_t n = csv_write(out, sizeof out, "a,b", 3);
  out[n] = 0;
  printf("csv %s,c\n", out);
  return 0;
}
EOF

ext=cpp check nlohmann-json '{"a":[1,2.5]}' <<'EOF'
#include <nlohmann/json.hpp>
#include <stdio.h>
int main() {
  nlohmann::json j;
  j["a"] = {1, 2.5};
  printf("%s\n", j.dump().c_str());
  return 0;
}
EOF

exit $failed
