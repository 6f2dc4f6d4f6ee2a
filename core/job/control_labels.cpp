#include "core/job/control_labels.h"

#include <array>
#include <string_view>

#include "core/costing/control_catalogue.h"
#include "core/costing/job_reading.h"

namespace inkquot {

namespace {

constexpr std::array<std::string_view, kJobKindCount> kKindNames = {
    "书刊\\画册", "报纸", "单张\\招贴", "纸盒\\纸袋", "不干胶"};

// The size entries, one per size group.
constexpr std::array<std::string_view, kSizeGroupCount> kSizeEntries = {
    "整书规格", "封面展开规格",   "插页一展开规格", "插页二展开规格",
    "报纸规格", "单张\\招贴规格", "纸盒\\纸袋规格", "不干胶规格"};

// The pages boxes belong to 内页一, 内页二 and the two newspaper pages.
constexpr std::array<int, 4> kPartOfPages = {1, 2, 5, 6};
// The surface finishing lists and the die-board boxes, by the kind whose
// panel holds them.
constexpr std::array<int, 7> kKindOfSurface = {kBook,   kBook,   kSingleSheet, kSingleSheet,
                                               kBoxBag, kBoxBag, kSticker};
constexpr std::array<int, 4> kKindOfDieBoard = {kBook, kSingleSheet, kBoxBag, kSticker};

template <typename Names>
std::string_view nameAt(const Names& names, int index) {
    return index >= 0 && index < static_cast<int>(names.size())
               ? names[static_cast<std::size_t>(index)]
               : std::string_view("印件");
}

std::string kindName(int kind) {
    return std::string(nameAt(kKindNames, kind));
}

std::string part(int j) {
    return std::string(partName(j));
}

std::string inQuotes(std::string_view caption) {
    std::string s = "“";
    s += caption;
    s += "”";
    return s;
}

// The caption of a check box or a part list item as the catalogue has it.
std::string itemCaption(Ctl control, int index, bool partList) {
    const ControlDef& d = controlDef(control);
    const auto& items = d.entries.front().items;
    if (partList) {
        return index >= 0 && index < static_cast<int>(items.size())
                   ? items[static_cast<std::size_t>(index)]
                   : std::string();
    }
    return index >= 0 && index < d.count() ? d.entries[static_cast<std::size_t>(index)].caption
                                           : std::string();
}

// The difficulty lists: a part's printing, or a kind's die cutting.
std::string difficultyLabel(int index) {
    for (int j = 0; j < kPartCount; ++j) {
        if (kPrintDifficultyIndex[static_cast<std::size_t>(j)] == index) {
            return part(j) + "的难度系数";
        }
    }
    for (const auto& die : kDieDifficultyIndexes) {
        if (die.dieCut == index) {
            return kindName(die.kind) + "的模切难度系数";
        }
        if (die.dieBoard == index) {
            return kindName(die.kind) + "的模板难度系数";
        }
    }
    return "难度系数";
}

}  // namespace

std::string controlLabel(Ctl control, int index) {
    switch (control) {
        case Ctl::comleibie:
            return "印件类别";
        case Ctl::txtkehuming:
            return kindName(index) + "的客户名称";
        case Ctl::txtyinjianming:
            return kindName(index) + "的印件名称";
        case Ctl::txtshuliang:
            return kindName(index) + "的计价数量";
        case Ctl::txtye: {
            const int j = index >= 0 && index < static_cast<int>(kPartOfPages.size())
                              ? kPartOfPages[static_cast<std::size_t>(index)]
                              : -1;
            return part(j) + (index < 2 ? "的页数" : "的版数");
        }
        case Ctl::txttang:
            return index == 0 ? "书刊\\画册的封面烫金/银面积" : "纸盒\\纸袋的烫电化铝面积";
        case Ctl::Ntxtkaizhi:
            return std::string(nameAt(kSizeEntries, index)) + "的上机纸张开数";
        case Ctl::Ncomkai:
            return std::string(nameAt(kSizeEntries, index)) + "的开数";
        case Ctl::Ncomdu:
            return std::string(nameAt(kSizeEntries, index)) + "的纸张系列（大度或正度）";
        case Ctl::Cmbkaizhi:
            return part(index) + "的开纸大小";
        case Ctl::Ncomke:
            return part(index) + "的纸厚（克重）";
        case Ctl::Ncomzhi:
            return part(index) + "的用纸";
        case Ctl::Nzhibu:
            return part(10) + "的纸张类型";
        case Ctl::Ncomyinse:
            if (index == 20) {
                return part(10) + "的印色";
            }
            return part(index / 2) + (index % 2 == 0 ? "的正面印色" : "的反面印色");
        case Ctl::Ncomzhuanse:
            return part(index) + "的专色或实地色";
        case Ctl::Comnd:
            return difficultyLabel(index);
        case Ctl::Comyinji:
            return part(index) + "的印机种类";
        case Ctl::Cmbfeilin:
            return kindName(index) + "的出菲林方式";
        case Ctl::comjiao: {
            const int kind = index >= 0 && index < static_cast<int>(kKindOfSurface.size())
                                 ? kKindOfSurface[static_cast<std::size_t>(index)]
                                 : -1;
            const bool sides = index == 0 || index == 2 || index == 4;
            return kindName(kind) + (sides ? "的表面加工（单面或双面）" : "的表面加工种类");
        }
        case Ctl::Cmbdin:
            return kindName(kBook) + "的装订方式";
        case Ctl::Cmbzheci:
            return kindName(kSingleSheet) + "的折次";
        case Ctl::Chkhua:
        case Ctl::Chkbao:
        case Ctl::Chkdan:
        case Ctl::Chkhe:
        case Ctl::Chkbu: {
            const int kind = static_cast<int>(control) - static_cast<int>(Ctl::Chkhua);
            return kindName(kind) + "的" + inQuotes(itemCaption(control, index, false));
        }
        case Ctl::Chkban: {
            const int kind = index >= 0 && index < static_cast<int>(kKindOfDieBoard.size())
                                 ? kKindOfDieBoard[static_cast<std::size_t>(index)]
                                 : -1;
            return kindName(kind) + "的" + inQuotes(itemCaption(control, index, false));
        }
        case Ctl::Chkzifan:
        case Ctl::Chkzhikai:
            return part(index) + "的" + inQuotes(itemCaption(control, index, false));
        case Ctl::Lsthua:
        case Ctl::Lstbao:
        case Ctl::lsthe: {
            const int kind = control == Ctl::Lsthua   ? kBook
                             : control == Ctl::Lstbao ? kNewspaper
                                                      : kBoxBag;
            return kindName(kind) + "的部件" + inQuotes(itemCaption(control, index, true));
        }
        case Ctl::optwa:
            return kindName(kBoxBag) + "的裱瓦楞层数";
        case Ctl::optnian:
            return kindName(kBoxBag) + "的粘盒方式";
    }
    return std::string(controlName(control));
}

}  // namespace inkquot
