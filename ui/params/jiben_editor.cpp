#include "ui/params/jiben_editor.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/pricedata/param_rules.h"
#include "core/pricedata/param_save.h"
#include "core/pricedata/scheme_ops.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/params/editor_layout.h"
#include "ui/params/editor_support.h"

JibenEditor::JibenEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                         std::function<QString()> currentScheme, QWidget* parent)
    : QGroupBox(QStringLiteral("基本数据设置"), parent),
      folder_(folder),
      dialogs_(dialogs),
      currentScheme_(std::move(currentScheme)) {
    setObjectName(QStringLiteral("jibenEditor"));
    lstji = new QListWidget(this);
    lstji->setObjectName(QStringLiteral("lstji"));

    const char* captions[4] = {"项目名称", "项目数据", "单    位", "说    明"};
    auto* leave = new LeaveCheck(this, [this](QLineEdit*) { return checkLeave(); });
    for (int i = 0; i < 4; ++i) {
        txtji[std::size_t(i)] = new QLineEdit(this);
        txtji[std::size_t(i)]->setObjectName(QStringLiteral("txtji%1").arg(i));
        labels[std::size_t(i)] = new QLabel(QString::fromUtf8(captions[i]), this);
        labels[std::size_t(i)]->setBuddy(txtji[std::size_t(i)]);
        setBoxLocked(txtji[std::size_t(i)], true);
        leave->watch(txtji[std::size_t(i)]);
    }
    const char* buttons[4] = {"显示/刷新", "查看", "更改", "保存改动"};
    for (int i = 0; i < 4; ++i) {
        cmdji[std::size_t(i)] = new QPushButton(QString::fromUtf8(buttons[i]), this);
        cmdji[std::size_t(i)]->setObjectName(QStringLiteral("cmdji%1").arg(i));
    }
    cmdji[EditButton]->setEnabled(false);
    cmdji[SaveButton]->setEnabled(false);

    connect(cmdji[RefreshButton], &QPushButton::clicked, this, &JibenEditor::refresh);
    connect(cmdji[ViewButton], &QPushButton::clicked, this, &JibenEditor::view);
    connect(cmdji[EditButton], &QPushButton::clicked, this, &JibenEditor::beginEdit);
    leave->guard(cmdji[SaveButton], [this] { save(); });
    connect(lstji, &QListWidget::currentRowChanged, this, [this] { view(); });
    connect(lstji, &QListWidget::itemClicked, this, [this] { view(); });

    layOutEditor(this, nullptr, lstji,
                 {{labels[0], txtji[0]}, {labels[1], txtji[1]}, {labels[2], txtji[2]}}, nullptr,
                 {labels[3], txtji[3]}, {cmdji.begin(), cmdji.end()});
    txtji[ValueBox]->setMaximumWidth(160);
    txtji[UnitBox]->setMaximumWidth(160);
}

void JibenEditor::refresh() {
    const auto& layout = inkquot::layoutOf(inkquot::PriceTable::Jiben);
    std::vector<inkquot::JibenRec> recs;
    // A table that cannot be read shows as blank records; nothing is said.
    inkquot::readJibenTable(inkquot::workingFile(folder_, inkquot::PriceTable::Jiben), recs);
    recs.resize(std::size_t(layout.recordCount));
    records_ = std::move(recs);
    {
        const QSignalBlocker block(lstji);
        lstji->clear();
        for (const auto& r : records_) {
            lstji->addItem(fromUtf8(inkquot::withoutPadding(r.Mingcheng)));
        }
    }
    lstji->setCurrentRow(0);
    view();
}

void JibenEditor::view() {
    const int i = lstji->currentRow();
    if (i < 0 || i >= int(records_.size())) {
        return;
    }
    const auto& r = records_[std::size_t(i)];
    txtji[NameBox]->setText(fromUtf8(inkquot::withoutPadding(r.Mingcheng)));
    txtji[ValueBox]->setText(fromUtf8(inkquot::numberBoxText(r.Shuju)));
    txtji[UnitBox]->setText(fromUtf8(inkquot::withoutPadding(r.Danwei)));
    txtji[NoteBox]->setText(fromUtf8(inkquot::withoutPadding(r.Shuoming)));
    txtji[NoteBox]->setCursorPosition(0);
    txtji[NoteBox]->setToolTip(txtji[NoteBox]->text());
    cmdji[EditButton]->setEnabled(true);
    cmdji[SaveButton]->setEnabled(false);
    setBoxLocked(txtji[ValueBox], true);
}

void JibenEditor::beginEdit() {
    setBoxLocked(txtji[ValueBox], false);
    txtji[ValueBox]->setFocus(Qt::OtherFocusReason);
    txtji[ValueBox]->selectAll();
    cmdji[SaveButton]->setEnabled(true);
    cmdji[EditButton]->setEnabled(false);
}

bool JibenEditor::save() {
    const int i = lstji->currentRow();
    if (i < 0 || i >= int(records_.size())) {
        return false;
    }
    const std::string scheme = toUtf8(currentScheme_());
    inkquot::JibenRec edited = records_[std::size_t(i)];
    bool ok = false;
    if (inkquot::applyJibenEdit(edited, toUtf8(txtji[ValueBox]->text()))) {
        const auto status = inkquot::saveJibenRecord(folder_, scheme, i + 1, edited);
        if (status) {
            records_[std::size_t(i)] = edited;
            ok = true;
        } else {
            dialogs_.warning(this, QStringLiteral("保存失败：") + fromUtf8(status.message));
        }
    } else {
        dialogs_.warning(this, QString::fromUtf8(inkquot::kCannotSave));
        // The stored file then equals the unchanged working file.
        inkquot::copyWorkingToScheme(folder_, scheme, inkquot::PriceTable::Jiben);
    }
    cmdji[SaveButton]->setEnabled(false);
    setBoxLocked(txtji[ValueBox], true);
    if (ok) {
        emit saved();
    }
    return ok;
}

bool JibenEditor::checkLeave() {
    if (lstji->count() == 0) {
        return true;
    }
    const auto verdict = inkquot::leaveJibenBox(toUtf8(txtji[ValueBox]->text()));
    showNotices(dialogs_, this, verdict.notices);
    return !verdict.staysInBox;
}
