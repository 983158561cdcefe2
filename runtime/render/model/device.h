// What a frame is drawn for, in device terms: rectangles of pixels, and
// the pointer and the keyboard's focus ring as the buttons show them.
#ifndef KVR_RENDER_MODEL_DEVICE_H
#define KVR_RENDER_MODEL_DEVICE_H

namespace kvr {

// The keyboard focus as drawn: the focus scope and the place in the
// keyboard order of the control that wears the ring; order -1: no ring.
struct FocusMark {
  int scope = -1;
  int order = -1;
  bool operator==(const FocusMark&) const = default;
};

// Where the pointer is, for the hover and pressed looks of buttons (layout
// units, origin bottom-left), and the keyboard's focus ring. Never changes
// what the program sees.
struct PointerLook {
  int x = -1;
  int y = -1;
  int buttons = 0;
  FocusMark focus = {};
  bool operator==(const PointerLook&) const = default;
};

// A rectangle of device pixels (x, y from the top-left corner).
struct DeviceRect {
  int x = 0, y = 0, width = 0, height = 0;

  bool empty() const { return width <= 0 || height <= 0; }
  bool operator==(const DeviceRect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

}  // namespace kvr

#endif
