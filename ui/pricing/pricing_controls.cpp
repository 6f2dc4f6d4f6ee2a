// The widgets of the pricing page: one widget for every control of the
// control catalogue, with its items, caption and starting contents.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "core/costing/control_catalogue.h"
#include "ui/common/sized_list.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/pricing_page.h"

using inkquot::ControlDef;
using inkquot::ControlKind;
using inkquot::ControlStart;
using inkquot::Ctl;

namespace {

QString controlObjectName(Ctl c, int i) {
    const auto name = inkquot::controlName(c);
    return QString::fromLatin1(name.data(), qsizetype(name.size())) + QLatin1Char('_') +
           QString::number(i);
}

// A tick box that leaves the greyed state for good once clicked: greyed and
// cleared both go to ticked, ticked goes to cleared.
class TickBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

}  // namespace

void PricingPage::registerWidget(Ctl control, int index, QWidget* widget) {
    auto& row = widgets_.at(std::size_t(control));
    row.at(std::size_t(index)) = widget;
    widget->setObjectName(controlObjectName(control, index));
}

void PricingPage::buildControls() {
    const auto& catalogue = inkquot::controlCatalogue();
    widgets_.assign(catalogue.size(), {});
    // The lists complete nothing. A text box that already has a completer
    // keeps the list from building one of its own only to drop it; this
    // one stands in for all of them until they are built.
    QCompleter standIn;
    for (const ControlDef& d : catalogue) {
        widgets_[std::size_t(d.control)].assign(std::size_t(d.count()), nullptr);
        for (int i = 0; i < d.count(); ++i) {
            const ControlStart& s = d.entries[std::size_t(i)];
            QWidget* w = nullptr;
            switch (d.kind) {
                case ControlKind::TextBox: {
                    auto* e = new QLineEdit(fromUtf8(s.text));
                    e->setReadOnly(!s.editable);
                    w = e;
                    break;
                }
                case ControlKind::TextList:
                case ControlKind::PositionList: {
                    auto* c = new SizedList;
                    QStringList items;
                    if (d.schemeItems > 0) {
                        for (int n = 0; n < d.schemeItems; ++n) {
                            items << QString();
                        }
                    } else {
                        for (const auto& item : s.items) {
                            items << fromUtf8(item);
                        }
                    }
                    c->addItems(items);
                    c->setMaxVisibleItems(16);
                    if (d.kind == ControlKind::TextList) {
                        // The text is what counts; the clerk may type into
                        // some of these lists, the others take their text
                        // only from the list or from the program. A text
                        // box of its own makes the list editable without
                        // building its popup at once (setEditable does):
                        // the popup is built when the list first opens.
                        auto* edit = new QLineEdit(c);
                        edit->setPalette(c->palette());
                        edit->setCompleter(&standIn);
                        c->setLineEdit(edit);
                        c->setInsertPolicy(QComboBox::NoInsert);
                        c->setCompleter(nullptr);
                        c->lineEdit()->setReadOnly(!s.editable);
                        c->setCurrentIndex(s.position);
                        c->setEditText(fromUtf8(s.text));
                    } else {
                        c->setCurrentIndex(s.position);
                    }
                    w = c;
                    break;
                }
                case ControlKind::CheckBox: {
                    auto* b = new TickBox(fromUtf8(s.caption));
                    switch (s.check) {
                        case inkquot::CheckState::Checked:
                            b->setCheckState(Qt::Checked);
                            break;
                        case inkquot::CheckState::Greyed:
                            b->setTristate(true);
                            b->setCheckState(Qt::PartiallyChecked);
                            break;
                        case inkquot::CheckState::Unchecked:
                            b->setCheckState(Qt::Unchecked);
                            break;
                    }
                    b->setEnabled(s.available);
                    w = b;
                    break;
                }
                case ControlKind::PartList: {
                    auto* l = new QListWidget;
                    for (const auto& item : s.items) {
                        auto* it = new QListWidgetItem(fromUtf8(item), l);
                        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                                     Qt::ItemIsUserCheckable);
                        it->setCheckState(Qt::Unchecked);
                    }
                    l->setSelectionMode(QAbstractItemView::SingleSelection);
                    l->setCurrentRow(0);
                    l->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                    l->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                    const int rows = l->count();
                    l->setFixedHeight(rows * (l->sizeHintForRow(0) + 2) + 2 * l->frameWidth() + 4);
                    l->setFixedWidth(l->sizeHintForColumn(0) + 2 * l->frameWidth() + 16);
                    w = l;
                    break;
                }
                case ControlKind::OptionGroup: {
                    // One control made of option buttons, numbered as the
                    // options.
                    auto* holder = new QWidget;
                    auto* layout = new QHBoxLayout(holder);
                    layout->setContentsMargins(0, 0, 0, 0);
                    auto* group = new QButtonGroup(holder);
                    for (std::size_t n = 0; n < s.items.size(); ++n) {
                        auto* r = new QRadioButton(fromUtf8(s.items[n]), holder);
                        r->setObjectName(controlObjectName(d.control, int(n)));
                        group->addButton(r, int(n));
                        layout->addWidget(r);
                    }
                    if (s.position >= 0) {
                        group->button(s.position)->setChecked(true);
                    }
                    layout->addStretch(1);
                    w = holder;
                    break;
                }
            }
            if (!s.hint.empty()) {
                w->setToolTip(fromUtf8(s.hint));
            }
            registerWidget(d.control, i, w);
            if (d.kind == ControlKind::OptionGroup) {
                w->setObjectName(QString::fromLatin1(d.name.data(), qsizetype(d.name.size())));
            }
        }
    }

    // Stable widths: a list is as wide as its longest item, whatever it
    // holds at the moment (SizedList's default), or as a set number of
    // characters; a number box as wide as a set number of digits.
    auto widthInCharacters = [this](Ctl c, int characters) {
        for (QWidget* w : controlWidgets(c)) {
            static_cast<SizedList*>(w)->setWidthInCharacters(characters);
        }
    };
    widthInCharacters(Ctl::Ncomzhi, 14);
    widthInCharacters(Ctl::Nzhibu, 14);
    widthInCharacters(Ctl::Cmbkaizhi, 4);
    widthInCharacters(Ctl::Ncomkai, 4);
    auto widthInDigits = [this](Ctl c, const QString& digits) {
        for (QWidget* w : controlWidgets(c)) {
            w->setFixedWidth(w->fontMetrics().horizontalAdvance(digits) + 16);
        }
    };
    widthInDigits(Ctl::Ntxtkaizhi, QStringLiteral("0000"));
    widthInDigits(Ctl::txtye, QStringLiteral("000000"));
    widthInDigits(Ctl::txttang, QStringLiteral("000000"));
    for (QWidget* w : controlWidgets(Ctl::Ntxtkaizhi)) {
        static_cast<QLineEdit*>(w)->setAlignment(Qt::AlignRight);
    }

    for (int p = 0; p < int(cmdjisuan.size()); ++p) {
        cmdjisuan[std::size_t(p)] = new QPushButton(QStringLiteral("非标准开度由尺寸得到>>>"));
        cmdjisuan[std::size_t(p)]->setObjectName(QStringLiteral("cmdjisuan_%1").arg(p));
        cmdjisuan[std::size_t(p)]->setAutoDefault(false);
    }
}
