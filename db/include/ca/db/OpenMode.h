#pragma once
// How a database file is opened.

namespace ca::db {

// How a database file is opened. Default: for reading and writing, as the window program does
// (a file that cannot be written is still read). ReadOnly: for a command that only reads; no data
// is changed (no schema set up, no journal mode switched, every changing statement refused; as the
// last connection it still tidies the -wal and -shm files away), and a file on a read-only disk is
// read as it is. Writable: for a command that changes the data; a file that cannot be written (a
// read-only file or disk) is refused when it is opened, with the reason, before anything is done.
enum class OpenMode { Default, ReadOnly, Writable };

}  // namespace ca::db
