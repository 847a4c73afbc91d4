// Tallix: the desktop calculator. No command line, no settings, no files.
#include <malloc.h>

#include "app/startup.h"

int main(int argc, char** argv) {
#ifdef __GLIBC__
  // One thread does all the work; the X event reader and the accessibility
  // bus thread allocate little, so one malloc arena serves them all. A fixed
  // mmap threshold gives large short-lived buffers (a scaled background)
  // back to the system when freed instead of growing the heap for good.
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
  return tallix::app::run(argc, argv);
}
