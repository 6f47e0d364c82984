#pragma once
// Reading and selecting rows of list views in another process, for a whole procedure: the client's
// process is opened once and one block of its memory holds the request records and the texts of
// every request, where ReadListCell and SelectListRow open the process and make a block for each
// call. Each cross-process call goes through the window system (under Wine through its server),
// so a download that reads thousands of cells saves most of its calls this way.
//
// The block is filled afresh for every request (record and an empty text), so a request the list
// view does not answer reads as the empty text, as with a new block. A list of another process
// (the client started again) gets the process opened and a block made anew.
#include <cstddef>
#include <string>
#include <vector>

#include "ca/automation/Desktop.h"
#include "ca/automation/ListView.h"

namespace ca::automation {

class ListViewAccess {
public:
    // textSize: the text buffer of one request in bytes (256: at most 255 bytes of text); slots:
    // the requests the block has room for when it is made (more are made room for when needed).
    explicit ListViewAccess(Desktop& desktop, std::size_t textSize = 256, std::size_t slots = 1);
    ~ListViewAccess();
    ListViewAccess(const ListViewAccess&) = delete;
    ListViewAccess& operator=(const ListViewAccess&) = delete;

    // As ReadListCell.
    ListAnswer read(HWnd list, int row, int column);
    // As SelectListRow.
    ListAnswer select(HWnd list, int row, int column);
    // Several cells of one row, in the order of columns, with one write and one read of the
    // client's memory for all of them.
    std::vector<ListAnswer> readRow(HWnd list, int row, const std::vector<int>& columns);

private:
    // Opens the list's process and makes a block of at least `requests` request slots; false when
    // that is not possible (then nothing may be sent to the list).
    bool prepare(HWnd list, std::size_t requests);
    void release();
    std::size_t slotSize() const { return recordSize_ + textSize_; }
    RemoteAddress slotAddress(std::size_t slot) const { return address_ + slot * slotSize(); }
    // The record of one request and the first byte of its text buffer (zero).
    void appendSlot(std::vector<unsigned char>& bytes, std::size_t slot, int column,
                    std::uint32_t state) const;
    bool writeSlot(std::size_t slot, int column, std::uint32_t state);
    std::string textOf(const std::vector<char>& bytes, std::size_t slot) const;

    Desktop& desktop_;
    std::size_t textSize_;
    HWnd list_ = 0;  // the list whose process is open
    Pid pid_ = 0;
    ProcessHandle process_ = 0;
    Bitness bitness_ = Bitness::Bits32;
    std::size_t recordSize_ = 0;
    RemoteAddress address_ = 0;
    std::size_t slots_ = 0;
    std::size_t initialSlots_;
};

}  // namespace ca::automation
