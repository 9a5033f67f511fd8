#pragma once
// SQLite, loaded when the practice log is first opened. The log is opened only once a run ends;
// a library linked in would be mapped and relocated at every start, before the window shows.
#include <sqlite3.h>

namespace kibiki {

struct SqliteLibrary {
    decltype(&sqlite3_open_v2) open_v2;
    decltype(&sqlite3_close_v2) close_v2;
    decltype(&sqlite3_busy_timeout) busy_timeout;
    decltype(&sqlite3_extended_result_codes) extended_result_codes;
    decltype(&sqlite3_system_errno) system_errno;
    decltype(&sqlite3_exec) exec;
    decltype(&sqlite3_prepare_v2) prepare_v2;
    decltype(&sqlite3_finalize) finalize;
    decltype(&sqlite3_reset) reset;
    decltype(&sqlite3_step) step;
    decltype(&sqlite3_bind_int) bind_int;
    decltype(&sqlite3_bind_int64) bind_int64;
    decltype(&sqlite3_bind_text) bind_text;
    decltype(&sqlite3_bind_null) bind_null;
    decltype(&sqlite3_column_type) column_type;
    decltype(&sqlite3_column_int) column_int;
    decltype(&sqlite3_column_int64) column_int64;
    decltype(&sqlite3_column_text) column_text;
    decltype(&sqlite3_column_bytes) column_bytes;
    decltype(&sqlite3_last_insert_rowid) last_insert_rowid;
};

// Loads the library on the first call; null when it cannot be loaded (or lacks a function).
const SqliteLibrary* LoadSqlite();
// The loaded library: only after LoadSqlite() has returned it.
const SqliteLibrary& Sql();

}  // namespace kibiki
