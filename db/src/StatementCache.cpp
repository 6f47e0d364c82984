#include "StatementCache.h"

#include <utility>

namespace ca::db {

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
