// Fontconfig keeps its font cache for the life of the process, which the leak
// checker of sanitizer builds reports at exit; those reports are not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
