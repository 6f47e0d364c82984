#pragma once
// The declaration sheet as entry reads it: the text of a cell, rows and columns counted from 1,
// an empty cell as empty text. Reading may throw (an unreadable workbook).
#include <map>
#include <string>
#include <utility>

namespace ca::entry {

class CellSource {
public:
    virtual ~CellSource() = default;
    virtual std::string cell(int row, int col) = 0;
};

// A sheet held in memory: the builder's tests, the benchmark and the demo's sample sheets.
class MapCellSource : public CellSource {
public:
    std::string cell(int row, int col) override {
        auto it = cells_.find({row, col});
        return it == cells_.end() ? std::string() : it->second;
    }
    void set(int row, int col, std::string text) { cells_[{row, col}] = std::move(text); }
    const std::map<std::pair<int, int>, std::string>& cells() const { return cells_; }

private:
    std::map<std::pair<int, int>, std::string> cells_;
};

}  // namespace ca::entry
