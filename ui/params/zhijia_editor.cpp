#include "ui/params/zhijia_editor.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/pricedata/param_rules.h"
#include "core/pricedata/param_save.h"
#include "core/pricedata/scheme_ops.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/params/editor_layout.h"
#include "ui/params/editor_support.h"

using inkquot::PriceTable;

ZhijiaEditor::ZhijiaEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                           std::function<QString()> currentScheme, QWidget* parent)
    : QGroupBox(QStringLiteral("查看或修改纸价"), parent),
      folder_(folder),
      dialogs_(dialogs),
      currentScheme_(std::move(currentScheme)) {
    setObjectName(QStringLiteral("zhijiaEditor"));

    auto* tables = new QWidget(this);
    auto* tablesRow = new QHBoxLayout(tables);
    tablesRow->setContentsMargins(0, 0, 0, 0);
    tablesRow->setSpacing(16);
    auto* group = new QButtonGroup(this);
    const char* tableCaptions[2] = {"普通纸", "不干胶纸"};
    for (int i = 0; i < 2; ++i) {
        optzhi[std::size_t(i)] = new QRadioButton(QString::fromUtf8(tableCaptions[i]), tables);
        optzhi[std::size_t(i)]->setObjectName(QStringLiteral("optzhi%1").arg(i));
        group->addButton(optzhi[std::size_t(i)], i);
        tablesRow->addWidget(optzhi[std::size_t(i)]);
    }
    tablesRow->addStretch(1);
    optzhi[0]->setChecked(true);

    lstzhi = new QListWidget(this);
    lstzhi->setObjectName(QStringLiteral("lstzhi"));

    const char* captions[4] = {"纸张种类", "纸张价格", "单    位", "说    明"};
    auto* leave = new LeaveCheck(this, [this](QLineEdit*) { return checkLeave(); });
    for (int i = 0; i < 4; ++i) {
        txtzhi[std::size_t(i)] = new QLineEdit(this);
        txtzhi[std::size_t(i)]->setObjectName(QStringLiteral("txtzhi%1").arg(i));
        labels[std::size_t(i)] = new QLabel(QString::fromUtf8(captions[i]), this);
        labels[std::size_t(i)]->setBuddy(txtzhi[std::size_t(i)]);
        setBoxLocked(txtzhi[std::size_t(i)], true);
        leave->watch(txtzhi[std::size_t(i)]);
    }
    const char* buttons[4] = {"显示/刷新", "查看", "更改", "保存更改"};
    for (int i = 0; i < 4; ++i) {
        cmdzhi[std::size_t(i)] = new QPushButton(QString::fromUtf8(buttons[i]), this);
        cmdzhi[std::size_t(i)]->setObjectName(QStringLiteral("cmdzhi%1").arg(i));
    }

    connect(group, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) {
            tableChosen();
        }
    });
    connect(cmdzhi[RefreshButton], &QPushButton::clicked, this, &ZhijiaEditor::refresh);
    connect(cmdzhi[ViewButton], &QPushButton::clicked, this, &ZhijiaEditor::view);
    connect(cmdzhi[EditButton], &QPushButton::clicked, this, &ZhijiaEditor::beginEdit);
    leave->guard(cmdzhi[SaveButton], [this] { save(); });
    connect(lstzhi, &QListWidget::currentRowChanged, this, [this] { view(); });
    connect(lstzhi, &QListWidget::itemClicked, this, [this] { view(); });

    layOutEditor(this, tables, lstzhi,
                 {{labels[0], txtzhi[0]}, {labels[1], txtzhi[1]}, {labels[2], txtzhi[2]}}, nullptr,
                 {labels[3], txtzhi[3]}, {cmdzhi.begin(), cmdzhi.end()});
    txtzhi[PriceBox]->setMaximumWidth(160);
    txtzhi[UnitBox]->setMaximumWidth(160);

    // Nothing to view or change until a table is shown.
    tableChosen();
}

void ZhijiaEditor::tableChosen() {
    cmdzhi[ViewButton]->setEnabled(false);
    cmdzhi[EditButton]->setEnabled(false);
    cmdzhi[SaveButton]->setEnabled(false);
    lstzhi->setEnabled(false);
    // What the boxes show belongs to the other table now.
    lockAll();
}

void ZhijiaEditor::lockAll() {
    editing_ = false;
    setBoxLocked(txtzhi[NameBox], true);
    setBoxLocked(txtzhi[PriceBox], true);
    setBoxLocked(txtzhi[UnitBox], true);
    setBoxLocked(txtzhi[NoteBox], true);
}

void ZhijiaEditor::refresh() {
    const PriceTable table = optzhi[0]->isChecked() ? PriceTable::Zhijia : PriceTable::Zhijiabu;
    std::vector<inkquot::ZhijiaRec> recs;
    // A table that cannot be read shows as blank records; nothing is said.
    if (table == PriceTable::Zhijia) {
        inkquot::readZhijiaTable(inkquot::workingFile(folder_, table), recs);
    } else {
        inkquot::readZhijiabuTable(inkquot::workingFile(folder_, table), recs);
    }
    recs.resize(std::size_t(inkquot::layoutOf(table).recordCount));
    records_ = std::move(recs);
    shownTable_ = table;
    cmdzhi[ViewButton]->setEnabled(true);
    {
        const QSignalBlocker block(lstzhi);
        lstzhi->clear();
        for (const auto& r : records_) {
            lstzhi->addItem(fromUtf8(inkquot::withoutPadding(r.Mingcheng)));
        }
    }
    lstzhi->setCurrentRow(0);
    view();
    lstzhi->setEnabled(true);
}

void ZhijiaEditor::view() {
    const int i = lstzhi->currentRow();
    if (i < 0 || i >= int(records_.size())) {
        return;
    }
    const auto& r = records_[std::size_t(i)];
    txtzhi[NameBox]->setText(fromUtf8(inkquot::withoutPadding(r.Mingcheng)));
    txtzhi[PriceBox]->setText(fromUtf8(inkquot::numberBoxText(r.Jiage)));
    txtzhi[UnitBox]->setText(fromUtf8(inkquot::withoutPadding(r.Danwei)));
    txtzhi[NoteBox]->setText(fromUtf8(inkquot::withoutPadding(r.Shuoming)));
    cmdzhi[EditButton]->setEnabled(true);
    cmdzhi[SaveButton]->setEnabled(false);
    lockAll();
}

void ZhijiaEditor::beginEdit() {
    const int i = lstzhi->currentRow();
    setBoxLocked(txtzhi[PriceBox], false);
    txtzhi[PriceBox]->setFocus(Qt::OtherFocusReason);
    txtzhi[PriceBox]->selectAll();
    cmdzhi[SaveButton]->setEnabled(true);
    cmdzhi[EditButton]->setEnabled(false);
    const bool builtIn = i >= 0 && i < int(records_.size()) && records_[std::size_t(i)].Neizhi != 0;
    setBoxLocked(txtzhi[NameBox], builtIn);
    setBoxLocked(txtzhi[NoteBox], builtIn);
    editing_ = true;
}

bool ZhijiaEditor::save() {
    const int i = lstzhi->currentRow();
    if (i < 0 || i >= int(records_.size())) {
        return false;
    }
    inkquot::ZhijiaRec edited = records_[std::size_t(i)];
    bool ok = false;
    const auto problem =
        inkquot::applyPaperEdit(edited, toUtf8(txtzhi[NameBox]->text()),
                                toUtf8(txtzhi[PriceBox]->text()), toUtf8(txtzhi[NoteBox]->text()));
    const std::string scheme = toUtf8(currentScheme_());
    if (problem) {
        dialogs_.warning(this, fromUtf8(*problem));
        // The stored file then equals the unchanged working file.
        inkquot::copyWorkingToScheme(folder_, scheme, shownTable_);
    } else {
        const auto status = inkquot::savePaperRecord(folder_, scheme, shownTable_, i + 1, edited);
        if (status) {
            records_[std::size_t(i)] = edited;
            ok = true;
        } else {
            dialogs_.warning(this, QStringLiteral("保存失败：") + fromUtf8(status.message));
        }
    }
    cmdzhi[SaveButton]->setEnabled(false);
    lockAll();
    if (ok) {
        if (shownTable_ == PriceTable::Zhijia) {
            emit papersSaved();
        } else {
            emit stickerPapersSaved();
        }
    }
    return ok;
}

bool ZhijiaEditor::checkLeave() {
    // Only what the user is typing is judged: the shown record as read from
    // the file, blank or not, must never hold the focus in a locked box.
    if (lstzhi->count() == 0 || !editing_) {
        return true;
    }
    const auto verdict =
        inkquot::leavePaperBox(toUtf8(txtzhi[NameBox]->text()), toUtf8(txtzhi[PriceBox]->text()),
                               toUtf8(txtzhi[NoteBox]->text()), !boxLocked(txtzhi[NameBox]));
    showNotices(dialogs_, this, verdict.notices);
    return !verdict.staysInBox;
}
