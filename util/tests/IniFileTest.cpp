#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ca/util/Gbk.h"
#include "ca/util/IniFile.h"
#include "ca/util/Settings.h"

using namespace ca;
namespace fs = std::filesystem;
namespace st = ca::settings;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("ca_ini_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        file = dir / "config.ini";
    }
    void TearDown() override { fs::remove_all(dir); }

    void writeBytes(const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }
    std::string readBytes() const {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir, file;
};

}  // namespace

TEST_F(IniFileTest, DefaultsWithoutFile) {
    IniFile ini(file);
    st::LoadedSettings s;
    st::loadCreateGroup(ini, s);
    st::loadShowGroup(ini, s);
    EXPECT_EQ(s.containerClass, "");
    EXPECT_EQ(s.editClass, "");
    EXPECT_EQ(s.comboClass, "");
    EXPECT_EQ(s.mainDelay, 300);
    EXPECT_EQ(s.goodsDelay, 160);
    EXPECT_EQ(s.processName, "Eport.exe");
    EXPECT_EQ(s.unimportedDir, st::defaultFolder());
    EXPECT_EQ(s.importedDir, st::defaultFolder());
    EXPECT_EQ(s.postEntryDelay, "400");
    EXPECT_FALSE(fs::exists(file)) << "reading never creates the file";
#ifndef _WIN32
    EXPECT_TRUE(fs::is_directory(st::defaultFolder()));
#endif
}

TEST_F(IniFileTest, EachLoadingGroupReadsItsOwnKeys) {
    IniFile ini(file);
    for (const char* key : {"容器类名", "编辑框类名", "表格类名", "按钮类名", "文本类名", "工具拦类名",
                            "下拉框类名", "QP进程名", "未导入文件目录", "已导入文件目录"})
        ini.WriteString("程序默认数据", key, std::string("v") + key);
    ini.WriteString("程序默认数据", "主单延迟", "11");
    ini.WriteString("程序默认数据", "子数据延迟", "22");
    ini.WriteString("程序默认数据", "导入后延时", "33");

    st::LoadedSettings s;
    st::loadCreateGroup(ini, s);
    EXPECT_EQ(s.containerClass, "v容器类名");
    EXPECT_EQ(s.editClass, "v编辑框类名");
    EXPECT_EQ(s.listClass, "v表格类名");
    EXPECT_EQ(s.buttonClass, "v按钮类名");
    EXPECT_EQ(s.staticClass, "v文本类名");
    EXPECT_EQ(s.comboClass, "v下拉框类名");
    EXPECT_EQ(s.mainDelay, 11);
    EXPECT_EQ(s.goodsDelay, 22);
    // The keys of the second group are not read at creation.
    EXPECT_EQ(s.processName, "Eport.exe");
    EXPECT_EQ(s.unimportedDir, "");
    EXPECT_EQ(s.postEntryDelay, "400");

    // At first showing the container and edit class names are read again, the other class names not.
    for (const char* key : {"容器类名", "编辑框类名", "表格类名", "主单延迟"})
        ini.WriteString("程序默认数据", key, "7");
    st::loadShowGroup(ini, s);
    EXPECT_EQ(s.containerClass, "7");
    EXPECT_EQ(s.editClass, "7");
    EXPECT_EQ(s.listClass, "v表格类名");
    EXPECT_EQ(s.mainDelay, 11);
    EXPECT_EQ(s.processName, "vQP进程名");
    EXPECT_EQ(s.unimportedDir, "v未导入文件目录");
    EXPECT_EQ(s.importedDir, "v已导入文件目录");
    EXPECT_EQ(s.postEntryDelay, "33");
}

TEST_F(IniFileTest, ChineseValueRoundTripsAndIsGbkOnDisk) {
    IniFile ini(file);
    ini.WriteString(st::kSection, st::kDeclaringUnit, "上海报关行");
    ini.WriteString(st::kSection, st::kProcessName, "Eport.exe");
    ini.WriteString(st::kSection, st::kDeclaringUnit, "宁波报关行");  // replaced in place
    EXPECT_EQ(ini.ReadString(st::kSection, st::kDeclaringUnit, ""), "宁波报关行");
    EXPECT_EQ(readBytes(), utf8ToGbk("[程序默认数据]\r\n申报单位=宁波报关行\r\nQP进程名=Eport.exe\r\n"));
    for (const auto& entry : fs::directory_iterator(dir))  // no temporary file stays behind
        EXPECT_EQ(entry.path().filename(), file.filename()) << entry.path();
}

TEST_F(IniFileTest, EveryReadGoesToTheFile) {
    IniFile reader(file), writer(file);
    EXPECT_EQ(reader.ReadString(st::kSection, st::kEditClass, "-"), "-");
    writer.WriteString(st::kSection, st::kEditClass, "Edit");
    EXPECT_EQ(reader.ReadString(st::kSection, st::kEditClass, "-"), "Edit");
    writeBytes(utf8ToGbk("[程序默认数据]\n编辑框类名=TEdit\n"));
    EXPECT_EQ(reader.ReadString(st::kSection, st::kEditClass, "-"), "TEdit");
}

TEST_F(IniFileTest, SeveralKeysFromOneRead) {
    IniFile ini(file);
    using Values = std::map<std::string, std::string>;
    EXPECT_EQ(ini.ReadStrings(st::kSection, {st::kDeclaringUnit, st::kGoodsDuty}, "-"),
              (Values{{st::kDeclaringUnit, "-"}, {st::kGoodsDuty, "-"}}));  // no file yet
    writeBytes(utf8ToGbk(
        "[其他]\n商品征免=别处\n[程序默认数据]\n申报单位=宁波报关行\n商品征免=照章征税\n商品征免=后一个\n"));
    EXPECT_EQ(ini.ReadStrings(st::kSection, {st::kDeclaringUnit, st::kGoodsDuty, "missing"}, "-"),
              (Values{{st::kDeclaringUnit, "宁波报关行"}, {st::kGoodsDuty, "照章征税"}, {"missing", "-"}}));
}

TEST_F(IniFileTest, Integers) {
    struct Case {
        const char* stored;
        int expected;
    } cases[] = {
        {"250", 250}, {"0x1F", 31}, {"0X10", 16},  {"$10", 16},          {"-5", -5},
        {"abc", 300}, {"", 300},    {"12ms", 300}, {"99999999999", 300},
    };
    IniFile ini(file);
    for (const auto& c : cases) {
        ini.WriteString(st::kSection, st::kMainDelay, c.stored);
        EXPECT_EQ(ini.ReadInteger(st::kSection, st::kMainDelay, 300), c.expected) << c.stored;
    }
    EXPECT_EQ(ini.ReadInteger(st::kSection, "missing", 160), 160);
}

TEST_F(IniFileTest, NamesIgnoreTheCaseOfAsciiLettersOnly) {
    IniFile ini(file);
    ini.WriteString(st::kSection, "QP进程名", "Eport.exe");
    ini.WriteString(st::kSection, "丄", "first");  // GBK 81 41
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {
        {"程序默认数据", "qp进程名", "Eport.exe"},
        {"程序默认数据", "丄", "first"},
        {"程序默认数据", "乤", "-"},  // GBK 81 61: another character, not a lower-case form
    };
    for (const auto& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "-"), c.expected) << c.key;
    ini.WriteString(st::kSection, "乤", "second");
    EXPECT_EQ(ini.ReadString(st::kSection, "丄", "-"), "first");
    EXPECT_EQ(ini.ReadString(st::kSection, "乤", "-"), "second");
}

TEST_F(IniFileTest, LongValuesAreCutAt2047Bytes) {
    IniFile ini(file);
    ini.WriteString(st::kSection, "ascii", std::string(3000, 'a'));
    EXPECT_EQ(ini.ReadString(st::kSection, "ascii", ""), std::string(2047, 'a'));
    // 1500 double-byte characters: the cut keeps whole characters only (1023 of them, 2046 bytes).
    std::string chinese;
    for (int i = 0; i < 1500; ++i)
        chinese += "中";
    ini.WriteString(st::kSection, "chinese", chinese);
    std::string read = ini.ReadString(st::kSection, "chinese", "");
    EXPECT_EQ(read.size(), 1023u * 3);
    EXPECT_EQ(read.find("\xEF\xBF\xBD"), std::string::npos);
}

TEST_F(IniFileTest, EmptyValueIsNotTheDefault) {
    IniFile ini(file);
    ini.WriteString(st::kSection, st::kPostEntryDelay, "");
    st::LoadedSettings s;
    st::loadShowGroup(ini, s);
    EXPECT_EQ(s.postEntryDelay, "");
}

TEST_F(IniFileTest, DamagedFileReadsSafelyAndWritesKeepOtherBytes) {
    const std::string damaged =
        "; comment\r\n"
        "[" +
        utf8ToGbk("程序默认数据") +
        "]\r\n"
        "line without equals sign\r\n"
        "  Container = \xFF\xFFPanel  \r\n" +
        utf8ToGbk("编辑框类名=first") + "\r\n" + utf8ToGbk("编辑框类名=second") +
        "\r\n"
        "long=" +
        std::string(1 << 20, 'x') +
        "\r\n"
        "[other]\r\n"
        "k=v\r\n"
        "[" +
        utf8ToGbk("程序默认数据") + "]\r\n" + utf8ToGbk("表格类名=fromSecondSection") + "\r\n" +
        utf8ToGbk("编辑框类名=third") + "\r\n";
    writeBytes(damaged);
    IniFile ini(file);
    EXPECT_EQ(ini.ReadString(st::kSection, "container", ""), "\xEF\xBF\xBD\xEF\xBF\xBDPanel");
    EXPECT_EQ(ini.ReadString(st::kSection, st::kEditClass, ""), "first");
    EXPECT_EQ(ini.ReadString(st::kSection, st::kListClass, ""), "fromSecondSection");
    EXPECT_EQ(ini.ReadString(st::kSection, "line without equals sign", "d"), "d");
    EXPECT_EQ(ini.ReadString(st::kSection, "long", "").size(), 2047u);
    EXPECT_EQ(ini.ReadString("OTHER", "K", ""), "v");

    // A new key goes to the end of the first section; every other byte stays as it was.
    ini.WriteString(st::kSection, st::kComboClass, "ComboBox");
    std::string after = readBytes();
    std::string inserted = utf8ToGbk("下拉框类名=ComboBox") + "\r\n";
    size_t at = damaged.find("[other]");
    EXPECT_EQ(after, damaged.substr(0, at) + inserted + damaged.substr(at));
}

TEST_F(IniFileTest, FailedWritesThrowAndLeaveTheFileAlone) {
    writeBytes("[s]\r\nk=v\r\n");
    IniFile ini(file);
    EXPECT_THROW(ini.WriteString("s", "k", "two\r\nlines"), std::runtime_error);
    EXPECT_THROW(ini.WriteString("s", "a=b", "x"), std::runtime_error);
    EXPECT_EQ(readBytes(), "[s]\r\nk=v\r\n");

    IniFile nowhere(dir / "no such folder" / "config.ini");
    try {
        nowhere.WriteString("s", "k", "v");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "无法写入设置文件“" +
                                             (dir / "no such folder" / "config.ini").string() + "”：文件夹“" +
                                             (dir / "no such folder").string() + "”不存在");
    }
    EXPECT_FALSE(fs::exists(dir / "no such folder"));
}

TEST(Settings, ConfigPathAndKeys) {
    EXPECT_EQ(st::configPathFor("/opt/ca"), fs::path("/opt/ca/config.ini"));
    EXPECT_EQ(st::allKeys().size(), 24u);  // every key of the settings dialog, in its order
    EXPECT_EQ(st::allKeys().front(), "容器类名");
    EXPECT_EQ(st::allKeys().back(), "导入后延时");
    EXPECT_EQ(st::defaultText(st::kMainDelay), "300");
    EXPECT_EQ(st::defaultText(st::kPostEntryDelay), "400");
    EXPECT_EQ(st::defaultText(st::kDeclaringUnit), "");
}

TEST_F(IniFileTest, AValueGbkCannotHoldIsRefusedNamingTheCharacter) {
    IniFile ini(file);
    ini.WriteString(st::kSection, "申报单位", "旧值");
    const std::string before = readBytes();
    struct Case {
        std::string value, named;
    };
    const Case cases[] = {{"某某报关行😀", "“😀”（U+1F600）"},
                          {"ąb", "“ą”（U+0105）"},
                          {"ok\xff", "U+FFFD"}};  // a byte that is not UTF-8
    for (const auto& c : cases) {
        try {
            ini.WriteString(st::kSection, "申报单位", c.value);
            ADD_FAILURE() << "accepted " << c.value;
        } catch (const std::runtime_error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("申报单位"), std::string::npos) << message;
            EXPECT_NE(message.find(c.named), std::string::npos) << message;
            EXPECT_NE(message.find("GBK"), std::string::npos) << message;
        }
        EXPECT_EQ(readBytes(), before);
    }
    ini.WriteString(st::kSection, "申报单位", "上海·报关 ＃1");  // GBK holds these
    EXPECT_EQ(ini.ReadString(st::kSection, "申报单位", ""), "上海·报关 ＃1");
}

TEST_F(IniFileTest, AFolderOrAMissingFolderIsNamedWhenWriting) {
    struct Case {
        fs::path file;
        std::string said;
    };
    std::ofstream(dir / "plain") << "x";
    const Case cases[] = {{dir / "", "这是一个文件夹"},
                          {dir / "missing" / "config.ini", "missing”不存在"},
                          {dir / "plain" / "config.ini", "plain”不是文件夹"}};
    for (const auto& c : cases) {
        try {
            IniFile(c.file).WriteString(st::kSection, "申报单位", "x");
            ADD_FAILURE() << c.file;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(fs::exists(dir / ".tmp"));
}
