#include "core/pricedata/default_scheme.h"

#include <cstddef>

#include "core/common/program_folder_lock.h"
#include "core/pricedata/startup_recovery.h"

namespace inkquot {

namespace {

struct JibenRow {
    const char* name;
    float value;
    const char* unit;
    const char* note;
};

// Spoilage allowances, minimum print runs, minimum charges, the spot colour
// factor and the paper management fee (percent added to every paper price).
constexpr JibenRow kJibenRows[] = {
    {"平印机印刷每色放头数", 20.0f, "张", "按实际开纸计"},
    {"平印机印刷每色放数", 8.0f, "千分之", "按实际开纸计"},
    {"轮转机印刷每色放头数", 100.0f, "张", "按实际开纸计"},
    {"轮转机印刷每色放数", 8.0f, "千分之", "按实际开纸计"},
    {"对开平印机起印数", 3000.0f, "张", "按实际开纸计"},
    {"四开平印机起印数", 1000.0f, "张", "按实际开纸计"},
    {"八开平印机起印数", 500.0f, "张", "按实际开纸计"},
    {"对开轮转机起印数", 5000.0f, "张", "按实际开纸计"},
    {"装订起点计费数", 1000.0f, "本", "按实际开本计"},
    {"表面加工起点收费", 100.0f, "元", "表面加工是指过光胶、过哑胶、过油磨光和过UV"},
    {"模切起点收费", 100.0f, "元", "指除去模板的纯加工费"},
    {"压凹凸起点收费", 100.0f, "元", "指无论开度，最少收取的费用"},
    {"烫金起点收费", 100.0f, "元", "指除去材料费的纯加工费"},
    {"对裱起点收费", 100.0f, "元", "指无论开度，最少收取的费用"},
    {"裱瓦楞起点收费", 100.0f, "元", "指无论开度，最少收取的费用(含材料)"},
    {"粘盒(做纸袋)起点收费", 20.0f, "元", "指无论开度和数量，最少收取的费用"},
    {"专色印刷价格系数", 1.5f, "倍", "按倍计，指相对普通四色印刷价格"},
    {"纸张管理费", 15.0f, "百分之", "按百分比计"},
};

// Notes of the process prices: what each TAG factor scales.
constexpr const char* kNoteA =
    "按实际开纸四色印刷计，适用于印数5000以上的印件。三色每色同四色，双色每色按tag1倍，"
    "单色每色按tag2倍计";
constexpr const char* kNoteB =
    "按实际开纸四色印刷计，适用于印数1-3000（含）的印件，含版费，四色计一套版。三色每色同四色，"
    "双色每色按tag1倍，单色每色按tag2倍计";
constexpr const char* kNoteC =
    "按实际开纸四色印刷计，适用于印数3000-5000（含）的印件，含版费，四色计一套版。"
    "三色每色同四色，双色每色按tag1倍，单色每色按tag2倍计";
constexpr const char* kNoteD =
    "按实际开纸四色印刷计，适用于印数5000以上的印件，三色每色同四色，双色每色按tag1倍，"
    "单色每色按tag2倍计";
constexpr const char* kNoteE =
    "按实际开纸四色印刷计，三色每色同四色，双色每色按tag1倍，单色每色按tag2倍计";
constexpr const char* kNoteF = "每块计";
constexpr const char* kNoteG =
    "16开4色计1P，其他开度按比例计。三色以上每色按四色，双色每色按tag1倍计，单色每色按tag2倍计";
constexpr const char* kNoteH =
    "以对开四色计，其他开度按比例。三色以上每色按四色，双色每色按tag1倍计，单色每色按tag2倍计";
constexpr const char* kNoteI = "以对开计，三开同对开，4(含)-8开按tag1倍计,8开(含)以下按tag2倍计";
constexpr const char* kNoteJ = "按面积计";
constexpr const char* kNoteK =
    "4-8开按(tag1)倍计，9-32开按(tag2)倍计，33-64开按(tag3)倍计，64开以下按(tag4)倍计";
constexpr const char* kNoteL = "以对开计，三开同对开，四开按tag1倍计,八开按tag2倍计";
constexpr const char* kNoteM = "以三层计,五层按(tag1)倍计,七层按(tag2)倍计";
constexpr const char* kNoteN =
    "以16开为标准,16开以上按(tag1)倍计,17-32开按(tag2)倍计,33-64开按(tag3)倍计,"
    "65开以下按(tag4)倍计";
constexpr const char* kNoteO = "以16开为标准，4页为1贴，其它开度比例同骑马订工价(按本计)";
constexpr const char* kNoteP = "以16开为标准，4页为1贴，其它开度比例同锁线胶订工价(按本计)";
constexpr const char* kNoteQ = "以16开为标准，4页为1贴，其它开度比例同精装工价(按本计)";
constexpr const char* kNoteR = "以16开为标准，4页为1贴，其它开度比例同其它装订形式一(按本计)";
constexpr const char* kNoteS = "以16开为标准，4页为1贴，其它开度比例同其它装订形式二(按本计)";
constexpr const char* kNoteT = "以16开为标准，4页为1贴，其它开度比例同其它装订形式三(按本计)";
// The trailing space belongs to the stored note.
constexpr const char* kNoteU =
    "以16开为标准，大于16开按tag1倍计，小于16开按tag2倍计(注：装订不另计折页费) ";
constexpr const char* kNoteV =
    "3开按(tag1)倍计，4开按(tag2)倍计，5-8开按(tag3)倍计，8开以下按(tag4)倍计";

struct GongjiaRow {
    const char* name;
    float price;
    const char* unit;
    float tag1, tag2, tag3, tag4;
    const char* note;
};

constexpr GongjiaRow kGongjiaRows[] = {
    {"对开平印机印刷费（一）", 40.0f, "元/色/千印", 0.8f, 0.8f, 0.0f, 0.0f, kNoteA},
    {"对开平印机印刷费（二）", 800.0f, "元/套版", 0.8f, 0.8f, 0.0f, 0.0f, kNoteB},
    {"对开平印机印刷费（三）", 1000.0f, "元/套版", 0.8f, 0.8f, 0.0f, 0.0f, kNoteC},
    {"四开平印机印刷费（一）", 24.0f, "元/色/千印", 0.8f, 0.8f, 0.0f, 0.0f, kNoteD},
    {"四开平印机印刷费（二）", 480.0f, "元/套版", 0.8f, 0.8f, 0.0f, 0.0f, kNoteB},
    {"四开平印机印刷费（三）", 600.0f, "元/套版", 0.8f, 0.8f, 0.0f, 0.0f, kNoteC},
    {"八开平印机印刷费（一）", 12.0f, "元/色/千印", 0.8f, 0.8f, 0.0f, 0.0f, kNoteD},
    {"八开平印机印刷费（二）", 240.0f, "元/套版", 0.8f, 0.8f, 0.0f, 0.0f, kNoteB},
    {"八开平印机印刷费（三）", 300.0f, "元/套版", 0.8f, 0.8f, 0.0f, 0.0f, kNoteC},
    {"对开轮转机印刷费", 27.5f, "元/色/千印", 0.8f, 0.8f, 0.0f, 0.0f, kNoteE},
    {"对开平印机PS版费", 100.0f, "元/块", 0.0f, 0.0f, 0.0f, 0.0f, kNoteF},
    {"四开平印机PS版费", 60.0f, "元/块", 0.0f, 0.0f, 0.0f, 0.0f, kNoteF},
    {"八开平印机PS版费", 30.0f, "元/块", 0.0f, 0.0f, 0.0f, 0.0f, kNoteF},
    {"对开轮转机PS版费", 100.0f, "元/块", 0.0f, 0.0f, 0.0f, 0.0f, kNoteF},
    {"设计制作费", 100.0f, "元/P", 0.8f, 0.8f, 0.0f, 0.0f, kNoteG},
    {"对开出片费", 320.0f, "元/套", 0.8f, 0.8f, 0.0f, 0.0f, kNoteH},
    {"对开打样费", 80.0f, "元/套", 0.8f, 0.8f, 0.0f, 0.0f, kNoteH},
    {"拼版费", 20.0f, "元/块版", 0.6f, 0.3f, 0.0f, 0.0f, kNoteI},
    {"过光胶费", 1.05f, "元/平方米", 0.0f, 0.0f, 0.0f, 0.0f, kNoteJ},
    {"过哑胶费", 1.25f, "元/平方米", 0.0f, 0.0f, 0.0f, 0.0f, kNoteJ},
    {"过油磨光费", 0.55f, "元/平方米", 0.0f, 0.0f, 0.0f, 0.0f, kNoteJ},
    {"过UV费", 1.05f, "元/平方米", 0.0f, 0.0f, 0.0f, 0.0f, kNoteJ},
    {"对开纸烫电化铝工价", 450.0f, "元/千张", 0.6f, 0.3f, 0.0f, 0.0f, kNoteI},
    {"电化铝材料费", 20.0f, "元/平方米", 0.0f, 0.0f, 0.0f, 0.0f, kNoteJ},
    {"对开模切板费", 400.0f, "元/块", 0.6f, 0.3f, 0.0f, 0.0f, kNoteI},
    {"对开纸模切工价", 240.0f, "元/千张", 0.6f, 0.3f, 0.0f, 0.0f, kNoteI},
    {"对开纸压凹凸费", 240.0f, "元/千张", 0.6f, 0.3f, 0.0f, 0.0f, kNoteI},
    {"对开盒粘盒费", 0.15f, "元/边/个", 0.5f, 0.2f, 0.12f, 0.08f, kNoteK},
    {"对开纸对裱费", 120.0f, "元/千张", 0.6f, 0.3f, 0.0f, 0.0f, kNoteL},
    {"裱瓦楞纸费(连材料)", 2.0f, "元/平方米", 1.5f, 2.0f, 0.0f, 0.0f, kNoteM},
    {"骑马订工价(按每本计)", 0.1f, "元/本", 1.5f, 0.8f, 0.6f, 0.4f, kNoteN},
    {"骑马订工价(按每贴计)", 0.02f, "元/贴/本", 0.0f, 0.0f, 0.0f, 0.0f, kNoteO},
    {"锁线胶订工价(按本计)", 1.0f, "元/本", 1.5f, 0.8f, 0.6f, 0.4f, kNoteN},
    {"锁线胶订工价(按贴计)", 0.03f, "元/贴/本", 0.0f, 0.0f, 0.0f, 0.0f, kNoteP},
    {"精装工价(按本计)", 3.0f, "元/本", 1.5f, 0.8f, 0.6f, 0.4f, kNoteN},
    {"精装工价(按贴计)", 0.03f, "元/贴/本", 0.0f, 0.0f, 0.0f, 0.0f, kNoteQ},
    {"其它装订形式一(按本计)", 1.0f, "元/本", 1.5f, 0.8f, 0.6f, 0.4f, kNoteN},
    {"其它装订形式一(按贴计)", 0.02f, "元/贴/本", 0.0f, 0.0f, 0.0f, 0.0f, kNoteR},
    {"其它装订形式二(按本计)", 1.0f, "元/本", 1.5f, 0.8f, 0.6f, 0.4f, kNoteN},
    {"其它装订形式二(按贴计)", 0.02f, "元/贴/本", 0.0f, 0.0f, 0.0f, 0.0f, kNoteS},
    {"其它装订形式三(按本计)", 1.0f, "元/本", 1.5f, 0.8f, 0.6f, 0.4f, kNoteN},
    {"其它装订形式三(按贴计)", 0.02f, "元/贴/本", 0.0f, 0.0f, 0.0f, 0.0f, kNoteT},
    {"16开折页工价", 0.01f, "元/折/张", 1.5f, 0.8f, 0.0f, 0.0f, kNoteU},
    {"对开纸袋做工费", 0.5f, "元/个", 0.9f, 0.8f, 0.7f, 0.6f, kNoteV},
};

struct PaperRow {
    const char* name;
    float price;
    const char* unit;
    const char* note;
    std::int32_t builtIn;
};

// Built-in papers first (their names and notes cannot be edited), then
// entries the shop may name itself.
constexpr PaperRow kZhijiaRows[] = {
    {"铜版纸", 8000.0f, "元/吨", "普通", 1},       {"哑粉纸", 9200.0f, "元/吨", "普通", 1},
    {"胶版纸(高档)", 7800.0f, "元/吨", "普通", 1}, {"胶版纸(低档)", 5800.0f, "元/吨", "普通", 1},
    {"普白新闻纸", 5000.0f, "元/吨", "普通", 1},   {"加白新闻纸", 5500.0f, "元/吨", "普通", 1},
    {"白卡纸", 8000.0f, "元/吨", "普通", 1},       {"白底白版纸", 7000.0f, "元/吨", "普通", 1},
    {"灰底白版纸", 5600.0f, "元/吨", "普通", 1},
};
constexpr PaperRow kCustomPaper{"自定义纸张", 8000.0f, "元/吨", "自定义", 0};
constexpr int kPaperCount = 50;

constexpr PaperRow kZhijiabuRows[] = {
    {"普通不干胶纸", 1.2f, "元/张", "按对开规格计", 1},
    {"高级不干胶纸", 2.0f, "元/张", "按对开规格计", 1},
};
constexpr PaperRow kCustomStickerPaper{"自定义不干胶纸", 2.0f, "元/张", "按对开规格计", 0};
constexpr int kStickerPaperCount = 10;

std::vector<ZhijiaRec> paperTable(const PaperRow* rows, std::size_t rowCount,
                                  const PaperRow& custom, int count) {
    std::vector<ZhijiaRec> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int n = 1; n <= count; ++n) {
        const PaperRow& r = static_cast<std::size_t>(n) <= rowCount
                                ? rows[static_cast<std::size_t>(n - 1)]
                                : custom;
        out.push_back(ZhijiaRec{n, r.name, r.price, r.unit, r.note, r.builtIn});
    }
    return out;
}

}  // namespace

std::vector<JibenRec> defaultJibenTable() {
    std::vector<JibenRec> out;
    std::int32_t n = 0;
    for (const auto& r : kJibenRows) {
        out.push_back(JibenRec{++n, r.name, r.value, r.unit, r.note});
    }
    return out;
}

std::vector<GongjiaRec> defaultGongjiaTable() {
    std::vector<GongjiaRec> out;
    std::int32_t n = 0;
    for (const auto& r : kGongjiaRows) {
        out.push_back(
            GongjiaRec{++n, r.name, r.price, r.unit, r.tag1, r.tag2, r.tag3, r.tag4, r.note});
    }
    return out;
}

std::vector<ZhijiaRec> defaultZhijiaTable() {
    return paperTable(kZhijiaRows, std::size(kZhijiaRows), kCustomPaper, kPaperCount);
}

std::vector<ZhijiabuRec> defaultZhijiabuTable() {
    return paperTable(kZhijiabuRows, std::size(kZhijiabuRows), kCustomStickerPaper,
                      kStickerPaperCount);
}

IoStatus WriteDefaultJiben(const ProgramFolder& folder) {
    return writeTable(
        folder.schemeFile(kDefaultSchemeName, layoutOf(PriceTable::Jiben).schemeSuffix),
        defaultJibenTable());
}

IoStatus WriteDefaultGongjia(const ProgramFolder& folder) {
    return writeTable(
        folder.schemeFile(kDefaultSchemeName, layoutOf(PriceTable::Gongjia).schemeSuffix),
        defaultGongjiaTable());
}

IoStatus WriteDefaultZhijia(const ProgramFolder& folder) {
    return writeTable(
        folder.schemeFile(kDefaultSchemeName, layoutOf(PriceTable::Zhijia).schemeSuffix),
        PriceTable::Zhijia, defaultZhijiaTable());
}

IoStatus WriteDefaultZhijiabu(const ProgramFolder& folder) {
    return writeTable(
        folder.schemeFile(kDefaultSchemeName, layoutOf(PriceTable::Zhijiabu).schemeSuffix),
        PriceTable::Zhijiabu, defaultZhijiabuTable());
}

IoStatus RepairDefaultSchemeFiles(const ProgramFolder& folder) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    // The repair is also the way out of a folder whose record of an
    // interrupted change is damaged: that record goes, with the leftovers.
    if (IoStatus recovered = recoverProgramFolder(folder, DamagedJournal::Clear); !recovered) {
        return recovered;
    }
    for (auto write :
         {WriteDefaultJiben, WriteDefaultZhijia, WriteDefaultZhijiabu, WriteDefaultGongjia}) {
        IoStatus status = write(folder);
        if (!status) {
            return status;
        }
    }
    return IoStatus::success();
}

}  // namespace inkquot
