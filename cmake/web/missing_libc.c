/* What the libc of Emscripten 3.1.6 declares but does not define, and the
 * runtime's renderer links (it asks which cores it may use): WebAssembly
 * without threads has one, and no affinity to ask about. */
#define _GNU_SOURCE
#include <errno.h>
#include <sched.h>
#include <stddef.h>

int sched_getaffinity(pid_t pid, size_t size, cpu_set_t* set) {
  (void)pid;
  (void)size;
  (void)set;
  errno = ENOSYS;
  return -1;
}

int __sched_cpucount(size_t size, const cpu_set_t* set) {
  const unsigned char* bytes = (const unsigned char*)set;
  int count = 0;
  for (size_t i = 0; i < size; i++)
    for (unsigned char b = bytes[i]; b != 0; b &= (unsigned char)(b - 1)) count++;
  return count;
}
