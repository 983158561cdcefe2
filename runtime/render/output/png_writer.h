// Pictures of the scene as PNG files (the headless backend's pictures,
// the window's screenshots).
#ifndef KVR_RENDER_OUTPUT_PNG_WRITER_H
#define KVR_RENDER_OUTPUT_PNG_WRITER_H

#include <string>

#include "backend.h"
#include "model/device.h"

namespace kvr {

// Draws the scene at width x height into a PNG file. False (with the message
// "PATH: cannot write WHAT: reason" on standard error) when it cannot be
// written; the file then is not there, or keeps its old content.
// `look` is the pointer and focus ring drawn (none by default).
bool write_scene_png(const std::string& path, const FrameView& view, int width, int height,
                     const PointerLook& look = PointerLook{},
                     const std::string& what = "the picture");

}  // namespace kvr

#endif
