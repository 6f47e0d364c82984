#pragma once
// The log: whole lines appended by entry and download, never removed. The main window shows them;
// tests and the CLI collect them.
#include <iostream>
#include <string>
#include <vector>

namespace ca {

class Log {
public:
    virtual ~Log() = default;
    virtual void append(const std::string& line) = 0;
};

class VectorLog : public Log {
public:
    void append(const std::string& line) override { lines.push_back(line); }
    std::vector<std::string> lines;
};

class StreamLog : public Log {
public:
    explicit StreamLog(std::ostream& out) : out_(out) {}
    void append(const std::string& line) override { out_ << line << '\n'; }

private:
    std::ostream& out_;
};

}  // namespace ca
