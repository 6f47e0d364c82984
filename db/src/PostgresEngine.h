#pragma once
// The engine on a PostgreSQL server that several desks share.
#include <memory>
#include <string>

#include "Engine.h"

namespace ca::db {

// Makes the engine for a server connection string (libpq keywords or a postgresql:// address).
// A build without the server engine gives one that refuses every statement with a message.
std::unique_ptr<Engine> makePostgresEngine(const std::string& target);

}  // namespace ca::db
