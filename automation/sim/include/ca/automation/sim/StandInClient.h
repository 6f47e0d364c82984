#pragma once
// The stand-in customs client on a SimDesktop. It presents the structure the automation relies
// on, with the configured process name, classes and timings:
//
//   main window (first visible and enabled top-level window of the process, with the menu bar)
//   ├─ entry / declaration form (when shown it is the main window's first child):
//   │    outer panel ─ form panels 0..100 (panel 0: header edits, 1: 11 edits, 2: operator edits,
//   │                  3: 5 edits, 4: 7 edits, 5: goods list then goods edits)
//   │    side panel (the outer panel's next sibling): 11 edits; further sibling panels
//   ├─ query screen: outer panel ─ panel 0: query list, buttons 0..3 (2 opens)
//   │                             panel 1: filter panels; filter 0: query-date edit,
//   │                                      filter 1: combos 0..3 (3 holds the kind)
//   └─ caption label ("报关单/转关运输提前报关单查询" on the query screen)
//
// It records what a real client would hold: every field's text, every confirmed (Return) field,
// every finished goods line (Return on the form kind's last goods field, after which the goods
// fields are cleared for the next line), selections, opened rows and menu commands.
//
// A Qt window may observe it through the change callback and the accessors; nothing here uses Qt.
// The client ends its process when destroyed, so it must go before its SimDesktop.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ca/automation/Desktop.h"
#include "ca/automation/sim/ClientFixture.h"
#include "ca/automation/sim/SimDesktop.h"
#include "ca/automation/sim/StandInConfig.h"

namespace ca::automation::sim {

// Parts of the declaration form whose edits the client records.
enum class Area { Header, Panel1, Operator, Panel3, Panel4, Goods, Side };

struct FieldRef {
    Area area = Area::Header;
    int position = 0;
    bool operator==(const FieldRef&) const = default;
};

struct ClientEvent {
    enum class Type {
        Set,           // WM_SETTEXT into a field (text: the field's text after it)
        Paste,         // WM_PASTE into a field (text: the field's text after it)
        Confirm,       // Return on a field (text: the field's text)
        GoodsLineEnd,  // a goods line finished (row: its index among finished lines)
        Select,        // a row of the query or goods list selected (row)
        Open,          // the declaration of a query row opened (row, text: its unified number)
        Close,         // the declaration form closed, the query screen back
        Menu,          // a menu command (row: identifier)
        Restore,       // the restore system command
        PostedClick,   // a posted click on a list reached the client
    };
    Type type;
    FieldRef field;  // for Set, Paste, Confirm
    std::string text;
    int row = -1;
};

struct Confirmation {
    FieldRef field;
    std::string text;
};

// One finished goods line: the goods fields' texts by position (UTF-8), as they stood at Return.
using GoodsLine = std::vector<std::string>;

class StandInClient {
public:
    StandInClient(SimDesktop& desktop, StandInConfig config = {}, ClientFixture fixture = {});
    ~StandInClient();
    StandInClient(const StandInClient&) = delete;
    StandInClient& operator=(const StandInClient&) = delete;

    Pid pid() const { return pid_; }
    HWnd mainWindow() const { return main_; }
    const StandInConfig& config() const { return config_; }
    const ClientFixture& fixture() const { return fixture_; }
    Screen screen() const { return screen_; }

    // --- Screens (what the client's own clerk would do) -------------------------------------
    void showEntryForm(FormKind kind);       // an empty form that records what is typed
    void showQueryScreen();                  // the query screen of the fixture
    void openDeclaration(int row);           // what the open button does, at once
    void closeDeclaration();                 // what the closing menu command does, at once
    void setFixture(ClientFixture fixture);  // reloads the query screen when it shows

    // --- Conditions --------------------------------------------------------------------------
    void showModalDialog(const std::string& caption);  // main window disabled, dialog in front
    void closeModalDialog();
    void minimise();
    bool minimised() const;
    void exit();  // the process ends; every handle becomes invalid
    bool running() const;

    // --- Observation -------------------------------------------------------------------------
    void setChangeCallback(std::function<void()> callback) { onChange_ = std::move(callback); }
    HWnd fieldWindow(FieldRef field) const;  // 0 when the form does not show or no such field
    std::string fieldText(FieldRef field) const;
    bool fieldReadOnly(FieldRef field) const;
    int fieldCount(Area area) const;
    std::vector<std::string> fieldTexts(Area area) const;  // every field of the area, by position
    // Cells of the query list and the goods list as they show (UTF-8), row by row.
    std::vector<std::vector<std::string>> queryRows() const;
    std::vector<std::vector<std::string>> goodsRows() const;
    const std::vector<ClientEvent>& events() const { return events_; }
    const std::vector<Confirmation>& confirmations() const { return confirmations_; }
    const std::vector<GoodsLine>& goodsLines() const { return goodsLines_; }
    const std::vector<int>& openedRows() const { return openedRows_; }
    const std::vector<std::uint32_t>& menuCommands() const { return menuCommands_; }
    int restoreCount() const { return restores_; }
    void clearRecords();

    // Query screen and declaration form handles (0 when the screen does not show).
    HWnd queryList() const { return queryList_; }
    HWnd openButton() const { return openButton_; }
    HWnd queryDateField() const { return queryDate_; }
    HWnd kindCombo() const { return kindCombo_; }
    HWnd goodsList() const { return goodsList_; }
    HWnd modalDialog() const { return dialog_; }
    std::vector<int> selectedQueryRows() const;
    int focusedQueryRow() const;
    std::vector<int> selectedGoodsRows() const;
    // Unified number of the declaration the form shows ("" on the entry form).
    const std::string& openDeclarationKey() const { return openKey_; }

private:
    void buildMainWindow();
    void buildMenu();
    void buildForm(const DeclarationFixture* declaration);
    void destroyForm();
    void buildQueryScreen();
    void destroyQueryScreen();
    void showGoodsLine(int line);
    void onEvent(const SimEvent& event);
    void onFieldEvent(const SimEvent& event, FieldRef field);
    bool fieldOf(HWnd w, FieldRef& out) const;
    void record(ClientEvent event);
    void changed();
    std::string gbk(const std::string& utf8) const;
    int goodsLineEnd() const;

    SimDesktop& desktop_;
    StandInConfig config_;
    ClientFixture fixture_;
    Pid pid_ = 0;
    HWnd main_ = 0;
    HWnd caption_ = 0;
    HWnd dialog_ = 0;
    Screen screen_ = Screen::Query;
    FormKind formKind_ = FormKind::Import;
    std::string openKey_;
    int openRow_ = -1;

    // Declaration / entry form.
    HWnd formOuter_ = 0;
    std::vector<HWnd> formSiblings_;            // side panel and further panels
    std::vector<std::vector<HWnd>> areaEdits_;  // by Area
    std::unordered_map<HWnd, FieldRef> fields_;
    const DeclarationFixture* declaration_ = nullptr;  // what the form shows
    HWnd goodsList_ = 0;
    // Query screen.
    HWnd queryOuter_ = 0;
    HWnd queryList_ = 0;
    HWnd openButton_ = 0;
    HWnd queryDate_ = 0;
    HWnd kindCombo_ = 0;

    std::function<void()> onChange_;
    std::vector<ClientEvent> events_;
    std::vector<Confirmation> confirmations_;
    std::vector<GoodsLine> goodsLines_;
    std::vector<int> openedRows_;
    std::vector<std::uint32_t> menuCommands_;
    int restores_ = 0;
    std::shared_ptr<bool> alive_;  // guards work scheduled on the desktop after destruction
};

}  // namespace ca::automation::sim
