// customs-assistant-cli: administrators' and black-box tests' door to the program's core.
#include <algorithm>
#include <exception>
#include <iostream>

#include "CheckedOutput.h"
#include "CliPlatform.h"
#include "CliRegistry.h"
#include "ca/util/Excerpt.h"
#include "ca/util/SystemErrorText.h"
#include "ca/util/TabText.h"
#include "ca/util/TemporaryFile.h"

namespace {

using ca::cli::Command;

constexpr int kFailure = 1;
constexpr int kUsage = 2;

std::string firstWord(const std::string& name) {
    return name.substr(0, name.find(' '));
}

void printUsage(std::ostream& out, const Command& c) {
    out << "  " << ca::cli::usageLine(c) << "\n";
    if (!c.help.empty()) out << "      " << c.help << "\n";
}

void printHelp(std::ostream& out) {
    out << "用法：customs-assistant-cli 命令 [参数...]\n\n命令：\n";
    std::vector<Command> commands = ca::cli::registry();
    std::stable_sort(commands.begin(), commands.end(),
                     [](auto& a, auto& b) { return firstWord(a.name) < firstWord(b.name); });
    for (const auto& c : commands)
        printUsage(out, c);
    out << "  --help\n      显示本说明\n\n"
           "  --db 数据库：数据库文件，或数据库服务器的连接串，例如 \"host=服务器 dbname=customs "
           "user=用户名\"。\n"
           "  不给出时与窗口程序相同：使用 config.ini（--config "
           "给出的，或本程序旁边的）中设置的数据库服务器，\n"
           "  未设置时为当前目录下的 DB.sqlite。只有 sql、下载、migrate 的目标和 user add 会新建不存在的\n"
           "  "
           "数据库文件（并说明已新建），其他命令拒绝不存在的数据库文件。只读取数据的命令以只读方式打开数据库"
           "\n"
           "  （只读的磁盘上也能读取）；修改数据的命令先检查数据库文件，文件已损坏时不做任何改动。\n"
           "  写文件的命令（--out、xls-write、config set "
           "--file）不会写到数据库文件或它的附属文件（-wal、-shm、\n"
           "  -journal）上，不论用什么路径（链接、..、另一个挂载点）指向它。\n"
           "  退出状态：0 成功，1 失败，2 命令行用法错误。\n";
}

// A message on standard error; control characters in it (from a value the user gave or the
// database held) are shown escaped, never sent to the terminal raw.
void printError(const std::string& text) {
    std::cerr << "错误：" << ca::escapeControls(text) << "\n";
}

// Runs a command: a usage error ends it with status 2, any other error with status 1, each with its
// text (cut to a readable length) on standard error.
int runCommand(const Command& c, std::vector<std::string> args) {
    try {
        ca::cli::Invocation invocation(c, std::move(args));
        invocation.checkOutputs();
        return c.run(invocation);
    } catch (const ca::cli::UsageError& e) {
        printError(e.what());
        return kUsage;
    } catch (const std::exception& e) {
        printError(ca::excerpt(ca::errorText(e)));
        return kFailure;
    }
}

// Output that did not reach standard output in full makes the command fail, whatever it returned.
int checkOutput(ca::cli::CheckedOutput& out, int status) {
    const std::string problem = out.finish();
    if (problem.empty()) return status;
    printError(problem);
    return status != 0 ? status : kFailure;
}

// The command the words name: a command of one word, or a command's action ("user add").
int dispatch(const std::vector<std::string>& args) {
    std::vector<const Command*> forms;
    for (const auto& c : ca::cli::registry())
        if (firstWord(c.name) == args[0]) forms.push_back(&c);
    if (forms.empty()) {
        printError("未知的命令“" + args[0] + "”（见 --help）");
        return kUsage;
    }
    if (forms.size() == 1 && forms[0]->name == args[0])
        return runCommand(*forms[0], std::vector<std::string>(args.begin() + 1, args.end()));
    for (const Command* c : forms)
        if (args.size() > 1 && c->name == args[0] + " " + args[1])
            return runCommand(*c, std::vector<std::string>(args.begin() + 2, args.end()));
    std::string actions, usage;
    for (const Command* c : forms) {
        actions += (actions.empty() ? "" : "、") + c->name.substr(c->name.find(' ') + 1);
        usage += "\n  " + ca::cli::usageLine(*c);
    }
    printError(args[0] + " 后面应为 " + actions + (args.size() > 1 ? "，不是“" + args[1] + "”" : "") +
               "\n用法：" + usage);
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    ca::cli::prepareConsole();
    ca::removeTemporaryFilesOnInterrupt();  // Ctrl+C during an export leaves no temporary file
    ca::cli::CheckedOutput out;
    const std::vector<std::string> args = ca::cli::commandLineArguments(argc, argv);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(args.empty() ? std::cerr : std::cout);
        return checkOutput(out, args.empty() ? kUsage : 0);
    }
    const int status = dispatch(args);
    if (ca::interruptionAfterCompletion() != 0)
        std::cerr << "注意：收到中断信号时文件已经完整写好，命令照常完成\n";
    return checkOutput(out, status);
}
