// Hatching kept as a picture: the courses of a hatched shape rasterised
// once into an alpha mask at the target's scale, then painted through it in
// the hatch's current colour. A frame that recolours the walls, or an
// animation over them, then costs one mask paint per shape instead of
// stroking hundreds of lines. Used on image targets: update() keeps the
// masks from frame to frame, draw() makes each for one paint; vector
// output keeps stroking the lines.
#ifndef KVR_RENDER_HATCH_MASKS_H
#define KVR_RENDER_HATCH_MASKS_H

#include <cairo.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "model/element_model.h"

namespace kvr::render {

class HatchMasks {
 public:
  explicit HatchMasks(int slots);

  // Paints n's courses in `colour` through its mask on `cr` (an image
  // target, the shape's path current and kept), making the mask first
  // when there is none for the current scale and sub-pixel position. The
  // two threads of a frame painted in bands may call it at once.
  void paint(cairo_t* cr, const Node& n, const Rgba& colour);

  // The same for a target drawn whole, which keeps no masks: a mask made
  // for this paint alone, of the rows the clip lets through.
  static void paint_once(cairo_t* cr, const Node& n, const Rgba& colour);

  // Strokes n's courses on `cr` in the current source: the joints as one
  // path, each slanted course as one of its own.
  static void stroke(cairo_t* cr, const Hatch& h);

 private:
  // A mask is drawn row by row as frames need its rows (those their clip
  // lets through); two threads may draw different rows at once.
  enum class Row : unsigned char { Blank, Drawing, Drawn };
  struct Mask {
    cairo_surface_t* surface = nullptr;
    cairo_matrix_t matrix{};  // the user-to-device matrix it was made for
    int x = 0, y = 0;         // its top-left corner in device pixels then
    int width = 0, stride = 0;
    std::vector<Row> rows;
    std::mutex mutex;  // guards all the above but the pixels of rows being drawn
    std::condition_variable drawn;

    Mask() = default;
    Mask(const Mask&) = delete;
    Mask& operator=(const Mask&) = delete;
    ~Mask();
  };
  static bool make(Mask& mask, const Node& n, const cairo_matrix_t& m);
  static std::pair<int, int> needed_rows(cairo_t* cr, const Mask& mask, int at_y);
  static void draw_rows(Mask& mask, const Node& n, int a, int b);

  std::vector<std::unique_ptr<Mask>> masks_;  // by the element's slot
};

}  // namespace kvr::render

#endif
