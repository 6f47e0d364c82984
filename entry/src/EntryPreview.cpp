#include "ca/entry/EntryPreview.h"

namespace ca::entry {

std::string escapeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::vector<std::string> previewLines(DeclarationKind kind, CellSource& sheet,
                                      const SettingReader& readSetting) {
    std::vector<std::string> lines;
    int order = 0;
    for (const Write& w : buildWrites(kind, sheet)) {
        lines.push_back(std::to_string(++order) + '\t' + std::string(chainName(w.chain)) + '\t' +
                        std::to_string(w.position) + '\t' + methodText(w.method) + '\t' +
                        escapeText(textOf(w, readSetting)));
    }
    return lines;
}

}  // namespace ca::entry
