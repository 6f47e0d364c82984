#include "ca/automation/ListView.h"

#include "ca/automation/ListViewAccess.h"

namespace ca::automation {

// One call each: the process is opened and the block made for the call and given back at its end.

ListAnswer ReadListCell(Desktop& desktop, HWnd list, int row, int column, std::size_t size) {
    return ListViewAccess(desktop, size).read(list, row, column);
}

ListAnswer SelectListRow(Desktop& desktop, HWnd list, int row, int column, std::size_t size) {
    return ListViewAccess(desktop, size).select(list, row, column);
}

}  // namespace ca::automation
