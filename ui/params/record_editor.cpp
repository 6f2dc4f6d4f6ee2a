#include "ui/params/record_editor.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/pricedata/param_save.h"
#include "core/pricedata/scheme_ops.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/params/editor_support.h"

using inkquot::PriceTable;

namespace {

// Each kind of record with its reader and its save. A table that cannot be
// read shows as blank records; nothing is said.
void readTable(const std::filesystem::path& file, PriceTable, std::vector<inkquot::JibenRec>& out) {
    inkquot::readJibenTable(file, out);
}
void readTable(const std::filesystem::path& file, PriceTable,
               std::vector<inkquot::GongjiaRec>& out) {
    inkquot::readGongjiaTable(file, out);
}
void readTable(const std::filesystem::path& file, PriceTable table,
               std::vector<inkquot::ZhijiaRec>& out) {
    if (table == PriceTable::Zhijia) {
        inkquot::readZhijiaTable(file, out);
    } else {
        inkquot::readZhijiabuTable(file, out);
    }
}

inkquot::IoStatus saveRecord(const inkquot::ProgramFolder& folder, const std::string& scheme,
                             PriceTable, int record, const inkquot::JibenRec& rec) {
    return inkquot::saveJibenRecord(folder, scheme, record, rec);
}
inkquot::IoStatus saveRecord(const inkquot::ProgramFolder& folder, const std::string& scheme,
                             PriceTable, int record, const inkquot::GongjiaRec& rec) {
    return inkquot::saveGongjiaRecord(folder, scheme, record, rec);
}
inkquot::IoStatus saveRecord(const inkquot::ProgramFolder& folder, const std::string& scheme,
                             PriceTable table, int record, const inkquot::ZhijiaRec& rec) {
    return inkquot::savePaperRecord(folder, scheme, table, record, rec);
}

}  // namespace

template <typename Rec>
RecordEditor<Rec>::RecordEditor(const Fields& fields, const inkquot::ProgramFolder& folder,
                                Dialogs& dialogs, std::function<QString()> currentScheme,
                                QWidget* parent)
    : QGroupBox(QString::fromUtf8(fields.title), parent),
      folder_(folder),
      dialogs_(dialogs),
      currentScheme_(std::move(currentScheme)),
      tables_(fields.tables),
      editable_(fields.editable),
      refusalCopiesFile_(fields.refusalCopiesFile),
      shown_(fields.tables.front().table) {
    setObjectName(QString::fromUtf8(fields.objectName));
    const QString word = QString::fromUtf8(fields.word);
    if (tables_.size() > 1) {
        top_ = new QWidget(this);
        auto* row = new QHBoxLayout(top_);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(16);
        auto* group = new QButtonGroup(this);
        for (const Table& t : tables_) {
            const int i = int(choices_.size());
            choices_.push_back(new QRadioButton(QString::fromUtf8(t.caption), top_));
            choices_[i]->setObjectName(QStringLiteral("opt%1%2").arg(word).arg(i));
            group->addButton(choices_[i], i);
            row->addWidget(choices_[i]);
        }
        row->addStretch(1);
        choices_[0]->setChecked(true);
        connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
            if (checked) {
                tableChosen();
            }
        });
    }

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lst") + word);
    auto* leave = new LeaveCheck(
        this, [this](QLineEdit* box) { return mayLeave(box); },
        [this](QLineEdit* box) { entered(box); });
    for (const char* caption : fields.boxes) {
        const int i = int(boxes_.size());
        boxes_.push_back(new QLineEdit(this));
        boxes_[i]->setObjectName(QStringLiteral("txt%1%2").arg(word).arg(i));
        labels_.push_back(new QLabel(QString::fromUtf8(caption), this));
        labels_[i]->setBuddy(boxes_[i]);
        setBoxLocked(boxes_[i], true);
        leave->watch(boxes_[i]);
    }
    for (int i = 0; i < int(buttons_.size()); ++i) {
        buttons_[i] = new QPushButton(QString::fromUtf8(fields.buttons[i]), this);
        buttons_[i]->setObjectName(QStringLiteral("cmd%1%2").arg(word).arg(i));
    }
    buttons_[EditButton]->setEnabled(false);
    buttons_[SaveButton]->setEnabled(false);

    connect(buttons_[RefreshButton], &QPushButton::clicked, this, &RecordEditor::refresh);
    connect(buttons_[ViewButton], &QPushButton::clicked, this, &RecordEditor::view);
    connect(buttons_[EditButton], &QPushButton::clicked, this, &RecordEditor::beginEdit);
    leave->guard(buttons_[SaveButton], [this] { save(); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { view(); });
    connect(list_, &QListWidget::itemClicked, this, [this] { view(); });
    if (tables_.size() > 1) {
        // Nothing to view or change until a table is shown.
        tableChosen();
    }
}

template <typename Rec>
void RecordEditor<Rec>::layOut(QWidget* extra, LabeledBox note) {
    if (!note.label) {
        note = {labels_.back(), boxes_.back()};
    }
    layOutEditor(this, top_, list_,
                 {{labels_[0], boxes_[0]}, {labels_[1], boxes_[1]}, {labels_[2], boxes_[2]}}, extra,
                 note, {buttons_.begin(), buttons_.end()});
    boxes_[1]->setMaximumWidth(160);
    boxes_[2]->setMaximumWidth(160);
}

template <typename Rec>
void RecordEditor<Rec>::refresh() {
    const PriceTable table = chosenTable();
    std::vector<Rec> recs;
    readTable(inkquot::workingFile(folder_, table), table, recs);
    recs.resize(std::size_t(inkquot::layoutOf(table).recordCount));
    records_ = std::move(recs);
    shown_ = table;
    buttons_[ViewButton]->setEnabled(true);
    {
        const QSignalBlocker block(list_);
        list_->clear();
        for (const Rec& r : records_) {
            list_->addItem(fromUtf8(inkquot::withoutPadding(r.Mingcheng)));
        }
    }
    list_->setCurrentRow(0);
    view();
    list_->setEnabled(true);
}

template <typename Rec>
void RecordEditor<Rec>::view() {
    const int i = selectedRow();
    if (i < 0) {
        return;
    }
    showRecord(records_[std::size_t(i)]);
    buttons_[EditButton]->setEnabled(true);
    buttons_[SaveButton]->setEnabled(false);
    lockEditable();
}

template <typename Rec>
void RecordEditor<Rec>::beginEdit() {
    const int i = selectedRow();
    for (int b : editable_) {
        setBoxLocked(boxes_[std::size_t(b)], i >= 0 && !opens(b, records_[std::size_t(i)]));
    }
    QLineEdit* first = boxes_[std::size_t(editable_.front())];
    first->setFocus(Qt::OtherFocusReason);
    first->selectAll();
    buttons_[SaveButton]->setEnabled(true);
    buttons_[EditButton]->setEnabled(false);
    editing_ = true;
}

template <typename Rec>
bool RecordEditor<Rec>::save() {
    const int i = selectedRow();
    if (i < 0) {
        return false;
    }
    const std::string scheme = toUtf8(currentScheme_());
    Rec edited = records_[std::size_t(i)];
    bool ok = false;
    if (const auto refusal = apply(edited)) {
        dialogs_.warning(this, fromUtf8(*refusal));
        if (refusalCopiesFile_) {
            // The stored file then equals the unchanged working file.
            inkquot::copyWorkingToScheme(folder_, scheme, shown_);
        }
    } else if (const auto status = saveRecord(folder_, scheme, shown_, i + 1, edited); !status) {
        dialogs_.warning(this, QStringLiteral("保存失败：") + fromUtf8(status.message));
    } else {
        records_[std::size_t(i)] = edited;
        ok = true;
    }
    buttons_[SaveButton]->setEnabled(false);
    lockEditable();
    if (ok) {
        recordSaved();
    }
    return ok;
}

template <typename Rec>
int RecordEditor<Rec>::selectedRow() const {
    const int i = list_->currentRow();
    return i >= 0 && i < int(records_.size()) ? i : -1;
}

template <typename Rec>
PriceTable RecordEditor<Rec>::chosenTable() const {
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        if (choices_[i]->isChecked()) {
            return tables_[i].table;
        }
    }
    return tables_.front().table;
}

template <typename Rec>
void RecordEditor<Rec>::tableChosen() {
    buttons_[ViewButton]->setEnabled(false);
    buttons_[EditButton]->setEnabled(false);
    buttons_[SaveButton]->setEnabled(false);
    list_->setEnabled(false);
    // What the boxes show belongs to the other table now.
    lockEditable();
}

template <typename Rec>
void RecordEditor<Rec>::lockEditable() {
    for (int b : editable_) {
        setBoxLocked(boxes_[std::size_t(b)], true);
    }
    editing_ = false;
}

template <typename Rec>
bool RecordEditor<Rec>::mayLeave(QLineEdit* box) {
    if (list_->count() == 0) {
        return true;
    }
    const inkquot::LeaveVerdict verdict = leaving(box);
    showNotices(dialogs_, this, verdict.notices);
    if (verdict.replacement) {
        box->setText(fromUtf8(*verdict.replacement));
    }
    return !verdict.staysInBox;
}

template <typename Rec>
void RecordEditor<Rec>::showTexts(std::initializer_list<std::string> texts) {
    std::size_t box = 0;
    for (const std::string& text : texts) {
        boxes_[box++]->setText(fromUtf8(text));
    }
}

template class RecordEditor<inkquot::JibenRec>;
template class RecordEditor<inkquot::GongjiaRec>;
template class RecordEditor<inkquot::ZhijiaRec>;
