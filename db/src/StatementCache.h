#pragma once
// Prepared statements of one connection, kept by their original (Jet-dialect) text so that a
// statement run again is neither translated nor compiled again. Bounded: the statement used least
// recently is finalized when a new one needs the room.
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Engine.h"

namespace ca::db {

// A compiled statement of the engine. Owns it.
class PreparedStatement {
public:
    PreparedStatement() = default;
    explicit PreparedStatement(std::unique_ptr<EngineStatement> st) : st_(std::move(st)) {}

    EngineStatement* get() const { return st_.get(); }
    // Ready for the next run: no pending step, no bound values.
    void rewind() {
        if (st_) st_->rewind();
    }

private:
    std::unique_ptr<EngineStatement> st_;
};

class StatementCache {
public:
    explicit StatementCache(std::size_t capacity) : capacity_(capacity) {}

    // Removes the statement of that text from the cache and hands it over (rewound), or nothing.
    std::optional<PreparedStatement> take(const std::string& jetSql);
    // Keeps a statement taken or prepared while the cache was at `generation`. A statement from an
    // earlier generation was compiled against a structure that has changed since and is dropped.
    void giveBack(const std::string& jetSql, PreparedStatement statement, std::uint64_t generation);
    // Finalizes every statement; statements handed out now are not taken back.
    void clear();
    std::uint64_t generation() const { return generation_; }
    std::size_t size() const { return entries_.size(); }

private:
    using Entry = std::pair<std::string, PreparedStatement>;
    std::size_t capacity_;
    std::uint64_t generation_ = 0;
    std::list<Entry> entries_;                                                // most recently used first
    std::unordered_map<std::string_view, std::list<Entry>::iterator> index_;  // keys: texts in entries_
};

}  // namespace ca::db
