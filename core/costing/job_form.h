#pragma once

#include <string>
#include <string_view>

namespace inkquot {

// The controls of the job entry screen that the costing reads or that price
// table generation sets. The enumerators carry the controls' own names, so a
// rule reads like the form it works on: text(Ctl::Ncomkai, 5).
enum class Ctl {
    comleibie,       // job kind list
    txtkehuming,     // customer name, per kind
    txtyinjianming,  // job name, per kind
    txtshuliang,     // quantity, per kind
    txtye,           // pages (books) or 版数 (newspapers)
    txttang,         // foil stamped area in cm²
    Ntxtkaizhi,      // press-sheet 开 of a size group
    Ncomkai,         // 开 of a size group (editable list, read as text)
    Ncomdu,          // paper series of a size group: 大度, 正度
    Cmbkaizhi,       // sheet size on the press, per part
    Ncomke,          // gram weight, per part
    Ncomzhi,         // paper, per part
    Nzhibu,          // sticker paper (single control)
    Ncomyinse,       // colours: 2j and 2j + 1 for part j, 20 for the sticker
    Ncomzhuanse,     // spot colours, per part
    Comnd,           // difficulty factors
    Comyinji,        // press, per part
    Cmbfeilin,       // film mode, per kind
    comjiao,         // surface finishing sides / type
    Cmbdin,          // binding form (single control)
    Cmbzheci,        // number of folds (single control)
    Chkhua,          // section boxes of the book panel
    Chkbao,          // ... newspaper panel
    Chkdan,          // ... single-sheet panel
    Chkhe,           // ... box and bag panel
    Chkbu,           // ... sticker panel
    Chkban,          // "make a die board", per kind with die cutting
    Chkzifan,        // work-and-turn allowed, per part
    Chkzhikai,       // manual sheet size, per part
    Lsthua,          // part list of the book panel (ticks)
    Lstbao,          // part list of the newspaper panel
    lsthe,           // part list of the box panel
    optwa,           // corrugated layers option group
    optnian,         // gluing option group
};

// Check box states as the screen has them: the third, greyed state counts as
// not ticked everywhere.
enum class CheckState { Unchecked = 0, Checked = 1, Greyed = 2 };

// The job as the costing sees it: controls read and set by name and index.
// Single controls (Nzhibu, Cmbdin, Cmbzheci, optwa, optnian, comleibie) take
// index 0. The pricing page implements it over its widgets; FormState over
// plain values.
class JobForm {
public:
    virtual ~JobForm() = default;

    // The control's text: a text box, or the shown text of a list.
    virtual std::string text(Ctl control, int index = 0) const = 0;
    // The selected list position counted from 0, -1 when nothing is selected.
    virtual int listIndex(Ctl control, int index = 0) const = 0;
    virtual CheckState checkState(Ctl control, int index) const = 0;
    // Tick of item `item` of a part list (Lsthua, Lstbao, lsthe).
    virtual bool ticked(Ctl list, int item) const = 0;
    // Chosen option of an option group (optwa, optnian), -1 when none.
    virtual int option(Ctl group) const = 0;

    virtual void setText(Ctl control, int index, const std::string& text) = 0;
    virtual void setListIndex(Ctl control, int index, int position) = 0;
    virtual void setCheckState(Ctl control, int index, CheckState state) = 0;
    virtual void setTicked(Ctl list, int item, bool ticked) = 0;
    virtual void setOption(Ctl group, int chosen) = 0;
};

}  // namespace inkquot
