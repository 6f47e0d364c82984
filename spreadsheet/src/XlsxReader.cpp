#include "ca/spreadsheet/XlsxReader.h"

#include <charconv>
#include <cstring>
#include <map>
#include <pugixml.hpp>

#include "SheetBuilder.h"
#include "TextCodec.h"
#include "ZipArchive.h"
#include "ca/spreadsheet/CellText.h"
#include "ca/spreadsheet/SpreadsheetError.h"

namespace ca::spreadsheet {

namespace {

// Unpacked XML read from one workbook, all parts together: a full .xls-sized sheet (65,536 rows of
// 31 cells) is about a third of it.
constexpr size_t kMaxUnpackedBytes = 256u << 20;

[[noreturn]] void fail(const std::string& reason) {
    throw FormatError(reason);
}

// Element name without its namespace prefix: generators write both <c> and <x:c>.
const char* localName(const pugi::xml_node& n) {
    const char* name = n.name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

bool is(const pugi::xml_node& n, const char* name) {
    return std::strcmp(localName(n), name) == 0;
}

pugi::xml_node child(const pugi::xml_node& parent, const char* name) {
    for (auto c : parent.children())
        if (is(c, name)) return c;
    return {};
}

// Attribute by local name (r:id and id are both found as "id").
pugi::xml_attribute attr(const pugi::xml_node& n, const char* name) {
    for (auto a : n.attributes()) {
        const char* an = a.name();
        const char* colon = std::strrchr(an, ':');
        if (std::strcmp(colon ? colon + 1 : an, name) == 0) return a;
    }
    return {};
}

// Elements of one part, and how many of them are cells (<c …> or <x:c …>), counted on the text before
// it is parsed: a small zip can unpack to millions of tiny elements, and the element tree of each
// costs far more memory than its text.
struct ElementCount {
    std::size_t elements = 0, cells = 0;
};

ElementCount countElements(const std::string& xml) {
    ElementCount n;
    for (std::size_t i = xml.find('<'); i != std::string::npos; i = xml.find('<', i + 1)) {
        std::size_t end = i + 1;
        while (end < xml.size() && xml[end] != ' ' && xml[end] != '>' && xml[end] != '/' &&
               xml[end] != '\t' && xml[end] != '\n' && xml[end] != '\r')
            ++end;
        const std::string_view name(xml.data() + i + 1, end - i - 1);
        if (name.empty() || name[0] == '?' || name[0] == '!') continue;  // an end tag, declaration, comment
        ++n.elements;
        const auto colon = name.rfind(':');
        if ((colon == std::string_view::npos ? name : name.substr(colon + 1)) == "c") ++n.cells;
    }
    return n;
}

// Elements one part may hold: a full sheet of cells with a value element each, and room to spare.
constexpr std::size_t kMaxPartElements = 4 * kMaxWorkbookCells;

pugi::xml_document parse(const std::string& xml, const std::string& part) {
    if (countElements(xml).elements > kMaxPartElements)
        fail(part + " 含有超过 " + std::to_string(kMaxPartElements) + " 个 XML 元素（本程序读取的上限）");
    pugi::xml_document doc;
    const auto result =
        doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
    if (!result)
        fail(".xlsx 文件已损坏：" + part + " 中的 XML 在第 " + std::to_string(result.offset) +
             " 字节处有错误");
    return doc;
}

// Folder of a part name ("xl/workbook.xml" -> "xl/").
std::string folderOf(const std::string& part) {
    const auto slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// Resolves a relationship target against the folder of its source part, "." and ".." included.
std::string resolve(const std::string& folder, const std::string& target) {
    std::string path = !target.empty() && target[0] == '/' ? target.substr(1) : folder + target;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find('/', start), path.size());
        const std::string piece = path.substr(start, end - start);
        if (piece == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!piece.empty() && piece != ".") {
            parts.push_back(piece);
        }
        start = end + 1;
    }
    std::string out;
    for (const auto& p : parts)
        out += (out.empty() ? "" : "/") + p;
    return out;
}

// _xHHHH_ escapes of characters that XML cannot carry. The XML parser does not check UTF-8, so
// the text is made valid here.
std::string unescape(const char* text) {
    std::string s = validUtf8(text);
    if (s.find("_x") == std::string::npos) return s;
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        unsigned v = 0;
        if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_' &&
            std::from_chars(s.data() + i + 2, s.data() + i + 6, v, 16).ptr == s.data() + i + 6) {
            appendUtf16AsUtf8(out, std::u16string(1, static_cast<char16_t>(v)));
            i += 6;
        } else {
            out.push_back(s[i]);
        }
    }
    return out;
}

// Text of a shared string item or inline string: <t> directly or the <t> of each rich-text run;
// phonetic runs (<rPh>) are not part of the value.
std::string itemText(const pugi::xml_node& si) {
    std::string out;
    for (auto c : si.children()) {
        if (is(c, "t")) {
            out += unescape(c.text().get());
        } else if (is(c, "r")) {
            for (auto t : c.children())
                if (is(t, "t")) out += unescape(t.text().get());
        }
    }
    return out;
}

// "B12" -> row 12, column 2; false when malformed or out of range.
bool cellRef(const char* ref, int& row, int& col) {
    int c = 0;
    const char* p = ref;
    while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z')) {
        c = c * 26 + ((*p & ~0x20) - 'A' + 1);
        if (c > 16384) return false;
        ++p;
    }
    int r = 0;
    const char* end = p + std::strlen(p);
    if (std::from_chars(p, end, r).ptr != end || r < 1 || r > 1048576) return false;
    if (c == 0) return false;
    row = r;
    col = c;
    return true;
}

bool parseNumber(const char* text, double& v) {
    const char* end = text + std::strlen(text);
    while (text < end && *text == ' ')
        ++text;
    return text < end && std::from_chars(text, end, v).ptr == end;
}

class Reader {
public:
    explicit Reader(std::string bytes) : bytes_(std::move(bytes)), zip_(bytes_, kMaxUnpackedBytes) {}

    WorkbookData read() {
        const std::string workbookPart = officeDocument();
        const auto wbXml = zip_.read(workbookPart);
        if (!wbXml) fail("压缩包中没有工作簿（不是 .xlsx 文件）");
        const auto wbDoc = parse(*wbXml, workbookPart);
        const auto workbook = wbDoc.first_child();
        if (!is(workbook, "workbook")) fail("压缩包中没有工作簿（不是 .xlsx 文件）");

        const std::string folder = folderOf(workbookPart);
        const auto rels = relationships(workbookPart);
        date1904_ = attr(child(workbook, "workbookPr"), "date1904").as_bool();
        for (const auto& [id, rel] : rels) {
            if (rel.first.ends_with("/sharedStrings")) readSharedStrings(resolve(folder, rel.second));
            if (rel.first.ends_with("/styles")) readStyles(resolve(folder, rel.second));
        }

        WorkbookData book;
        for (auto s : child(workbook, "sheets").children()) {
            if (!is(s, "sheet")) continue;
            book.sheets.emplace_back(validUtf8(s.attribute("name").as_string()));
            const auto rel = rels.find(attr(s, "id").as_string());
            if (rel != rels.end() && rel->second.first.ends_with("/worksheet"))
                readSheet(resolve(folder, rel->second.second), book.sheets.back());
        }
        if (book.sheets.empty()) fail("工作簿中没有工作表");
        const unsigned active =
            child(child(workbook, "bookViews"), "workbookView").attribute("activeTab").as_uint(0);
        book.activeSheet = active < book.sheets.size() ? active : 0;
        return book;
    }

private:
    // The main part named by the package relationships, xl/workbook.xml where they are missing.
    std::string officeDocument() {
        const auto rels = relationships("");
        for (const auto& [id, rel] : rels)
            if (rel.first.ends_with("/officeDocument")) return resolve("", rel.second);
        return "xl/workbook.xml";
    }

    // Id -> (type, target) of the relationships of a part ("" for the package).
    std::map<std::string, std::pair<std::string, std::string>> relationships(const std::string& part) {
        const std::string name =
            part.empty() ? "_rels/.rels"
                         : folderOf(part) + "_rels/" + part.substr(folderOf(part).size()) + ".rels";
        std::map<std::string, std::pair<std::string, std::string>> out;
        const auto xml = zip_.read(name);
        if (!xml) return out;
        const auto doc = parse(*xml, name);
        for (auto r : doc.first_child().children())
            if (is(r, "Relationship"))
                out[r.attribute("Id").as_string()] = {r.attribute("Type").as_string(),
                                                      r.attribute("Target").as_string()};
        return out;
    }

    void readSharedStrings(const std::string& part) {
        const auto xml = zip_.read(part);
        if (!xml) return;
        const auto doc = parse(*xml, part);
        for (auto si : doc.first_child().children())
            if (is(si, "si")) sst_.push_back(itemText(si));
    }

    void readStyles(const std::string& part) {
        const auto xml = zip_.read(part);
        if (!xml) return;
        const auto doc = parse(*xml, part);
        const auto styles = doc.first_child();
        std::map<unsigned, std::string> custom;
        for (auto f : child(styles, "numFmts").children())
            if (is(f, "numFmt"))
                custom[f.attribute("numFmtId").as_uint()] = f.attribute("formatCode").as_string();
        for (auto xf : child(styles, "cellXfs").children()) {
            if (!is(xf, "xf")) continue;
            const unsigned id = xf.attribute("numFmtId").as_uint(0);
            const auto c = custom.find(id);
            xfIsDate_.push_back(c != custom.end() ? isDateFormatCode(c->second)
                                                  : isBuiltinDateFormat(static_cast<int>(id)));
        }
    }

    Cell valueOf(const pugi::xml_node& c) const {
        const std::string type = c.attribute("t").as_string("n");
        const auto v = child(c, "v");
        const char* vt = v.text().get();
        if (type == "s") {
            unsigned i = 0;
            const char* end = vt + std::strlen(vt);
            if (std::from_chars(vt, end, i).ptr != end || i >= sst_.size())
                fail(".xlsx 文件已损坏：单元格引用了不存在的共享文本");
            return Cell{Cell::Kind::Text, sst_[i], 0.0};
        }
        if (type == "inlineStr") return Cell{Cell::Kind::Text, itemText(child(c, "is")), 0.0};
        if (type == "str") return Cell{Cell::Kind::Text, unescape(vt), 0.0};
        if (type == "b") {
            const bool b = std::strcmp(vt, "1") == 0 || std::strcmp(vt, "true") == 0;
            return Cell{Cell::Kind::Boolean, b ? "TRUE" : "FALSE", b ? 1.0 : 0.0};
        }
        if (type == "e") return Cell{Cell::Kind::Error, validUtf8(vt), 0.0};
        if (type == "d") {
            std::string t = validUtf8(vt);  // ISO 8601: keep the date, and the time unless it is midnight
            if (t.size() > 10 && t[10] == 'T') t[10] = ' ';
            if (t.size() > 19) t.resize(19);
            if (t.size() == 19 && t.compare(10, 9, " 00:00:00") == 0) t.resize(10);
            return Cell{Cell::Kind::Text, t, 0.0};  // no serial number to keep: stays as text
        }
        if (!v) return Cell{};
        double d = 0;
        if (!parseNumber(vt, d))
            fail(std::string(".xlsx 文件已损坏：数字单元格中是“") + std::string(vt).substr(0, 40) + "”");
        const unsigned xf = c.attribute("s").as_uint(0);
        if (xf < xfIsDate_.size() && xfIsDate_[xf]) return Cell{Cell::Kind::Date, dateText(d, date1904_), d};
        return Cell{Cell::Kind::Number, generalNumberText(d), d};
    }

    void readSheet(const std::string& part, Sheet& target) {
        SheetBuilder sheet(budget_);
        collectCells(part, sheet);  // the sheet's text and element tree are gone before the cells are stored
        sheet.buildInto(target);
    }

    void collectCells(const std::string& part, SheetBuilder& sheet) {
        auto xml = zip_.read(part);
        if (!xml) fail(".xlsx 文件已损坏：缺少工作表 " + part);
        budget_.check(countElements(*xml).cells);
        const auto doc = parse(*xml, part);
        xml.reset();  // the element tree holds its own copy
        int rowNo = 0;
        for (auto row : child(doc.first_child(), "sheetData").children()) {
            if (!is(row, "row")) continue;
            rowNo = row.attribute("r") ? row.attribute("r").as_int() : rowNo + 1;
            if (rowNo < 1 || rowNo > Sheet::kMaxRows) fail(".xlsx 文件已损坏：行号超出了工作表的范围");
            int colNo = 0;
            for (auto c : row.children()) {
                if (!is(c, "c")) continue;
                int r = rowNo, col = colNo + 1;
                if (const auto ref = c.attribute("r"); ref && !cellRef(ref.as_string(), r, col))
                    fail(std::string(".xlsx 文件已损坏：单元格地址“") +
                         std::string(ref.as_string()).substr(0, 20) + "”无效");
                colNo = col;
                Cell cell = valueOf(c);
                if (cell.empty())
                    sheet.blank(r, col, false);
                else
                    sheet.put(r, col, std::move(cell));
            }
        }
    }

    std::string bytes_;
    ZipArchive zip_;
    std::vector<std::string> sst_;
    std::vector<bool> xfIsDate_;
    CellBudget budget_;
    bool date1904_ = false;
};

}  // namespace

WorkbookData readXlsx(std::string bytes) {
    return Reader(std::move(bytes)).read();
}

}  // namespace ca::spreadsheet
