// The pricing page's events: what the clerk does to a widget is handed to
// the form model, which applies the event rules; the page then shows the
// outcome. The checks when the focus leaves a box, the hint of the foil area
// and the lists that take no typing are wired here too.

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "core/costing/control_catalogue.h"
#include "core/job/form_rules.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/leave_guard.h"
#include "ui/pricing/pricing_page.h"

using inkquot::ControlDef;
using inkquot::ControlKind;
using inkquot::Ctl;
using inkquot::FormState;

void PricingPage::wireEvents() {
    for (const ControlDef& d : inkquot::controlCatalogue()) {
        const Ctl c = d.control;
        for (int i = 0; i < d.count(); ++i) {
            QWidget* w = controlWidget(c, i);
            switch (d.kind) {
                case ControlKind::TextBox:
                    connect(static_cast<QLineEdit*>(w), &QLineEdit::textChanged, this,
                            [this, c, i](const QString& text) {
                                if (showing_ == 0) {
                                    handOver([&](FormState& m) { m.setText(c, i, toUtf8(text)); });
                                    // A text the model refuses goes back.
                                    ++showing_;
                                    showControl(c, i);
                                    --showing_;
                                }
                            });
                    break;
                case ControlKind::TextList: {
                    auto* box = static_cast<QComboBox*>(w);
                    auto edited = [this, c, i] {
                        if (showing_ == 0) {
                            listEdited(c, i);
                        }
                    };
                    connect(box, &QComboBox::editTextChanged, this, edited);
                    connect(box, &QComboBox::currentIndexChanged, this, edited);
                    if (c == Ctl::Ncomkai) {
                        // A 开 chosen from the list starts again from a half
                        // press sheet, even when it is the 开 shown.
                        connect(box, &QComboBox::activated, this,
                                [this, i](int position) { chooseKai(i, position); });
                    }
                    break;
                }
                case ControlKind::PositionList: {
                    auto* box = static_cast<QComboBox*>(w);
                    connect(box, &QComboBox::currentIndexChanged, this, [this, c, i](int position) {
                        if (showing_ == 0 && position != model_.listIndex(c, i)) {
                            handOver([&](FormState& m) { m.setListIndex(c, i, position); });
                        }
                    });
                    if (c == Ctl::Comyinji || c == Ctl::comleibie) {
                        // Choosing the press or the kind shown runs its rule
                        // again: the sheet sizes are rebuilt, the kind's
                        // panel comes back in place of the result.
                        connect(box, &QComboBox::activated, this, [this, c, i](int position) {
                            handOver([&](FormState& m) { m.setListIndex(c, i, position); });
                        });
                    }
                    break;
                }
                case ControlKind::CheckBox:
                    connect(static_cast<QCheckBox*>(w), &QCheckBox::stateChanged, this,
                            [this, c, i] {
                                if (showing_ == 0) {
                                    boxEdited(c, i);
                                }
                            });
                    break;
                case ControlKind::PartList: {
                    auto* l = static_cast<QListWidget*>(w);
                    connect(l, &QListWidget::itemChanged, this, [this, l, c](QListWidgetItem* it) {
                        const int item = l->row(it);
                        const bool tick = it->checkState() == Qt::Checked;
                        if (showing_ == 0 && tick != model_.ticked(c, item)) {
                            handOver([&](FormState& m) { m.setTicked(c, item, tick); });
                        }
                    });
                    connect(l, &QListWidget::itemClicked, this,
                            [this, l, c](QListWidgetItem* it) { clickPartItem(c, l->row(it)); });
                    // Moving through the list with the keys counts as a click too.
                    connect(l, &QListWidget::currentRowChanged, this, [this, c](int row) {
                        if (row >= 0 && QApplication::mouseButtons() == Qt::NoButton &&
                            !clickingPart_) {
                            clickPartItem(c, row);
                        }
                    });
                    break;
                }
                case ControlKind::OptionGroup: {
                    const auto buttons =
                        w->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
                    connect(buttons.front()->group(), &QButtonGroup::idToggled, this,
                            [this, c](int id, bool checked) {
                                if (showing_ == 0 && checked) {
                                    handOver([&](FormState& m) { m.setOption(c, id); });
                                }
                            });
                    break;
                }
            }
        }
    }

    // The 开 lists and the sheet-size lists take no typing.
    for (Ctl c : {Ctl::Ncomkai, Ctl::Cmbkaizhi}) {
        for (QWidget* box : controlWidgets(c)) {
            box->installEventFilter(this);
            static_cast<QComboBox*>(box)->lineEdit()->installEventFilter(this);
        }
    }
    for (QWidget* box : controlWidgets(Ctl::txttang)) {
        box->installEventFilter(this);
    }
    for (int p = 0; p < int(cmdjisuan.size()); ++p) {
        connect(cmdjisuan[std::size_t(p)], &QPushButton::clicked, this,
                [this, p] { openCalculator(p); });
    }

    // Boxes checked when the focus leaves them.
    for (Ctl c : {Ctl::Ncomkai, Ctl::txtkehuming, Ctl::txtyinjianming, Ctl::txtshuliang, Ctl::txtye,
                  Ctl::txttang}) {
        for (int i = 0; i < inkquot::controlDef(c).count(); ++i) {
            guard_->watch(controlWidget(c, i), [this, c, i] { return leaving(c, i); });
        }
    }
}

bool PricingPage::leaving(Ctl control, int index) {
    const auto refusal = inkquot::checkLeaving(control, index, model_.text(control, index));
    if (!refusal) {
        return true;
    }
    dialogs_.warning(this, fromUtf8(refusal->message));
    if (refusal->replacement) {
        setText(control, index, *refusal->replacement);
    }
    return false;
}

bool PricingPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const auto& foilAreas = controlWidgets(Ctl::txttang);
        if (std::find(foilAreas.begin(), foilAreas.end(), watched) != foilAreas.end()) {
            hint(fromUtf8(inkquot::kFoilAreaHintText));
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
