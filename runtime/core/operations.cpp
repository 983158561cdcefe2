// The six exported operations. Each checks the order of calls and hands over
// to the one Runtime of the process.
#include <iostream>

#include "kvrrun.h"
#include "runtime.h"

namespace {

// Deliberately never destroyed by static destructors: the runtime may end
// the process from inside one of its own calls.
kvr::Runtime* g_runtime = nullptr;
bool g_warned_unstarted = false;

kvr::BackendFactories factories() {
  kvr::BackendFactories f;
  f.headless = &kvr::make_headless_backend;
#ifdef KVR_WITH_WINDOW
  f.window = &kvr::make_window_backend;
#endif
#ifdef KVR_WITH_BROWSER
  // In a page, the browser's canvas is the window.
  f.window = &kvr::make_browser_backend;
#endif
  return f;
}

bool started(const char* operation) {
  if (g_runtime != nullptr) return true;
  if (!g_warned_unstarted) {
    std::cerr << "KvrRun: " << operation << " called before KvBegin; ignored\n";
    g_warned_unstarted = true;
  }
  return false;
}

}  // namespace

extern "C" {

KVR_API int32_t KvBegin(int32_t mode) {
  if (g_runtime != nullptr) {
    std::cerr << "KvrRun: KvBegin called again; the running session is ended first\n";
    g_runtime->end();
    delete g_runtime;
  }
  g_warned_unstarted = false;
  g_runtime = new kvr::Runtime(factories(), std::cerr);
  g_runtime->begin(mode, "kvr.ini");
  return 0;
}

KVR_API int32_t KvLoad(const char* scene_file) {
  if (!started("KvLoad")) return -1;
  g_runtime->load(scene_file);
  return 0;
}

KVR_API int32_t KvLink(const char* object, const char* variable, void* record) {
  if (!started("KvLink")) return -1;
  g_runtime->link(object, variable, record);
  return 0;
}

KVR_API int16_t KvExec(const char* action) {
  if (!started("KvExec")) return 0;
  return g_runtime->exec(action);
}

KVR_API int32_t KvMouse(int32_t mode, int32_t* x, int32_t* y, int32_t* buttons) {
  (void)mode;  // the program always passes -1: the pointer of the scene's view
  if (!started("KvMouse")) {
    if (x) *x = 0;
    if (y) *y = 0;
    if (buttons) *buttons = 0;
    return -1;
  }
  g_runtime->mouse(x, y, buttons);
  return 0;
}

KVR_API int32_t KvEnd(void) {
  if (!started("KvEnd")) return -1;
  g_runtime->end();
  delete g_runtime;
  g_runtime = nullptr;
  return 0;
}

KVR_API int32_t KvHouse(const KvrHouse* house) {
  if (!started("KvHouse")) return -1;
  g_runtime->set_house(house);
  return 0;
}

}  // extern "C"
