#include "StatementCache.h"

#include <sqlite3.h>

#include <utility>

namespace ca::db {

PreparedStatement::~PreparedStatement() {
    sqlite3_finalize(st_);
}

PreparedStatement::PreparedStatement(PreparedStatement&& other) noexcept
    : parameterNames(std::move(other.parameterNames)), st_(std::exchange(other.st_, nullptr)) {}

PreparedStatement& PreparedStatement::operator=(PreparedStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(st_);
        st_ = std::exchange(other.st_, nullptr);
        parameterNames = std::move(other.parameterNames);
    }
    return *this;
}

void PreparedStatement::rewind() {
    if (!st_) return;
    // reset repeats the error of a failed last step; that error was reported when it happened.
    sqlite3_reset(st_);
    sqlite3_clear_bindings(st_);
}

std::optional<PreparedStatement> StatementCache::take(const std::string& jetSql) {
    auto it = index_.find(jetSql);
    if (it == index_.end()) return std::nullopt;
    const auto entry = it->second;
    index_.erase(it);
    PreparedStatement statement = std::move(entry->second);
    entries_.erase(entry);
    return statement;
}

void StatementCache::giveBack(const std::string& jetSql, PreparedStatement statement,
                              std::uint64_t generation) {
    if (generation != generation_ || capacity_ == 0 || !statement.get()) return;
    statement.rewind();
    if (auto it = index_.find(jetSql); it != index_.end()) {
        // The same text ran nested and came back first; keep that one.
        return;
    }
    while (entries_.size() >= capacity_) {
        index_.erase(entries_.back().first);
        entries_.pop_back();
    }
    entries_.emplace_front(jetSql, std::move(statement));
    index_.emplace(entries_.front().first, entries_.begin());
}

void StatementCache::clear() {
    index_.clear();
    entries_.clear();
    ++generation_;
}

}  // namespace ca::db
