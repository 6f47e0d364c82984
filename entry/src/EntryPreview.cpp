#include "ca/entry/EntryPreview.h"

#include "ca/util/TabText.h"

namespace ca::entry {

std::vector<std::string> previewLines(DeclarationKind kind, CellSource& sheet,
                                      const SettingReader& readSetting) {
    std::vector<std::string> lines;
    int order = 0;
    for (const Write& w : buildWrites(kind, sheet)) {
        lines.push_back(std::to_string(++order) + '\t' + std::string(chainName(w.chain)) + '\t' +
                        std::to_string(w.position) + '\t' + methodText(w.method) + '\t' +
                        escapeTabText(textOf(w, readSetting)));
    }
    return lines;
}

}  // namespace ca::entry
