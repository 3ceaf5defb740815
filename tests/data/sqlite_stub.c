/* A stand-in for the SQLite library that exports a single entry point. */
const char* sqlite3_libversion(void) {
    return "stub 1.0";
}
