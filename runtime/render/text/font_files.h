// The two faces every text is drawn in, made through FreeType from the files
// of DejaVu Sans rather than through the system's font matcher, so that the
// window, the pictures, the report and the web page draw the same letters.
#ifndef KVR_RENDER_FONT_FILES_H
#define KVR_RENDER_FONT_FILES_H

#include <cairo.h>

#include <string>

namespace kvr::render {

inline constexpr const char* kFontFamily = "DejaVu Sans";
inline constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu";

// The file of the regular or bold face: in $KVR_FONT_DIR when it is set,
// else in Debian's fonts-dejavu-core folder.
std::string font_file(bool bold);

// A face made from that file. When the file cannot be read, says so once on
// standard error, naming the file and the reason, and returns Cairo's own
// face of the family instead, so that the text is still drawn.
cairo_font_face_t* open_font_face(bool bold);

}  // namespace kvr::render

#endif
