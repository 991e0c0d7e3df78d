// What the sanitizers must not count against us when the tests use GTK, pango and
// fontconfig, which are not built with the sanitizers.
//
// - Leaks: fontconfig keeps font patterns that pango's caches own until the process ends.
// - Races: GLib's worker threads (GIO tasks, pango's font loading) synchronise through
//   GLib's futex locks, which the thread sanitizer cannot see. In its reports a library
//   frame appears only as the caller of an intercepted malloc, free or string function,
//   never as a caller of our instrumented code, so these patterns match races inside the
//   libraries and leave every access of our own code checked.

extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

extern "C" const char* __tsan_default_suppressions() {
  return "race:libglib-2.0.so\n"
         "race:libgio-2.0.so\n"
         "race:libgobject-2.0.so\n"
         "race:libgdk-3.so\n"
         "race:libgtk-3.so\n"
         "race:libpango-1.0.so\n"
         "race:libpangoft2-1.0.so\n"
         "race:libfontconfig.so\n"
         "race:libharfbuzz.so\n"
         "race:libcairo.so\n";
}
