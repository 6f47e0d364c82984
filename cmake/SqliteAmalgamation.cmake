# SQLite compiled into the program from the official amalgamation (sqlite3.c, sqlite3.h) in the
# folder CA_SQLITE_AMALGAMATION, as the Windows build does: Debian ships no SQLite for mingw-w64.
# scripts/fetch-sqlite fetches the pinned amalgamation into build/. The target takes the name that
# FindSQLite3 gives a system SQLite, so the layers above link SQLite::SQLite3 either way.
if(NOT EXISTS "${CA_SQLITE_AMALGAMATION}/sqlite3.c" OR NOT EXISTS "${CA_SQLITE_AMALGAMATION}/sqlite3.h")
  message(FATAL_ERROR "CA_SQLITE_AMALGAMATION=${CA_SQLITE_AMALGAMATION} holds no sqlite3.c and sqlite3.h "
                      "(scripts/fetch-sqlite fetches them)")
endif()
add_library(ca_sqlite3 STATIC "${CA_SQLITE_AMALGAMATION}/sqlite3.c")
target_include_directories(ca_sqlite3 SYSTEM PUBLIC "${CA_SQLITE_AMALGAMATION}")
# The options of Debian's own build that matter here; no extensions are ever loaded. Optimised in
# every build type: the database engine is not what anyone debugs here.
target_compile_definitions(ca_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION
                                              SQLITE_ENABLE_MATH_FUNCTIONS SQLITE_ENABLE_COLUMN_METADATA)
if(NOT MSVC)
  target_compile_options(ca_sqlite3 PRIVATE -O2)
endif()
add_library(SQLite::SQLite3 ALIAS ca_sqlite3)

# find_package(SQLite3) in the layers then finds this one and keeps the target above.
file(STRINGS "${CA_SQLITE_AMALGAMATION}/sqlite3.h" ca_sqlite_version_line
     REGEX "^#define SQLITE_VERSION  *\"[0-9.]+\"" LIMIT_COUNT 1)
string(REGEX MATCH "[0-9]+\\.[0-9]+\\.[0-9]+" CA_SQLITE_VERSION "${ca_sqlite_version_line}")
set(SQLite3_INCLUDE_DIR "${CA_SQLITE_AMALGAMATION}" CACHE PATH "" FORCE)
set(SQLite3_LIBRARY ca_sqlite3 CACHE STRING "" FORCE)
message(STATUS "SQLite ${CA_SQLITE_VERSION} compiled in from ${CA_SQLITE_AMALGAMATION}")
