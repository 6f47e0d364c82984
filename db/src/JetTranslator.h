#pragma once
// The translation of a Jet statement that every engine shares: the statement is split into
// tokens, values written to integer, decimal and date columns are wrapped in the engine's
// conversion, "alter table ... add" gets the engine's column definition, and each token is written
// the way the engine reads it (JetRenderer).
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "ca/db/Column.h"
#include "ca/db/Dialect.h"

namespace ca::db {

// How one engine writes the pieces of a Jet statement.
class JetRenderer {
public:
    virtual ~JetRenderer() = default;
    // A name or keyword; call: a "(" follows.
    virtual std::string word(std::string_view text, bool call) const = 0;
    // A name written between [], `` or "".
    virtual std::string quotedName(std::string_view name) const = 0;
    // A text literal right after a comparison operator (text comparisons ignore letter case).
    virtual std::string comparedText(std::string_view value) const = 0;
    virtual std::string punct(std::string_view text) const = 0;
    // The text before and after a value written to a column of this kind; column ("Table.column")
    // names the column when the value is refused.
    virtual std::pair<std::string, std::string> conversion(ColumnKind kind,
                                                           const std::string& column) const = 0;
    virtual std::string columnDefinition(const ColumnInfo& column) const = 0;
    // True when the month bounds "format(date, 'yyyy-mm-dd hh:mm:ss') >= '...'" may compare the
    // stored date itself (where formatting every row costs more than the engine's index saves).
    virtual bool comparesStoredDatesDirectly() const { return false; }
    // True when "mid(column, start, length)" with whole-number literals start >= 1 and length
    // >= 0 may be written as the engine's built-in substr, which gives the same characters: an
    // index on that expression then serves the comparison and stays usable by any tool of the
    // engine, which knows nothing of the program's own mid.
    virtual bool writesLiteralMidAsSubstr() const { return false; }
};

// Throws DbError for text that cannot be a statement.
Translation translateJet(std::string_view jetSql, SchemaLookup& schema, const JetRenderer& renderer);

// "name" with double quotes doubled.
std::string quoteIdentifier(std::string_view name);
// The kind a Jet column type name stands for.
std::optional<ColumnKind> jetTypeKind(std::string_view word);

}  // namespace ca::db
