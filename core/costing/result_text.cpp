#include "core/costing/result_text.h"

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"

namespace inkquot {

namespace {

const char* const kLineEnd = "\r\n";
const std::string kIndent(12, ' ');

// Values added in double and kept as a 32-bit float, like every amount.
float sumOf(std::initializer_list<float> items) {
    double sum = 0;
    for (float v : items) {
        sum += v;
    }
    return static_cast<float>(sum);
}

std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ') {
        s.pop_back();
    }
    return s;
}

std::string caption(Ctl control, int index) {
    return controlDef(control).entries[index].caption;
}

std::string partItem(Ctl list, int item) {
    return controlDef(list).entries[0].items[item];
}

// Gram weight, paper and colours of part j with colour lists a and b.
void appendPaperAndColours(std::string& s, const JobForm& f, int j, int a, int b) {
    s += f.text(Ctl::Ncomke, j);
    s += "克";
    s += rtrim(f.text(Ctl::Ncomzhi, j));
    s += f.text(Ctl::Ncomyinse, a);
    s += "+";
    s += f.text(Ctl::Ncomyinse, b);
    s += "色印刷；";
}

void appendPartPaperAndColours(std::string& s, const JobForm& f, int j) {
    appendPaperAndColours(s, f, j, 2 * j, 2 * j + 1);
}

bool on(const JobForm& f, Ctl box, int i) {
    return f.checkState(box, i) == CheckState::Checked;
}

// A finishing step: its text and "；" when its check box is on.
void appendIfOn(std::string& s, const JobForm& f, Ctl box, int i, const std::string& text) {
    if (on(f, box, i)) {
        s += text + "；";
    }
}

// A part with its own size: item text, series, 开 and "开".
void appendSizedPart(std::string& s, const JobForm& f, int item, int group, int part) {
    s += partItem(Ctl::Lsthua, item);
    s += f.text(Ctl::Ncomdu, group);
    s += f.text(Ctl::Ncomkai, group);
    s += "开";
    appendPartPaperAndColours(s, f, part);
}

// A block counted in pages: item text, pages, "页，".
void appendPagedPart(std::string& s, const JobForm& f, Ctl list, int item, int pagesBox, int part) {
    s += partItem(list, item);
    s += f.text(Ctl::txtye, pagesBox);
    s += "页，";
    appendPartPaperAndColours(s, f, part);
}

std::string bookProcessing(const JobForm& f) {
    std::string s;
    if (f.ticked(Ctl::Lsthua, 0)) {
        appendSizedPart(s, f, 0, 1, 0);
    }
    if (f.ticked(Ctl::Lsthua, 1)) {
        appendPagedPart(s, f, Ctl::Lsthua, 1, 0, 1);
    }
    if (f.ticked(Ctl::Lsthua, 2)) {
        appendPagedPart(s, f, Ctl::Lsthua, 2, 1, 2);
    }
    if (f.ticked(Ctl::Lsthua, 3)) {
        appendSizedPart(s, f, 3, 2, 3);
    }
    if (f.ticked(Ctl::Lsthua, 4)) {
        appendSizedPart(s, f, 4, 3, 4);
    }
    appendIfOn(s, f, Ctl::Chkhua, 0, f.text(Ctl::Cmbfeilin, 0));
    appendIfOn(s, f, Ctl::Chkhua, 2, "封面" + f.text(Ctl::comjiao, 0) + f.text(Ctl::comjiao, 1));
    appendIfOn(s, f, Ctl::Chkhua, 3, caption(Ctl::Chkhua, 3));
    appendIfOn(s, f, Ctl::Chkhua, 5, f.text(Ctl::Cmbdin) + "装订");
    return s;
}

std::string newspaperProcessing(const JobForm& f) {
    std::string s;
    if (f.ticked(Ctl::Lstbao, 0)) {
        appendPagedPart(s, f, Ctl::Lstbao, 0, 2, 5);
    }
    if (f.ticked(Ctl::Lstbao, 1)) {
        appendPagedPart(s, f, Ctl::Lstbao, 1, 3, 6);
    }
    appendIfOn(s, f, Ctl::Chkbao, 0, f.text(Ctl::Cmbfeilin, 1));
    return s;
}

std::string singleSheetProcessing(const JobForm& f) {
    std::string s;
    if (on(f, Ctl::Chkdan, 0)) {
        appendPartPaperAndColours(s, f, 7);
    }
    appendIfOn(s, f, Ctl::Chkdan, 1, f.text(Ctl::Cmbfeilin, 2));
    appendIfOn(s, f, Ctl::Chkdan, 3, f.text(Ctl::comjiao, 2) + f.text(Ctl::comjiao, 3));
    appendIfOn(s, f, Ctl::Chkdan, 4, caption(Ctl::Chkdan, 4));
    appendIfOn(s, f, Ctl::Chkdan, 5, f.text(Ctl::Cmbzheci) + caption(Ctl::Chkdan, 5));
    return s;
}

std::string boxBagProcessing(const JobForm& f) {
    std::string s;
    if (f.ticked(Ctl::lsthe, 0)) {
        s += partItem(Ctl::lsthe, 0);
        appendPartPaperAndColours(s, f, 8);
    }
    if (f.ticked(Ctl::lsthe, 1)) {
        s += partItem(Ctl::lsthe, 1);
        appendPartPaperAndColours(s, f, 9);
    }
    appendIfOn(s, f, Ctl::Chkhe, 0, f.text(Ctl::Cmbfeilin, 3));
    appendIfOn(s, f, Ctl::Chkhe, 2, f.text(Ctl::comjiao, 4) + f.text(Ctl::comjiao, 5));
    appendIfOn(s, f, Ctl::Chkhe, 4, caption(Ctl::Chkhe, 4));
    appendIfOn(s, f, Ctl::Chkhe, 6, caption(Ctl::Chkhe, 6));
    return s;
}

std::string stickerProcessing(const JobForm& f) {
    std::string s;
    appendIfOn(s, f, Ctl::Chkbu, 0,
               rtrim(f.text(Ctl::Nzhibu)) + f.text(Ctl::Ncomyinse, 20) + "色印刷");
    appendIfOn(s, f, Ctl::Chkbu, 1, f.text(Ctl::Cmbfeilin, 4));
    appendIfOn(s, f, Ctl::Chkbu, 3, f.text(Ctl::comjiao, 6));
    appendIfOn(s, f, Ctl::Chkbu, 4, caption(Ctl::Chkbu, 4));
    return s;
}

}  // namespace

std::string amountText(float v) {
    return groupedFixed(v, 2);
}

float prepressCost(const CostResult& r) {
    return sumOf({r.FilmCost, r.ImpositionCost});
}

float otherCost(const CostResult& r) {
    return sumOf({r.FoilCost, r.SurfaceCost, r.EmbossCost, r.MountCost, r.DieBoardCost,
                  r.DieCutCost, r.CorrugatedCost, r.GlueCost, r.FoldCost});
}

std::string composeResultText(const JobForm& f, int kind, const CostResult& r) {
    const float prepress = prepressCost(r);
    const float other = otherCost(r);
    const float quantity = parseNumber(f.text(Ctl::txtshuliang, kind)).value_or(0.0f);
    std::string t;
    t.reserve(1024);
    // Texts and amounts are appended in turn; end() closes a line.
    const auto text = [&t](std::string_view s) { t += s; };
    const auto amount = [&t](float v) { appendGroupedFixed(t, v, 2); };
    const auto end = [&t] { t += kLineEnd; };
    text("客户名：");
    text(f.text(Ctl::txtkehuming, kind));
    end();
    text("印件名：");
    text(f.text(Ctl::txtyinjianming, kind));
    end();
    text("数  量：");
    appendGroupedFixed(t, quantity, 0);
    end();
    text("单  价：");
    appendGroupedFixed(t, r.UnitPrice, 4);
    end();
    text("总  价：");
    amount(r.TotalPrice);
    end();
    end();
    text("其  中");
    end();
    text("印前制作费：");
    amount(prepress);
    text("(其中，菲林费：");
    amount(r.FilmCost);
    text("，拼版费：");
    amount(r.ImpositionCost);
    text(")");
    end();
    text("纸      价：");
    amount(r.PaperCost);
    end();
    text("印  刷  费：");
    amount(r.PrintCost);
    end();
    text("装  订  费：");
    amount(r.BindingCost);
    end();
    text("其  它  费：");
    amount(other);
    text("(其中，表面处理：");
    amount(r.SurfaceCost);
    text("，烫电化铝：");
    amount(r.FoilCost);
    end();
    text(kIndent);
    text("模切费：");
    amount(r.DieCutCost);
    text("，模板费：");
    amount(r.DieBoardCost);
    text("，压凸费：");
    amount(r.EmbossCost);
    end();
    text(kIndent);
    text("对裱费：");
    amount(r.MountCost);
    text("，裱坑费：");
    amount(r.CorrugatedCost);
    text("，粘盒费：");
    amount(r.GlueCost);
    text(")");
    end();
    return t;
}

std::string composeGuige(const JobForm& f, int kind) {
    const int g = sizeGroupOfKind(kind);
    return f.text(Ctl::Ncomdu, g) + f.text(Ctl::Ncomkai, g) + "开";
}

std::string composeProcessing(const JobForm& f, int kind) {
    switch (kind) {
        case kBook:
            return bookProcessing(f);
        case kNewspaper:
            return newspaperProcessing(f);
        case kSingleSheet:
            return singleSheetProcessing(f);
        case kBoxBag:
            return boxBagProcessing(f);
        case kSticker:
            return stickerProcessing(f);
        default:
            return {};
    }
}

std::string firstCharacters(const std::string& utf8, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < utf8.size(); ++n) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        pos += lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    }
    return utf8.substr(0, std::min(pos, utf8.size()));
}

std::string composeYaoqiu(const JobForm& f, int kind) {
    return firstCharacters(composeProcessing(f, kind), 150);
}

}  // namespace inkquot
