#include "ui/pricing/pricing_page.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/press_rules.h"
#include "core/job/form_rules.h"
#include "core/job/job_copy.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/frmkai.h"
#include "ui/pricing/leave_guard.h"

using inkquot::CheckState;
using inkquot::ControlKind;
using inkquot::Ctl;

namespace {

const QString kFoilHint =
    QStringLiteral("烫印面积以实际面积上下各加5MM,左右各加10MM计，为零不计烫印费");

std::string reference(Ctl control, int index) {
    return std::string(inkquot::controlName(control)) + "(" + std::to_string(index) + ")";
}

bool isNumber(const QString& text) {
    return inkquot::parseNumber(toUtf8(text)).has_value();
}

bool isTextList(Ctl c) {
    return inkquot::controlDef(c).kind == ControlKind::TextList;
}

}  // namespace

PricingPage::PricingPage(Dialogs& dialogs, HintLine hintLine, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), hintLine_(std::move(hintLine)) {
    setObjectName(QStringLiteral("pricingPage"));
    guard_ = new LeaveGuard(this);
    calculator_ = [this](int page, inkquot::JobForm& form) {
        FrmKai::run(this, page, form, dialogs_);
    };
    buildControls();

    panels_ = new QStackedWidget;
    picjijia = {buildBookPanel(), buildNewspaperPanel(), buildSingleSheetPanel(),
                buildBoxPanel(),  buildStickerPanel(),   buildResultPanel()};
    for (std::size_t i = 0; i < picjijia.size(); ++i) {
        picjijia[i]->setObjectName(QStringLiteral("picjijia_%1").arg(i));
        panels_->addWidget(picjijia[i]);
    }

    const char* captions[3] = {"开始计价", "保存结果", "生成价格表"};
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    for (std::size_t i = 0; i < cmdjijia.size(); ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions[i]));
        b->setObjectName(QStringLiteral("cmdjijia_%1").arg(i));
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
        cmdjijia[i] = b;
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { emit commandPressed(int(i)); });
    }
    cmdjijia[1]->setEnabled(false);  // nothing to save before a run

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    auto* kindLabel = new QLabel(fromUtf8(inkquot::controlDef(Ctl::comleibie).entries[0].caption));
    top->addWidget(kindLabel);
    top->addWidget(comleibie);
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(panels_);
    layout->addLayout(buttons);
    layout->addStretch(1);

    // Event rules.
    connect(comleibie, &QComboBox::activated, this, [this](int k) { kindChosen(k); });
    connect(comleibie, &QComboBox::currentIndexChanged, this, [this](int k) {
        if (k >= 0) {
            kindChosen(k);
        }
    });
    auto sectionRule = [this](auto& boxes, auto& frames) {
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            QCheckBox* box = boxes[i];
            QFrame* frame = frames[i];
            connect(box, &QCheckBox::stateChanged, this,
                    [this, box, frame] { sectionClicked(box, frame); });
            sectionClicked(box, frame);
        }
    };
    sectionRule(Chkhua, Frmhua);
    sectionRule(Chkbao, Frmbao);
    sectionRule(Chkdan, Frmdan);
    sectionRule(Chkhe, Frmhe);
    sectionRule(Chkbu, Frmbu);
    for (int j = 0; j < inkquot::kPartCount; ++j) {
        connect(Chkzhikai[std::size_t(j)], &QCheckBox::stateChanged, this,
                [this, j] { manualSizeClicked(j); });
        manualSizeClicked(j);
        connect(Comyinji[std::size_t(j)], &QComboBox::activated, this,
                [this, j](int position) { pressChosen(j, position); });
        Cmbkaizhi[std::size_t(j)]->installEventFilter(this);
        Cmbkaizhi[std::size_t(j)]->lineEdit()->installEventFilter(this);
    }
    for (QListWidget* l : {Lsthua, Lstbao, lsthe}) {
        const Ctl c = l == Lsthua ? Ctl::Lsthua : l == Lstbao ? Ctl::Lstbao : Ctl::lsthe;
        connect(l, &QListWidget::itemChanged, this,
                [this, l](QListWidgetItem* item) { partTickChanged(l, l->row(item)); });
        connect(l, &QListWidget::itemClicked, this,
                [this, l, c](QListWidgetItem* item) { clickPartItem(c, l->row(item)); });
        // Moving through the list with the keys counts as a click too.
        connect(l, &QListWidget::currentRowChanged, this, [this, c](int row) {
            if (row >= 0 && QApplication::mouseButtons() == Qt::NoButton && !clickingPart_) {
                clickPartItem(c, row);
            }
        });
    }
    for (int g = 0; g < inkquot::kSizeGroupCount; ++g) {
        QComboBox* kai = Ncomkai[std::size_t(g)];
        kaiTexts_[std::size_t(g)] = kai->currentText();
        connect(kai, &QComboBox::currentTextChanged, this, [this, g] { kaiTextMaybeChanged(g); });
        connect(kai, &QComboBox::editTextChanged, this, [this, g] { kaiTextMaybeChanged(g); });
        connect(kai, &QComboBox::activated, this, [this, g] {
            // A 开 chosen from the list starts again from a half press sheet.
            setText(Ctl::Ntxtkaizhi, g, "2");
            resetYinji(g);
        });
        kai->installEventFilter(this);
        kai->lineEdit()->installEventFilter(this);
        connect(Ntxtkaizhi[std::size_t(g)], &QLineEdit::textChanged, this,
                [this, g] { pressSheetTextChanged(g); });
        guard_->watch(kai, [this, g] { return kaiLeft(g); });
    }
    for (int p = 0; p < int(cmdjisuan.size()); ++p) {
        connect(cmdjisuan[std::size_t(p)], &QPushButton::clicked, this,
                [this, p] { openCalculator(p); });
    }
    for (int k = 0; k < inkquot::kJobKindCount; ++k) {
        const auto i = std::size_t(k);
        guard_->watch(txtkehuming[i], [this, i] { return nameLeft(txtkehuming[i]); });
        guard_->watch(txtyinjianming[i], [this, i] { return nameLeft(txtyinjianming[i]); });
        guard_->watch(txtshuliang[i], [this, k] { return quantityLeft(k); });
    }
    for (int i = 0; i < int(txtye.size()); ++i) {
        guard_->watch(txtye[std::size_t(i)], [this, i] { return pagesLeft(i); });
    }
    for (int i = 0; i < int(txttang.size()); ++i) {
        guard_->watch(txttang[std::size_t(i)], [this, i] { return foilAreaLeft(i); });
        txttang[std::size_t(i)]->installEventFilter(this);
    }

    showPanel(0);
    selectStartingEntries();
}

PricingPage::~PricingPage() = default;

// ---------------------------------------------------------------------------
// Start and paper lists

void PricingPage::selectStartingEntries() {
    setListIndex(Ctl::comleibie, 0, 0);
    for (Ctl c : {Ctl::Comyinji, Ctl::Ncomke, Ctl::Ncomyinse, Ctl::Ncomzhuanse, Ctl::Ncomdu,
                  Ctl::Comnd, Ctl::Cmbfeilin, Ctl::comjiao}) {
        for (int i = 0; i < inkquot::controlDef(c).count(); ++i) {
            setListIndex(c, i, 0);
        }
    }
    setListIndex(Ctl::Cmbdin, 0, 0);
    setListIndex(Ctl::Cmbzheci, 0, 0);
}

namespace {

void refill(QComboBox* c, const QStringList& names) {
    const int before = c->currentIndex();
    c->clear();
    c->addItems(names);
    const bool inside = before >= 0 && before < names.size();
    c->setCurrentIndex(inside ? before : (names.isEmpty() ? -1 : 0));
}

}  // namespace

void PricingPage::fillPaperLists(const QStringList& paperNames) {
    for (QComboBox* c : Ncomzhi) {
        refill(c, paperNames);
    }
}

void PricingPage::fillStickerPaperList(const QStringList& stickerPaperNames) {
    refill(Nzhibu, stickerPaperNames);
}

// ---------------------------------------------------------------------------
// JobForm over the widgets

QWidget* PricingPage::controlWidget(Ctl control, int index) const {
    const auto c = std::size_t(control);
    if (c >= widgets_.size() || index < 0 || std::size_t(index) >= widgets_[c].size()) {
        throw std::out_of_range("no control " + reference(control, index));
    }
    return widgets_[c][std::size_t(index)];
}

QComboBox* PricingPage::list(Ctl control, int index) const {
    auto* c = qobject_cast<QComboBox*>(controlWidget(control, index));
    if (c == nullptr) {
        throw std::logic_error("this access does not fit control " +
                               std::string(inkquot::controlName(control)));
    }
    return c;
}

QListWidget* PricingPage::partList(Ctl control) const {
    auto* l = qobject_cast<QListWidget*>(controlWidget(control, 0));
    if (l == nullptr) {
        throw std::logic_error("this access does not fit control " +
                               std::string(inkquot::controlName(control)));
    }
    return l;
}

const std::vector<QFrame*>& PricingPage::partFrames(Ctl control) const {
    const QListWidget* l = partList(control);
    return partFrames_[l == Lsthua ? 0 : l == Lstbao ? 1 : 2];
}

namespace {

QCheckBox* checkBox(QWidget* w, Ctl control) {
    auto* b = qobject_cast<QCheckBox*>(w);
    if (b == nullptr) {
        throw std::logic_error("this access does not fit control " +
                               std::string(inkquot::controlName(control)));
    }
    return b;
}

QList<QRadioButton*> optionButtons(QWidget* holder) {
    return holder->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

std::string PricingPage::text(Ctl control, int index) const {
    QWidget* w = controlWidget(control, index);
    switch (inkquot::controlDef(control).kind) {
        case ControlKind::TextBox:
            return toUtf8(static_cast<QLineEdit*>(w)->text());
        case ControlKind::TextList:
        case ControlKind::PositionList:
            return toUtf8(static_cast<QComboBox*>(w)->currentText());
        case ControlKind::CheckBox:
            return inkquot::controlDef(control).entries[std::size_t(index)].caption;
        case ControlKind::OptionGroup:
            for (QRadioButton* r : optionButtons(w)) {
                if (r->isChecked()) {
                    return toUtf8(r->text());
                }
            }
            return {};
        case ControlKind::PartList:
            break;
    }
    throw std::logic_error("this access does not fit control " +
                           std::string(inkquot::controlName(control)));
}

int PricingPage::listIndex(Ctl control, int index) const {
    QComboBox* c = list(control, index);
    if (!c->isEditable()) {
        return c->currentIndex();
    }
    // A list whose text is read: the selected item while the text is that
    // item's, else the first item equal to the text (none when no item is).
    const QString shown = c->currentText();
    if (c->currentIndex() >= 0 && c->itemText(c->currentIndex()) == shown) {
        return c->currentIndex();
    }
    return c->findText(shown);
}

CheckState PricingPage::checkState(Ctl control, int index) const {
    switch (checkBox(controlWidget(control, index), control)->checkState()) {
        case Qt::Checked:
            return CheckState::Checked;
        case Qt::PartiallyChecked:
            return CheckState::Greyed;
        case Qt::Unchecked:
            break;
    }
    return CheckState::Unchecked;
}

bool PricingPage::ticked(Ctl control, int item) const {
    QListWidget* l = partList(control);
    if (item < 0 || item >= l->count()) {
        throw std::out_of_range("no item " + reference(control, item));
    }
    return l->item(item)->checkState() == Qt::Checked;
}

int PricingPage::option(Ctl group) const {
    if (inkquot::controlDef(group).kind != ControlKind::OptionGroup) {
        throw std::logic_error("this access does not fit control " +
                               std::string(inkquot::controlName(group)));
    }
    const auto buttons = optionButtons(controlWidget(group, 0));
    for (int i = 0; i < buttons.size(); ++i) {
        if (buttons[i]->isChecked()) {
            return i;
        }
    }
    return -1;
}

void PricingPage::setText(Ctl control, int index, const std::string& text) {
    QWidget* w = controlWidget(control, index);
    const QString value = fromUtf8(text);
    switch (inkquot::controlDef(control).kind) {
        case ControlKind::TextBox: {
            auto* e = static_cast<QLineEdit*>(w);
            if (control == Ctl::Ntxtkaizhi && !isNumber(value)) {
                // The press-sheet 开 is only ever written by the program; a
                // text that is not a number would reach the costing, so it
                // is refused and the box keeps its number.
                dialogs_.warning(this, fromUtf8(inkquot::kNotANumberText));
                return;
            }
            if (e->text() != value) {
                e->setText(value);
            }
            return;
        }
        case ControlKind::TextList: {
            auto* c = static_cast<QComboBox*>(w);
            ++quiet_;
            const int found = c->findText(value);
            c->setCurrentIndex(found);
            c->setEditText(value);
            --quiet_;
            if (control == Ctl::Ncomkai) {
                kaiWritten(index);
            }
            return;
        }
        case ControlKind::PositionList: {
            auto* c = static_cast<QComboBox*>(w);
            c->setCurrentIndex(c->findText(value));
            if (control == Ctl::comleibie && c->currentIndex() >= 0) {
                kindChosen(c->currentIndex());
            }
            return;
        }
        case ControlKind::CheckBox:
        case ControlKind::PartList:
        case ControlKind::OptionGroup:
            break;
    }
    throw std::logic_error("this access does not fit control " +
                           std::string(inkquot::controlName(control)));
}

void PricingPage::setListIndex(Ctl control, int index, int position) {
    QComboBox* c = list(control, index);
    if (position < -1 || position >= c->count()) {
        throw std::out_of_range("no item " + std::to_string(position) + " in " +
                                reference(control, index));
    }
    if (isTextList(control)) {
        ++quiet_;
        c->setCurrentIndex(position);
        c->setEditText(position >= 0 ? c->itemText(position) : QString());
        --quiet_;
        if (control == Ctl::Ncomkai) {
            kaiWritten(index);
        }
        return;
    }
    c->setCurrentIndex(position);
    if (control == Ctl::Comyinji) {
        pressChosen(index, position);
    } else if (control == Ctl::comleibie && position >= 0) {
        kindChosen(position);
    }
}

void PricingPage::setCheckState(Ctl control, int index, CheckState state) {
    QCheckBox* b = checkBox(controlWidget(control, index), control);
    switch (state) {
        case CheckState::Checked:
            b->setCheckState(Qt::Checked);
            return;
        case CheckState::Greyed:
            b->setTristate(true);
            b->setCheckState(Qt::PartiallyChecked);
            return;
        case CheckState::Unchecked:
            b->setCheckState(Qt::Unchecked);
            return;
    }
}

void PricingPage::setTicked(Ctl control, int item, bool tick) {
    QListWidget* l = partList(control);
    if (item < 0 || item >= l->count()) {
        throw std::out_of_range("no item " + reference(control, item));
    }
    l->item(item)->setCheckState(tick ? Qt::Checked : Qt::Unchecked);
}

void PricingPage::setOption(Ctl group, int chosen) {
    if (inkquot::controlDef(group).kind != ControlKind::OptionGroup) {
        throw std::logic_error("this access does not fit control " +
                               std::string(inkquot::controlName(group)));
    }
    const auto buttons = optionButtons(controlWidget(group, 0));
    if (chosen < -1 || chosen >= buttons.size()) {
        throw std::out_of_range("no option " + reference(group, chosen));
    }
    if (chosen >= 0) {
        buttons[chosen]->setChecked(true);
        return;
    }
    QButtonGroup* g = buttons.front()->group();
    g->setExclusive(false);
    for (QRadioButton* r : buttons) {
        r->setChecked(false);
    }
    g->setExclusive(true);
}

bool PricingPage::controlEnabled(Ctl control, int index) const {
    return !controlWidget(control, index)->testAttribute(Qt::WA_ForceDisabled);
}

void PricingPage::applyJob(const inkquot::JobForm& job) {
    copyJob(job, *this);
}

inkquot::FormState PricingPage::captureJob() const {
    inkquot::FormState state;
    auto names = [](const QComboBox* c) {
        std::vector<std::string> out;
        for (int i = 0; i < c->count(); ++i) {
            out.push_back(toUtf8(c->itemText(i)));
        }
        return out;
    };
    state.setPaperNames(names(Ncomzhi[0]));
    state.setStickerPaperNames(names(Nzhibu));
    copyJob(*this, state);
    state.clearWarnings();
    return state;
}

// ---------------------------------------------------------------------------
// Panels and part frames

void PricingPage::showPanel(int panel) {
    if (panel < 0 || panel >= int(picjijia.size())) {
        return;
    }
    panels_->setCurrentIndex(panel);
    for (int i = 0; i < int(picjijia.size()); ++i) {
        QWidget* p = picjijia[std::size_t(i)];
        p->setEnabled(i == panel);
        // The page is as tall as the panel shown, so the command buttons
        // sit right below it.
        p->setSizePolicy(i == panel ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                         i == panel ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    }
    panels_->updateGeometry();
}

int PricingPage::shownPanel() const {
    return panels_->currentIndex();
}

int PricingPage::shownPartFrame(Ctl control) const {
    const auto& frames = partFrames(control);
    const QListWidget* l = partList(control);
    const QStackedWidget* stack = partStacks_[l == Lsthua ? 0 : l == Lstbao ? 1 : 2];
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (stack->currentWidget() == frames[i]) {
            return int(i);
        }
    }
    return -1;
}

void PricingPage::kindChosen(int kind) {
    // The chosen kind's panel; the other kinds' panels and the result
    // panel go out of sight.
    showPanel(kind);
}

void PricingPage::sectionClicked(QCheckBox* box, QFrame* frame) {
    frame->setEnabled(box->checkState() == Qt::Checked);
}

void PricingPage::manualSizeClicked(int part) {
    // Greyed counts as not ticked.
    const auto j = std::size_t(part);
    Cmbkaizhi[j]->setEnabled(Chkzhikai[j]->checkState() == Qt::Checked);
}

void PricingPage::partTickChanged(QListWidget* l, int item) {
    const int which = l == Lsthua ? 0 : l == Lstbao ? 1 : 2;
    const auto& frames = partFrames_[std::size_t(which)];
    if (item >= 0 && std::size_t(item) < frames.size()) {
        frames[std::size_t(item)]->setEnabled(l->item(item)->checkState() == Qt::Checked);
    }
}

void PricingPage::clickPartItem(Ctl control, int item) {
    QListWidget* l = partList(control);
    if (item < 0 || item >= l->count()) {
        throw std::out_of_range("no item " + reference(control, item));
    }
    const int which = l == Lsthua ? 0 : l == Lstbao ? 1 : 2;
    if (l->currentRow() != item) {
        clickingPart_ = true;
        l->setCurrentRow(item);
        clickingPart_ = false;
    }
    // One common place for the part frames: the clicked part's frame shows,
    // the others go out of sight.
    partStacks_[std::size_t(which)]->setCurrentWidget(
        partFrames_[std::size_t(which)][std::size_t(item)]);
    if (l == Lsthua) {
        followBookSize(item);
    }
}

void PricingPage::followBookSize(int item) {
    if (inkquot::followBookSize(*this, item)) {
        hint(fromUtf8(inkquot::kCoverHintText));
    }
}

void PricingPage::hint(const QString& text) {
    if (hintLine_) {
        hintLine_(text);
    }
}

void PricingPage::openCalculator(int p) {
    if (calculator_) {
        calculator_(p, *this);
    }
}

// ---------------------------------------------------------------------------
// Press rules

void PricingPage::pressChosen(int part, int position) {
    const auto choice = inkquot::choosePress(*this, part, position);
    if (!choice) {
        return;  // the newspaper pages: nothing else changes
    }
    const auto j = std::size_t(part);
    // A refused press goes back to 对开平印机.
    Comyinji[j]->setCurrentIndex(choice->position);
    QComboBox* sizes = Cmbkaizhi[j];
    sizes->clear();
    for (const auto& s : choice->sizes) {
        sizes->addItem(fromUtf8(s));
    }
    sizes->setCurrentIndex(choice->sizes.empty() ? -1 : 0);
    sizes->setEditText(choice->sizes.empty() ? QString() : fromUtf8(choice->sizes.front()));
    if (choice->selfTurn) {
        Chkzifan[j]->setEnabled(*choice->selfTurn);
        Chkzifan[j]->setCheckState(*choice->selfTurn ? Qt::Checked : Qt::Unchecked);
    }
}

void PricingPage::resetYinji(int group) {
    if (!inkquot::resetYinji(*this, group)) {
        dialogs_.warning(this, fromUtf8(inkquot::kResetYinjiError));
    }
}

void PricingPage::kaiTextMaybeChanged(int group) {
    if (quiet_ > 0) {
        return;
    }
    const auto g = std::size_t(group);
    const QString now = Ncomkai[g]->currentText();
    if (now == kaiTexts_[g]) {
        return;
    }
    kaiTexts_[g] = now;
    resetYinji(group);
}

void PricingPage::kaiWritten(int group) {
    kaiTextMaybeChanged(group);
    QComboBox* kai = Ncomkai[std::size_t(group)];
    if (!isNumber(kai->currentText()) && kai->isVisible()) {
        // A 开 written by the program that is not a number: the clerk has
        // to choose one from the list before leaving the box.
        kai->setFocus(Qt::OtherFocusReason);
    }
}

void PricingPage::pressSheetTextChanged(int group) {
    if (quiet_ == 0) {
        resetYinji(group);
    }
}

void PricingPage::chooseKai(int group, int position) {
    setListIndex(Ctl::Ncomkai, group, position);
    setText(Ctl::Ntxtkaizhi, group, "2");
    resetYinji(group);
}

// ---------------------------------------------------------------------------
// Leaving a box

bool PricingPage::quantityLeft(int kind) {
    QLineEdit* box = txtshuliang[std::size_t(kind)];
    if (isNumber(box->text())) {
        return true;
    }
    dialogs_.warning(this, fromUtf8(inkquot::kNotANumberText));
    box->setText(fromUtf8(inkquot::startingQuantity(kind)));
    return false;
}

bool PricingPage::nameLeft(QLineEdit* box) {
    if (!box->text().isEmpty()) {
        return true;
    }
    dialogs_.warning(this, fromUtf8(inkquot::kEmptyNameText));
    return false;
}

// Pages come in fours (a sheet folded once gives four pages); a count that
// rounds to a multiple of 4 stands, anything else goes up to the next one.
bool PricingPage::pagesLeft(int index) {
    QLineEdit* box = txtye[std::size_t(index)];
    const auto value = inkquot::parseNumber(toUtf8(box->text()));
    if (!value) {
        dialogs_.warning(this, fromUtf8(inkquot::kNotANumberText));
        box->setText(QStringLiteral("0"));
        return false;
    }
    if (inkquot::isWholeFoursOfPages(*value)) {
        return true;
    }
    dialogs_.warning(this, fromUtf8(inkquot::kPagesNotMultipleOfFourText));
    box->setText(fromUtf8(inkquot::shortestFloatText(inkquot::nextFoursOfPages(*value))));
    return false;
}

bool PricingPage::foilAreaLeft(int index) {
    QLineEdit* box = txttang[std::size_t(index)];
    if (isNumber(box->text())) {
        return true;
    }
    dialogs_.warning(this, fromUtf8(inkquot::kNotANumberText));
    box->setText(QStringLiteral("0"));
    return false;
}

bool PricingPage::kaiLeft(int group) {
    if (isNumber(Ncomkai[std::size_t(group)]->currentText())) {
        return true;
    }
    dialogs_.warning(this, fromUtf8(inkquot::kNotANumberText));
    return false;
}

// ---------------------------------------------------------------------------
// Events

bool PricingPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        for (QLineEdit* box : txttang) {
            if (watched == box) {
                hint(kFoilHint);
            }
        }
        return QWidget::eventFilter(watched, event);
    }
    // The 开 lists and the sheet-size lists take no typing: their text is
    // chosen from the list or written by the program. The arrow keys still
    // move through the list.
    auto* combo = qobject_cast<QComboBox*>(watched);
    if (combo == nullptr && watched->parent() != nullptr) {
        combo = qobject_cast<QComboBox*>(watched->parent());
    }
    if (combo == nullptr) {
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool edits = !key->text().isEmpty() && key->text().at(0).isPrint();
        if (edits || key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Delete ||
            key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Cut) ||
            key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)) {
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonPress && watched == combo->lineEdit() &&
               combo->isEnabled()) {
        // The text part of such a list opens the list, as a plain list does.
        combo->setFocus(Qt::MouseFocusReason);
        combo->showPopup();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QSize PricingPage::minimumSizeHint() const {
    // The sections stack on a narrow page, so the page needs only the width
    // of the stacked panels.
    const QSize current = QWidget::minimumSizeHint();
    if (minimumPageWidth_ <= 0) {
        return current;
    }
    return {minimumPageWidth_, current.height()};
}

void PricingPage::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QMargins m = layout()->contentsMargins();
    if (minimumPageWidth_ <= 0) {
        // Measured once the widgets know their fonts.
        int stacked = 0;
        for (const SectionGrid& sg : sectionGrids_) {
            const Sections& s = sg.sections;
            stacked = std::max(
                {stacked, sg.common->minimumSizeHint().width(),
                 s.printing->minimumSizeHint().width(), s.prepress->minimumSizeHint().width(),
                 s.finishing != nullptr ? s.finishing->minimumSizeHint().width() : 0});
        }
        minimumPageWidth_ = stacked + m.left() + m.right();
        updateGeometry();
    }
    const int room = width() - m.left() - m.right();
    bool changed = false;
    for (SectionGrid& sg : sectionGrids_) {
        const Arrangement a = arrangementFor(sg, room);
        changed = changed || a != sg.arrangement;
        arrange(sg, a);
    }
    if (changed) {
        updateGeometry();
    }
}
