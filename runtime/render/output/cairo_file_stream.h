// Cairo's stream writers (cairo_surface_write_to_png_stream,
// cairo_pdf_surface_create_for_stream) into an AtomicFile, so that what
// Cairo writes appears whole under its final name or not at all.
#ifndef KVR_RENDER_CAIRO_FILE_STREAM_H
#define KVR_RENDER_CAIRO_FILE_STREAM_H

#include <cairo.h>

#include "atomic_file.h"

namespace kvr {

// `closure` is the AtomicFile. A failed write has already been reported.
inline cairo_status_t write_to_atomic_file(void* closure, const unsigned char* data,
                                           unsigned int length) {
  return static_cast<AtomicFile*>(closure)->write(data, length) ? CAIRO_STATUS_SUCCESS
                                                                : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace kvr

#endif
