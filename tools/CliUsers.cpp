// customs-assistant-cli user / password: the administrator's way to list and add users and to set a
// password (the first "超级用户" of a new office is made this way), and the password cipher itself.
// The same operations as the user administration window.
#include <iostream>
#include <optional>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <termios.h>
#include <unistd.h>
#endif

#include "CliRegistry.h"
#include "ca/db/TDM.h"
#include "ca/db/Transaction.h"
#include "ca/users/Cipher.h"
#include "ca/users/PasswordChange.h"
#include "ca/users/UserAdministration.h"
#include "ca/users/UserCategory.h"
#include "ca/util/Settings.h"
#include "ca/util/TabText.h"

namespace {

using namespace ca::users;

constexpr const char* kUserUsage =
    "user list [--db 数据库]   列出用户（编码、姓名、部门、用户类别）\n"
    "  user add --name 姓名 --department 部门 [--category 0|1|2] [--db 数据库]   新增用户（部门不存在时\n"
    "      新建；用户类别 0 普通用户，1 超级用户，2 QP用户）；密码从标准输入读取，在终端上输入时不显示\n"
    "  user passwd --name 姓名 [--db 数据库]   修改用户的密码，读取方式同上";
constexpr const char* kPasswordUsage =
    "password encrypt 密码 [--key 密钥] | password decrypt 密文 [--key 密钥]   把密码转换为数据库中保存的"
    "密文，或把密文还原（不给 --key 时用程序自己的密钥）";

int fail(const std::string& message) {
    std::cerr << "错误：" << message << "\n";
    return 1;
}

// Nobody answers a question here: the administrator asked for the action by running the command.
class CliPrompts : public ca::Prompts {
public:
    void info(const std::string& text, const std::string&) override { std::cout << text << "\n"; }
    void warning(const std::string& text, const std::string&) override {
        std::cerr << "错误：" << text << "\n";
    }
    ca::Button question(const std::string&, const std::string&) override { return ca::Button::Yes; }
    void plainMessage(const std::string& text) override { std::cerr << text << "\n"; }
    void errorBox(const std::string& text) override { std::cerr << "错误：" << text << "\n"; }
    std::string openFile(const std::string&, const std::string&) override { return {}; }
    std::string saveFile(const std::string&, const std::string&, const std::string&) override { return {}; }
    std::optional<std::string> input(const std::string&, const std::string&, const std::string&) override {
        return std::nullopt;
    }
};

bool stdinIsTerminal() {
#ifdef _WIN32
    return _isatty(0) != 0;
#else
    return isatty(0) != 0;
#endif
}

// One line of standard input; on a terminal the prompt goes to standard error and nothing typed is
// echoed. nullopt at the end of the input.
std::optional<std::string> readSecretLine(const std::string& prompt) {
    const bool terminal = stdinIsTerminal();
    if (terminal) std::cerr << prompt << std::flush;
#ifdef _WIN32
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (terminal) {
        GetConsoleMode(in, &mode);
        SetConsoleMode(in, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    }
#else
    termios saved{};
    if (terminal && tcgetattr(0, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(0, TCSAFLUSH, &quiet);
    }
#endif
    std::string line;
    const bool got = static_cast<bool>(std::getline(std::cin, line));
#ifdef _WIN32
    if (terminal) SetConsoleMode(in, mode);
#else
    if (terminal) tcsetattr(0, TCSAFLUSH, &saved);
#endif
    if (terminal) std::cerr << "\n";
    if (!got) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// The new password: once from a pipe, twice (and the same) on a terminal. Empty is refused.
std::optional<std::string> readNewPassword() {
    std::optional<std::string> password = readSecretLine("密码：");
    if (!password || password->empty()) {
        fail("请输入密码！");
        return std::nullopt;
    }
    if (stdinIsTerminal()) {
        std::optional<std::string> again = readSecretLine("密码确认：");
        if (!again || *again != *password) {
            fail("您两次输入的密码不一致！");
            return std::nullopt;
        }
    }
    return password;
}

struct Options {
    std::string db = ca::settings::kDatabaseFileName, name, department, category = "0", key = PasswordKey;
    std::vector<std::string> words;
};

// Parses "--db", "--name", "--department", "--category", "--key" and plain words; false (after a
// message) on an option without its value.
bool parse(const std::vector<std::string>& args, Options& o) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string* target = nullptr;
        if (args[i] == "--db")
            target = &o.db;
        else if (args[i] == "--name")
            target = &o.name;
        else if (args[i] == "--department")
            target = &o.department;
        else if (args[i] == "--category")
            target = &o.category;
        else if (args[i] == "--key")
            target = &o.key;
        if (!target) {
            o.words.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size()) {
            fail("选项 " + args[i] + " 缺少值");
            return false;
        }
        *target = args[++i];
    }
    return true;
}

std::string categoryText(int category) {
    for (const UserCategoryItem& c : kUserCategories)
        if (c.value == std::to_string(category)) return std::string(c.shown);
    return std::to_string(category);
}

int listUsers(const Options& o) {
    ca::db::TDM dm(o.db);
    std::cout << "编码\t姓名\t部门\t用户类别\n";
    for (const UserListing& u : UserStore(dm).allUsers())
        std::cout << u.id << "\t" << ca::escapeTabText(u.name) << "\t" << ca::escapeTabText(u.departmentName)
                  << "\t" << categoryText(u.category) << "\n";
    return 0;
}

int addUser(const Options& o) {
    if (o.name.empty()) return fail("请输入用户名称！（--name）");
    if (o.department.empty()) return fail("请选择所属部门！（--department）");
    if (o.category != "0" && o.category != "1" && o.category != "2")
        return fail("用户类别只能是 0（普通用户）、1（超级用户）或 2（QP用户）");
    const std::optional<std::string> password = readNewPassword();
    if (!password) return 1;

    ca::db::TDM dm(o.db);
    CliPrompts prompts;
    UserAdministration admin(dm, prompts);
    ca::db::Transaction all(dm);  // a refusal at any step leaves neither department nor user behind
    std::optional<Department> department = admin.store().departmentNamed(o.department);
    if (!department) department = admin.store().addDepartment(o.department);
    if (!department) return fail("最多只能建立100个部门");
    const std::optional<UserNode> user = admin.addUser(department->id);
    if (!user) return 1;
    UserForm form;
    form.id = std::to_string(user->id);
    form.name = o.name;
    form.departmentId = std::to_string(department->id);
    form.sex = "男";
    form.password = form.confirmation = *password;
    form.category = o.category;
    if (!admin.saveUser(form)) return 1;
    all.commit();
    std::cout << "已新增用户 " << user->id << "：" << o.name << "（" << department->name << "，"
              << categoryText(std::stoi(o.category)) << "）\n";
    return 0;
}

int setPassword(const Options& o) {
    if (o.name.empty()) return fail("请输入用户名称！（--name）");
    const std::optional<std::string> password = readNewPassword();
    if (!password) return 1;
    ca::db::TDM dm(o.db);
    if (storePassword(dm, o.name, *password) == 0) return fail("用户不存在：" + o.name);
    std::cout << "恭喜，密码修改成功！\n";
    return 0;
}

int runUser(const std::vector<std::string>& args) {
    Options o;
    if (!parse(args, o)) return 1;
    const std::string action = o.words.empty() ? "" : o.words[0];
    if (o.words.size() == 1 && action == "list") return listUsers(o);
    if (o.words.size() == 1 && action == "add") return addUser(o);
    if (o.words.size() == 1 && action == "passwd") return setPassword(o);
    std::cerr << "用法：" << kUserUsage << "\n";
    return 1;
}

int runPassword(const std::vector<std::string>& args) {
    Options o;
    if (!parse(args, o)) return 1;
    if (o.words.size() == 2 && o.words[0] == "encrypt") {
        std::cout << EncryptToHex(o.words[1], o.key) << "\n";
        return 0;
    }
    if (o.words.size() == 2 && o.words[0] == "decrypt") {
        const std::string& hex = o.words[1];
        if (hex.empty() || hex.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
            return fail("'" + hex + "' 不是有效的密文（只能由十六进制数字组成）");
        std::cout << DecryptFromHex(hex, o.key) << "\n";
        return 0;
    }
    std::cerr << "用法：" << kPasswordUsage << "\n";
    return 1;
}

ca::cli::Registrar userReg{{"user", kUserUsage, runUser}};
ca::cli::Registrar passwordReg{{"password", kPasswordUsage, runPassword}};

}  // namespace
