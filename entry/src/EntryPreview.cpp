#include "ca/entry/EntryPreview.h"

#include <cstdint>

#include "ca/util/TabText.h"

namespace ca::entry {

std::vector<std::string> previewLines(DeclarationKind kind, CellSource& sheet,
                                      const SettingReader& readSetting) {
    std::vector<std::string> lines;
    int order = 0;
    std::int64_t total = 0;
    for (const Write& w : buildWrites(kind, sheet)) {
        const int pause = pauseMs(w.method);
        total += pause;
        lines.push_back(std::to_string(++order) + '\t' + std::string(chainName(w.chain)) + '\t' +
                        std::to_string(w.position) + '\t' + methodText(w.method) + '\t' +
                        std::to_string(pause) + '\t' + escapeTabText(textOf(w, readSetting)));
    }
    lines.push_back(std::string(kPauseTotalLabel) + '\t' + std::to_string(total));
    return lines;
}

}  // namespace ca::entry
