#pragma once

#include <QGroupBox>
#include <QString>
#include <algorithm>
#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/common/program_folder.h"
#include "core/pricedata/param_rules.h"
#include "core/pricedata/price_tables.h"
#include "ui/params/editor_layout.h"

class Dialogs;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

// What every editor of a price table on the parameter page has in common.
// The list holds the names of the table's records in record order, so that
// list position + 1 is the record number, and the boxes show the selected
// record. The four buttons:
//   显示/刷新  reads the table afresh and shows its first record;
//   查看       (or a click in the list) shows the selected record;
//   更改       opens the boxes that may be changed, the first with the focus;
//   the save   writes the record into the working file and the current
//              scheme's stored file, both at once.
// A box is judged when the focus leaves it, and a press of the save button
// meets that judgement before anything else. A save that refuses the boxes
// writes no record; the basic and process panels still copy the working file
// over the stored one, which then equals it, while the paper panel copies
// nothing.
//
// An editor names its boxes and buttons and supplies what belongs to its
// table: what the boxes show, how they change a record and how they are
// judged.
template <typename Rec>
class RecordEditor : public QGroupBox {
public:
    enum Button { RefreshButton, ViewButton, EditButton, SaveButton };

    void refresh();
    void view();
    void beginEdit();
    // True when the record was written into the working file and the scheme.
    bool save();

    // The table shown in the list, the one a save writes.
    inkquot::PriceTable shownTable() const { return shown_; }
    const std::vector<Rec>& records() const { return records_; }

protected:
    struct Table {
        inkquot::PriceTable table = inkquot::PriceTable::Jiben;
        const char* caption = nullptr;  // of its option button
    };
    struct Fields {
        const char* title = nullptr;
        const char* objectName = nullptr;
        // The word in the names of the controls: lst<word>, txt<word>0 …,
        // cmd<word>0 …, opt<word>0 ….
        const char* word = nullptr;
        // The tables the panel edits; option buttons choose among several.
        std::vector<Table> tables{};
        std::vector<const char*> boxes{};  // captions, by box index
        std::array<const char*, 4> buttons{};
        std::vector<int> editable{};    // the boxes 更改 may open; the first gets the focus
        bool refusalCopiesFile = true;  // a refused save still copies the working file
    };

    RecordEditor(const Fields& fields, const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                 std::function<QString()> currentScheme, QWidget* parent);

    // The table choice on top, the list on the left, boxes 0 to 2 beside it,
    // then `extra` and the note (by default the last box), the buttons along
    // the bottom.
    void layOut(QWidget* extra = nullptr, LabeledBox note = {});

    // The first N boxes or labels as a control array.
    template <std::size_t N, typename W>
    static std::array<W*, N> arrayOf(const std::vector<W*>& widgets) {
        std::array<W*, N> a{};
        std::copy_n(widgets.begin(), std::min(N, widgets.size()), a.begin());
        return a;
    }
    // Between 更改 and the end of the save (or the next record shown).
    bool editing() const { return editing_; }
    // Shows the texts of a record (UTF-8) in the boxes, from the first on.
    void showTexts(std::initializer_list<std::string> texts);

    // What belongs to the table.
    virtual void showRecord(const Rec& rec) = 0;
    // Puts what the boxes hold into `rec`, or says why it cannot.
    virtual std::optional<std::string> apply(Rec& rec) const = 0;
    // The judgement on the focus leaving `box` while the list has records.
    virtual inkquot::LeaveVerdict leaving(QLineEdit* box) const = 0;
    // A record reached both files: tell those who show the table.
    virtual void recordSaved() = 0;
    // Whether 更改 opens the editable `box` for `rec`.
    virtual bool opens(int /*box*/, const Rec& /*rec*/) const { return true; }
    // The focus came into `box`.
    virtual void entered(QLineEdit* /*box*/) {}

    QListWidget* list_ = nullptr;
    std::vector<QRadioButton*> choices_;
    std::vector<QLineEdit*> boxes_;
    std::vector<QLabel*> labels_;
    std::array<QPushButton*, 4> buttons_{};

private:
    int selectedRow() const;
    inkquot::PriceTable chosenTable() const;
    void tableChosen();
    void lockEditable();
    bool mayLeave(QLineEdit* box);

    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    std::function<QString()> currentScheme_;
    std::vector<Table> tables_;
    std::vector<int> editable_;
    bool refusalCopiesFile_;
    QWidget* top_ = nullptr;
    std::vector<Rec> records_;
    inkquot::PriceTable shown_;
    bool editing_ = false;
};

extern template class RecordEditor<inkquot::JibenRec>;
extern template class RecordEditor<inkquot::GongjiaRec>;
extern template class RecordEditor<inkquot::ZhijiaRec>;
