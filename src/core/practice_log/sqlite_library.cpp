#include "practice_log/sqlite_library.h"

#include <dlfcn.h>

#include <mutex>

namespace kibiki {

namespace {

SqliteLibrary g_library{};
const SqliteLibrary* g_pLoaded = nullptr;

template <class F> bool Resolve(void* pHandle, const char* pszName, F& fn) {
    fn = reinterpret_cast<F>(::dlsym(pHandle, pszName));
    return fn != nullptr;
}

const SqliteLibrary* Load() {
    // The soname the development package's link would have recorded.
    void* pHandle = ::dlopen("libsqlite3.so.0", RTLD_NOW | RTLD_LOCAL);
    if (!pHandle) return nullptr;
    SqliteLibrary& s = g_library;
    const bool ok =
        Resolve(pHandle, "sqlite3_open_v2", s.open_v2) && Resolve(pHandle, "sqlite3_close_v2", s.close_v2) &&
        Resolve(pHandle, "sqlite3_busy_timeout", s.busy_timeout) &&
        Resolve(pHandle, "sqlite3_extended_result_codes", s.extended_result_codes) &&
        Resolve(pHandle, "sqlite3_system_errno", s.system_errno) && Resolve(pHandle, "sqlite3_exec", s.exec) &&
        Resolve(pHandle, "sqlite3_prepare_v2", s.prepare_v2) && Resolve(pHandle, "sqlite3_finalize", s.finalize) &&
        Resolve(pHandle, "sqlite3_reset", s.reset) && Resolve(pHandle, "sqlite3_step", s.step) &&
        Resolve(pHandle, "sqlite3_bind_int", s.bind_int) && Resolve(pHandle, "sqlite3_bind_int64", s.bind_int64) &&
        Resolve(pHandle, "sqlite3_bind_text", s.bind_text) && Resolve(pHandle, "sqlite3_bind_null", s.bind_null) &&
        Resolve(pHandle, "sqlite3_column_type", s.column_type) &&
        Resolve(pHandle, "sqlite3_column_int", s.column_int) &&
        Resolve(pHandle, "sqlite3_column_int64", s.column_int64) &&
        Resolve(pHandle, "sqlite3_column_text", s.column_text) &&
        Resolve(pHandle, "sqlite3_column_bytes", s.column_bytes) &&
        Resolve(pHandle, "sqlite3_last_insert_rowid", s.last_insert_rowid);
    // The handle stays open for the program's life either way: unloading buys nothing.
    return ok ? &s : nullptr;
}

}  // namespace

const SqliteLibrary* LoadSqlite() {
    static std::once_flag s_once;
    std::call_once(s_once, [] { g_pLoaded = Load(); });
    return g_pLoaded;
}

const SqliteLibrary& Sql() { return *g_pLoaded; }

}  // namespace kibiki
