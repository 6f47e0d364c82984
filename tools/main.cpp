// customs-assistant-cli: administrators' and black-box tests' door to the program's core.
#include <algorithm>
#include <exception>
#include <iostream>

#include "CheckedOutput.h"
#include "CliPlatform.h"
#include "CliRegistry.h"
#include "ca/util/Excerpt.h"
#include "ca/util/SystemErrorText.h"
#include "ca/util/TemporaryFile.h"

namespace {

void printHelp(std::ostream& out) {
    out << "用法：customs-assistant-cli 命令 [参数...]\n\n命令：\n";
    auto commands = ca::cli::registry();
    std::sort(commands.begin(), commands.end(), [](auto& a, auto& b) { return a.name < b.name; });
    for (const auto& c : commands)
        out << "  " << c.usage << "\n";
    out << "  --help                            显示本说明\n\n"
           "  --db 数据库：数据库文件（默认为当前目录下的 DB.sqlite），或数据库服务器的连接串，\n"
           "  例如 \"host=服务器 dbname=customs user=用户名\"\n";
}

// Runs a command; an error it raises ends it with its text (cut to a readable length) on standard error.
int runCommand(const ca::cli::Command& c, const std::vector<std::string>& args) {
    try {
        return c.run(args);
    } catch (const std::exception& e) {
        std::cerr << "错误：" << ca::excerpt(ca::errorText(e)) << "\n";
        return 1;
    }
}

// Output that did not reach standard output in full makes the command fail, whatever it returned.
int checkOutput(ca::cli::CheckedOutput& out, int status) {
    const std::string problem = out.finish();
    if (problem.empty()) return status;
    std::cerr << "错误：" << problem << "\n";
    return status != 0 ? status : 1;
}

}  // namespace

int main(int argc, char** argv) {
    ca::cli::prepareConsole();
    ca::removeTemporaryFilesOnInterrupt();  // Ctrl+C during an export leaves no temporary file
    ca::cli::CheckedOutput out;
    const std::vector<std::string> args = ca::cli::commandLineArguments(argc, argv);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(args.empty() ? std::cerr : std::cout);
        return checkOutput(out, args.empty() ? 1 : 0);
    }
    for (const auto& c : ca::cli::registry()) {
        if (c.name != args[0]) continue;
        return checkOutput(out, runCommand(c, std::vector<std::string>(args.begin() + 1, args.end())));
    }
    std::cerr << "错误：未知的命令“" << args[0] << "”（见 --help）\n";
    return 1;
}
