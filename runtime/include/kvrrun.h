// The six operations of the scene runtime KvrRun, the only way the program
// talks to the scene, and one extension, KvHouse, through which the program
// lets the runtime read its house. C linkage and these exact names: the
// program, the test double and any replacement runtime all provide or use
// this one list.
#ifndef KVRRUN_H
#define KVRRUN_H

#include <stdint.h>

#include "kvrhouse.h"

#if defined(_WIN32)
#define KVR_API __declspec(dllexport)
#else
#define KVR_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Starts the runtime: reads kvr.ini and opens the backend. The program passes 0.
KVR_API int32_t KvBegin(int32_t mode);

// Loads the scene file (the program passes "HOME.SP1").
KVR_API int32_t KvLoad(const char* scene_file);

// Binds a program record to OBJECT.VARIABLE of the loaded scene for the rest
// of the run. The scene reads the record whenever it plays an action.
KVR_API int32_t KvLink(const char* object, const char* variable, void* record);

// Plays the named action. For "HOME" a non-zero result asks the program to end.
KVR_API int16_t KvExec(const char* action);

// Fills the pointer state at once, without waiting for a change: position in
// layout units (origin bottom-left) and buttons (0 none, 1 left, 2 right,
// 3 both). The program passes -1 as the first argument.
KVR_API int32_t KvMouse(int32_t mode, int32_t* x, int32_t* y, int32_t* buttons);

// Stops the runtime: flushes the trace and closes the backend.
KVR_API int32_t KvEnd(void);

// Extension: hands the runtime a read-only view of the program's house and
// its physics (kvrhouse.h), once, after the bindings. `house` and everything
// it points to live for the rest of the run. The runtime never writes
// through it, adds no trace line for it and changes no result of the six
// operations; a view of an unknown version (or a null one) is ignored.
KVR_API int32_t KvHouse(const KvrHouse* house);

#ifdef __cplusplus
}
#endif

#endif
