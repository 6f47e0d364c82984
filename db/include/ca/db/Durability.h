#pragma once

namespace ca::db {

// How a committed unit is kept. Full: the commit returns once the unit is on the disk. Refetchable:
// for copies of data held elsewhere (a download of the customs client's declarations), a server
// may confirm the commit before its disk has it; a crash of the server machine can then lose the
// last fraction of a second of such units (never any other unit, and never leaving the database
// inconsistent), which the next download stores again. A desk's file always keeps units fully.
enum class Durability { Full, Refetchable };

}  // namespace ca::db
