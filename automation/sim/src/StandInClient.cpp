#include "ca/automation/sim/StandInClient.h"

#include <algorithm>

#include "ca/util/Gbk.h"

namespace ca::automation::sim {

namespace {

constexpr int kAreaCount = 7;
constexpr const char* kQueryCaption = "报关单/转关运输提前报关单查询";
constexpr int kQueryColumns = 13;

std::size_t index(Area a) {
    return static_cast<std::size_t>(a);
}

}  // namespace

StandInClient::StandInClient(SimDesktop& desktop, StandInConfig config, ClientFixture fixture)
    : desktop_(desktop),
      config_(std::move(config)),
      fixture_(std::move(fixture)),
      areaEdits_(kAreaCount),
      alive_(std::make_shared<bool>(true)) {
    pid_ = desktop_.createProcess(gbk(config_.processName), config_.bitness);
    desktop_.setPostedDelay(pid_, config_.timings.postedMessage);
    desktop_.setListener(pid_, [this](const SimEvent& e) { onEvent(e); });
    buildMainWindow();
    if (config_.startScreen == Screen::Entry) {
        showEntryForm(config_.formKind);
    } else {
        showQueryScreen();
    }
}

StandInClient::~StandInClient() {
    *alive_ = false;
    if (running()) desktop_.exitProcess(pid_);
}

std::string StandInClient::gbk(const std::string& utf8) const {
    return utf8ToGbk(utf8);
}

int StandInClient::goodsLineEnd() const {
    return formKind_ == FormKind::Import ? config_.importGoodsLineEnd : config_.exportGoodsLineEnd;
}

// --- Building -------------------------------------------------------------------------------------

void StandInClient::buildMainWindow() {
    main_ = desktop_.createWindow(pid_, 0, WindowKind::TopLevel, gbk(config_.classes.mainWindow),
                                  gbk(config_.caption), Placement::First);
    buildMenu();
}

void StandInClient::buildMenu() {
    const HMenu bar = desktop_.createMenu();
    for (int top = 0; top < kMenuCount; ++top) {
        const HMenu sub = desktop_.createMenu();
        for (int item = 0; item < kMenuItems; ++item)
            desktop_.appendMenuItem(sub, menuItemIdentifier(top, item));
        desktop_.appendSubMenu(bar, sub);
    }
    desktop_.setWindowMenu(main_, bar);
}

void StandInClient::buildForm(const DeclarationFixture* declaration) {
    const ClientLayout& l = config_.layout;
    const ClientClasses& c = config_.classes;
    declaration_ = declaration;
    auto textAt = [](const std::map<int, std::string>* texts, int position) {
        if (!texts) return std::string();
        auto it = texts->find(position);
        return it == texts->end() ? std::string() : it->second;
    };
    auto edits = [&](HWnd parent, Area area, int count, const std::map<int, std::string>* texts) {
        auto& list = areaEdits_[index(area)];
        for (int i = 0; i < count; ++i) {
            const HWnd e =
                desktop_.createWindow(pid_, parent, WindowKind::Edit, gbk(c.edit), gbk(textAt(texts, i)));
            list.push_back(e);
            fields_[e] = FieldRef{area, i};
        }
    };

    // The main window's children in front of whatever shows: the outer panel, the side panel,
    // further panels and the form's caption. Created back to front, each placed first.
    desktop_.createWindow(pid_, main_, WindowKind::Label, gbk(c.label),
                          gbk(formKind_ == FormKind::Import ? "进口报关单" : "出口报关单"), Placement::First);
    formSiblings_.clear();
    for (int i = l.outerPanels - 1; i >= 1; --i) {
        formSiblings_.insert(
            formSiblings_.begin(),
            desktop_.createWindow(pid_, main_, WindowKind::Panel, gbk(c.container), {}, Placement::First));
    }
    formOuter_ =
        desktop_.createWindow(pid_, main_, WindowKind::Panel, gbk(c.container), {}, Placement::First);
    if (!formSiblings_.empty()) edits(formSiblings_[0], Area::Side, l.sidePanelEdits, nullptr);

    for (int p = 0; p < l.innerPanels; ++p) {
        const HWnd panel = desktop_.createWindow(pid_, formOuter_, WindowKind::Panel, gbk(c.container));
        switch (p) {
            case 0:
                edits(panel, Area::Header, l.headerEdits, declaration ? &declaration->header : nullptr);
                break;
            case 1:
                edits(panel, Area::Panel1, l.panel1Edits, nullptr);
                break;
            case 2:
                edits(panel, Area::Operator, l.operatorEdits,
                      declaration ? &declaration->operatorTexts : nullptr);
                break;
            case 3:
                edits(panel, Area::Panel3, l.panel3Edits, nullptr);
                break;
            case 4:
                edits(panel, Area::Panel4, l.panel4Edits, nullptr);
                break;
            case 5: {
                goodsList_ = desktop_.createWindow(pid_, panel, WindowKind::ListView, gbk(c.list));
                std::vector<std::vector<std::string>> rows;
                if (declaration) {
                    for (std::size_t i = 0; i < declaration->goods.size(); ++i) {
                        const GoodsLineFixture& line = declaration->goods[i];
                        std::vector<std::string> cells;
                        if (!line.listCells.empty()) {
                            for (const std::string& cell : line.listCells)
                                cells.push_back(gbk(cell));
                        } else {
                            const std::string number = std::to_string(i + 1);
                            const std::string code = textAt(&line.texts, 0);
                            cells = {number, gbk(code.empty() ? number : code)};
                        }
                        rows.push_back(std::move(cells));
                    }
                }
                desktop_.setListRows(goodsList_, std::move(rows));
                edits(panel, Area::Goods, l.goodsEdits, nullptr);
                break;
            }
            default:
                break;
        }
    }
    const auto& readOnly =
        formKind_ == FormKind::Import ? config_.importReadOnlyGoods : config_.exportReadOnlyGoods;
    for (int position : readOnly) {
        if (HWnd e = fieldWindow({Area::Goods, position})) desktop_.setReadOnly(e, true);
    }
    if (declaration && !declaration->goods.empty()) showGoodsLine(0);
}

void StandInClient::destroyForm() {
    if (formOuter_ == 0) return;
    // The form's caption is the label just after its last sibling panel.
    HWnd last = formSiblings_.empty() ? formOuter_ : formSiblings_.back();
    const HWnd label = desktop_.nextSiblingWindow(last);
    desktop_.destroyWindow(formOuter_);
    for (HWnd w : formSiblings_)
        desktop_.destroyWindow(w);
    if (label && desktop_.windowKind(label) == WindowKind::Label) desktop_.destroyWindow(label);
    formOuter_ = 0;
    formSiblings_.clear();
    for (auto& list : areaEdits_)
        list.clear();
    fields_.clear();
    goodsList_ = 0;
    declaration_ = nullptr;
    openKey_.clear();
    openRow_ = -1;
}

void StandInClient::buildQueryScreen() {
    const ClientLayout& l = config_.layout;
    const ClientClasses& c = config_.classes;
    queryOuter_ = desktop_.createWindow(pid_, main_, WindowKind::Panel, gbk(c.container));
    desktop_.createWindow(pid_, main_, WindowKind::Label, gbk(c.label), gbk(kQueryCaption));
    static const char* const kButtons[] = {"查询", "新增", "打开", "退出"};
    for (int p = 0; p < l.queryPanels; ++p) {
        const HWnd panel = desktop_.createWindow(pid_, queryOuter_, WindowKind::Panel, gbk(c.container));
        if (p == 0) {
            queryList_ = desktop_.createWindow(pid_, panel, WindowKind::ListView, gbk(c.list));
            std::vector<std::vector<std::string>> rows;
            for (const auto& row : fixture_.rows) {
                std::vector<std::string> cells(std::max<std::size_t>(row.size(), kQueryColumns));
                for (std::size_t i = 0; i < row.size(); ++i)
                    cells[i] = gbk(row[i]);
                rows.push_back(std::move(cells));
            }
            desktop_.setListRows(queryList_, std::move(rows));
            for (int b = 0; b < l.buttons; ++b) {
                const HWnd button = desktop_.createWindow(pid_, panel, WindowKind::Button, gbk(c.button),
                                                          gbk(b < 4 ? kButtons[b] : "按钮"));
                if (b == 2) openButton_ = button;
            }
        } else if (p == 1) {
            for (int f = 0; f < l.filterPanels; ++f) {
                const HWnd filter = desktop_.createWindow(pid_, panel, WindowKind::Panel, gbk(c.container));
                if (f == 0) {
                    desktop_.createWindow(pid_, filter, WindowKind::Label, gbk(c.label), gbk("申报日期"));
                    queryDate_ = desktop_.createWindow(pid_, filter, WindowKind::Edit, gbk(c.edit),
                                                       gbk(fixture_.queryDate));
                } else if (f == 1) {
                    for (int k = 0; k < l.kindCombos; ++k) {
                        const HWnd combo =
                            desktop_.createWindow(pid_, filter, WindowKind::Combo, gbk(c.combo),
                                                  k == 3 ? gbk(fixture_.kind) : std::string());
                        if (k == 3) kindCombo_ = combo;
                    }
                }
            }
        }
    }
}

void StandInClient::destroyQueryScreen() {
    if (queryOuter_ == 0) return;
    const HWnd label = desktop_.nextSiblingWindow(queryOuter_);
    desktop_.destroyWindow(queryOuter_);
    if (label && desktop_.windowKind(label) == WindowKind::Label) desktop_.destroyWindow(label);
    queryOuter_ = queryList_ = openButton_ = queryDate_ = kindCombo_ = 0;
}

void StandInClient::showGoodsLine(int line) {
    if (!declaration_ || line < 0 || static_cast<std::size_t>(line) >= declaration_->goods.size()) return;
    const auto& texts = declaration_->goods[static_cast<std::size_t>(line)].texts;
    const auto& goods = areaEdits_[index(Area::Goods)];
    for (std::size_t i = 0; i < goods.size(); ++i) {
        auto it = texts.find(static_cast<int>(i));
        desktop_.setText(goods[i], it == texts.end() ? std::string() : gbk(it->second));
    }
}

// --- Screens ----------------------------------------------------------------------------------------

void StandInClient::showEntryForm(FormKind kind) {
    if (!running()) return;
    destroyForm();
    formKind_ = kind;
    buildForm(nullptr);
    screen_ = Screen::Entry;
    changed();
}

void StandInClient::showQueryScreen() {
    if (!running()) return;
    destroyForm();
    if (queryOuter_ == 0) buildQueryScreen();
    screen_ = Screen::Query;
    changed();
}

void StandInClient::openDeclaration(int row) {
    if (!running() || row < 0 || static_cast<std::size_t>(row) >= fixture_.rows.size()) return;
    destroyForm();
    const auto& cells = fixture_.rows[static_cast<std::size_t>(row)];
    const std::string key = cells.size() > 1 ? cells[1] : std::string();
    formKind_ = fixture_.kind == "进口报关单" ? FormKind::Import : FormKind::Export;
    auto it = fixture_.declarations.find(key);
    buildForm(it == fixture_.declarations.end() ? nullptr : &it->second);
    openKey_ = key;
    openRow_ = row;
    screen_ = Screen::Declaration;
    openedRows_.push_back(row);
    record({ClientEvent::Type::Open, {}, key, row});
}

void StandInClient::closeDeclaration() {
    if (!running()) return;
    destroyForm();
    if (queryOuter_ == 0) buildQueryScreen();
    screen_ = Screen::Query;
    record({ClientEvent::Type::Close, {}, {}, -1});
}

void StandInClient::setFixture(ClientFixture fixture) {
    fixture_ = std::move(fixture);
    if (declaration_ != nullptr) {
        auto it = fixture_.declarations.find(openKey_);
        declaration_ = it == fixture_.declarations.end() ? nullptr : &it->second;
    }
    if (queryOuter_ != 0) {
        destroyQueryScreen();
        buildQueryScreen();
    }
    changed();
}

// --- Conditions -------------------------------------------------------------------------------------

void StandInClient::showModalDialog(const std::string& caption) {
    if (!running() || dialog_ != 0) return;
    dialog_ = desktop_.createWindow(pid_, 0, WindowKind::Dialog, gbk(config_.classes.dialog), gbk(caption),
                                    Placement::First);
    desktop_.setEnabled(main_, false);
    changed();
}

void StandInClient::closeModalDialog() {
    if (dialog_ == 0) return;
    desktop_.destroyWindow(dialog_);
    dialog_ = 0;
    desktop_.setEnabled(main_, true);
    changed();
}

void StandInClient::minimise() {
    desktop_.setMinimized(main_, true);
    changed();
}

bool StandInClient::minimised() const {
    return desktop_.isMinimized(main_);
}

void StandInClient::exit() {
    if (!running()) return;
    desktop_.exitProcess(pid_);
    main_ = dialog_ = formOuter_ = goodsList_ = 0;
    queryOuter_ = queryList_ = openButton_ = queryDate_ = kindCombo_ = 0;
    formSiblings_.clear();
    for (auto& list : areaEdits_)
        list.clear();
    fields_.clear();
    declaration_ = nullptr;
    screen_ = Screen::Gone;
    changed();
}

bool StandInClient::running() const {
    return desktop_.processAlive(pid_);
}

// --- Observation ------------------------------------------------------------------------------------

HWnd StandInClient::fieldWindow(FieldRef field) const {
    const auto& list = areaEdits_[index(field.area)];
    return field.position >= 0 && static_cast<std::size_t>(field.position) < list.size()
               ? list[static_cast<std::size_t>(field.position)]
               : 0;
}

std::string StandInClient::fieldText(FieldRef field) const {
    return gbkToUtf8(desktop_.text(fieldWindow(field)));
}

bool StandInClient::fieldReadOnly(FieldRef field) const {
    return desktop_.isReadOnly(fieldWindow(field));
}

int StandInClient::fieldCount(Area area) const {
    return static_cast<int>(areaEdits_[index(area)].size());
}

std::vector<std::string> StandInClient::fieldTexts(Area area) const {
    std::vector<std::string> texts;
    for (HWnd e : areaEdits_[index(area)])
        texts.push_back(gbkToUtf8(desktop_.text(e)));
    return texts;
}

namespace {
std::vector<std::vector<std::string>> utf8Rows(std::vector<std::vector<std::string>> rows) {
    for (auto& row : rows) {
        for (auto& cell : row)
            cell = gbkToUtf8(cell);
    }
    return rows;
}
}  // namespace

std::vector<std::vector<std::string>> StandInClient::queryRows() const {
    return utf8Rows(desktop_.listRows(queryList_));
}

std::vector<std::vector<std::string>> StandInClient::goodsRows() const {
    return utf8Rows(desktop_.listRows(goodsList_));
}

void StandInClient::clearRecords() {
    events_.clear();
    confirmations_.clear();
    goodsLines_.clear();
    openedRows_.clear();
    menuCommands_.clear();
    restores_ = 0;
}

std::vector<int> StandInClient::selectedQueryRows() const {
    return desktop_.listSelectedRows(queryList_);
}
int StandInClient::focusedQueryRow() const {
    return desktop_.listFocusedRow(queryList_);
}
std::vector<int> StandInClient::selectedGoodsRows() const {
    return desktop_.listSelectedRows(goodsList_);
}

// --- Reactions --------------------------------------------------------------------------------------

bool StandInClient::fieldOf(HWnd w, FieldRef& out) const {
    auto it = fields_.find(w);
    if (it == fields_.end()) return false;
    out = it->second;
    return true;
}

void StandInClient::record(ClientEvent event) {
    events_.push_back(std::move(event));
    changed();
}

void StandInClient::changed() {
    if (onChange_) onChange_();
}

void StandInClient::onFieldEvent(const SimEvent& event, FieldRef field) {
    using T = SimEvent::Type;
    switch (event.type) {
        case T::TextSet:
            record({ClientEvent::Type::Set, field, fieldText(field), -1});
            break;
        case T::Pasted:
            record({ClientEvent::Type::Paste, field, fieldText(field), -1});
            break;
        case T::KeyDown:
            if (event.value != static_cast<std::int64_t>(VkReturn)) break;
            confirmations_.push_back({field, fieldText(field)});
            record({ClientEvent::Type::Confirm, field, fieldText(field), -1});
            if (screen_ == Screen::Entry && field.area == Area::Goods && field.position == goodsLineEnd()) {
                // Return on the last goods field closes the line and readies the fields for the next.
                GoodsLine line;
                for (HWnd e : areaEdits_[index(Area::Goods)]) {
                    line.push_back(gbkToUtf8(desktop_.text(e)));
                    desktop_.setText(e, {});
                }
                goodsLines_.push_back(std::move(line));
                record(
                    {ClientEvent::Type::GoodsLineEnd, field, {}, static_cast<int>(goodsLines_.size()) - 1});
            }
            break;
        default:
            break;
    }
}

void StandInClient::onEvent(const SimEvent& event) {
    using T = SimEvent::Type;
    FieldRef field;
    if (fieldOf(event.window, field)) {
        onFieldEvent(event, field);
        return;
    }
    std::weak_ptr<bool> alive = alive_;
    auto later = [this, alive](std::int64_t ms, std::function<void()> work) {
        desktop_.schedule(ms, [alive, work = std::move(work)] {
            if (auto a = alive.lock(); a && *a) work();
        });
    };
    const HWnd w = event.window;
    if (w == main_ && event.type == T::SysCommand &&
        (event.value & 0xFFF0) == static_cast<std::int64_t>(ScRestore)) {
        ++restores_;
        record({ClientEvent::Type::Restore, {}, {}, -1});
    } else if (w == main_ && event.type == T::Command) {
        const auto id = static_cast<std::uint32_t>(event.value);
        menuCommands_.push_back(id);
        record({ClientEvent::Type::Menu, {}, {}, static_cast<int>(id)});
        if (id == menuItemIdentifier(kCloseMenuTop, kCloseMenuItem) && formOuter_ != 0) {
            later(config_.timings.closeForm, [this] { closeDeclaration(); });
        }
    } else if (w == openButton_ && event.type == T::Clicked) {
        // The open button opens the focused row when it is selected, otherwise the first selected;
        // a form already open is replaced.
        int row = desktop_.listFocusedRow(queryList_);
        const std::vector<int> selected = desktop_.listSelectedRows(queryList_);
        if (row < 0 || !(desktop_.listRowState(queryList_, static_cast<std::size_t>(row)) & LvisSelected)) {
            row = selected.empty() ? -1 : selected.front();
        }
        if (row >= 0) later(config_.timings.openForm, [this, row] { openDeclaration(row); });
    } else if ((w == queryList_ || w == goodsList_) && event.type == T::Clicked && event.value == 1) {
        record({ClientEvent::Type::PostedClick, {}, {}, -1});
    } else if ((w == queryList_ || w == goodsList_) && event.type == T::ItemStateChanged &&
               event.value >= 0) {
        const int row = static_cast<int>(event.value);
        if (!(desktop_.listRowState(w, static_cast<std::size_t>(row)) & LvisSelected)) return;
        record({ClientEvent::Type::Select, {}, {}, row});
        if (w == goodsList_) {
            if (config_.timings.showGoodsLine <= 0) {
                showGoodsLine(row);
            } else {
                later(config_.timings.showGoodsLine, [this, row] { showGoodsLine(row); });
            }
        }
    }
}

}  // namespace ca::automation::sim
