#pragma once
// A query object on the shared connection: statement text in the Jet dialect, named parameters
// ":Name", an opened result with a cursor, or execution of a statement that returns no rows.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ca/db/TField.h"

namespace ca::db {

class TADOConnection;
class TDM;
class PreparedStatement;

class TParameter {
public:
    explicit TParameter(std::string name) : name_(std::move(name)) {}
    const std::string& Name() const { return name_; }
    void SetText(std::string_view text) { value_ = std::string(text), set_ = true; }
    void SetInteger(std::int64_t v) { value_ = v, set_ = true; }
    void SetNumber(double v) { value_ = v, set_ = true; }
    void SetNull() { value_ = std::monostate{}, set_ = true; }
    const Value& value() const { return value_; }
    bool isSet() const { return set_; }

private:
    std::string name_;
    Value value_;
    bool set_ = false;
};

class TADOQuery {
public:
    explicit TADOQuery(TDM& dm);  // on dm.ADOConnection1
    explicit TADOQuery(TADOConnection& connection);
    ~TADOQuery();
    TADOQuery(const TADOQuery&) = delete;
    TADOQuery& operator=(const TADOQuery&) = delete;

    // Replaces the statement text: closes an open result and forgets all parameter values.
    void SetSQL(std::string_view jetSql);
    const std::string& SQL() const { return sql_; }

    // The parameter ":name" of the statement text (name compared without regard to case).
    // Throws DbError when the statement has no such parameter.
    TParameter& ParamByName(std::string_view name);

    // Runs the statement and keeps its rows. Throws DbError (the statement is refused, a
    // parameter has no value, the statement returns no result set); the query is closed then.
    void Open();
    void Close();
    bool Active() const { return active_; }

    int RecordCount() const { return static_cast<int>(rowCount_); }
    bool IsEmpty() const { return rowCount_ == 0; }
    void First() { row_ = 0; }
    void Next() {
        if (row_ < rowCount_) ++row_;
    }
    bool Eof() const { return row_ >= rowCount_; }

    int FieldCount() const { return static_cast<int>(names_.size()); }
    TField Fields(int index) const;
    // The first field of that name, compared without regard to case. Throws DbError naming the
    // field when the result has none (or is not open).
    TField FieldByName(std::string_view name) const;
    bool HasField(std::string_view name) const;

    // Runs a statement that returns no rows; gives the number of rows it changed.
    int ExecSQL();

    // Runs any statement: opens it when it gives rows (true), executes it otherwise (false, with
    // the number of changed rows in `changed`).
    bool OpenOrExec(int& changed);

    // For TField.
    const std::string& fieldName(int column) const { return names_[static_cast<size_t>(column)]; }
    Value valueAt(int column) const { return valueAt(static_cast<int>(row_), column); }
    // The value of any row of the open result without moving the cursor (grids read rows this way);
    // Null outside the result.
    Value valueAt(int row, int column) const;
    // The index of the first field of that name (compared without regard to case), -1 when none.
    int FieldIndex(std::string_view name) const { return findField(name); }

private:
    int findField(std::string_view name) const;
    enum class Mode { Open, Exec, Either };
    int run(Mode mode, bool& opened);
    PreparedStatement prepare(bool& changesSchema);

    TADOConnection& conn_;
    std::string sql_;
    std::vector<TParameter> params_;
    size_t lastParam_ = static_cast<size_t>(-1);  // where ParamByName found the last name
    bool active_ = false;
    std::vector<std::string> names_;
    // The rows of the result, packed: one cell per value (row by row) pointing into one buffer
    // that holds the texts and the 8 bytes of each number. A wide result of many thousand rows
    // takes little more memory than its texts.
    struct Cell {
        size_t offset;
        std::uint32_t size;
        unsigned char type;  // a CellType
    };
    template <class T>
    void appendRaw(T v);
    std::vector<Cell> cells_;
    std::vector<char> data_;
    size_t rowCount_ = 0;
    size_t row_ = 0;
};

}  // namespace ca::db
