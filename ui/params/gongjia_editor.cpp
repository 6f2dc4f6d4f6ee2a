#include "ui/params/gongjia_editor.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include "core/common/number_text.h"
#include "core/pricedata/param_rules.h"
#include "core/pricedata/param_save.h"
#include "core/pricedata/scheme_ops.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/params/editor_layout.h"
#include "ui/params/editor_support.h"

namespace {

std::array<float, 4> tagsOf(const inkquot::GongjiaRec& r) {
    return {r.Tag1, r.Tag2, r.Tag3, r.Tag4};
}

}  // namespace

GongjiaEditor::GongjiaEditor(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                             std::function<QString()> currentScheme, QWidget* parent)
    : QGroupBox(QStringLiteral("查看或修改工价"), parent),
      folder_(folder),
      dialogs_(dialogs),
      currentScheme_(std::move(currentScheme)) {
    setObjectName(QStringLiteral("gongjiaEditor"));
    lstgong = new QListWidget(this);
    lstgong->setObjectName(QStringLiteral("lstgong"));

    const char* captions[8] = {"项目名称", "单    价", "单    位", "TAG1",
                               "TAG2",     "TAG3",     "TAG4",     "说    明"};
    auto* leave = new LeaveCheck(
        this, [this](QLineEdit* box) { return checkLeave(box); },
        [this](QLineEdit* box) { remember(box); });
    for (int i = 0; i < 7; ++i) {
        txtgong[std::size_t(i)] = new QLineEdit(this);
        txtgong[std::size_t(i)]->setObjectName(QStringLiteral("txtgong%1").arg(i));
        setBoxLocked(txtgong[std::size_t(i)], true);
        leave->watch(txtgong[std::size_t(i)]);
    }
    txtgongNote = new QPlainTextEdit(this);
    txtgongNote->setObjectName(QStringLiteral("txtgong7"));
    txtgongNote->setReadOnly(true);
    txtgongNote->setTabChangesFocus(true);
    // Notes wrap; they never need a sideways scroll.
    txtgongNote->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        QPalette pal = txtgongNote->palette();
        pal.setColor(QPalette::Base, txtgong[0]->palette().color(QPalette::Base));
        txtgongNote->setPalette(pal);
    }
    const int lineHeight = txtgongNote->fontMetrics().lineSpacing();
    txtgongNote->setMinimumHeight(lineHeight * 3 + 12);
    txtgongNote->setMaximumHeight(lineHeight * 5 + 12);
    for (int i = 0; i < 8; ++i) {
        labels[std::size_t(i)] = new QLabel(QString::fromUtf8(captions[i]), this);
        labels[std::size_t(i)]->setBuddy(i < 7 ? static_cast<QWidget*>(txtgong[std::size_t(i)])
                                               : txtgongNote);
    }
    const char* buttons[4] = {"显示/刷新列表", "查看", "更改", "保存改动"};
    for (int i = 0; i < 4; ++i) {
        cmdgong[std::size_t(i)] = new QPushButton(QString::fromUtf8(buttons[i]), this);
        cmdgong[std::size_t(i)]->setObjectName(QStringLiteral("cmdgong%1").arg(i));
    }
    cmdgong[EditButton]->setEnabled(false);
    cmdgong[SaveButton]->setEnabled(false);

    connect(cmdgong[RefreshButton], &QPushButton::clicked, this, &GongjiaEditor::refresh);
    connect(cmdgong[ViewButton], &QPushButton::clicked, this, &GongjiaEditor::view);
    connect(cmdgong[EditButton], &QPushButton::clicked, this, &GongjiaEditor::beginEdit);
    leave->guard(cmdgong[SaveButton], [this] { save(); });
    connect(lstgong, &QListWidget::currentRowChanged, this, [this] { view(); });
    connect(lstgong, &QListWidget::itemClicked, this, [this] { view(); });

    // The four factors side by side, two to a row.
    auto* tags = new QWidget(this);
    auto* tagGrid = new QGridLayout(tags);
    tagGrid->setContentsMargins(0, 0, 0, 0);
    tagGrid->setHorizontalSpacing(8);
    tagGrid->setVerticalSpacing(8);
    for (int k = 0; k < 4; ++k) {
        const int row = k / 2;
        const int col = (k % 2) * 2;
        labels[std::size_t(Tag1Box + k)]->setParent(tags);
        txtgong[std::size_t(Tag1Box + k)]->setParent(tags);
        tagGrid->addWidget(labels[std::size_t(Tag1Box + k)], row, col);
        tagGrid->addWidget(txtgong[std::size_t(Tag1Box + k)], row, col + 1);
        txtgong[std::size_t(Tag1Box + k)]->setMaximumWidth(110);
    }
    tagGrid->setColumnStretch(4, 1);
    labels[Tag1Box]->setMinimumWidth(labels[NameBox]->sizeHint().width());

    layOutEditor(this, nullptr, lstgong,
                 {{labels[NameBox], txtgong[NameBox]},
                  {labels[PriceBox], txtgong[PriceBox]},
                  {labels[UnitBox], txtgong[UnitBox]}},
                 tags, {labels[7], txtgongNote}, {cmdgong.begin(), cmdgong.end()});
    txtgong[PriceBox]->setMaximumWidth(160);
    txtgong[UnitBox]->setMaximumWidth(160);
    setTabOrder(txtgong[UnitBox], txtgong[Tag1Box]);
}

void GongjiaEditor::refresh() {
    std::vector<inkquot::GongjiaRec> recs;
    // A table that cannot be read shows as blank records; nothing is said.
    inkquot::readGongjiaTable(inkquot::workingFile(folder_, inkquot::PriceTable::Gongjia), recs);
    recs.resize(std::size_t(inkquot::layoutOf(inkquot::PriceTable::Gongjia).recordCount));
    records_ = std::move(recs);
    {
        const QSignalBlocker block(lstgong);
        lstgong->clear();
        for (const auto& r : records_) {
            lstgong->addItem(fromUtf8(inkquot::withoutPadding(r.Mingcheng)));
        }
    }
    lstgong->setCurrentRow(0);
    view();
}

void GongjiaEditor::view() {
    const int i = lstgong->currentRow();
    if (i < 0 || i >= int(records_.size())) {
        return;
    }
    const auto& r = records_[std::size_t(i)];
    txtgong[NameBox]->setText(fromUtf8(inkquot::withoutPadding(r.Mingcheng)));
    txtgong[PriceBox]->setText(fromUtf8(inkquot::numberBoxText(r.Danjia)));
    txtgong[UnitBox]->setText(fromUtf8(inkquot::withoutPadding(r.Danwei)));
    const auto tags = tagsOf(r);
    for (int k = 0; k < 4; ++k) {
        txtgong[std::size_t(Tag1Box + k)]->setText(
            fromUtf8(inkquot::numberBoxText(tags[std::size_t(k)])));
    }
    txtgongNote->setPlainText(fromUtf8(inkquot::withoutPadding(r.Shuoming)));
    rememberedPrice_ = txtgong[PriceBox]->text();
    rememberedTags_ = tags;
    cmdgong[EditButton]->setEnabled(true);
    cmdgong[SaveButton]->setEnabled(false);
    setBoxLocked(txtgong[PriceBox], true);
    for (int k = Tag1Box; k <= Tag4Box; ++k) {
        setBoxLocked(txtgong[std::size_t(k)], true);
    }
}

void GongjiaEditor::beginEdit() {
    setBoxLocked(txtgong[PriceBox], false);
    for (int k = Tag1Box; k <= Tag4Box; ++k) {
        setBoxLocked(txtgong[std::size_t(k)], false);
    }
    txtgong[PriceBox]->setFocus(Qt::OtherFocusReason);
    txtgong[PriceBox]->selectAll();
    cmdgong[SaveButton]->setEnabled(true);
    cmdgong[EditButton]->setEnabled(false);
}

bool GongjiaEditor::save() {
    const int i = lstgong->currentRow();
    if (i < 0 || i >= int(records_.size())) {
        return false;
    }
    const std::string scheme = toUtf8(currentScheme_());
    inkquot::GongjiaRec edited = records_[std::size_t(i)];
    std::array<std::string, 4> tagTexts;
    for (int k = 0; k < 4; ++k) {
        tagTexts[std::size_t(k)] = toUtf8(txtgong[std::size_t(Tag1Box + k)]->text());
    }
    bool ok = false;
    if (inkquot::applyGongjiaEdit(edited, toUtf8(txtgong[PriceBox]->text()),
                                  {tagTexts[0], tagTexts[1], tagTexts[2], tagTexts[3]})) {
        const auto status = inkquot::saveGongjiaRecord(folder_, scheme, i + 1, edited);
        if (status) {
            records_[std::size_t(i)] = edited;
            ok = true;
        } else {
            dialogs_.warning(this, QStringLiteral("保存失败：") + fromUtf8(status.message));
        }
    } else {
        dialogs_.warning(this, QString::fromUtf8(inkquot::kCannotSave));
        // The stored file then equals the unchanged working file.
        inkquot::copyWorkingToScheme(folder_, scheme, inkquot::PriceTable::Gongjia);
    }
    cmdgong[SaveButton]->setEnabled(false);
    setBoxLocked(txtgong[PriceBox], true);
    for (int k = Tag1Box; k <= Tag4Box; ++k) {
        setBoxLocked(txtgong[std::size_t(k)], true);
    }
    if (ok) {
        emit saved();
    }
    return ok;
}

void GongjiaEditor::remember(QLineEdit* box) {
    if (box == txtgong[PriceBox]) {
        rememberedPrice_ = box->text();
        return;
    }
    for (int k = 0; k < 4; ++k) {
        if (box == txtgong[std::size_t(Tag1Box + k)]) {
            rememberedTags_[std::size_t(k)] = inkquot::parseNumber(toUtf8(box->text())).value_or(0);
        }
    }
}

bool GongjiaEditor::checkLeave(QLineEdit* box) {
    if (lstgong->count() == 0) {
        return true;
    }
    inkquot::LeaveVerdict verdict;
    if (box == txtgong[PriceBox]) {
        verdict = inkquot::leaveUnitPriceBox(toUtf8(box->text()), toUtf8(rememberedPrice_));
    } else {
        int k = -1;
        for (int b = Tag1Box; b <= Tag4Box; ++b) {
            if (box == txtgong[std::size_t(b)]) {
                k = b - Tag1Box;
            }
        }
        if (k < 0) {
            return true;
        }
        verdict = inkquot::leaveTagBox(toUtf8(box->text()), rememberedTags_[std::size_t(k)]);
    }
    showNotices(dialogs_, this, verdict.notices);
    if (verdict.replacement) {
        box->setText(fromUtf8(*verdict.replacement));
    }
    return !verdict.staysInBox;
}
