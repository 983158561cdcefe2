// The six runtime operations doing nothing: an idle pointer and no end
// requested, so that a benchmark measures the program's own steps alone.
#include "kvrrun.h"

extern "C" {

int32_t KvBegin(int32_t) {
  return 0;
}
int32_t KvLoad(const char*) {
  return 0;
}
int32_t KvLink(const char*, const char*, void*) {
  return 0;
}
int16_t KvExec(const char*) {
  return 0;
}

int32_t KvMouse(int32_t, int32_t* x, int32_t* y, int32_t* buttons) {
  *x = 400;
  *y = 300;
  *buttons = 0;
  return 0;
}

int32_t KvEnd(void) {
  return 0;
}

int32_t KvHouse(const KvrHouse*) {
  return 0;
}

}  // extern "C"
