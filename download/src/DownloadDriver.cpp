#include "ca/download/DownloadDriver.h"

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

// Reads the texts of a chain into texts, from position `from` up to the first position without a
// control; later positions keep what they hold.
template <size_t N>
void readChain(automation::Desktop& desktop, const Chain& chain, std::array<std::string, N>& texts,
               size_t from = 0) {
    for (size_t i = from; i < N; ++i) {
        HWnd w = At(chain, i);
        if (w == 0) break;
        texts[i] = ControlText(desktop, w);
    }
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
    return automation::ReadListCell(desktop_, list, row, column).text;
}

std::string DownloadDriver::selectRow(HWnd list, int row, int column) {
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
    walkQueryList(screen);
}

bool DownloadDriver::locateQueryScreen(QueryScreen& s) {
    s.client = automation::FindClient(desktop_, log_, kDownloadProcessName);
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
        const std::int32_t goodsCount = toInt(cell(s.list, r, 6));
        if (tradeMode != kGeneralTrade) {
            captureListOnly(s, r, goodsCount);
            clock_.sleepMs(kListOnlyPauseMs);
        } else {
            const ListRow row{r, cell(s.list, r, 1)};  // what the opened form must show
            automation::SendClick(desktop_, At(s.buttons, 2));
            clock_.sleepMs(settings_.mainDelayMs);
            if (kindIndex) FindAndGetData_Inport(*kindIndex, s.queryDate, goodsCount, row);
            clock_.sleepMs(settings_.mainDelayMs);
        }
    }
}

void DownloadDriver::captureListOnly(const QueryScreen& s, int row, std::int32_t goodsCount) {
    const std::optional<int> kindIndex = kindIndexOf(s.kindText);
    if (!kindIndex) return;
    const int shift = *kindIndex == 0 ? 0 : 1;
    HeaderTexts header;
    for (const auto& c : kListCells)
        header[static_cast<size_t>(c.importPosition - shift)] = cell(s.list, row, c.column);
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
// form shows (the query screen's first panel holds no edits).
std::string DownloadDriver::shownKey(HWnd client, int kindIndex) {
    HWnd outer = FirstChild(desktop_, client, settings_.containerClass);
    if (outer == 0) return {};
    HWnd headerPanel = FirstChild(desktop_, outer, settings_.containerClass);
    if (headerPanel == 0) return {};
    const Chain header = BuildChain(desktop_, headerPanel, settings_.editClass, 82);
    return ControlText(desktop_, At(header, kindIndex == 0 ? 79 : 78));
}

// Whether the open form shows the row's declaration. The client acts on the open button and the
// closing command in its own time, and a form read before it has caught up belongs to another row
// (or to none). A right form costs no wait; otherwise the form is looked at again for a bounded
// time, and if it never shows the row's declaration the row is logged and passed over.
bool DownloadDriver::formShows(HWnd client, int kindIndex, const ListRow& row, bool beforeGoods) {
    std::string shown = shownKey(client, kindIndex);
    if (shown == row.key) return true;
    const std::int64_t until = clock_.nowMs() + kFormWaitMs;
    while (clock_.nowMs() < until) {
        clock_.sleepMs(kFormPollMs);
        shown = shownKey(client, kindIndex);
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
    HWnd client = automation::FindClient(desktop_, log_, kDownloadProcessName);
    if (client == 0) return;
    if (!formShows(client, kindIndex, row, false)) return;
    HWnd outer = FirstChild(desktop_, client, settings_.containerClass);
    if (outer == 0) {
        log_.append(kNoMainScreen);
        return;
    }
    Chain form = BuildChain(desktop_, outer, settings_.containerClass, 101);
    if (At(form, 0) == 0) {
        log_.append(kNoPanelChain);
        return;
    }
    OperatorTexts operatorTexts;
    readChain(desktop_, BuildChain(desktop_, At(form, 2), settings_.editClass, 82), operatorTexts);
    HWnd goodsList = FirstChild(desktop_, At(form, 5), settings_.listClass);
    if (goodsList == 0) {
        log_.append(kNoListView);
        return;
    }
    HeaderTexts header;
    readChain(desktop_, BuildChain(desktop_, At(form, 0), settings_.editClass, 82), header);
    Chain goodsChain = BuildChain(desktop_, At(form, 5), settings_.editClass, 101);

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

    if (!formShows(client, kindIndex, row, true)) return;
    walkGoods(goodsList, goodsChain, firstMark, header, kindIndex);
    automation::MenuCommand(desktop_, client, 7, 2);
}

void DownloadDriver::walkGoods(HWnd goodsList, const Chain& goodsChain, const std::string& firstMark,
                               const HeaderTexts& header, int kindIndex) {
    GoodsTexts goods;
    readChain(desktop_, goodsChain, goods);
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
        readChain(desktop_, goodsChain, goods, 1);  // position 0 keeps the text read before the walk
        ++k;
        capture_.insertSubdata(goods, header, kindIndex);
        ++progress_.goodsLines;
        report();
    }
}

}  // namespace ca::download
