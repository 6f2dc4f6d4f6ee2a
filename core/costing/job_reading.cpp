#include "core/costing/job_reading.h"

#include <array>
#include <cmath>
#include <optional>

#include "core/common/number_text.h"
#include "core/costing/binding_costing.h"
#include "core/costing/press_kind.h"
#include "core/costing/stored_float.h"

namespace inkquot {

namespace {

std::string inQuotes(std::string_view text) {
    std::string s = "“";
    s += text;
    s += "”";
    return s;
}

}  // namespace

std::string_view partName(int part) {
    static constexpr std::array<std::string_view, 11> kNames = {
        "封面", "内页一", "内页二", "插页一",   "插页二", "页一",
        "页二", "单张",   "面纸",   "对裱里纸", "不干胶",
    };
    if (part < 0 || part >= static_cast<int>(kNames.size())) {
        return "印件";
    }
    return kNames[static_cast<std::size_t>(part)];
}

std::string numberText(float value) {
    return shortestFloatText(value);
}

JobReader::JobReader(const JobForm& form, float quantity) : form_(form) {
    if (quantity == 0) {
        refuse("数量不能为零！");
    } else if (!std::isfinite(quantity)) {
        refuse("数量必须是有效的数字，请重新输入计价数量。");
    }
}

float JobReader::number(Ctl control, int index, std::string_view what) {
    return number(control, index, what, {});
}

float JobReader::number(Ctl control, int index, std::string_view part, std::string_view what) {
    const std::string text = form_.text(control, index);
    const std::optional<float> value = parseNumber(text);
    if (!value) {
        std::string message(part);
        message += what;
        message += inQuotes(text);
        message += "不是有效的数字，请重新输入。";
        refuse(std::move(message));
        return 0;
    }
    return *value;
}

float JobReader::numberIf(bool needed, Ctl control, int index, std::string_view what) {
    if (needed) {
        return number(control, index, what);
    }
    return parseNumber(form_.text(control, index)).value_or(0.0f);
}

float JobReader::position(Ctl control, int index) const {
    const int listIndex = form_.listIndex(control, index);
    return listIndex < 0 ? 0.0f : static_cast<float>(listIndex + 1);
}

float JobReader::press(int part) const {
    return costingPress(form_.listIndex(Ctl::Comyinji, part));
}

float JobReader::checked(Ctl control, int index) const {
    return form_.checkState(control, index) == CheckState::Checked ? 1.0f : 0.0f;
}

float JobReader::ticked(Ctl list, int item) const {
    return form_.ticked(list, item) ? 1.0f : 0.0f;
}

int JobReader::option(Ctl group) const {
    return form_.option(group);
}

void JobReader::refuse(std::string message) {
    if (refusal_.empty()) {
        refusal_ = std::move(message);
    }
}

void readPaperAndColours(JobReader& reader, const PrintingControls& c, PartSpec& spec) {
    const std::string_view name = partName(c.part);
    if (c.part == 10) {
        spec.gsm = 0;  // sticker paper is priced per sheet, not by weight
        spec.paperIndex = reader.position(Ctl::Nzhibu);
    } else {
        spec.gsm = reader.number(Ctl::Ncomke, c.part, name, "的纸厚（克重）");
        spec.paperIndex = reader.position(Ctl::Ncomzhi, c.part);
    }
    spec.coloursFront = reader.number(Ctl::Ncomyinse, c.coloursFront, name, "的印色");
    spec.coloursBack =
        c.coloursBack < 0 ? 0.0f : reader.number(Ctl::Ncomyinse, c.coloursBack, name, "的印色");
    spec.spotColours = reader.number(Ctl::Ncomzhuanse, c.part, name, "的专色或实地色");
    spec.printDifficulty = reader.number(Ctl::Comnd, c.difficulty, name, "的难度系数");
}

PartSpec readPiece(JobReader& reader, int part, float quantity, float kai, float halfSheetArea) {
    PartSpec spec;
    spec.quantity = quantity;
    spec.halfSheetArea = halfSheetArea;
    spec.kai = kai;
    spec.sheetKai = reader.number(Ctl::Cmbkaizhi, part, partName(part), "的开纸大小");
    spec.press = reader.press(part);
    spec.workAndTurn = reader.checked(Ctl::Chkzifan, part);
    return spec;
}

void readDieCutDifficulty(JobReader& reader, int first, PartSpec& spec) {
    const bool dieCut = spec.dieCutFlag == 1;
    spec.dieCutDifficulty = reader.numberIf(dieCut, Ctl::Comnd, first, "模切的难度系数");
    spec.dieBoardDifficulty = reader.numberIf(dieCut, Ctl::Comnd, first + 1, "模板的难度系数");
}

void checkPrintedPart(JobReader& reader, int part, const PartSpec& spec) {
    const std::string name(partName(part));
    if (!(spec.sheetKai > 0)) {
        reader.refuse(name + "的开纸大小必须大于零，请重新选择开纸大小。");
    }
    const bool sticker = spec.stickerPaper == 1;
    const float count = sticker ? PriceBook::kZhibuCount : PriceBook::kZhiCount;
    if (spec.paperIndex < 1) {
        reader.refuse("请为" + name + "选择纸张。");
    } else if (spec.paperIndex > count) {
        reader.refuse(name + "所选的纸张不在当前价格方案的纸价表中，请重新选择纸张。");
    }
}

void checkKai(JobReader& reader, float kai, std::string_view what) {
    if (!(kai > 0) || !std::isfinite(kai)) {
        reader.refuse(std::string(what) + "的开数必须是大于零的数字，请重新选择开数。");
    }
}

void checkSize(JobReader& reader, float kai, float area, std::string_view what) {
    checkKai(reader, kai, what);
    if (!std::isfinite(area)) {
        reader.refuse(std::string(what) + "的纸张规格无效，请选择大度或正度。");
    }
}

float halfSheetAreaOf(JobReader& reader, int index, std::string_view what) {
    if (index != 0 && index != 1) {
        reader.refuse("请选择" + std::string(what) + "的纸张规格（大度或正度）。");
        return 0;
    }
    // 大度 (0) 0.53 m², 正度 (1) 0.43 m² per 对开 sheet.
    return storedFloat((1.0 - index) / 10.0 + 0.43);
}

JobCosting::JobCosting(const PriceSource& prices, CostResult& result)
    : prices_(prices), result_(result) {
    ClearCostResult(result_);
}

namespace {

bool sameSpec(const PartSpec& a, const PartSpec& b) {
    for (const auto& field : kPartSpecFields) {
        if (a.*field.member != b.*field.member) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool JobCosting::addPart(const PartSpec& spec, int part) {
    if (failed()) {
        return false;
    }
    const std::string name(partName(part));
    PartOutcome costed;
    if (!prices_.load(book_)) {
        costed.status = PartStatus::PriceFilesUnreadable;
    } else {
        costed = costPartWithBook(book_, spec);
    }
    switch (costed.status) {
        case PartStatus::Costed:
        case PartStatus::NotPrintable: {
            AddPartCost(costed.cost, result_);
            std::vector<CostedPart>& parts = figures_.parts;
            if (!parts.empty() && parts.back().part == part && sameSpec(parts.back().spec, spec)) {
                parts.back().times += 1;
            } else {
                parts.push_back(CostedPart{part, spec, costed.status, costed.figures, 1});
            }
            return true;
        }
        case PartStatus::NonFiniteInput:
        case PartStatus::ResultOutOfRange:
            refuse(name + "的费用超出了可以计算的范围，请检查数量、开数、克重等数值。");
            return false;
        case PartStatus::BadQuantity:
            refuse("数量不能为零！");
            return false;
        case PartStatus::BadSheetKai:
            refuse(name + "的开纸大小必须大于零，请重新选择开纸大小。");
            return false;
        case PartStatus::BadPaperIndex:
            refuse("请为" + name + "选择纸张。");
            return false;
        case PartStatus::PriceFilesUnreadable:
            refuse(
                "无法读取当前价格方案的价格表文件（fjiben.dat、fgongjia.dat、fzhijia.dat、"
                "fzhijiabu.dat），请检查程序文件夹。");
            return false;
    }
    return false;
}

bool JobCosting::bind(float copies, float kai, float pages, float bindingForm) {
    const BindingOutcome bound = costBindingWithBook(book_, 1, copies, kai, pages, bindingForm);
    if (bound.status == BindingStatus::NonFiniteInput ||
        bound.status == BindingStatus::ResultOutOfRange) {
        refuse("装订费超出了可以计算的范围，请检查数量和页数。");
        return false;
    }
    result_.BindingCost = bound.BindingCost;
    figures_.binding =
        BindingFigures{true, bindingForm, pages, bound.signatures, copies, bound.chargedCopies};
    return true;
}

CostOutcome JobCosting::outcome() const {
    if (failed()) {
        return CostOutcome::refused(refusal_);
    }
    CostOutcome costed;
    costed.figures = figures_;
    return costed;
}

CostOutcome JobCosting::refuse(std::string refusal) {
    if (refusal_.empty()) {
        refusal_ = std::move(refusal);
    }
    ClearCostResult(result_);
    return outcome();
}

CostOutcome JobCosting::finish(float quantity) {
    if (failed()) {
        ClearCostResult(result_);
        return outcome();
    }
    FinishCostResult(result_, quantity);
    for (const auto& field : kCostResultFields) {
        if (!std::isfinite(result_.*field.member)) {
            return refuse("计算结果超出了可以表示的范围，请检查数量、开数和页数等数值。");
        }
    }
    return outcome();
}

CostOutcome costOnePart(const PriceSource& prices, const JobForm& form, CostResult& result,
                        float quantity, float kai, float halfSheetArea, const OnePart& one,
                        const std::function<void(JobReader&, PartSpec&)>& readRest) {
    JobCosting job(prices, result);
    JobReader reader(form, quantity);
    PartSpec spec;
    const bool printed = reader.checked(one.section, 0) == 1;
    if (printed) {
        checkSize(reader, kai, halfSheetArea, one.size);
        spec = readPiece(reader, one.part, quantity, kai, halfSheetArea);
        readRest(reader, spec);
    }
    if (reader.failed()) {
        return job.refuse(reader.refusal());
    }
    if (printed && !job.addPart(spec, one.part)) {
        return job.outcome();
    }
    return job.finish(quantity);
}

}  // namespace inkquot
