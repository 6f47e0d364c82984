#include "ca/download/DownloadDriver.h"

#include <algorithm>

#include "ca/automation/ListView.h"
#include "ca/automation/Lookup.h"
#include "ca/download/LoadDataColumns.h"
#include "ca/download/SubDataColumns.h"
#include "ca/util/Convert.h"
#include "ca/util/MessageBoxes.h"
#include "ca/util/Validators.h"

namespace ca::download {

using automation::At;
using automation::BuildChain;
using automation::Chain;
using automation::ControlText;
using automation::FirstChild;
using automation::HWnd;

namespace {

constexpr const char* kNoMainScreen = "无法找到主界面";
constexpr const char* kNoPanelChain = "无法找到主界面2";
constexpr const char* kNoComboBox = "无法找到下拉框";
constexpr const char* kNoListView = "找不到ListView";
constexpr const char* kBadQueryDate = "不是一个有效的 日期 ，清输入正确查询日期";
constexpr const char* kGeneralTrade = "一般贸易";
constexpr std::int64_t kListOnlyPauseMs = 100;

// List column -> header position (import layout) of a list-only capture; the export layout places
// every one of these fields one position earlier.
struct ListCell {
    int column;
    int importPosition;
};
constexpr ListCell kListCells[] = {{0, 75}, {1, 79}, {2, 63},  {3, 48}, {4, 67},
                                   {5, 46}, {7, 55}, {10, 52}, {12, 73}};

// The list columns read for a row after its trade mode: the goods count (column 6), then the
// unified number of a general-trade row, or every cell of a list-only capture.
const std::vector<int> kGeneralRowColumns = {6, 1};
const std::vector<int> kListOnlyColumns = {6, 0, 1, 2, 3, 4, 5, 7, 10, 12};

// The form panels the reading uses (header 0, operator 2, goods 5): the panel chain is built as far
// as position 5.
constexpr size_t kFormPanels = 6;
constexpr size_t kHeaderEdits = 82;
constexpr size_t kGoodsEdits = 101;

// Reads the texts of the given chain positions (ascending) into texts, up to the first position
// without a control; other positions keep what they hold. Only the positions that are stored are
// read: every text is a message that crosses to the client.
template <size_t N>
void readChain(automation::Desktop& desktop, const Chain& chain, std::array<std::string, N>& texts,
               const std::vector<int>& positions, size_t from = 0) {
    for (int p : positions) {
        const auto i = static_cast<size_t>(p);
        if (i < from || i >= N) continue;
        HWnd w = At(chain, i);
        if (w == 0) break;
        texts[i] = ControlText(desktop, w);
    }
}

// The chain length that reaches the last of the positions (ascending), at most `length`.
size_t reaching(const std::vector<int>& positions, size_t length) {
    return positions.empty() ? 0 : std::min(length, static_cast<size_t>(positions.back()) + 1);
}

HeaderLayout layoutOf(int kindIndex) {
    return kindIndex == 0 ? HeaderLayout::Import : HeaderLayout::Export;
}

size_t keyPosition(int kindIndex) {
    return kindIndex == 0 ? 79 : 78;
}

}  // namespace

DownloadDriver::DownloadDriver(automation::Desktop& desktop, Clock& clock, Log& log, Prompts& prompts,
                               DeclarationCapture& capture, DownloadSettings settings)
    : desktop_(desktop),
      clock_(clock),
      log_(log),
      prompts_(prompts),
      capture_(capture),
      settings_(std::move(settings)) {}

std::string DownloadDriver::cell(HWnd list, int row, int column) {
    if (lists_) return lists_->read(list, row, column).text;
    return automation::ReadListCell(desktop_, list, row, column).text;
}

std::vector<std::string> DownloadDriver::cells(HWnd list, int row, const std::vector<int>& columns) {
    std::vector<std::string> texts;
    if (lists_) {
        for (automation::ListAnswer& a : lists_->readRow(list, row, columns))
            texts.push_back(std::move(a.text));
    } else {
        for (int column : columns)
            texts.push_back(cell(list, row, column));
    }
    return texts;
}

std::string DownloadDriver::selectRow(HWnd list, int row, int column) {
    if (lists_) return lists_->select(list, row, column).text;
    return automation::SelectListRow(desktop_, list, row, column).text;
}

// An empty cell means the end of a list, but the same empty text comes back from a client that has
// gone away; telling them apart keeps a lost client from being reported as a finished download.
bool DownloadDriver::clientGone(HWnd list) {
    return desktop_.windowProcessId(list) == 0;
}

void DownloadDriver::report() {
    if (onProgress_) onProgress_(progress_);
}

void DownloadDriver::MainLoadData() {
    outcome_ = Outcome::NotStarted;
    progress_ = {};
    QueryScreen screen;
    if (!locateQueryScreen(screen)) return;
    // One process handle and one block in the client for every list request of this download;
    // given back when the download ends, also by an error that ends it.
    automation::ListViewAccess lists(desktop_, 256, kListOnlyColumns.size());
    struct Using {
        automation::ListViewAccess*& slot;
        ~Using() { slot = nullptr; }
    } using_{lists_};
    lists_ = &lists;
    walkQueryList(screen);
}

bool DownloadDriver::locateQueryScreen(QueryScreen& s) {
    client_ = {};
    s.client = automation::FindClient(desktop_, log_, kDownloadProcessName, client_);
    if (s.client == 0) return false;
    HWnd outer = FirstChild(desktop_, s.client, settings_.containerClass);
    if (outer == 0) {
        log_.append(kNoMainScreen);
        return false;
    }
    Chain panels = BuildChain(desktop_, outer, settings_.containerClass, 11);
    if (At(panels, 0) == 0) {
        log_.append(kNoPanelChain);
        return false;
    }
    Chain filters = BuildChain(desktop_, At(panels, 1), settings_.containerClass, 11);
    if (At(filters, 0) == 0) {
        log_.append(kNoPanelChain);
        return false;
    }
    Chain kinds = BuildChain(desktop_, At(filters, 1), settings_.comboClass, 11);
    if (At(kinds, 0) == 0) {
        log_.append(kNoComboBox);
        return false;
    }
    s.kindText = ControlText(desktop_, At(kinds, 3));
    s.list = FirstChild(desktop_, At(panels, 0), settings_.listClass);
    if (s.list == 0) {
        log_.append(kNoListView);
        return false;
    }
    s.buttons = BuildChain(desktop_, At(panels, 0), settings_.buttonClass, 4);
    HWnd dateField = FirstChild(desktop_, At(filters, 0), settings_.editClass);
    s.queryDate = rewriteClientDate(ControlText(desktop_, dateField));
    if (!IsDate(s.queryDate)) {
        warningBox(prompts_, s.queryDate + kBadQueryDate);
        return false;
    }
    return true;
}

void DownloadDriver::walkQueryList(const QueryScreen& s) {
    const std::optional<int> kindIndex = kindIndexOf(s.kindText);
    automation::PostClick(desktop_, s.list);
    std::string mark = selectRow(s.list, 0, 11);
    clock_.sleepMs(settings_.mainDelayMs);
    if (mark.empty()) {
        if (clientGone(s.list)) {
            log_.append(automation::kClientNotFound);
            outcome_ = Outcome::ClientLost;
        } else {
            outcome_ = Outcome::EmptyList;
        }
        return;
    }
    for (int r = 0;; ++r) {
        if (stop_ && stop_->requested()) {
            log_.append("下载已停止：已保存报关单 " + std::to_string(progress_.declarations) + " 份、商品 " +
                        std::to_string(progress_.goodsLines) + " 条");
            outcome_ = Outcome::Stopped;
            return;
        }
        automation::PostClick(desktop_, s.list);
        mark = selectRow(s.list, r, 11);
        if (mark.empty()) {
            if (clientGone(s.list)) {
                log_.append(automation::kClientNotFound);
                outcome_ = Outcome::ClientLost;
                return;
            }
            plainMessage(prompts_, kDownloadDone);
            outcome_ = Outcome::Completed;
            return;
        }
        progress_.row = r + 1;
        report();
        const std::string tradeMode = cell(s.list, r, 5);
        clock_.sleepMs(settings_.mainDelayMs);
        const bool general = tradeMode == kGeneralTrade;
        const std::vector<std::string> rowCells =
            cells(s.list, r, general ? kGeneralRowColumns : kListOnlyColumns);
        const std::int32_t goodsCount = toInt(rowCells[0]);
        if (!general) {
            captureListOnly(s, rowCells, goodsCount);
            clock_.sleepMs(kListOnlyPauseMs);
        } else {
            const ListRow row{r, rowCells[1]};  // what the opened form must show
            automation::SendClick(desktop_, At(s.buttons, 2));
            clock_.sleepMs(settings_.mainDelayMs);
            if (kindIndex) FindAndGetData_Inport(*kindIndex, s.queryDate, goodsCount, row);
            clock_.sleepMs(settings_.mainDelayMs);
        }
    }
}

// cells: the texts of kListOnlyColumns.
void DownloadDriver::captureListOnly(const QueryScreen& s, const std::vector<std::string>& cells,
                                     std::int32_t goodsCount) {
    const std::optional<int> kindIndex = kindIndexOf(s.kindText);
    if (!kindIndex) return;
    const int shift = *kindIndex == 0 ? 0 : 1;
    HeaderTexts header;
    for (const auto& c : kListCells) {
        const auto at = std::find(kListOnlyColumns.begin(), kListOnlyColumns.end(), c.column);
        header[static_cast<size_t>(c.importPosition - shift)] =
            cells[static_cast<size_t>(at - kListOnlyColumns.begin())];
    }
    OperatorTexts operatorTexts;
    for (size_t i = 0; i <= 10; ++i)
        operatorTexts[i].assign(1, ' ');
    if (*kindIndex == 0)
        capture_.insertDataLoad(header, s.queryDate, "", s.kindText, operatorTexts, goodsCount);
    else
        capture_.insertDataLoad_OUT(header, s.queryDate, "", s.kindText, operatorTexts, goodsCount);
    ++progress_.declarations;
    report();
}

// The unified number shown by the declaration form the client has open; the empty text when no
// form shows (the query screen's first panel holds no edits). Where it was found goes to form.
std::string DownloadDriver::shownKey(HWnd client, int kindIndex, FormSeen& form) {
    form = {};
    form.outer = FirstChild(desktop_, client, settings_.containerClass);
    if (form.outer == 0) return {};
    form.headerPanel = FirstChild(desktop_, form.outer, settings_.containerClass);
    if (form.headerPanel == 0) return {};
    form.header = BuildChain(desktop_, form.headerPanel, settings_.editClass, kHeaderEdits);
    return ControlText(desktop_, At(form.header, keyPosition(kindIndex)));
}

// Whether the open form shows the row's declaration. The client acts on the open button and the
// closing command in its own time, and a form read before it has caught up belongs to another row
// (or to none). A right form costs no wait; otherwise the form is looked at again for a bounded
// time, and if it never shows the row's declaration the row is logged and passed over. A form seen
// before is asked first through the key field found then; only when that no longer shows the row's
// declaration (the field has gone or shows another) is the form searched again.
bool DownloadDriver::formShows(HWnd client, int kindIndex, const ListRow& row, bool beforeGoods,
                               FormSeen& form) {
    if (At(form.header, keyPosition(kindIndex)) != 0 &&
        ControlText(desktop_, At(form.header, keyPosition(kindIndex))) == row.key)
        return true;
    std::string shown = shownKey(client, kindIndex, form);
    if (shown == row.key) return true;
    const std::int64_t until = clock_.nowMs() + kFormWaitMs;
    while (clock_.nowMs() < until) {
        clock_.sleepMs(kFormPollMs);
        shown = shownKey(client, kindIndex, form);
        if (shown == row.key) return true;
    }
    const std::string showing = shown.empty() ? "没有显示报关单" : "显示的是报关单“" + shown + "”";
    log_.append("第" + std::to_string(row.index + 1) + "行（统一编号“" + row.key + "”）" +
                (beforeGoods ? "读商品前" : "：") + "录入程序" + showing + "，等待" +
                std::to_string(kFormWaitMs / 1000) + "秒后仍不是该行的报关单，" +
                (beforeGoods ? "此单商品未保存" : "此单未保存"));
    return false;
}

void DownloadDriver::FindAndGetData_Inport(int kindIndex, const std::string& queryDate,
                                           std::int32_t goodsCount, const ListRow& row) {
    HWnd client = automation::FindClient(desktop_, log_, kDownloadProcessName, client_);
    if (client == 0) return;
    FormSeen seen;
    if (!formShows(client, kindIndex, row, false, seen)) return;
    // The form that showed the row's declaration a moment ago: its outer panel and header chain are
    // those just found.
    const HWnd outer = seen.outer;
    if (outer == 0) {
        log_.append(kNoMainScreen);
        return;
    }
    Chain form = BuildChain(desktop_, outer, settings_.containerClass, kFormPanels);
    if (At(form, 0) == 0) {
        log_.append(kNoPanelChain);
        return;
    }
    const std::vector<int>& operatorPositions = operatorPositionsUsed();
    OperatorTexts operatorTexts;
    readChain(
        desktop_,
        BuildChain(desktop_, At(form, 2), settings_.editClass, reaching(operatorPositions, kHeaderEdits)),
        operatorTexts, operatorPositions);
    HWnd goodsList = FirstChild(desktop_, At(form, 5), settings_.listClass);
    if (goodsList == 0) {
        log_.append(kNoListView);
        return;
    }
    const Chain headerChain = At(form, 0) == seen.headerPanel
                                  ? seen.header
                                  : BuildChain(desktop_, At(form, 0), settings_.editClass, kHeaderEdits);
    HeaderTexts header;
    readChain(desktop_, headerChain, header, headerPositionsUsed(layoutOf(kindIndex)));
    const std::vector<int>& goodsPositions = goodsPositionsUsed(kindIndex);
    Chain goodsChain =
        BuildChain(desktop_, At(form, 5), settings_.editClass, reaching(goodsPositions, kGoodsEdits));

    automation::PostClick(desktop_, goodsList);
    clock_.sleepMs(settings_.goodsDelayMs);
    const std::string firstMark = selectRow(goodsList, 0, 1);
    clock_.sleepMs(settings_.goodsDelayMs);
    const std::string goodsName = ControlText(desktop_, At(goodsChain, 1));

    const std::string kindText(kindTextOf(kindIndex));
    if (kindIndex == 0)
        capture_.insertDataLoad(header, queryDate, goodsName, kindText, operatorTexts, goodsCount);
    else
        capture_.insertDataLoad_OUT(header, queryDate, goodsName, kindText, operatorTexts, goodsCount);
    ++progress_.declarations;
    report();

    if (!formShows(client, kindIndex, row, true, seen)) return;
    walkGoods(goodsList, goodsChain, firstMark, header, kindIndex);
    automation::MenuCommand(desktop_, client, 7, 2);
}

void DownloadDriver::walkGoods(HWnd goodsList, const Chain& goodsChain, const std::string& firstMark,
                               const HeaderTexts& header, int kindIndex) {
    const std::vector<int>& positions = goodsPositionsUsed(kindIndex);
    GoodsTexts goods;
    readChain(desktop_, goodsChain, goods, positions);
    if (firstMark.empty()) return;
    int retries = 0;
    for (int k = 0;;) {
        automation::PostClick(desktop_, goodsList);
        clock_.sleepMs(settings_.goodsDelayMs);
        const std::string sequence = selectRow(goodsList, k, 0);
        clock_.sleepMs(settings_.goodsDelayMs);
        if (sequence.empty()) return;
        const std::string expected = std::to_string(k + 1);
        if (sequence != expected) {
            // The client has not moved its selection yet; try the same row again, but not forever.
            if (retries == kGoodsRowRetries) {
                log_.append(subDataPid(header, kindIndex) + " 第" + expected + "条商品的序号读到“" +
                            sequence + "”，重试" + std::to_string(kGoodsRowRetries) + "次后结束本单商品读取");
                return;
            }
            ++retries;
            continue;
        }
        retries = 0;
        readChain(desktop_, goodsChain, goods, positions,
                  1);  // position 0 keeps the text read before the walk
        ++k;
        capture_.insertSubdata(goods, header, kindIndex);
        ++progress_.goodsLines;
        report();
    }
}

}  // namespace ca::download
