// What the browser backend asks of the page, in JavaScript
// (page_library.js, linked with --js-library): waiting for input without
// holding the browser, putting pixels on the canvas, handing files to the
// browser's downloads, full screen.
#ifndef KVR_BROWSER_PAGE_BRIDGE_H
#define KVR_BROWSER_PAGE_BRIDGE_H

extern "C" {

// Wakes the program at every input event of the page (after SDL has queued
// it), while it waits in maison_page_wait. Once, after SDL's window exists.
void maison_page_listen(void);

// Gives the browser back its thread (Asyncify) until an input event comes,
// or at most `ms` milliseconds (`ms` < 0: until an event).
void maison_page_wait(int ms);

// Copies a rectangle of `rgba` (width x height pixels, 4 bytes each in the
// canvas's byte order) onto the canvas, at the same place.
void maison_page_put(const void* rgba, int width, int height, int x, int y, int w, int h);

// A frame is on the canvas (the page may count it: Module.onMaisonFrame).
void maison_page_shown(void);

// Hands every file of `folder` to the browser as a download, then removes it.
void maison_page_deliver(const char* folder);

// Enters or leaves the page's full screen.
void maison_page_fullscreen(void);

}  // extern "C"

#endif
