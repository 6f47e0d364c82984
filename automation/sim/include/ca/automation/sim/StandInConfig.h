#pragma once
// Configuration of the stand-in customs client: process name, window classes, form layout and
// how long the client takes to act. Texts are UTF-8.
#include <cstdint>
#include <set>
#include <string>

#include "ca/automation/Desktop.h"

namespace ca::automation::sim {

enum class Screen { Entry, Query, Declaration, Gone };
enum class FormKind { Import, Export };

struct ClientClasses {
    std::string mainWindow = "WindowsForms10.Window.8.app.0.eport";
    std::string container = "WindowsForms10.Window.8.app.0.sim";
    std::string edit = "WindowsForms10.EDIT.app.0.sim";
    std::string list = "WindowsForms10.SysListView32.app.0.sim";
    std::string button = "WindowsForms10.BUTTON.app.0.sim";
    std::string label = "WindowsForms10.STATIC.app.0.sim";
    std::string combo = "WindowsForms10.COMBOBOX.app.0.sim";
    std::string toolbar = "WindowsForms10.ToolbarWindow32.app.0.sim";
    std::string dialog = "#32770";
};

// Number of windows in each part of the screens (the chains the procedures build reach as far
// as these allow; a smaller number makes a short chain).
struct ClientLayout {
    int outerPanels = 11;     // the form's outer panel and its siblings under the main window
    int innerPanels = 101;    // form panels under the outer panel
    int headerEdits = 82;     // form panel 0
    int panel1Edits = 11;     // form panel 1
    int operatorEdits = 82;   // form panel 2
    int panel3Edits = 5;      // form panel 3
    int panel4Edits = 7;      // form panel 4
    int goodsEdits = 101;     // form panel 5, after the goods list
    int sidePanelEdits = 11;  // the outer panel's next sibling
    int queryPanels = 11;     // query screen: panels under its outer panel
    int buttons = 4;          // query panel 0, after the query list; position 2 opens
    int filterPanels = 11;    // under query panel 1
    int kindCombos = 4;       // under filter panel 1; position 3 holds the kind
};

// Milliseconds the client takes before it has acted.
struct ClientTimings {
    std::int64_t postedMessage = 10;  // handling a posted message (the clicks on the lists)
    std::int64_t openForm = 100;      // the open button's click until the declaration form shows
    std::int64_t closeForm = 100;     // the closing menu command until the query screen shows
    std::int64_t showGoodsLine = 0;   // a goods row's selection until its line shows (0: at once)
};

// Menu of the main window: 8 top-level menus of 4 items each; the item at (7, 2) closes the
// declaration form. Identifiers are 0x1000 + 16 * top + item.
inline constexpr int kMenuCount = 8;
inline constexpr int kMenuItems = 4;
inline constexpr int kCloseMenuTop = 7;
inline constexpr int kCloseMenuItem = 2;
inline constexpr std::uint32_t menuItemIdentifier(int top, int item) {
    return 0x1000u + 16u * static_cast<std::uint32_t>(top) + static_cast<std::uint32_t>(item);
}

struct StandInConfig {
    std::string processName = "Eport.exe";  // the executable text in the snapshot
    Bitness bitness = Bitness::Bits32;
    std::string caption = "海关录入程序（模拟）";
    ClientClasses classes;
    ClientLayout layout;
    ClientTimings timings;
    Screen startScreen = Screen::Query;
    FormKind formKind = FormKind::Import;  // which declaration form the entry screen shows
    // Return on this goods-edit position finishes a goods line (import and export forms).
    int importGoodsLineEnd = 4;
    int exportGoodsLineEnd = 2;
    // Goods edits the client keeps read-only (written by unlock-paste).
    std::set<int> importReadOnlyGoods{9, 11, 18};
    std::set<int> exportReadOnlyGoods{10, 12, 20};
};

}  // namespace ca::automation::sim
