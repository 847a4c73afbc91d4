#pragma once
// Entry points of a library the program opens itself with dlopen (libjpeg,
// chmlib, libwayland-client), typed as the header that declares them.

#include <dlfcn.h>

namespace tallix::ui {

// Stores the address of `name` in `library` into `function`, typed as the
// function pointer it is; false (and `function` null) when the library has
// no such symbol.
template <typename Function>
bool loadSymbol(void* library, Function& function, const char* name) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

}  // namespace tallix::ui
