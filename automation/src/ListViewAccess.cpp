#include "ca/automation/ListViewAccess.h"

#include <algorithm>
#include <string_view>

#include "GbkText.h"
#include "ca/automation/LvItem.h"
#include "ca/util/Gbk.h"

namespace ca::automation {

ListViewAccess::ListViewAccess(Desktop& desktop, std::size_t textSize, std::size_t slots)
    : desktop_(desktop), textSize_(textSize), initialSlots_(slots) {}

ListViewAccess::~ListViewAccess() {
    release();
}

void ListViewAccess::release() {
    if (address_ != 0) {
        desktop_.decommitRemote(process_, address_, slots_ * slotSize());
        desktop_.releaseRemote(process_, address_);
    }
    if (process_ != 0) desktop_.closeProcess(process_);
    address_ = 0;
    slots_ = 0;
    process_ = 0;
    pid_ = 0;
    list_ = 0;
}

bool ListViewAccess::prepare(HWnd list, std::size_t requests) {
    if (list == 0) return false;
    if (list != list_ || process_ == 0) {
        const Pid pid = desktop_.windowProcessId(list);
        if (pid == 0) return false;
        if (pid != pid_ || process_ == 0) {
            release();
            process_ = desktop_.openProcess(pid, ListViewProcessAccess);
            if (process_ == 0) return false;
            pid_ = pid;
            bitness_ = desktop_.processBitness(process_);
            recordSize_ = lvItemSize(bitness_);
        }
        list_ = list;
    }
    if (slots_ < requests) {
        if (address_ != 0) {
            desktop_.decommitRemote(process_, address_, slots_ * slotSize());
            desktop_.releaseRemote(process_, address_);
        }
        slots_ = 0;
        const std::size_t slots = std::max(requests, initialSlots_);
        address_ = desktop_.allocateRemote(process_, slots * slotSize());
        if (address_ != 0) slots_ = slots;
    }
    return address_ != 0;
}

void ListViewAccess::appendSlot(std::vector<unsigned char>& bytes, std::size_t slot, int column,
                                std::uint32_t state) const {
    LvItemFields fields;
    fields.subItem = column;
    fields.state = state;
    fields.stateMask = state;
    fields.text = slotAddress(slot) + recordSize_;
    fields.textMax = static_cast<std::int32_t>(textSize_);
    const std::vector<unsigned char> record = encodeLvItem(bitness_, fields);
    bytes.resize(slot * slotSize());
    bytes.insert(bytes.end(), record.begin(), record.end());
    if (textSize_ > 0) bytes.push_back(0);  // the text starts empty
}

bool ListViewAccess::writeSlot(std::size_t slot, int column, std::uint32_t state) {
    std::vector<unsigned char> bytes;
    appendSlot(bytes, slot, column, state);
    const std::size_t offset = slot * slotSize();
    return desktop_.writeRemote(process_, slotAddress(slot), bytes.data() + offset, bytes.size() - offset);
}

// The text buffer of a slot up to its first zero byte, as UTF-8. At most size - 1 bytes of text: a
// list view that fills the whole buffer without a terminating zero (Wine's does when it cuts a long
// text) gives no more than Windows.
std::string ListViewAccess::textOf(const std::vector<char>& bytes, std::size_t slot) const {
    if (textSize_ == 0) return {};
    const char* text = bytes.data() + slot * slotSize() + recordSize_;
    const char* end = std::find(text, text + (textSize_ - 1), '\0');
    return gbkToUtf8(withoutCutCharacter(std::string_view(text, static_cast<std::size_t>(end - text))));
}

ListAnswer ListViewAccess::read(HWnd list, int row, int column) {
    std::vector<ListAnswer> answers = readRow(list, row, {column});
    return answers.front();
}

std::vector<ListAnswer> ListViewAccess::readRow(HWnd list, int row, const std::vector<int>& columns) {
    std::vector<ListAnswer> answers(columns.size());
    if (columns.empty()) return answers;
    // Without a block (or without the records in it) the list view is sent nothing: a request
    // pointing at memory that does not exist could bring the client down.
    if (!prepare(list, columns.size())) return answers;
    std::vector<unsigned char> records;
    for (std::size_t k = 0; k < columns.size(); ++k)
        appendSlot(records, k, columns[k], 0);
    if (!desktop_.writeRemote(process_, address_, records.data(), records.size())) return answers;
    for (std::size_t k = 0; k < columns.size(); ++k)
        answers[k].answer = desktop_.sendMessage(list, LvmGetItemTextA, static_cast<WParam>(row),
                                                 static_cast<LParam>(slotAddress(k)));
    std::vector<char> bytes(columns.size() * slotSize(), '\0');
    if (textSize_ > 0 && desktop_.readRemote(process_, address_, bytes.data(), bytes.size())) {
        for (std::size_t k = 0; k < columns.size(); ++k)
            answers[k].text = textOf(bytes, k);
    }
    return answers;
}

ListAnswer ListViewAccess::select(HWnd list, int row, int column) {
    ListAnswer result;
    if (!prepare(list, 1) || !writeSlot(0, column, LvisFocused)) return result;
    const auto wParam = static_cast<WParam>(row);
    const auto lParam = static_cast<LParam>(address_);
    desktop_.sendMessage(list, LvmGetItemTextA, wParam, lParam);
    desktop_.sendMessage(list, LvmSetItemState, wParam, lParam);
    // The record again with the selected state; the text the first request left stays.
    LvItemFields fields;
    fields.subItem = column;
    fields.state = LvisSelected;
    fields.stateMask = LvisSelected;
    fields.text = address_ + recordSize_;
    fields.textMax = static_cast<std::int32_t>(textSize_);
    const std::vector<unsigned char> record = encodeLvItem(bitness_, fields);
    if (desktop_.writeRemote(process_, address_, record.data(), record.size()))
        result.answer = desktop_.sendMessage(list, LvmSetItemState, wParam, lParam);
    std::vector<char> bytes(slotSize(), '\0');
    if (textSize_ > 0 && desktop_.readRemote(process_, address_, bytes.data(), bytes.size()))
        result.text = textOf(bytes, 0);
    return result;
}

}  // namespace ca::automation
