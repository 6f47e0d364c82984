#include "ca/entry/WriteListBuilder.h"

#include "ca/entry/EntryText.h"
#include "ca/util/Settings.h"

namespace ca::entry {

namespace {

// Collects the writes of one declaration; the helpers mirror the columns of the entry tables.
class Builder {
public:
    Builder(DeclarationKind kind, CellSource& sheet) : kind_(kind), sheet_(sheet) {}

    std::vector<Write> build() {
        if (kind_ == DeclarationKind::Import)
            importHeader();
        else
            exportHeader();
        goodsLines();
        return std::move(writes_);
    }

private:
    std::string cell(int r, int c) { return sheet_.cell(r, c); }
    bool filled(int r, int c) { return !cell(r, c).empty(); }

    void add(Chain chain, int pos, Method m, std::string text) {
        Write w;
        w.chain = chain;
        w.position = pos;
        w.method = m;
        w.text = std::move(text);
        w.stage = stage_;
        w.goodsLine = goodsLine_;
        w.goodsCount = goodsCount_;
        writes_.push_back(std::move(w));
    }
    void addSetting(Chain chain, int pos, Method m, const char* key) {
        add(chain, pos, m, {});
        writes_.back().settingKey = key;
    }
    void header(int pos, Method m, std::string text) { add(Chain::HeaderEdits, pos, m, std::move(text)); }
    void goods(int pos, Method m, std::string text) { add(Chain::GoodsEdits, pos, m, std::move(text)); }

    // List section A (columns 19 to 21) and B (columns 22 and 23), rows from 3 down.
    void listSections() {
        stage_ = Stage::Lists;
        const Method a = Method::pasteConfirm(20, 20);
        for (int r = 3; filled(r, 19); ++r) {
            add(Chain::Panel4Edits, 4, a, cell(r, 19));
            if (filled(r, 20)) add(Chain::Panel4Edits, 2, a, cell(r, 20));
            add(Chain::Panel4Edits, 0, a, cell(r, 21));
        }
        const Method b = Method::pasteConfirm(50, 50);
        for (int r = 3; filled(r, 22); ++r) {
            add(Chain::Panel3Edits, 2, b, trimBlanksAndControls(cell(r, 22)));
            if (filled(r, 23)) add(Chain::Panel3Edits, 0, b, trimBlanksAndControls(cell(r, 23)));
        }
        stage_ = Stage::Header;
    }

    // A charge group: the amount, the mark "总价" and the currency.
    void chargeGroup(int r, int c, int amountPos, int markPos, int currencyPos) {
        if (!filled(r, c)) return;
        header(amountPos, Method::setText(), cell(r, c));
        header(markPos, Method::setText(), "总价");
        header(currencyPos, Method::setText(), currency_);
    }

    void importHeader() {
        const bool referenced = filled(3, 14);
        add(Chain::SidePanelEdits, 3, Method::pasteConfirm(50, 50), cell(4, 8));
        header(69, Method::set(), cell(1, 5));
        if (referenced) header(71, Method::pasteConfirm(50, 50), cell(3, 14));
        if (!referenced) header(57, Method::focusPaste(), cell(1, 2));
        if (!referenced) header(63, Method::focusPaste(), cell(5, 2));
        addSetting(Chain::HeaderEdits, 52, Method::focusPaste(), settings::kDeclaringUnit);
        if (!referenced) header(32, Method::setText(), cell(2, 8));
        listSections();
        add(Chain::Panel1Edits, 0, Method::set(), cell(5, 14));
        const int t = totalsRow(sheet_);
        header(30, Method::set(), cell(t, 15));
        header(12, Method::set(), cell(t, 16));
        header(14, Method::set(), cell(t, 17));
        header(50, Method::set(), cell(5, 8));
        currency_ = GetCurrencyText(cell(t, 14));
        chargeGroup(2, 14, 25, 26, 24);
        chargeGroup(2, 17, 17, 18, 16);
        chargeGroup(1, 17, 21, 22, 20);
        header(73, Method::setText(), cell(1, 11));
        header(4, Method::set(), cell(5, 5));
        if (filled(4, 5)) header(60, Method::setText(), cell(4, 5));
        if (filled(4, 11)) header(46, Method::setText(), cell(4, 11));
        if (filled(4, 2)) header(44, Method::setText(), cell(4, 2));
        header(40, Method::setText(), cell(2, 11));
        header(36, Method::setText(), cell(1, 14));
        header(38, Method::setText(), cell(1, 8));
        header(28, Method::setText(), cell(4, 17));
        addSetting(Chain::HeaderEdits, 1, Method::setText(), settings::kDeclarationType);
        header(55, Method::focusPaste(), cell(3, 5));
        header(48, Method::focusPaste(), cell(3, 8));
    }

    void exportHeader() {
        const bool referenced = filled(3, 14);
        add(Chain::SidePanelEdits, 3, Method::pasteConfirm(50, 50), cell(4, 8));
        header(68, Method::set(), cell(1, 5));
        if (referenced) header(70, Method::pasteConfirm(50, 50), cell(3, 14));
        if (!referenced) header(56, Method::focusPaste(), cell(1, 2));
        if (!referenced) header(62, Method::focusPaste(), cell(5, 2));
        addSetting(Chain::HeaderEdits, 51, Method::focusPaste(), settings::kDeclaringUnit);
        if (!referenced) header(31, Method::setText(), cell(2, 8));
        listSections();
        add(Chain::Panel1Edits, 0, Method::set(), cell(5, 14));
        const int t = totalsRow(sheet_);
        header(29, Method::set(), cell(t, 15));
        header(11, Method::set(), cell(t, 16));
        header(13, Method::set(), cell(t, 17));
        header(33, Method::set(), cell(3, 11));
        header(49, Method::set(), cell(5, 8));
        header(81, Method::set(), cell(5, 11));
        if (filled(3, 17)) header(80, Method::pasteConfirm(50, 50), cell(3, 17));
        currency_ = GetCurrencyText(cell(t, 14));
        header(3, Method::set(), cell(5, 5));
        chargeGroup(2, 14, 24, 25, 23);
        chargeGroup(2, 17, 16, 17, 15);
        chargeGroup(1, 17, 20, 21, 19);
        header(72, Method::setText(), cell(1, 11));
        header(59, Method::setText(), cell(4, 5));
        if (filled(4, 11)) header(45, Method::setText(), cell(4, 11));
        if (filled(4, 2)) header(43, Method::setText(), cell(4, 2));
        header(39, Method::setText(), cell(2, 11));
        header(35, Method::setText(), cell(1, 14));
        if (!referenced) header(37, Method::setText(), cell(1, 8));
        header(27, Method::setText(), cell(4, 17));
        addSetting(Chain::HeaderEdits, 0, Method::setText(), settings::kDeclarationType);
        header(54, Method::focusPaste(), cell(3, 5));
        header(47, Method::focusPaste(), cell(3, 8));
    }

    void goodsLines() {
        stage_ = Stage::Goods;
        goodsCount_ = totalsRow(sheet_) - 7;
        for (int r = 7; filled(r, 1); ++r) {
            goodsLine_ = r - 6;
            if (kind_ == DeclarationKind::Import)
                importGoodsLine(r);
            else
                exportGoodsLine(r);
        }
    }

    // Goods code: characters 1 to 8 and 9 to 10 of column 5, counted in GBK bytes.
    void goodsCode(int r, int extensionPos) {
        const std::string code = cell(r, 5);
        goods(0, Method::set(), gbkSlice(code, 0, 8));
        std::string extension = gbkSlice(code, 8, 2);
        goods(extensionPos, Method::set(), extension.empty() ? "00" : extension);
        goods(1, Method::set(), cell(r, 4));
    }

    void importGoodsLine(int r) {
        const bool noItemNumber = !filled(r, 18);
        if (!noItemNumber) goods(38, Method::setText(), cell(r, 18));
        if (noItemNumber) goodsCode(r, 35);
        goods(32, Method::set(), cell(r, 2));
        if (noItemNumber) goods(22, Method::clickPaste(true, 0), currency_);
        goods(30, Method::set(), cell(r, 7));
        if (noItemNumber) goods(28, Method::clickPaste(false, 0), cell(r, 8));
        goods(26, Method::set(), cell(r, 13));
        goods(24, Method::set(), cell(r, 14));
        goods(20, Method::set(), cell(r, 9));
        if (noItemNumber) goods(18, Method::unlockPaste(), cell(r, 10));
        if (filled(r, 11)) goods(11, Method::unlockPaste(), cell(r, 11));
        if (noItemNumber && filled(r, 12)) goods(9, Method::unlockPaste(), cell(r, 12));
        goods(7, Method::setText(), countryText(cell(r, 6)));
        goods(2, Method::clickPaste(true, 0), cell(4, 14));
        addSetting(Chain::GoodsEdits, 4, Method::clickPaste(false, 0).withEnter(10), settings::kGoodsDuty);
    }

    void exportGoodsLine(int r) {
        const bool noItemNumber = !filled(r, 18);
        if (!noItemNumber) goods(40, Method::pasteConfirm(50, 50), cell(r, 18));
        if (noItemNumber) goodsCode(r, 37);
        goods(34, Method::set(), cell(r, 2));
        if (noItemNumber) goods(24, Method::clickPaste(true, 50), currency_);
        goods(32, Method::set(), cell(r, 7));
        if (noItemNumber) goods(30, Method::clickPaste(false, 0), cell(r, 8));
        goods(28, Method::set(), cell(r, 13));
        goods(26, Method::set(), cell(r, 14));
        goods(22, Method::set(), cell(r, 9));
        if (noItemNumber) goods(20, Method::unlockPaste(), cell(r, 10));
        goods(18, Method::set(), cell(r, 3));
        goods(12, Method::unlockPaste(), cell(r, 11));
        if (noItemNumber) goods(10, Method::unlockPaste(), cell(r, 12));
        goods(6, Method::pasteConfirm(50, 50), countryText(cell(r, 6)));
        addSetting(Chain::GoodsEdits, 2, Method::pasteConfirm(50, 50).withSleepAfterPaste(10),
                   settings::kGoodsDuty);
    }

    DeclarationKind kind_;
    CellSource& sheet_;
    std::vector<Write> writes_;
    std::string currency_;
    Stage stage_ = Stage::Header;
    int goodsLine_ = 0;
    int goodsCount_ = 0;
};

}  // namespace

int totalsRow(CellSource& sheet) {
    int t = 7;
    while (!sheet.cell(t, 1).empty())
        ++t;
    return t;
}

std::vector<Write> buildWrites(DeclarationKind kind, CellSource& sheet) {
    return Builder(kind, sheet).build();
}

}  // namespace ca::entry
