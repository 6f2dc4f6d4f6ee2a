// The widgets of the pricing page: one widget for every control of the
// control catalogue, with its items, caption and starting contents, and the
// named arrays over them.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <stdexcept>

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
                    // One control made of option buttons; the buttons are
                    // the named array.
                    auto* holder = new QWidget;
                    auto* layout = new QHBoxLayout(holder);
                    layout->setContentsMargins(0, 0, 0, 0);
                    auto* group = new QButtonGroup(holder);
                    auto& buttons = d.control == Ctl::optwa ? optwa : optnian;
                    for (std::size_t n = 0; n < s.items.size() && n < buttons.size(); ++n) {
                        auto* r = new QRadioButton(fromUtf8(s.items[n]), holder);
                        r->setObjectName(controlObjectName(d.control, int(n)));
                        group->addButton(r, int(n));
                        layout->addWidget(r);
                        buttons[n] = r;
                    }
                    if (s.position >= 0) {
                        buttons[std::size_t(s.position)]->setChecked(true);
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

    // The named arrays over the same widgets.
    auto bind = [this](Ctl c, auto& array) {
        const auto& row = widgets_[std::size_t(c)];
        if (row.size() != array.size()) {
            throw std::logic_error("pricing page: array size differs from the catalogue for " +
                                   std::string(inkquot::controlName(c)));
        }
        for (std::size_t i = 0; i < array.size(); ++i) {
            array[i] = static_cast<std::remove_reference_t<decltype(array[i])>>(row[i]);
        }
    };
    bind(Ctl::txtkehuming, txtkehuming);
    bind(Ctl::txtyinjianming, txtyinjianming);
    bind(Ctl::txtshuliang, txtshuliang);
    bind(Ctl::txtye, txtye);
    bind(Ctl::txttang, txttang);
    bind(Ctl::Ntxtkaizhi, Ntxtkaizhi);
    bind(Ctl::Ncomkai, Ncomkai);
    bind(Ctl::Ncomdu, Ncomdu);
    bind(Ctl::Cmbkaizhi, Cmbkaizhi);
    bind(Ctl::Ncomke, Ncomke);
    bind(Ctl::Ncomzhi, Ncomzhi);
    bind(Ctl::Ncomyinse, Ncomyinse);
    bind(Ctl::Ncomzhuanse, Ncomzhuanse);
    bind(Ctl::Comnd, Comnd);
    bind(Ctl::Comyinji, Comyinji);
    bind(Ctl::Cmbfeilin, Cmbfeilin);
    bind(Ctl::comjiao, comjiao);
    bind(Ctl::Chkhua, Chkhua);
    bind(Ctl::Chkbao, Chkbao);
    bind(Ctl::Chkdan, Chkdan);
    bind(Ctl::Chkhe, Chkhe);
    bind(Ctl::Chkbu, Chkbu);
    bind(Ctl::Chkban, Chkban);
    bind(Ctl::Chkzifan, Chkzifan);
    bind(Ctl::Chkzhikai, Chkzhikai);
    comleibie = static_cast<QComboBox*>(widgets_[std::size_t(Ctl::comleibie)][0]);
    Nzhibu = static_cast<QComboBox*>(widgets_[std::size_t(Ctl::Nzhibu)][0]);
    Cmbdin = static_cast<QComboBox*>(widgets_[std::size_t(Ctl::Cmbdin)][0]);
    Cmbzheci = static_cast<QComboBox*>(widgets_[std::size_t(Ctl::Cmbzheci)][0]);
    Lsthua = static_cast<QListWidget*>(widgets_[std::size_t(Ctl::Lsthua)][0]);
    Lstbao = static_cast<QListWidget*>(widgets_[std::size_t(Ctl::Lstbao)][0]);
    lsthe = static_cast<QListWidget*>(widgets_[std::size_t(Ctl::lsthe)][0]);

    // Stable widths: a list is as wide as its longest item, whatever it
    // holds at the moment (SizedList's default), or as a set number of
    // characters.
    auto widthInCharacters = [](QComboBox* c, int characters) {
        static_cast<SizedList*>(c)->setWidthInCharacters(characters);
    };
    for (auto* c : Ncomzhi) {
        widthInCharacters(c, 14);
    }
    widthInCharacters(Nzhibu, 14);
    for (auto* c : Cmbkaizhi) {
        widthInCharacters(c, 4);
    }
    for (auto* c : Ncomkai) {
        widthInCharacters(c, 4);
    }
    for (auto* e : Ntxtkaizhi) {
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        e->setAlignment(Qt::AlignRight);
    }
    for (auto* e : txtye) {
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    }
    for (auto* e : txttang) {
        e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);
    }

    for (int p = 0; p < int(cmdjisuan.size()); ++p) {
        cmdjisuan[std::size_t(p)] = new QPushButton(QStringLiteral("非标准开度由尺寸得到>>>"));
        cmdjisuan[std::size_t(p)]->setObjectName(QStringLiteral("cmdjisuan_%1").arg(p));
        cmdjisuan[std::size_t(p)]->setAutoDefault(false);
    }
}
