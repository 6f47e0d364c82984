#include "ca/automation/ListView.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "GbkText.h"
#include "ca/automation/LvItem.h"
#include "ca/util/Gbk.h"

namespace ca::automation {

namespace {

// One request block in the list view's process: the item record, then the text buffer. It
// lives for one call; the destructor decommits and releases it and closes the process.
class RemoteBlock {
public:
    RemoteBlock(Desktop& desktop, HWnd list, std::size_t textSize) : desktop_(desktop), textSize_(textSize) {
        const Pid pid = desktop.windowProcessId(list);
        if (pid == 0) return;
        process_ = desktop.openProcess(pid, ListViewProcessAccess);
        if (process_ == 0) return;
        bitness_ = desktop.processBitness(process_);
        recordSize_ = lvItemSize(bitness_);
        address_ = desktop.allocateRemote(process_, textSize_ + recordSize_);
    }
    ~RemoteBlock() {
        if (address_ != 0) {
            desktop_.decommitRemote(process_, address_, textSize_ + recordSize_);
            desktop_.releaseRemote(process_, address_);
        }
        if (process_ != 0) desktop_.closeProcess(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool usable() const { return address_ != 0; }
    RemoteAddress address() const { return address_; }

    bool writeRecord(int column, std::uint32_t state) {
        LvItemFields fields;
        fields.subItem = column;
        fields.state = state;
        fields.stateMask = state;
        fields.text = address_ + recordSize_;
        fields.textMax = static_cast<std::int32_t>(textSize_);
        const std::vector<unsigned char> bytes = encodeLvItem(bitness_, fields);
        return desktop_.writeRemote(process_, address_, bytes.data(), bytes.size());
    }

    // The text buffer up to its first zero byte, as UTF-8.
    std::string readText() {
        std::vector<char> buffer(textSize_ + 1, '\0');
        if (textSize_ == 0 ||
            !desktop_.readRemote(process_, address_ + recordSize_, buffer.data(), textSize_)) {
            return {};
        }
        // At most size - 1 bytes of text: a list view that fills the whole buffer without a
        // terminating zero (Wine's does when it cuts a long text) gives no more than Windows.
        buffer[textSize_ - 1] = '\0';
        return gbkToUtf8(withoutCutCharacter(std::string_view(buffer.data(), std::strlen(buffer.data()))));
    }

private:
    Desktop& desktop_;
    std::size_t textSize_;
    ProcessHandle process_ = 0;
    Bitness bitness_ = Bitness::Bits32;
    std::size_t recordSize_ = sizeof(LvItem32);
    RemoteAddress address_ = 0;
};

}  // namespace

ListAnswer ReadListCell(Desktop& desktop, HWnd list, int row, int column, std::size_t size) {
    ListAnswer result;
    RemoteBlock block(desktop, list, size);
    // Without a block (or without the record in it) the list view is sent nothing: a request
    // pointing at memory that does not exist could bring the client down.
    if (!block.usable() || !block.writeRecord(column, 0)) return result;
    result.answer = desktop.sendMessage(list, LvmGetItemTextA, static_cast<WParam>(row),
                                        static_cast<LParam>(block.address()));
    result.text = block.readText();
    return result;
}

ListAnswer SelectListRow(Desktop& desktop, HWnd list, int row, int column, std::size_t size) {
    ListAnswer result;
    RemoteBlock block(desktop, list, size);
    if (!block.usable() || !block.writeRecord(column, LvisFocused)) return result;
    const auto wParam = static_cast<WParam>(row);
    const auto lParam = static_cast<LParam>(block.address());
    desktop.sendMessage(list, LvmGetItemTextA, wParam, lParam);
    desktop.sendMessage(list, LvmSetItemState, wParam, lParam);
    if (block.writeRecord(column, LvisSelected)) {
        result.answer = desktop.sendMessage(list, LvmSetItemState, wParam, lParam);
    }
    result.text = block.readText();
    return result;
}

}  // namespace ca::automation
