#include "StandinClient.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "StandinMenu.h"
#include "ca/util/Gbk.h"

namespace ca::win32test {

namespace {

StandinClient* g_client = nullptr;  // one client per process; the window procedures reach it here

constexpr int kQueryColumns = 13;
constexpr int kEditWidth = 110;
constexpr int kEditHeight = 20;
constexpr int kPerRow = 8;

std::string gbk(const std::string& utf8) {
    return ca::utf8ToGbk(utf8);
}

}  // namespace

const char* areaName(sim::Area area) {
    switch (area) {
        case sim::Area::Header:
            return "Header";
        case sim::Area::Panel1:
            return "Panel1";
        case sim::Area::Operator:
            return "Operator";
        case sim::Area::Panel3:
            return "Panel3";
        case sim::Area::Panel4:
            return "Panel4";
        case sim::Area::Goods:
            return "Goods";
        case sim::Area::Side:
            return "Side";
    }
    return "?";
}

std::string goodsLineText(const std::vector<std::string>& fieldsByPosition) {
    std::string line = "goods line:";
    for (std::size_t pos = 0; pos < fieldsByPosition.size(); ++pos)
        if (!fieldsByPosition[pos].empty())
            line.append(" ").append(std::to_string(pos)).append("=").append(fieldsByPosition[pos]);
    return line;
}

StandinClient::StandinClient(HINSTANCE instance, sim::StandInConfig config, sim::ClientFixture fixture,
                             StandinLog& log)
    : instance_(instance), config_(std::move(config)), fixture_(std::move(fixture)), log_(log) {
    fixture_.applyTo(config_);
    formKind_ = config_.formKind;
    g_client = this;
}

bool StandinClient::superclass(const char* systemClass, const std::string& name) {
    if (name == systemClass) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(nullptr, systemClass, &wc)) return false;
    wc.lpszClassName = name.c_str();
    wc.hInstance = instance_;
    return RegisterClassExA(&wc) != 0;
}

bool StandinClient::registerClasses() {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = mainProc;
    wc.hInstance = instance_;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = config_.classes.mainWindow.c_str();
    if (!RegisterClassExA(&wc)) return false;

    // The panels: a class of this program, under the configured container class name.
    wc.lpfnWndProc = panelProc;
    wc.lpszClassName = config_.classes.container.c_str();
    if (!RegisterClassExA(&wc)) return false;

    const sim::ClientClasses& c = config_.classes;
    return superclass("Edit", c.edit) && superclass(WC_LISTVIEWA, c.list) && superclass("Button", c.button) &&
           superclass("Static", c.label) && superclass("ComboBox", c.combo);
}

HWND StandinClient::child(HWND parent, const std::string& cls, const std::string& utf8Text, DWORD style,
                          int x, int y, int w, int h, bool visible) {
    std::string text = gbk(utf8Text);
    return CreateWindowExA(0, cls.c_str(), text.c_str(), WS_CHILD | (visible ? WS_VISIBLE : 0) | style, x, y,
                           w, h, parent, nullptr, instance_, nullptr);
}

HWND StandinClient::panel(HWND parent, int x, int y, int w, int h, bool visible) {
    return child(parent, config_.classes.container, "", WS_CLIPCHILDREN, x, y, w, h, visible);
}

std::vector<HWND> StandinClient::edits(HWND parent, sim::Area area, int count,
                                       const std::set<int>& readOnly) {
    std::vector<HWND> result;
    for (int i = 0; i < count; ++i) {
        int x = 2 + (i % kPerRow) * (kEditWidth + 4);
        int y = 2 + (i / kPerRow) * (kEditHeight + 4);
        DWORD style = WS_BORDER | ES_AUTOHSCROLL | (readOnly.count(i) ? ES_READONLY : 0);
        HWND w = child(parent, config_.classes.edit, "", style, x, y, kEditWidth, kEditHeight);
        if (!w) continue;
        fields_[w] = Field{area, i};
        originalProcs_[w] = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc)));
        result.push_back(w);
    }
    return result;
}

HWND StandinClient::list(HWND parent, int columns) {
    HWND w =
        child(parent, config_.classes.list, "", WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, 2, 2, 900, 200);
    for (int c = 0; c < columns; ++c) {
        std::string caption = std::to_string(c);
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH;
        col.cx = 70;
        col.pszText = caption.data();
        SendMessageA(w, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
    }
    originalProcs_[w] =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProc)));
    return w;
}

void StandinClient::fillList(HWND w, const std::vector<std::vector<std::string>>& rows) {
    SendMessageA(w, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < std::max<std::size_t>(rows[r].size(), 1); ++c) {
            std::string text = c < rows[r].size() ? gbk(rows[r][c]) : std::string();
            LVITEMA item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(c);
            item.pszText = text.data();
            if (c == 0)
                SendMessageA(w, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            else
                SendMessageA(w, LVM_SETITEMTEXTA, r, reinterpret_cast<LPARAM>(&item));
        }
    }
}

void StandinClient::setText(HWND w, const std::string& utf8Text) {
    std::string text = gbk(utf8Text);
    SetWindowTextA(w, text.c_str());
}

std::string StandinClient::textOf(HWND w) const {
    char buffer[4096] = {};
    GetWindowTextA(w, buffer, sizeof buffer);
    return ca::gbkToUtf8(buffer);
}

bool StandinClient::create() {
    if (!registerClasses()) return false;
    std::string caption = gbk(config_.caption);
    main_ = CreateWindowExA(0, config_.classes.mainWindow.c_str(), caption.c_str(), WS_OVERLAPPEDWINDOW, 20,
                            20, 1000, 760, nullptr, buildClientMenuBar(), instance_, nullptr);
    if (!main_) return false;
    buildQueryScreen();
    if (config_.startScreen == sim::Screen::Entry) {
        entryForm_ = true;
        buildForm(nullptr);
        ShowWindow(queryOuter_, SW_HIDE);
    }
    HWND caption2 = child(main_, config_.classes.label,
                          entryForm_ ? "报关单录入" : "报关单/转关运输提前报关单查询", 0, 0, 700, 400, 16);
    return caption2 != nullptr;
}

void StandinClient::show() {
    ShowWindow(main_, SW_SHOWNORMAL);
    UpdateWindow(main_);
}

void StandinClient::buildForm(const sim::DeclarationFixture* declaration) {
    declaration_ = declaration;
    const sim::ClientLayout& layout = config_.layout;
    HWND outer = panel(main_, 0, 0, 980, 560, false);
    formTops_.push_back(outer);
    std::vector<HWND> panels;
    for (int i = 0; i < layout.innerPanels; ++i)
        panels.push_back(panel(outer, 0, i * 90, 960, 88));

    bool import = formKind_ == sim::FormKind::Import;
    const std::set<int>& readOnly =
        entryForm_ ? (import ? config_.importReadOnlyGoods : config_.exportReadOnlyGoods) : std::set<int>{};
    std::vector<HWND> header = edits(panels[0], sim::Area::Header, layout.headerEdits);
    edits(panels[1], sim::Area::Panel1, layout.panel1Edits);
    std::vector<HWND> operators = edits(panels[2], sim::Area::Operator, layout.operatorEdits);
    edits(panels[3], sim::Area::Panel3, layout.panel3Edits);
    edits(panels[4], sim::Area::Panel4, layout.panel4Edits);
    std::size_t columns = 2;
    std::vector<std::vector<std::string>> rows;
    if (declaration) {
        for (std::size_t i = 0; i < declaration->goods.size(); ++i) {
            const sim::GoodsLineFixture& line = declaration->goods[i];
            std::vector<std::string> cells = line.listCells;
            if (cells.empty()) {
                auto first = line.texts.find(0);
                cells = {std::to_string(i + 1), first == line.texts.end() ? std::string() : first->second};
            }
            columns = std::max(columns, cells.size());
            rows.push_back(std::move(cells));
        }
    }
    goodsList_ = list(panels[5], static_cast<int>(columns));
    fillList(goodsList_, rows);
    goodsEdits_ = edits(panels[5], sim::Area::Goods, layout.goodsEdits, readOnly);

    HWND side = panel(main_, 0, 560, 980, 120, false);
    formTops_.push_back(side);
    edits(side, sim::Area::Side, layout.sidePanelEdits);
    for (int i = 2; i < layout.outerPanels; ++i)
        formTops_.push_back(panel(main_, 0, 680, 10, 10, false));

    // The form goes in front of the query screen, in its own order, and is shown there.
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    SetWindowPos(formTops_[0], HWND_TOP, 0, 0, 0, 0, flags);
    for (std::size_t i = 1; i < formTops_.size(); ++i)
        SetWindowPos(formTops_[i], formTops_[i - 1], 0, 0, 0, 0, flags);

    if (declaration) {
        for (const auto& [pos, text] : declaration->header)
            if (pos >= 0 && pos < static_cast<int>(header.size())) setText(header[pos], text);
        for (const auto& [pos, text] : declaration->operatorTexts)
            if (pos >= 0 && pos < static_cast<int>(operators.size())) setText(operators[pos], text);
        showGoodsLine(0);
    }
}

void StandinClient::destroyForm() {
    for (HWND w : formTops_)
        DestroyWindow(w);
    formTops_.clear();
    goodsEdits_.clear();
    goodsList_ = nullptr;
    declaration_ = nullptr;
    for (auto it = fields_.begin(); it != fields_.end();) {
        if (IsWindow(it->first)) {
            ++it;
        } else {
            it = fields_.erase(it);
        }
    }
    for (auto it = originalProcs_.begin(); it != originalProcs_.end();)
        it = IsWindow(it->first) ? std::next(it) : originalProcs_.erase(it);
}

void StandinClient::buildQueryScreen() {
    const sim::ClientLayout& layout = config_.layout;
    queryOuter_ = panel(main_, 0, 0, 980, 560);
    std::vector<HWND> panels;
    for (int i = 0; i < layout.queryPanels; ++i)
        panels.push_back(panel(queryOuter_, 0, i * 260, 960, 250));
    queryList_ = list(panels[0], kQueryColumns);
    fillList(queryList_, fixture_.rows);
    static const char* const kButtons[] = {"查询", "新增", "打开", "删除"};
    for (int i = 0; i < layout.buttons; ++i) {
        HWND b =
            child(panels[0], config_.classes.button, kButtons[i % 4], BS_PUSHBUTTON, 2 + i * 90, 210, 80, 24);
        if (i == 2) openButton_ = b;
    }
    std::vector<HWND> filters;
    for (int i = 0; i < layout.filterPanels; ++i)
        filters.push_back(panel(panels[1], 0, i * 50, 960, 48));
    child(filters[0], config_.classes.edit, fixture_.queryDate, WS_BORDER, 2, 2, 120, 20);
    std::vector<std::string> kinds = {"进口报关单", "出口报关单", "出口转关运输提前报关单"};
    if (std::find(kinds.begin(), kinds.end(), fixture_.kind) == kinds.end()) kinds.push_back(fixture_.kind);
    for (int i = 0; i < layout.kindCombos; ++i) {
        HWND combo = child(filters[1], config_.classes.combo, "", CBS_DROPDOWNLIST | WS_VSCROLL, 2 + i * 150,
                           2, 140, 120);
        bool kindCombo = i == 3;
        std::vector<std::string> items = kindCombo ? kinds : std::vector<std::string>{"全部"};
        int selected = 0;
        for (std::size_t k = 0; k < items.size(); ++k) {
            std::string text = gbk(items[k]);
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            if (kindCombo && items[k] == fixture_.kind) selected = static_cast<int>(k);
        }
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    }
}

void StandinClient::openSelectedRow() {
    int focused =
        static_cast<int>(SendMessageA(queryList_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    bool focusedSelected =
        focused >= 0 && (SendMessageA(queryList_, LVM_GETITEMSTATE, focused, LVIS_SELECTED) & LVIS_SELECTED);
    int row = focusedSelected ? focused
                              : static_cast<int>(SendMessageA(queryList_, LVM_GETNEXTITEM,
                                                              static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0 || !formTops_.empty()) return;
    std::string key;
    if (row < static_cast<int>(fixture_.rows.size()) && fixture_.rows[row].size() > 1)
        key = fixture_.rows[row][1];
    auto found = fixture_.declarations.find(key);
    buildForm(found == fixture_.declarations.end() ? nullptr : &found->second);
    ShowWindow(queryOuter_, SW_HIDE);
    log_.line("open " + std::to_string(row) + " " + key);
}

void StandinClient::closeDeclaration() {
    if (formTops_.empty() || entryForm_) return;
    destroyForm();
    ShowWindow(queryOuter_, SW_SHOW);
    log_.line("close");
}

void StandinClient::showGoodsLine(int row) {
    const sim::GoodsLineFixture* line = nullptr;
    if (declaration_ && row >= 0 && row < static_cast<int>(declaration_->goods.size()))
        line = &declaration_->goods[row];
    for (std::size_t pos = 0; pos < goodsEdits_.size(); ++pos) {
        std::string text;
        if (line) {
            auto it = line->texts.find(static_cast<int>(pos));
            if (it != line->texts.end()) text = it->second;
        }
        setText(goodsEdits_[pos], text);
    }
}

void StandinClient::onReturn(HWND field) {
    auto it = fields_.find(field);
    if (it == fields_.end()) return;
    const Field f = it->second;
    log_.line(std::string("confirm ") + areaName(f.area) + " " + std::to_string(f.position) + ": " +
              textOf(field));
    int lineEnd =
        formKind_ == sim::FormKind::Import ? config_.importGoodsLineEnd : config_.exportGoodsLineEnd;
    if (!entryForm_ || f.area != sim::Area::Goods || f.position != lineEnd) return;
    // Return on the form's last goods field finishes the line and readies the fields for the next.
    std::vector<std::string> texts;
    for (HWND w : goodsEdits_)
        texts.push_back(textOf(w));
    log_.line(goodsLineText(texts));
    for (HWND w : goodsEdits_)
        SetWindowTextA(w, "");
}

void StandinClient::onCommand(HWND from, UINT id, UINT code) {
    if (!from) {  // a menu command
        log_.line("menu " + std::to_string(id));
        if (id == sim::menuItemIdentifier(sim::kCloseMenuTop, sim::kCloseMenuItem)) closeDeclaration();
        return;
    }
    if (from == openButton_ && code == BN_CLICKED) openSelectedRow();
}

void StandinClient::onListItemChanged(HWND w, int row, UINT oldState, UINT newState) {
    const char* name = w == queryList_ ? "query" : w == goodsList_ ? "goods" : nullptr;
    if (!name) return;
    UINT gained = newState & ~oldState;
    if (gained & LVIS_FOCUSED) log_.line(std::string("focus ") + name + " " + std::to_string(row));
    if (gained & LVIS_SELECTED) log_.line(std::string("select ") + name + " " + std::to_string(row));
    // Selecting a goods row shows that line in the goods fields.
    if (w == goodsList_ && (gained & LVIS_SELECTED)) showGoodsLine(row);
}

LRESULT CALLBACK StandinClient::mainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    StandinClient* c = g_client;
    switch (msg) {
        case WM_COMMAND:
            if (c && HIWORD(wp) == 0 && (lp == 0 || GetParent(reinterpret_cast<HWND>(lp)) != w)) {
                c->onCommand(nullptr, LOWORD(wp), 0);
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            if ((wp & 0xFFF0) == SC_RESTORE && c) c->log_.line("restore");
            break;
        case WM_CLOSE:
            DestroyWindow(w);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK StandinClient::panelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    StandinClient* c = g_client;
    if (c && msg == WM_COMMAND && lp != 0) {
        c->onCommand(reinterpret_cast<HWND>(lp), LOWORD(wp), HIWORD(wp));
        return 0;
    }
    if (c && msg == WM_NOTIFY) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        if (hdr->code == LVN_ITEMCHANGED) {
            const auto* nm = reinterpret_cast<const NMLISTVIEW*>(lp);
            if ((nm->uChanged & LVIF_STATE) && nm->iItem >= 0)
                c->onListItemChanged(hdr->hwndFrom, nm->iItem, nm->uOldState, nm->uNewState);
        }
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

LRESULT StandinClient::callOriginal(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto it = originalProcs_.find(w);
    return it != originalProcs_.end() ? CallWindowProcA(it->second, w, msg, wp, lp)
                                      : DefWindowProcA(w, msg, wp, lp);
}

LRESULT CALLBACK StandinClient::editProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    StandinClient* c = g_client;
    if (!c) return DefWindowProcA(w, msg, wp, lp);
    if (msg == WM_KEYDOWN && wp == VK_RETURN) c->onReturn(w);
    return c->callOriginal(w, msg, wp, lp);
}

LRESULT CALLBACK StandinClient::listProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    StandinClient* c = g_client;
    if (!c) return DefWindowProcA(w, msg, wp, lp);
    // A click on a list is only noted: the list view's own mouse handling would change the
    // selection depending on where the header lies and on when the posted click is handled
    // relative to the selection requests that follow it.
    if (msg == WM_LBUTTONDOWN) return 0;
    if (msg == WM_LBUTTONUP) {
        c->log_.line(std::string("click ") + (w == c->queryList_ ? "query" : "goods"));
        return 0;
    }
    return c->callOriginal(w, msg, wp, lp);
}

}  // namespace ca::win32test
