#pragma once
// A shared library the program opens itself (libjpeg, chmlib), by the name
// the dynamic loader knows it by: its SONAME, read by the build from the
// library it found ("libjpeg.so.62"), never one guessed from a header's
// version.

namespace tallix::platform {

class LoadedLibrary {
 public:
  // Opens `soname` with every symbol bound now and none made global;
  // isOpen() tells whether the loader found it.
  explicit LoadedLibrary(const char* soname);
  // Closes the library, unless keepLoaded() let it go.
  ~LoadedLibrary();
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool isOpen() const { return handle_ != nullptr; }

  // The address of the symbol `name`, or null when the library has none
  // (or is not open): address("wl_registry_interface").
  void* address(const char* name) const;

  // Stores the entry point `name` into `function`, typed as the function
  // pointer it is (decltype(&jpeg_std_error)); false, and `function` null,
  // when the library has no such symbol.
  template <typename Function>
  bool symbol(Function& function, const char* name) const {
    function = reinterpret_cast<Function>(address(name));
    return function != nullptr;
  }

  // Leaves the library loaded until the process ends: this object lets go
  // of it without closing it, and isOpen() turns false.
  void keepLoaded() { handle_ = nullptr; }

 private:
  void* handle_;
};

}  // namespace tallix::platform
