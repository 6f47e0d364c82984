#include "ca/util/Printer.h"

#include <stdexcept>

namespace ca {

RecordingPrinter::Document& RecordingPrinter::open() {
    if (documents_.empty() || documents_.back().ended || documents_.back().aborted)
        throw std::logic_error("no document has been started on the printer");
    return documents_.back();
}

void RecordingPrinter::beginDoc() {
    if (!failure_.empty()) {
        std::string reason = std::move(failure_);
        failure_.clear();
        throw std::runtime_error(reason);
    }
    if (!documents_.empty() && !documents_.back().ended && !documents_.back().aborted)
        throw std::logic_error("a document is already being printed");
    documents_.push_back({title_, {}, false, false});
}

void RecordingPrinter::textOut(int x, int y, const std::string& text) {
    open().texts.push_back({x, y, text, fontSize_});
}

void RecordingPrinter::endDoc() {
    open().ended = true;
}

void RecordingPrinter::abortDoc() {
    open().aborted = true;
}

std::vector<RecordingPrinter::Document> RecordingPrinter::printed() const {
    std::vector<Document> out;
    for (const auto& d : documents_)
        if (d.ended) out.push_back(d);
    return out;
}

}  // namespace ca
