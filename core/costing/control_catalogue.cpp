#include "core/costing/control_catalogue.h"

#include <cmath>
#include <stdexcept>

#include "core/costing/press_kind.h"

namespace inkquot {

namespace {

using Items = std::vector<std::string>;

const Items kJobKinds = {"书刊\\画册", "报纸", "单张\\招贴", "纸盒\\纸袋", "不干胶"};
const Items kSeries = {"大度", "正度"};
const Items kFilmModes = {"单出菲林", "出菲林/打样", "设计制作/出菲林/打样"};
const Items kSurfaceSides = {"单面", "双面"};
const Items kSurfaceTypes = {"过光胶", "过哑胶", "过油磨光", "过UV"};
const Items kBindingForms = {"骑马订",     "锁线胶订",   "精装",
                             "其他形式一", "其他形式二", "其他形式三"};
const Items kFolds = {"1", "2", "3", "4"};
const Items kFactors = {"1",   "1.1", "1.2", "1.3", "1.4", "1.5", "1.6", "1.7",
                        "1.8", "1.9", "2",   "3",   "4",   "5",   "0.9", "0.8",
                        "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1"};
const Items kSpotColours = {"0", "1", "2", "3", "4", "5", "6", "7", "8"};
// Press lists: the book parts and the single sheet offer every press, so
// their positions are the press kinds; the newspaper pages only go on the web
// press, the box and sticker parts only on the sheet-fed ones.
Items pressNames(int first, int last) {
    Items out;
    for (int kind = first; kind <= last; ++kind) {
        out.emplace_back(kPressNames[static_cast<std::size_t>(kind)]);
    }
    return out;
}
const Items kAllPresses = pressNames(kPressDuikaiFlat, kPressDuikaiRotary);
const Items kRotaryOnly = pressNames(kPressDuikaiRotary, kPressDuikaiRotary);
const Items kFlatPresses = pressNames(kPressDuikaiFlat, kPressBakaiFlat);

const char* const kRotaryHint = "上轮转机的印张数应在20000以上，否则建议用平张机印刷。";
const char* const kBookPartsHint = "如果没有单独计算封面，默认内页一4P大小计算封面印后加工费";

ControlStart textBox(std::string caption, std::string text, bool editable = true) {
    ControlStart s;
    s.caption = std::move(caption);
    s.text = std::move(text);
    s.editable = editable;
    return s;
}

// A list whose first item is selected.
ControlStart firstOf(std::string caption, const Items& items, bool editable = false) {
    ControlStart s;
    s.caption = std::move(caption);
    s.items = items;
    s.position = items.empty() ? -1 : 0;
    s.text = items.empty() ? std::string() : items.front();
    s.editable = editable;
    return s;
}

ControlStart checkBox(std::string caption, CheckState state = CheckState::Unchecked) {
    ControlStart s;
    s.caption = std::move(caption);
    s.check = state;
    return s;
}

ControlDef def(Ctl control, std::string_view name, ControlKind kind,
               std::vector<ControlStart> entries) {
    return ControlDef{control, name, kind, std::move(entries), 0, std::nullopt};
}

// A number box and the values it takes.
ControlDef bounded(ControlDef d, NumberRange range) {
    d.range = range;
    return d;
}

// The ranges of the number boxes. Each is wider than any job a shop takes
// in: runs to a hundred million copies, books of thousands of pages, board
// to 2000 g/m², foil over a whole sheet and more, pieces down to a few
// millimetres (the layout calculator writes 开 of a million for a
// millimetre-sized piece).
constexpr NumberRange kQuantityRange{1, 100000000, true};
constexpr NumberRange kPagesRange{0, 20000, false};
constexpr NumberRange kFoilAreaRange{0, 100000, false};  // cm²
constexpr NumberRange kPressSheetKaiRange{1, 64, true};
constexpr NumberRange kKaiRange{1, 2000000, false};
constexpr NumberRange kGramWeightRange{10, 2000, false};
constexpr NumberRange kColourRange{0, 16, true};
constexpr NumberRange kDifficultyRange{0.01, 20, false};
constexpr NumberRange kFoldRange{1, 20, true};

// The 开 list of a size group: its items and the text it starts with.
std::vector<ControlStart> kaiLists() {
    const Items book = {"16", "8", "32", "64", "128"};
    const Items spread = {"8"};
    const Items newspaper = {"2", "4", "8"};
    const Items sheet = {"16", "8", "4", "2", "32", "64", "128"};
    const Items* items[kSizeGroupCount] = {&book,      &spread, &spread, &spread,
                                           &newspaper, &sheet,  &sheet,  &sheet};
    const char* captions[kSizeGroupCount] = {"整书规格：", "封面展开规格：", "展开规格：",
                                             "展开规格：", "规    格：",     "规    格：",
                                             "规    格：", "规    格："};
    std::vector<ControlStart> out;
    for (int g = 0; g < kSizeGroupCount; ++g) {
        // Each list starts on its first item (16, 8, 8, 8, 2, 16, 16, 16).
        out.push_back(firstOf(captions[g], *items[g]));
    }
    return out;
}

std::vector<ControlStart> gramWeightLists() {
    const Items coverAndInsertOne = {"250", "157", "128", "105", "90",  "80",
                                     "70",  "200", "230", "300", "350", "400"};
    const Items innerOneAndSheet = {"157", "128", "105", "90",  "80",  "70", "60",
                                    "50",  "200", "230", "250", "300", "350"};
    const Items innerTwo = {"128", "105", "90",  "80",  "70",  "60", "50",
                            "157", "200", "230", "250", "300", "350"};
    const Items insertTwo = {"200", "157", "128", "105", "90",  "80",
                             "70",  "230", "250", "300", "350", "400"};
    const Items newspaper = {"50",  "40",  "30",  "60",  "70",  "80",  "90",
                             "100", "105", "110", "120", "128", "157", "200"};
    const Items box = {"250", "157", "128", "105", "90",  "80",  "70",
                       "60",  "50",  "200", "230", "250", "300", "350"};
    const Items* items[10] = {&coverAndInsertOne,
                              &innerOneAndSheet,
                              &innerTwo,
                              &coverAndInsertOne,
                              &insertTwo,
                              &newspaper,
                              &newspaper,
                              &innerOneAndSheet,
                              &box,
                              &box};
    std::vector<ControlStart> out;
    for (int j = 0; j < 10; ++j) {
        // Single sheets and boxes label the list themselves; books and
        // newspapers show it beside the paper list.
        const bool ownLabel = j >= 7;
        out.push_back(firstOf(ownLabel ? "纸厚（克重）：" : "", *items[j], true));
    }
    return out;
}

std::vector<ControlStart> paperLists() {
    std::vector<ControlStart> out;
    for (int j = 0; j < 10; ++j) {
        ControlStart s;
        s.caption = j == 0 ? "封面用纸：" : (j >= 7 ? "纸张类型：" : "用    纸：");
        s.position = 0;
        out.push_back(s);
    }
    return out;
}

// Colour lists 2j and 2j + 1 belong to part j, 20 to the sticker. The face
// paper starts as 4 + 0 and the lining as 1 + 0, so their lists have their
// own orders.
std::vector<ControlStart> colourLists() {
    const Items usual = {"4", "1", "2", "3", "0"};
    std::vector<ControlStart> out;
    for (int i = 0; i < 21; ++i) {
        const Items* items = &usual;
        static const Items l17 = {"0", "4", "1", "2", "3"};
        static const Items l18 = {"1", "2", "3", "4", "0"};
        static const Items l19 = {"0", "1", "2", "3", "4"};
        if (i == 17) {
            items = &l17;
        } else if (i == 18) {
            items = &l18;
        } else if (i == 19) {
            items = &l19;
        }
        std::string caption;
        if (i % 2 == 1) {
            caption = "色+";
        } else {
            caption = i == 0 ? "封面印色：" : "印    色：";
        }
        out.push_back(firstOf(caption, *items, true));
    }
    return out;
}

std::vector<ControlStart> pressLists() {
    std::vector<ControlStart> out;
    for (int j = 0; j < kPartCount; ++j) {
        const Items& items =
            (j == 5 || j == 6) ? kRotaryOnly : (j >= 8 ? kFlatPresses : kAllPresses);
        ControlStart s = firstOf("印机种类：", items);
        if (j <= 7) {
            s.hint = kRotaryHint;
        }
        out.push_back(s);
    }
    return out;
}

std::vector<ControlStart> sheetSizeLists() {
    std::vector<ControlStart> out;
    for (int j = 0; j < kPartCount; ++j) {
        out.push_back(firstOf("开纸大小：", {}));  // filled by the press rules
    }
    return out;
}

std::vector<ControlStart> selfTurnBoxes() {
    std::vector<ControlStart> out;
    for (int j = 0; j < kPartCount; ++j) {
        ControlStart s = checkBox("允许自翻版(或跟斗翻)印刷",
                                  j <= 7 ? CheckState::Checked : CheckState::Unchecked);
        s.available = !(j == 5 || j == 6 || j >= 8);
        out.push_back(s);
    }
    return out;
}

std::vector<ControlStart> manualSizeBoxes() {
    std::vector<ControlStart> out;
    for (int j = 0; j < kPartCount; ++j) {
        ControlStart s = checkBox("手工调整上机纸张开度", CheckState::Greyed);
        s.available = !(j == 5 || j == 6);
        out.push_back(s);
    }
    return out;
}

std::vector<ControlStart> checkBoxes(std::initializer_list<const char*> captions,
                                     CheckState state = CheckState::Unchecked) {
    std::vector<ControlStart> out;
    for (const char* c : captions) {
        out.push_back(checkBox(c, state));
    }
    return out;
}

std::vector<ControlStart> repeat(int count, const ControlStart& start) {
    return std::vector<ControlStart>(static_cast<std::size_t>(count), start);
}

std::vector<ControlStart> difficultyLists() {
    std::vector<ControlStart> out = repeat(19, firstOf("难度系数：", kFactors, true));
    return out;
}

std::vector<ControlDef> buildCatalogue() {
    using K = ControlKind;
    std::vector<ControlDef> c;

    c.push_back(def(Ctl::comleibie, "comleibie", K::PositionList,
                    {firstOf("请选择印件类别：", kJobKinds)}));
    c.push_back(def(Ctl::txtkehuming, "txtkehuming", K::TextBox,
                    repeat(kJobKindCount, textBox("客户名称：", "客户1"))));
    c.push_back(def(Ctl::txtyinjianming, "txtyinjianming", K::TextBox,
                    repeat(kJobKindCount, textBox("印件名称：", "印件1"))));
    {
        auto quantities = repeat(kJobKindCount, textBox("计价数量：", "10000"));
        quantities[kNewspaper].text = "20000";
        c.push_back(bounded(def(Ctl::txtshuliang, "txtshuliang", K::TextBox, std::move(quantities)),
                            kQuantityRange));
    }
    c.push_back(bounded(def(Ctl::txtye, "txtye", K::TextBox,
                            {textBox("页    数：", "0"), textBox("页    数：", "0"),
                             textBox("版    数：", "0"), textBox("版    数：", "0")}),
                        kPagesRange));
    c.push_back(bounded(
        def(Ctl::txttang, "txttang", K::TextBox, {textBox("面积：", "0"), textBox("面积", "0")}),
        kFoilAreaRange));
    c.push_back(bounded(def(Ctl::Ntxtkaizhi, "Ntxtkaizhi", K::TextBox,
                            repeat(kSizeGroupCount, textBox("", "2", false))),
                        kPressSheetKaiRange));
    c.push_back(bounded(def(Ctl::Ncomkai, "Ncomkai", K::TextList, kaiLists()), kKaiRange));
    c.push_back(
        def(Ctl::Ncomdu, "Ncomdu", K::PositionList, repeat(kSizeGroupCount, firstOf("", kSeries))));
    c.push_back(def(Ctl::Cmbkaizhi, "Cmbkaizhi", K::TextList, sheetSizeLists()));
    c.push_back(
        bounded(def(Ctl::Ncomke, "Ncomke", K::TextList, gramWeightLists()), kGramWeightRange));
    {
        ControlDef papers = def(Ctl::Ncomzhi, "Ncomzhi", K::PositionList, paperLists());
        papers.schemeItems = 50;
        c.push_back(std::move(papers));
        ControlStart sticker;
        sticker.caption = "纸张类型：";
        sticker.position = 0;
        ControlDef stickers = def(Ctl::Nzhibu, "Nzhibu", K::PositionList, {sticker});
        stickers.schemeItems = 10;
        c.push_back(std::move(stickers));
    }
    c.push_back(
        bounded(def(Ctl::Ncomyinse, "Ncomyinse", K::TextList, colourLists()), kColourRange));
    c.push_back(bounded(def(Ctl::Ncomzhuanse, "Ncomzhuanse", K::TextList,
                            repeat(kPartCount, firstOf("专色或实地色：", kSpotColours, true))),
                        kColourRange));
    c.push_back(
        bounded(def(Ctl::Comnd, "Comnd", K::TextList, difficultyLists()), kDifficultyRange));
    c.push_back(def(Ctl::Comyinji, "Comyinji", K::PositionList, pressLists()));
    c.push_back(def(Ctl::Cmbfeilin, "Cmbfeilin", K::PositionList,
                    repeat(kJobKindCount, firstOf("方式或要求：", kFilmModes))));
    c.push_back(
        def(Ctl::comjiao, "comjiao", K::PositionList,
            {firstOf("", kSurfaceSides), firstOf("", kSurfaceTypes), firstOf("", kSurfaceSides),
             firstOf("", kSurfaceTypes), firstOf("", kSurfaceSides), firstOf("", kSurfaceTypes),
             firstOf("", kSurfaceTypes)}));
    c.push_back(def(Ctl::Cmbdin, "Cmbdin", K::PositionList, {firstOf("方式：", kBindingForms)}));
    c.push_back(
        bounded(def(Ctl::Cmbzheci, "Cmbzheci", K::TextList, {firstOf("折次：", kFolds, true)}),
                kFoldRange));

    c.push_back(def(
        Ctl::Chkhua, "Chkhua", K::CheckBox,
        checkBoxes({"出菲林", "拼版", "封面表面加工", "封面烫金/银", "封面压痕/模切", "装订"})));
    c.push_back(def(Ctl::Chkbao, "Chkbao", K::CheckBox, checkBoxes({"出菲林", "拼版"})));
    c.push_back(def(Ctl::Chkdan, "Chkdan", K::CheckBox,
                    checkBoxes({"印刷", "出菲林", "拼版", "表面加工", "压痕/模切", "折页"})));
    c.push_back(def(Ctl::Chkhe, "Chkhe", K::CheckBox,
                    checkBoxes({"出菲林", "拼版", "表面加工", "压凹凸", "烫电化铝", "模切/压痕",
                                "裱瓦楞", "粘盒"})));
    c.push_back(def(Ctl::Chkbu, "Chkbu", K::CheckBox,
                    checkBoxes({"印刷", "出菲林", "拼版", "表面加工", "压痕/模切"})));
    c.push_back(def(Ctl::Chkban, "Chkban", K::CheckBox,
                    repeat(4, checkBox("是否做模板", CheckState::Checked))));
    c.push_back(def(Ctl::Chkzifan, "Chkzifan", K::CheckBox, selfTurnBoxes()));
    c.push_back(def(Ctl::Chkzhikai, "Chkzhikai", K::CheckBox, manualSizeBoxes()));

    {
        ControlStart book;
        book.items = {"封面", "内页一", "内页二", "插页一", "插页二"};
        book.hint = kBookPartsHint;
        ControlStart newspaper;
        newspaper.items = {"页一", "页二"};
        ControlStart box;
        box.items = {"面纸", "对裱里纸"};
        c.push_back(def(Ctl::Lsthua, "Lsthua", K::PartList, {book}));
        c.push_back(def(Ctl::Lstbao, "Lstbao", K::PartList, {newspaper}));
        c.push_back(def(Ctl::lsthe, "lsthe", K::PartList, {box}));
    }
    c.push_back(def(Ctl::optwa, "optwa", K::OptionGroup, {firstOf("", {"三层", "五层", "七层"})}));
    c.push_back(
        def(Ctl::optnian, "optnian", K::OptionGroup, {firstOf("", {"单边", "双边", "做手提袋"})}));
    return c;
}

}  // namespace

bool NumberRange::holds(double value) const {
    return value >= min && value <= max && (!whole || std::floor(value) == value);
}

const std::vector<ControlDef>& controlCatalogue() {
    static const std::vector<ControlDef> catalogue = [] {
        std::vector<ControlDef> c = buildCatalogue();
        // Kept in the order of Ctl, so a control's definition is found by
        // its value.
        for (std::size_t i = 0; i < c.size(); ++i) {
            if (static_cast<std::size_t>(c[i].control) != i) {
                throw std::logic_error("control catalogue out of order");
            }
        }
        return c;
    }();
    return catalogue;
}

const ControlDef& controlDef(Ctl control) {
    const auto i = static_cast<std::size_t>(control);
    const auto& catalogue = controlCatalogue();
    if (i >= catalogue.size()) {
        throw std::logic_error("control missing from the catalogue");
    }
    return catalogue[i];
}

const ControlDef* findControl(std::string_view name) {
    for (const ControlDef& d : controlCatalogue()) {
        if (d.name == name) {
            return &d;
        }
    }
    return nullptr;
}

std::string_view controlName(Ctl control) {
    return controlDef(control).name;
}

}  // namespace inkquot
