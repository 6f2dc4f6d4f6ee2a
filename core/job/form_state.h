#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/costing/job_form.h"

namespace inkquot {

// The job entry form over plain values: the command line tool and the tests
// describe a job with it. It starts from the screen's starting contents and
// keeps the controls consistent with the same event rules as the screen:
//
// - selecting a press (Comyinji) runs the press rules for that part: the
//   sheet-size list is rebuilt with its first size selected, a refused press
//   goes back to 对开平印机, and the self-turn box follows the press;
// - a change of a 开 text (Ncomkai) or a press-sheet text (Ntxtkaizhi) runs
//   ResetYinji for its size group: every part of the group goes back to
//   对开平印机 with its sizes rebuilt; a 开 text that is not a number changes
//   nothing and leaves the warning "发生错误!";
// - ticking Chkzhikai enables the part's sheet-size list;
// - a press-sheet text that is not a number is refused with "非法数据！" and
//   the box keeps its number (the costing divides by it);
// - a click on the cover or an insert of the book's part list gives that
//   part the book's size (the size-follow rule).
//
// A screen that shows the model hands every event to it and then shows what
// changed: takeChanges() names every control written since the last call
// (its value, its items or whether it can be used), takeWarnings() the
// message boxes due, takeHints() the advice for the hint line.
//
// A control or index outside the catalogue throws std::out_of_range, and an
// access that does not fit the kind of control (a tick of a text box)
// throws std::logic_error: both are faults of the caller, never of the job.
class FormState : public JobForm {
public:
    // The starting contents, with every press list set to its first press
    // (which fills the sheet-size lists). Paper lists hold blank names until
    // setPaperNames / setStickerPaperNames.
    FormState();

    std::string text(Ctl control, int index = 0) const override;
    int listIndex(Ctl control, int index = 0) const override;
    CheckState checkState(Ctl control, int index) const override;
    bool ticked(Ctl list, int item) const override;
    int option(Ctl group) const override;

    // On a list whose text is read, the text is shown as typed and the list
    // selects the first item equal to it (none when no item is). On a list
    // read by position, the first item equal to the text is selected (none
    // when no item is).
    void setText(Ctl control, int index, const std::string& text) override;
    // -1 clears the selection. Selecting a press runs the press rules even
    // when the press was already selected.
    void setListIndex(Ctl control, int index, int position) override;
    void setCheckState(Ctl control, int index, CheckState state) override;
    void setTicked(Ctl list, int item, bool ticked) override;
    void setOption(Ctl group, int chosen) override;

    // A click on item `position` of the 开 list of group g: the press-sheet
    // text goes back to "2" and the group's parts are reset.
    void chooseKai(int group, int position);
    // A click on an item of a part list (Lsthua, Lstbao, lsthe): on the
    // book's list, the size-follow rule for the cover and the inserts.
    void clickPartItem(Ctl list, int item);

    const std::vector<std::string>& items(Ctl control, int index = 0) const;
    bool enabled(Ctl control, int index) const;
    // Whether the frame that a section box or a part list item stands for
    // is switched on: while the box or the item is ticked (a greyed box
    // counts as not ticked). For a part list, `index` is the item.
    bool switchesOn(Ctl control, int index) const;

    // Fills every paper list (Ncomzhi) or the sticker paper list (Nzhibu)
    // with the names of the current scheme, keeping each selection when it
    // is still inside the list and selecting the first name otherwise.
    void setPaperNames(const std::vector<std::string>& names);
    void setStickerPaperNames(const std::vector<std::string>& names);

    // Warnings the event rules would have shown, oldest first.
    const std::vector<std::string>& warnings() const { return warnings_; }
    void clearWarnings() { warnings_.clear(); }
    std::vector<std::string> takeWarnings() { return std::exchange(warnings_, {}); }

    // A control by name and index; a part list is named by index 0.
    struct ControlRef {
        Ctl control;
        int index;
        bool operator==(const ControlRef&) const = default;
    };
    // The controls written since the last call, each once, in the order of
    // their first write.
    std::vector<ControlRef> takeChanges();
    // Advice texts for the hint line, oldest first.
    std::vector<std::string> takeHints() { return std::exchange(hints_, {}); }

    // Brings a form that is a copy of `origin` back to it after any use:
    // only the controls written since are copied back (every change goes
    // through touch()), so a batch starts each job from its starting form
    // without copying the whole form.
    void restore(const FormState& origin);

private:
    // A list's items. They change only when the list is filled anew (paper
    // names, a press's sheet sizes), so copies of a form share them: a batch
    // starts every job from one copied form.
    class Items {
    public:
        Items() : list_(noItems()) {}
        Items& operator=(std::vector<std::string> items) {
            list_ = std::make_shared<const std::vector<std::string>>(std::move(items));
            return *this;
        }
        void assign(std::size_t count, const std::string& item) {
            *this = std::vector<std::string>(count, item);
        }
        operator const std::vector<std::string>&() const { return *list_; }
        std::size_t size() const { return list_->size(); }
        bool empty() const { return list_->empty(); }
        const std::string& operator[](std::size_t i) const { return (*list_)[i]; }
        const std::string& front() const { return list_->front(); }

    private:
        static const std::shared_ptr<const std::vector<std::string>>& noItems() {
            static const auto none = std::make_shared<const std::vector<std::string>>();
            return none;
        }
        std::shared_ptr<const std::vector<std::string>> list_;
    };

    struct Value {
        Items items;
        std::string text;
        int position = -1;
        CheckState check = CheckState::Unchecked;
        bool enabled = true;
        std::vector<bool> ticks;  // part lists
        bool written = false;     // listed in changes_
    };

    const Value& at(Ctl control, int index) const;
    Value& at(Ctl control, int index);
    void selectPosition(Value& v, int position, Ctl control, int index);
    void runPressRules(int part);
    void resetYinji(int group);
    void fillSchemeList(Ctl control, const std::vector<std::string>& names);
    void touch(Ctl control, int index);

    std::vector<std::vector<Value>> values_;  // by Ctl, then index
    std::vector<std::string> warnings_;
    std::vector<std::string> hints_;
    std::vector<ControlRef> changes_;
};

}  // namespace inkquot
