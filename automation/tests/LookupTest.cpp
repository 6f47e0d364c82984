#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "ca/automation/Lookup.h"
#include "ca/util/Gbk.h"

namespace ca::automation {
namespace {

using testing::Desk;

TEST(GetPID, ComparesFileNamePartAndWholeTextIgnoringAsciiCase) {
    struct Case {
        const char* name;
        const char* snapshotExe;
        bool found;
    };
    const Case cases[] = {
        {"EPORT.EXE", "Eport.exe", true},
        {"eport.exe", "C:\\Program Files\\Eport\\Eport.exe", true},
        {"C:\\Program Files\\Eport\\Eport.exe", "C:\\Program Files\\Eport\\Eport.exe", true},
        {"c:\\program files\\eport\\EPORT.exe", "C:\\Program Files\\Eport\\Eport.exe", true},
        {"D:\\Eport.exe", "C:\\Eport.exe", false},
        {"D:\\Eport.exe", "Eport.exe", false},
        {"Eport", "Eport.exe", false},
        {"报关.exe", "D:/工具/报关.exe", true},
        // Two characters whose GBK forms differ only in a second byte that looks like 'A' / 'a'
        // (81 41 and 81 61): not the same name.
        {"\xE4\xB8\x84.exe", "\xE4\xB9\xA4.exe", false},
    };
    for (const Case& c : cases) {
        Desk desk;
        desk.desktop.createProcess("System");
        const Pid pid = desk.desktop.createProcess(utf8ToGbk(c.snapshotExe));
        desk.desktop.createProcess("explorer.exe");
        EXPECT_EQ(GetPID(desk.desktop, c.name), c.found ? pid : 0) << c.name << " vs " << c.snapshotExe;
    }
}

TEST(GetPID, LaterMatchWinsAndFailedSnapshotFindsNothing) {
    Desk desk;
    desk.desktop.createProcess("Eport.exe");
    const Pid second = desk.desktop.createProcess("EPORT.EXE");
    EXPECT_EQ(GetPID(desk.desktop, "Eport.exe"), second);
    desk.desktop.setSnapshotFails(true);
    EXPECT_EQ(GetPID(desk.desktop, "Eport.exe"), 0u);
}

TEST(GetHWndByPID, FirstVisibleAndEnabledWindowOfTheProcess) {
    Desk desk;
    auto client = desk.client();
    EXPECT_EQ(GetHWndByPID(desk.desktop, 0), 0u);
    EXPECT_EQ(GetHWndByPID(desk.desktop, client->pid()), client->mainWindow());

    // A hidden window of the process in front is passed over.
    const HWnd hidden = desk.desktop.createWindow(client->pid(), 0, sim::WindowKind::TopLevel, "Hidden", {},
                                                  sim::Placement::First);
    desk.desktop.setVisible(hidden, false);
    EXPECT_EQ(GetHWndByPID(desk.desktop, client->pid()), client->mainWindow());

    // A modal dialog disables the main window: the dialog is the answer.
    client->showModalDialog("提示");
    EXPECT_EQ(GetHWndByPID(desk.desktop, client->pid()), client->modalDialog());
    client->closeModalDialog();

    // A minimised window counts as visible.
    client->minimise();
    EXPECT_EQ(GetHWndByPID(desk.desktop, client->pid()), client->mainWindow());
}

TEST(FindClient, SecondInstanceMinimisedAndMissingClient) {
    Desk desk;
    EXPECT_EQ(FindClient(desk.desktop, desk.log, "Eport.exe"), 0u);
    EXPECT_EQ(desk.log.lines, std::vector<std::string>{kClientNotFound});

    auto first = desk.client();
    auto second = desk.client();
    second->minimise();
    desk.log.lines.clear();
    EXPECT_EQ(FindClient(desk.desktop, desk.log, "eport.EXE"), second->mainWindow());
    EXPECT_TRUE(desk.log.lines.empty());
    EXPECT_FALSE(second->minimised());
    EXPECT_EQ(second->restoreCount(), 1);
    EXPECT_EQ(first->restoreCount(), 0);
}

// A client found before is taken again without a process snapshot while its window still belongs to
// the same process and accepts input; otherwise it is looked up afresh, with the same log line and
// restore command as a first lookup.
TEST(FindClient, AKnownClientIsCheckedNotSearched) {
    Desk desk;
    KnownClient known;
    auto first = desk.client();
    ASSERT_EQ(FindClient(desk.desktop, desk.log, "Eport.exe", known), first->mainWindow());
    EXPECT_EQ(known.pid, first->pid());

    auto second = desk.client();  // a later match, which a fresh lookup would prefer
    EXPECT_EQ(FindClient(desk.desktop, desk.log, "Eport.exe", known), first->mainWindow());
    EXPECT_EQ(first->restoreCount(), 2);

    desk.desktop.setSnapshotFails(true);  // proves no snapshot is taken for a window still there
    EXPECT_EQ(FindClient(desk.desktop, desk.log, "Eport.exe", known), first->mainWindow());
    desk.desktop.setSnapshotFails(false);

    first->showModalDialog("提示");  // main window disabled: searched again, the other client found
    EXPECT_EQ(FindClient(desk.desktop, desk.log, "Eport.exe", known), second->mainWindow());
    EXPECT_EQ(known.pid, second->pid());
    EXPECT_EQ(second->restoreCount(), 1);

    second->exit();
    first->exit();
    EXPECT_EQ(FindClient(desk.desktop, desk.log, "Eport.exe", known), 0u);
    EXPECT_EQ(known.window, 0u);
    EXPECT_EQ(desk.log.lines, std::vector<std::string>{kClientNotFound});
}

TEST(ListClientClassNames, DistinctClassesInOrderOfFirstAppearance) {
    Desk desk;
    EXPECT_FALSE(ListClientClassNames(desk.desktop, "Eport.exe").has_value());
    auto client = desk.client();
    const auto names = ListClientClassNames(desk.desktop, "Eport.exe");
    ASSERT_TRUE(names.has_value());
    const auto& c = client->config().classes;
    EXPECT_EQ(*names, (std::vector<std::string>{c.container, c.list, c.button, c.label, c.edit, c.combo}));
    EXPECT_EQ(ListClientClassNames(desk.desktop, "Eport.exe"), names);

    // No qualifying window: the top-level windows' classes are listed.
    client->showModalDialog("提示");
    desk.desktop.setVisible(client->modalDialog(), false);
    EXPECT_EQ(*ListClientClassNames(desk.desktop, "Eport.exe"),
              (std::vector<std::string>{c.dialog, c.mainWindow}));
}

}  // namespace
}  // namespace ca::automation
