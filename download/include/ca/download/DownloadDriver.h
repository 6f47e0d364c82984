#pragma once
// The declaration download: walks the rows that the customs client's query screen lists, opens each
// general-trade declaration in the client and reads its form, and hands everything it reads to a
// capture. It works on the query screen as the clerk left it (query date and kind are read from the
// screen) and paces the client with the configured delays alone.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ca/automation/Controls.h"
#include "ca/automation/Desktop.h"
#include "ca/automation/ListViewAccess.h"
#include "ca/automation/Lookup.h"
#include "ca/download/DeclarationCapture.h"
#include "ca/download/DownloadProgress.h"
#include "ca/download/DownloadSettings.h"
#include "ca/download/StopFlag.h"
#include "ca/util/Clock.h"
#include "ca/util/Log.h"
#include "ca/util/Prompts.h"

namespace ca::download {

// The download looks for the client under this name whatever the entry's process-name setting says.
inline constexpr const char* kDownloadProcessName = "Eport.exe";
inline constexpr const char* kDownloadDone = "恭喜，导入完成！";
// Attempts beyond the first at reading the expected sequence number of one goods row.
inline constexpr int kGoodsRowRetries = 20;
// A declaration form that does not show the selected row's declaration after the open button's
// wait is looked at again every kFormPollMs, for at most kFormWaitMs, before the row is passed over.
inline constexpr std::int64_t kFormPollMs = 100;
inline constexpr std::int64_t kFormWaitMs = 10'000;

// The query-list row whose declaration is being read: its index (from 0) and unified number.
struct ListRow {
    int index = 0;
    std::string key;
};

class DownloadDriver {
public:
    // How the last MainLoadData ended.
    enum class Outcome {
        NotStarted,  // a lookup failed or the query date was refused: nothing was read
        EmptyList,   // the query list had no row
        Completed,   // every row was handled and the closing message shown
        Stopped,     // the Stop request ended the walk between two rows
        ClientLost,  // the client went away during the walk
    };

    DownloadDriver(automation::Desktop& desktop, Clock& clock, Log& log, Prompts& prompts,
                   DeclarationCapture& capture, DownloadSettings settings);

    // Called whenever the row or the stored counts change.
    void setProgressHandler(std::function<void(const DownloadProgress&)> handler) {
        onProgress_ = std::move(handler);
    }
    // Looked at between two rows; may be null.
    void setStopFlag(const StopFlag* stop) { stop_ = stop; }

    // The whole download. Errors of the capture (database) and a goods count that is not an integer
    // propagate and end it; what was stored before stays stored.
    void MainLoadData();
    // Reads the declaration the client has open, has it stored and closes the form again.
    // kindIndex 0, 1 or 2; queryDate yyyy-mm-dd; goodsCount the integer of list column 6; row the
    // selected query row. Nothing is read while the form shows another declaration than the row's
    // (a client slower than the configured waits): the form is looked at again for a bounded time,
    // then the row is logged and passed over. The goods walk is guarded the same way.
    void FindAndGetData_Inport(int kindIndex, const std::string& queryDate, std::int32_t goodsCount,
                               const ListRow& row);

    Outcome outcome() const { return outcome_; }
    const DownloadProgress& progress() const { return progress_; }

private:
    struct QueryScreen {
        automation::HWnd client = 0;
        automation::HWnd list = 0;
        automation::Chain buttons;
        std::string kindText;
        std::string queryDate;
    };
    // Where the open declaration form was found when its unified number was looked at: the outer
    // panel, the header panel (form-panel position 0) and its edit chain, used again for reading.
    struct FormSeen {
        automation::HWnd outer = 0;
        automation::HWnd headerPanel = 0;
        automation::Chain header;
    };

    bool locateQueryScreen(QueryScreen& screen);
    void walkQueryList(const QueryScreen& screen);
    void captureListOnly(const QueryScreen& screen, const std::vector<std::string>& cells,
                         std::int32_t goodsCount);
    void walkGoods(automation::HWnd goodsList, const automation::Chain& goodsChain,
                   const std::string& firstMark, const HeaderTexts& header, int kindIndex);
    std::string shownKey(automation::HWnd client, int kindIndex, FormSeen& form);
    bool formShows(automation::HWnd client, int kindIndex, const ListRow& row, bool beforeGoods,
                   FormSeen& form);
    std::string cell(automation::HWnd list, int row, int column);
    std::vector<std::string> cells(automation::HWnd list, int row, const std::vector<int>& columns);
    std::string selectRow(automation::HWnd list, int row, int column);
    bool clientGone(automation::HWnd list);
    void report();

    automation::Desktop& desktop_;
    Clock& clock_;
    Log& log_;
    Prompts& prompts_;
    DeclarationCapture& capture_;
    DownloadSettings settings_;
    const StopFlag* stop_ = nullptr;
    std::function<void(const DownloadProgress&)> onProgress_;
    DownloadProgress progress_;
    Outcome outcome_ = Outcome::NotStarted;
    // The list-view access of the running MainLoadData (one process handle and one block for the
    // whole download); without it each list request opens the process and makes a block for itself.
    automation::ListViewAccess* lists_ = nullptr;
    // The client as last found: kept from the start of the download and looked up again only when
    // its window has gone or belongs to another process.
    automation::KnownClient client_;
};

}  // namespace ca::download
