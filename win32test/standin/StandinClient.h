#pragma once
// The Win32 stand-in customs client: a real Win32 program whose windows have the same structure,
// classes and behaviour as the simulated stand-in (automation/sim), built from the same fixture
// and configuration. Panels are windows of a class registered here; fields, lists, buttons,
// labels and drop-down boxes are the system's own "Edit", "SysListView32", "Button", "Static" and
// "ComboBox" controls, superclassed under the configured class names.
//
//   main window (menu bar of 8 menus)
//     form (entry or declaration; in front of the query screen while it shows):
//       outer panel: form panels 0..100 (0: 82 header edits, 1: 11 edits, 2: 82 operator edits,
//                    3: 5 edits, 4: 7 edits, 5: goods list then 101 goods edits)
//       side panel (the outer panel's next sibling): 11 edits; further sibling panels
//     query screen: outer panel: panel 0: query list, buttons 0..3 (2 opens)
//                                panel 1: filter panel 0 (query-date edit), filter panel 1
//                                         (combos 0..3, the kind at 3)
//     caption label
//
// Everything is built before the main window shows, so a driver that sees the window visible
// finds every child. The open button and the closing menu command act while their message is
// handled: the declaration form is complete (and in front) or gone when the sender's call returns,
// well within any delay the driver waits. What the client receives is written to the StandinLog, one line
// each:
//   ready 64 | restore | confirm AREA POS: TEXT | goods line: POS=TEXT ... | click LIST |
//   focus LIST ROW | select LIST ROW | open ROW KEY | close | menu ID
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "StandinLog.h"
#include "ca/automation/sim/ClientFixture.h"
#include "ca/automation/sim/StandInClient.h"
#include "ca/automation/sim/StandInConfig.h"

namespace ca::win32test {

namespace sim = ca::automation::sim;

// Log name of an area ("Header", "Goods", ...), shared with the test driver's comparisons.
const char* areaName(sim::Area area);
// The log line of a finished goods line: "goods line:" then " POS=TEXT" for every non-empty field.
std::string goodsLineText(const std::vector<std::string>& fieldsByPosition);

class StandinClient {
public:
    StandinClient(HINSTANCE instance, sim::StandInConfig config, sim::ClientFixture fixture, StandinLog& log);
    StandinClient(const StandinClient&) = delete;
    StandinClient& operator=(const StandinClient&) = delete;

    // Registers the classes and builds the whole window tree, hidden. False on failure.
    bool create();
    // Shows the main window (after create()).
    void show();
    HWND mainWindow() const { return main_; }

private:
    static LRESULT CALLBACK mainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK panelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK editProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK listProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT callOriginal(HWND w, UINT msg, WPARAM wp, LPARAM lp);

    bool registerClasses();
    bool superclass(const char* systemClass, const std::string& name);
    HWND child(HWND parent, const std::string& cls, const std::string& utf8Text, DWORD style, int x, int y,
               int w, int h, bool visible = true);
    // A form's top panels are made hidden and shown once their children exist: children of a
    // hidden panel are created without painting or invalidating anything on screen.
    HWND panel(HWND parent, int x, int y, int w, int h, bool visible = true);
    std::vector<HWND> edits(HWND parent, sim::Area area, int count, const std::set<int>& readOnly = {});
    HWND list(HWND parent, int columns);
    void fillList(HWND list, const std::vector<std::vector<std::string>>& rows);

    void buildForm(const sim::DeclarationFixture* declaration);
    void destroyForm();
    void buildQueryScreen();
    void openSelectedRow();
    void closeDeclaration();
    void showGoodsLine(int row);
    void setText(HWND w, const std::string& utf8Text);
    std::string textOf(HWND w) const;  // UTF-8

    void onReturn(HWND field);
    void onCommand(HWND from, UINT id, UINT code);
    void onListItemChanged(HWND list, int row, UINT oldState, UINT newState);

    HINSTANCE instance_;
    sim::StandInConfig config_;
    sim::ClientFixture fixture_;
    StandinLog& log_;
    sim::FormKind formKind_ = sim::FormKind::Import;
    HWND main_ = nullptr;

    struct Field {
        sim::Area area;
        int position;
    };
    std::map<HWND, Field> fields_;
    std::map<HWND, WNDPROC> originalProcs_;  // subclassed edits and lists

    // The form (entry or declaration).
    std::vector<HWND> formTops_;  // outer panel, side panel, further panels
    std::vector<HWND> goodsEdits_;
    HWND goodsList_ = nullptr;
    const sim::DeclarationFixture* declaration_ = nullptr;
    bool entryForm_ = false;

    // The query screen.
    HWND queryOuter_ = nullptr;
    HWND queryList_ = nullptr;
    HWND openButton_ = nullptr;
};

}  // namespace ca::win32test
