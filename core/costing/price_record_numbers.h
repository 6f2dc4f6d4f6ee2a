#pragma once

// The record numbers of the price tables that the cost rules read, by what
// each record means to the print shop. A value's meaning is fixed by its
// record number, whatever name the record carries in a scheme; the names in
// the comments are those of the built-in scheme.

namespace inkquot {

// 基本数据 (fjiben.dat): one number per record, PriceBook::jiben.
namespace jiben_record {
// Spoilage allowed for every colour run: make-ready sheets (放头数, counted in
// press sheets) and a per mille allowance (放数), for the sheet-fed presses
// and for the web press.
inline constexpr int FlatMakeReadySheets = 1;    // 平印机印刷每色放头数, 张
inline constexpr int FlatOverrunPerMille = 2;    // 平印机印刷每色放数, 千分之
inline constexpr int RotaryMakeReadySheets = 3;  // 轮转机印刷每色放头数, 张
inline constexpr int RotaryOverrunPerMille = 4;  // 轮转机印刷每色放数, 千分之
// The shortest run (起印数, press sheets) a press is charged for: on the
// sheet-fed presses it applies to spot colours, on the web press to all.
inline constexpr int DuikaiFlatMinimumRun = 5;  // 对开平印机起印数
inline constexpr int SikaiFlatMinimumRun = 6;   // 四开平印机起印数
inline constexpr int BakaiFlatMinimumRun = 7;   // 八开平印机起印数
inline constexpr int RotaryMinimumRun = 8;      // 对开轮转机起印数
inline constexpr int BindingMinimumCopies = 9;  // 装订起点计费数, 本
// The smallest charge (起点收费, 元) of each finishing process.
inline constexpr int SurfaceMinimumCharge = 10;     // 表面加工起点收费
inline constexpr int DieCutMinimumCharge = 11;      // 模切起点收费
inline constexpr int EmbossMinimumCharge = 12;      // 压凹凸起点收费
inline constexpr int FoilMinimumCharge = 13;        // 烫金起点收费 (the stamping work)
inline constexpr int MountMinimumCharge = 14;       // 对裱起点收费
inline constexpr int CorrugatedMinimumCharge = 15;  // 裱瓦楞起点收费
inline constexpr int GlueMinimumCharge = 16;        // 粘盒(做纸袋)起点收费
// A spot colour run is priced at the long-run printing price per colour
// times this factor (倍).
inline constexpr int SpotColourFactor = 17;  // 专色印刷价格系数
// Percent added to every paper price when the prices are loaded (百分之).
inline constexpr int PaperManagementFee = 18;  // 纸张管理费
}  // namespace jiben_record

// 工价数据 (fgongjia.dat): a unit price and up to four factors per record,
// PriceBook::gong.
namespace gongjia_record {
// Printing on a sheet-fed press comes in three items per press: (一) a long
// run above 5000 press sheets, per colour and thousand sheets, plates apart;
// (二) a short run up to 3000 and (三) a middle run up to 5000, each per set
// of four plates, plates included.
inline constexpr int DuikaiFlatLongRun = 1;    // 对开平印机印刷费（一）
inline constexpr int DuikaiFlatShortRun = 2;   // 对开平印机印刷费（二）
inline constexpr int DuikaiFlatMiddleRun = 3;  // 对开平印机印刷费（三）
inline constexpr int SikaiFlatLongRun = 4;     // 四开平印机印刷费（一）
inline constexpr int SikaiFlatShortRun = 5;    // 四开平印机印刷费（二）
inline constexpr int SikaiFlatMiddleRun = 6;   // 四开平印机印刷费（三）
inline constexpr int BakaiFlatLongRun = 7;     // 八开平印机印刷费（一）
inline constexpr int BakaiFlatShortRun = 8;    // 八开平印机印刷费（二）
inline constexpr int BakaiFlatMiddleRun = 9;   // 八开平印机印刷费（三）
inline constexpr int RotaryPrinting = 10;      // 对开轮转机印刷费, per colour and thousand
// One PS plate (PS版) per colour run, per press.
inline constexpr int DuikaiFlatPlate = 11;  // 对开平印机PS版费
inline constexpr int SikaiFlatPlate = 12;   // 四开平印机PS版费
inline constexpr int BakaiFlatPlate = 13;   // 八开平印机PS版费
inline constexpr int RotaryPlate = 14;      // 对开轮转机PS版费
// Prepress: design per P (a 16开 page), film and proof per 对开 set, and
// imposition per plate.
inline constexpr int Design = 15;      // 设计制作费
inline constexpr int Film = 16;        // 对开出片费
inline constexpr int Proof = 17;       // 对开打样费
inline constexpr int Imposition = 18;  // 拼版费
// Surface finishing per m², by the kind of coating.
inline constexpr int GlossLamination = 19;       // 过光胶费
inline constexpr int MattLamination = 20;        // 过哑胶费
inline constexpr int VarnishAndCalender = 21;    // 过油磨光费
inline constexpr int UvCoating = 22;             // 过UV费
inline constexpr int FoilStampingWork = 23;      // 对开纸烫电化铝工价, per thousand sheets
inline constexpr int FoilMaterial = 24;          // 电化铝材料费, per m²
inline constexpr int DieBoard = 25;              // 对开模切板费, per board
inline constexpr int DieCutting = 26;            // 对开纸模切工价, per thousand sheets
inline constexpr int Embossing = 27;             // 对开纸压凹凸费, per thousand sheets
inline constexpr int BoxGluing = 28;             // 对开盒粘盒费, per edge and box
inline constexpr int Mounting = 29;              // 对开纸对裱费, per thousand sheets
inline constexpr int CorrugatedLamination = 30;  // 裱瓦楞纸费(连材料), per m²
// Binding: each form has a price per copy (按本计) followed by a price per
// signature of four pages (按贴计), from 骑马订 (form 1) to 其它装订形式三
// (form 6).
inline constexpr int FirstBindingForm = 1;
inline constexpr int LastBindingForm = 6;
constexpr int bindingPerCopy(int form) {
    return 31 + 2 * (form - FirstBindingForm);  // 骑马订工价(按每本计) ..
}
constexpr int bindingPerSignature(int form) {
    return bindingPerCopy(form) + 1;  // 骑马订工价(按每贴计) ..
}
inline constexpr int Folding = 43;    // 16开折页工价, per fold and sheet
inline constexpr int BagMaking = 44;  // 对开纸袋做工费, per bag
}  // namespace gongjia_record

}  // namespace inkquot
