// Leaks that LeakSanitizer reports in a sanitizer build but that are not
// ours: fontconfig keeps its caches until the process ends. LeakSanitizer
// asks for these when a test program starts, also one started by hand; in
// other builds nothing calls them.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
