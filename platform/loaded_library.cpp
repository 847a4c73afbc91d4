#include "platform/loaded_library.h"

#include <dlfcn.h>

namespace tallix::platform {

LoadedLibrary::LoadedLibrary(const char* soname) : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}

LoadedLibrary::~LoadedLibrary() {
  if (handle_ != nullptr) dlclose(handle_);
}

void* LoadedLibrary::address(const char* name) const {
  return handle_ != nullptr ? dlsym(handle_, name) : nullptr;
}

}  // namespace tallix::platform
