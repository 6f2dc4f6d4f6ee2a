// The pricing page as a job form: reads come from the form model, writes are
// handed to it, and what the model reports as changed is shown in the
// widgets.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <stdexcept>

#include "core/common/number_text.h"
#include "core/costing/control_catalogue.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/pricing_page.h"

using inkquot::CheckState;
using inkquot::ControlKind;
using inkquot::Ctl;

namespace {

std::string reference(Ctl control, int index) {
    return std::string(inkquot::controlName(control)) + "(" + std::to_string(index) + ")";
}

std::logic_error unfitAccess(Ctl control) {
    return std::logic_error("this access does not fit control " +
                            std::string(inkquot::controlName(control)));
}

Qt::CheckState qtState(CheckState state) {
    switch (state) {
        case CheckState::Checked:
            return Qt::Checked;
        case CheckState::Greyed:
            return Qt::PartiallyChecked;
        case CheckState::Unchecked:
            break;
    }
    return Qt::Unchecked;
}

CheckState modelState(Qt::CheckState state) {
    for (const CheckState s : {CheckState::Checked, CheckState::Greyed}) {
        if (qtState(s) == state) {
            return s;
        }
    }
    return CheckState::Unchecked;
}

template <class Widget>
Widget* fitting(QWidget* w, Ctl control) {
    auto* fit = qobject_cast<Widget*>(w);
    if (fit == nullptr) {
        throw unfitAccess(control);
    }
    return fit;
}

QList<QRadioButton*> optionButtons(QWidget* holder) {
    return holder->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

// The item a list with an editable text shows: the selected item while the
// text is that item's, else the first item equal to the text (none when no
// item is).
int shownIndex(const QComboBox* box) {
    const QString shown = box->currentText();
    if (box->currentIndex() >= 0 && box->itemText(box->currentIndex()) == shown) {
        return box->currentIndex();
    }
    return box->findText(shown);
}

}  // namespace

// ---------------------------------------------------------------------------
// The widgets by control

QWidget* PricingPage::controlWidget(Ctl control, int index) const {
    const auto c = std::size_t(control);
    if (c >= widgets_.size() || index < 0 || std::size_t(index) >= widgets_[c].size()) {
        throw std::out_of_range("no control " + reference(control, index));
    }
    return widgets_[c][std::size_t(index)];
}

const std::vector<QWidget*>& PricingPage::controlWidgets(Ctl control) const {
    return widgets_.at(std::size_t(control));
}

QLineEdit* PricingPage::lineEdit(Ctl control, int index) const {
    return fitting<QLineEdit>(controlWidget(control, index), control);
}

QComboBox* PricingPage::comboBox(Ctl control, int index) const {
    return fitting<QComboBox>(controlWidget(control, index), control);
}

QCheckBox* PricingPage::checkBox(Ctl control, int index) const {
    return fitting<QCheckBox>(controlWidget(control, index), control);
}

QListWidget* PricingPage::partList(Ctl control) const {
    return fitting<QListWidget>(controlWidget(control, 0), control);
}

QRadioButton* PricingPage::optionButton(Ctl group, int option) const {
    const auto buttons = optionButtons(controlWidget(group, 0));
    if (option < 0 || option >= buttons.size()) {
        throw std::out_of_range("no option " + reference(group, option));
    }
    return buttons[option];
}

int PricingPage::partListNumber(const QListWidget* l) const {
    return l == controlWidget(Ctl::Lsthua) ? 0 : l == controlWidget(Ctl::Lstbao) ? 1 : 2;
}

QFrame* PricingPage::sectionFrame(Ctl box, int index) const {
    const auto i = std::size_t(index);
    switch (box) {
        case Ctl::Chkhua:
            return Frmhua.at(i);
        case Ctl::Chkbao:
            return Frmbao.at(i);
        case Ctl::Chkdan:
            return Frmdan.at(i);
        case Ctl::Chkhe:
            return Frmhe.at(i);
        case Ctl::Chkbu:
            return Frmbu.at(i);
        default:
            return nullptr;
    }
}

bool PricingPage::controlEnabled(Ctl control, int index) const {
    return !controlWidget(control, index)->testAttribute(Qt::WA_ForceDisabled);
}

// ---------------------------------------------------------------------------
// JobForm over the model

std::string PricingPage::text(Ctl control, int index) const {
    return model_.text(control, index);
}

int PricingPage::listIndex(Ctl control, int index) const {
    return model_.listIndex(control, index);
}

CheckState PricingPage::checkState(Ctl control, int index) const {
    return model_.checkState(control, index);
}

bool PricingPage::ticked(Ctl control, int item) const {
    return model_.ticked(control, item);
}

int PricingPage::option(Ctl group) const {
    return model_.option(group);
}

void PricingPage::setText(Ctl control, int index, const std::string& text) {
    handOver([&](inkquot::FormState& m) { m.setText(control, index, text); });
    if (control == Ctl::Ncomkai) {
        attendToKai(index);
    }
}

void PricingPage::setListIndex(Ctl control, int index, int position) {
    handOver([&](inkquot::FormState& m) { m.setListIndex(control, index, position); });
    if (control == Ctl::Ncomkai) {
        attendToKai(index);
    }
}

void PricingPage::setCheckState(Ctl control, int index, CheckState state) {
    handOver([&](inkquot::FormState& m) { m.setCheckState(control, index, state); });
}

void PricingPage::setTicked(Ctl control, int item, bool tick) {
    handOver([&](inkquot::FormState& m) { m.setTicked(control, item, tick); });
}

void PricingPage::setOption(Ctl group, int chosen) {
    handOver([&](inkquot::FormState& m) { m.setOption(group, chosen); });
}

void PricingPage::chooseKai(int group, int position) {
    handOver([&](inkquot::FormState& m) { m.chooseKai(group, position); });
    attendToKai(group);
}

void PricingPage::attendToKai(int group) {
    QComboBox* kai = comboBox(Ctl::Ncomkai, group);
    if (!inkquot::parseNumber(toUtf8(kai->currentText())) && kai->isVisible()) {
        // A 开 written by the program that is not a number: the clerk has
        // to choose one from the list before leaving the box.
        kai->setFocus(Qt::OtherFocusReason);
    }
}

// ---------------------------------------------------------------------------
// Showing the model

void PricingPage::handOver(const std::function<void(inkquot::FormState&)>& event) {
    event(model_);
    showModel();
}

void PricingPage::showModel() {
    const auto changes = model_.takeChanges();
    ++showing_;
    for (const auto& c : changes) {
        showControl(c.control, c.index);
    }
    --showing_;
    // The warnings come after the screen shows what the event changed, as
    // the rules that give them run last.
    for (const std::string& w : model_.takeWarnings()) {
        dialogs_.warning(this, fromUtf8(w));
    }
    for (const std::string& h : model_.takeHints()) {
        hint(fromUtf8(h));
    }
}

void PricingPage::showEveryControl() {
    ++showing_;
    for (const auto& d : inkquot::controlCatalogue()) {
        for (int i = 0; i < d.count(); ++i) {
            showControl(d.control, i);
        }
    }
    --showing_;
    model_.takeChanges();
}

void PricingPage::showControl(Ctl control, int index) {
    QWidget* w = controlWidget(control, index);
    switch (inkquot::controlDef(control).kind) {
        case ControlKind::TextBox: {
            auto* e = static_cast<QLineEdit*>(w);
            const QString text = fromUtf8(model_.text(control, index));
            if (e->text() != text) {
                e->setText(text);
            }
            break;
        }
        case ControlKind::TextList:
        case ControlKind::PositionList:
            showList(static_cast<QComboBox*>(w), control, index);
            break;
        case ControlKind::CheckBox: {
            auto* b = static_cast<QCheckBox*>(w);
            const Qt::CheckState state = qtState(model_.checkState(control, index));
            if (state == Qt::PartiallyChecked) {
                b->setTristate(true);
            }
            if (b->checkState() != state) {
                b->setCheckState(state);
            }
            if (QFrame* frame = sectionFrame(control, index)) {
                frame->setEnabled(model_.switchesOn(control, index));
            }
            break;
        }
        case ControlKind::PartList: {
            auto* l = static_cast<QListWidget*>(w);
            const auto& frames = partFrames_[std::size_t(partListNumber(l))];
            for (int item = 0; item < l->count(); ++item) {
                const Qt::CheckState state =
                    model_.ticked(control, item) ? Qt::Checked : Qt::Unchecked;
                if (l->item(item)->checkState() != state) {
                    l->item(item)->setCheckState(state);
                }
                if (std::size_t(item) < frames.size()) {
                    frames[std::size_t(item)]->setEnabled(model_.switchesOn(control, item));
                }
            }
            break;
        }
        case ControlKind::OptionGroup: {
            const auto buttons = optionButtons(w);
            const int chosen = model_.option(control);
            if (chosen >= 0) {
                if (!buttons[chosen]->isChecked()) {
                    buttons[chosen]->setChecked(true);
                }
                break;
            }
            QButtonGroup* g = buttons.front()->group();
            g->setExclusive(false);
            for (QRadioButton* r : buttons) {
                r->setChecked(false);
            }
            g->setExclusive(true);
            break;
        }
    }
    const bool enabled = model_.enabled(control, index);
    if (w->testAttribute(Qt::WA_ForceDisabled) == enabled) {
        w->setEnabled(enabled);
    }
    if (control == Ctl::comleibie && model_.listIndex(control) >= 0) {
        // The chosen kind's panel; the other kinds' panels and the result
        // panel go out of sight.
        showPanel(model_.listIndex(control));
    }
}

void PricingPage::showList(QComboBox* box, Ctl control, int index) {
    const auto& items = model_.items(control, index);
    bool sameItems = box->count() == int(items.size());
    for (int i = 0; sameItems && i < box->count(); ++i) {
        sameItems = box->itemText(i) == fromUtf8(items[std::size_t(i)]);
    }
    if (!sameItems) {
        QStringList texts;
        for (const auto& item : items) {
            texts << fromUtf8(item);
        }
        box->clear();
        box->addItems(texts);
    }
    const int position = model_.listIndex(control, index);
    if (!box->isEditable()) {
        if (box->currentIndex() != position) {
            box->setCurrentIndex(position);
        }
        return;
    }
    const QString text = fromUtf8(model_.text(control, index));
    if (!sameItems || shownIndex(box) != position || box->currentText() != text) {
        box->setCurrentIndex(position);
        box->setEditText(text);
    }
}

void PricingPage::boxEdited(Ctl control, int index) {
    const auto state = modelState(checkBox(control, index)->checkState());
    handOver([&](inkquot::FormState& m) { m.setCheckState(control, index, state); });
}

// A list with an editable text changed on the screen: a chosen item goes to
// the model by its position (a list may hold the same text twice), a typed
// text that is no item as text.
void PricingPage::listEdited(Ctl control, int index) {
    QComboBox* box = comboBox(control, index);
    const int shown = shownIndex(box);
    const std::string text = toUtf8(box->currentText());
    if (shown == model_.listIndex(control, index) && text == model_.text(control, index)) {
        return;
    }
    handOver([&](inkquot::FormState& m) {
        if (shown >= 0) {
            m.setListIndex(control, index, shown);
        } else {
            m.setText(control, index, text);
        }
    });
}
