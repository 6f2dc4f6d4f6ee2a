// Building the pricing page: every control from the control catalogue, then
// the panels that place them.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <stdexcept>

#include "core/costing/control_catalogue.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/pricing_page.h"

using inkquot::ControlDef;
using inkquot::ControlKind;
using inkquot::ControlStart;
using inkquot::Ctl;

namespace {

const ControlStart& startOf(Ctl c, int i) {
    return inkquot::controlDef(c).entries.at(std::size_t(i));
}

QString captionOf(Ctl c, int i) {
    return fromUtf8(startOf(c, i).caption);
}

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

QLabel* label(const QString& text, QWidget* parent = nullptr) {
    auto* l = new QLabel(text, parent);
    l->setTextFormat(Qt::PlainText);
    return l;
}

// Widgets side by side, kept together at their natural sizes.
QWidget* inRow(std::initializer_list<QWidget*> widgets, int spacing = 4) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    for (QWidget* w : widgets) {
        layout->addWidget(w);
    }
    layout->addStretch(1);
    return row;
}

QGroupBox* section(const QString& title) {
    auto* box = new QGroupBox(title);
    QFont f = box->font();
    f.setBold(true);
    box->setFont(f);
    return box;
}

// Group box titles are bold; what is inside is not.
void plainFont(QWidget* inside, QWidget* box) {
    QFont f = box->font();
    f.setBold(false);
    inside->setFont(f);
}

}  // namespace

void PricingPage::registerWidget(Ctl control, int index, QWidget* widget) {
    auto& row = widgets_.at(std::size_t(control));
    row.at(std::size_t(index)) = widget;
    widget->setObjectName(controlObjectName(control, index));
}

void PricingPage::buildControls() {
    const auto& catalogue = inkquot::controlCatalogue();
    widgets_.assign(catalogue.size(), {});
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
                    auto* c = new QComboBox;
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
                        // only from the list or from the program.
                        c->setEditable(true);
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
    // holds at the moment.
    for (const auto& row : widgets_) {
        for (QWidget* w : row) {
            if (auto* c = qobject_cast<QComboBox*>(w)) {
                c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            }
        }
    }
    auto widthInCharacters = [](QComboBox* c, int characters) {
        c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        c->setMinimumContentsLength(characters);
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

// The job boxes of a kind and its own size entry.
QWidget* PricingPage::commonBlock(int kind) {
    const auto k = std::size_t(kind);
    auto* block = new QWidget;
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    QLineEdit* boxes[3] = {txtkehuming[k], txtyinjianming[k], txtshuliang[k]};
    const Ctl controls[3] = {Ctl::txtkehuming, Ctl::txtyinjianming, Ctl::txtshuliang};
    for (int c = 0; c < 3; ++c) {
        const int digit = boxes[c]->fontMetrics().horizontalAdvance(QStringLiteral("0"));
        boxes[c]->setMinimumWidth(digit * 10);
        boxes[c]->setMaximumWidth(digit * (c == 2 ? 16 : 26));
        grid->addWidget(label(captionOf(controls[c], kind)), 0, 2 * c);
        grid->addWidget(boxes[c], 0, 2 * c + 1);
        grid->setColumnStretch(2 * c + 1, 1);
    }
    grid->setColumnStretch(6, 1);
    const int group = inkquot::sizeGroupOfKind(kind);
    // The calculator buttons of the kinds' own entries: book 0, sheet 4,
    // box 5, sticker 6; the newspaper has none.
    const int button[5] = {0, -1, 4, 5, 6};
    grid->addWidget(sizeEntry(group, button[kind]), 1, 0, 1, 7);
    return block;
}

// Series, 开 and press-sheet 开 of a size group, with its calculator button.
QWidget* PricingPage::sizeEntry(int group, int calculatorButton, bool withCaption) {
    const auto g = std::size_t(group);
    auto* unit = label(QStringLiteral("开"));
    auto* sheet = label(QStringLiteral("上机纸："));
    auto* sheetUnit = label(QStringLiteral("开"));
    sheet->setToolTip(QStringLiteral("上机纸张的开数，由程序写入"));
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    if (withCaption) {
        layout->addWidget(label(captionOf(Ctl::Ncomkai, group)));
    }
    layout->addWidget(Ncomdu[g]);
    layout->addWidget(Ncomkai[g]);
    layout->addWidget(unit);
    layout->addSpacing(10);
    layout->addWidget(sheet);
    layout->addWidget(Ntxtkaizhi[g]);
    layout->addWidget(sheetUnit);
    if (calculatorButton >= 0) {
        layout->addSpacing(10);
        layout->addWidget(cmdjisuan[std::size_t(calculatorButton)]);
    }
    layout->addStretch(1);
    return row;
}

// The printing controls of part j.
QFrame* PricingPage::partFrame(int part, QWidget* parent) {
    const auto j = std::size_t(part);
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    int row = 0;

    // Press and sheet size.
    grid->addWidget(label(captionOf(Ctl::Comyinji, part)), row, 0);
    grid->addWidget(inRow({Comyinji[j]}), row, 1);
    const bool newspaperPage = part == 5 || part == 6;
    if (!newspaperPage) {
        grid->addWidget(label(captionOf(Ctl::Cmbkaizhi, part)), row, 2);
        grid->addWidget(inRow({Cmbkaizhi[j]}), row, 3);
    } else {
        // The newspaper pages only go on the rotary press: no sheet size to
        // choose, no manual size, no self-turn.
        Cmbkaizhi[j]->setParent(frame);
        Cmbkaizhi[j]->hide();
    }
    ++row;
    const auto& zifan = startOf(Ctl::Chkzifan, part);
    const auto& zhikai = startOf(Ctl::Chkzhikai, part);
    if (zhikai.available || zifan.available) {
        QWidget* boxes =
            zifan.available ? inRow({Chkzhikai[j], Chkzifan[j]}, 14) : inRow({Chkzhikai[j]}, 14);
        grid->addWidget(boxes, row++, 0, 1, 4);
    }
    for (QCheckBox* b : {Chkzhikai[j], Chkzifan[j]}) {
        if (b->parent() == nullptr) {
            b->setParent(frame);
            b->hide();
        }
    }

    // Paper.
    if (part == 10) {
        grid->addWidget(label(captionOf(Ctl::Nzhibu, 0)), row, 0);
        grid->addWidget(inRow({Nzhibu}), row++, 1, 1, 3);
    } else if (part >= 7) {
        grid->addWidget(label(captionOf(Ctl::Ncomke, part)), row, 0);
        grid->addWidget(inRow({Ncomke[j], label(QStringLiteral("克"))}), row, 1);
        grid->addWidget(label(captionOf(Ctl::Ncomzhi, part)), row, 2);
        grid->addWidget(inRow({Ncomzhi[j]}), row++, 3);
    } else {
        grid->addWidget(label(captionOf(Ctl::Ncomzhi, part)), row, 0);
        grid->addWidget(inRow({Ncomke[j], label(QStringLiteral("克")), Ncomzhi[j]}), row++, 1, 1,
                        3);
    }

    // Colours and spot colours.
    if (part == 10) {
        grid->addWidget(label(captionOf(Ctl::Ncomyinse, 20)), row, 0);
        grid->addWidget(inRow({Ncomyinse[20]}), row, 1);
    } else {
        const int front = 2 * part;
        grid->addWidget(label(captionOf(Ctl::Ncomyinse, front)), row, 0);
        grid->addWidget(
            inRow({Ncomyinse[std::size_t(front)], label(captionOf(Ctl::Ncomyinse, front + 1)),
                   Ncomyinse[std::size_t(front + 1)]}),
            row, 1);
    }
    grid->addWidget(label(captionOf(Ctl::Ncomzhuanse, part)), row, 2);
    grid->addWidget(inRow({Ncomzhuanse[j]}), row++, 3);

    // The spread sizes of the cover and the inserts.
    const int spreadGroup = part == 0 ? 1 : part == 3 ? 2 : part == 4 ? 3 : -1;
    if (spreadGroup > 0) {
        grid->addWidget(label(captionOf(Ctl::Ncomkai, spreadGroup)), row, 0);
        grid->addWidget(sizeEntry(spreadGroup, -1, false), row++, 1, 1, 3);
    }

    // Difficulty, and the pages or the spread's calculator button.
    const int difficulty = inkquot::kPrintDifficultyIndex[j];
    grid->addWidget(label(captionOf(Ctl::Comnd, difficulty)), row, 0);
    grid->addWidget(inRow({Comnd[std::size_t(difficulty)]}), row, 1);
    const int pages[4] = {1, 2, 5, 6};
    for (int i = 0; i < 4; ++i) {
        if (pages[i] == part) {
            grid->addWidget(label(captionOf(Ctl::txtye, i)), row, 2);
            grid->addWidget(inRow({txtye[std::size_t(i)]}), row, 3);
        }
    }
    if (spreadGroup > 0) {
        grid->addWidget(inRow({cmdjisuan[std::size_t(spreadGroup)]}), row, 2, 1, 2);
    }
    ++row;

    grid->setColumnStretch(3, 1);
    grid->setRowStretch(row, 1);
    return frame;
}

// A part list beside the frame of the part shown.
QWidget* PricingPage::partSection(QListWidget* list, const std::vector<QFrame*>& frames) {
    auto* holder = new QWidget;
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    auto* stack = new QStackedWidget;
    for (QFrame* f : frames) {
        stack->addWidget(f);
        f->setEnabled(false);
    }
    auto* column = new QVBoxLayout;
    column->addWidget(list);
    column->addStretch(1);
    layout->addLayout(column);
    auto* separator = new QFrame;
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    layout->addWidget(separator);
    layout->addWidget(stack, 1);
    const int which = list == Lsthua ? 0 : list == Lstbao ? 1 : 2;
    partStacks_[std::size_t(which)] = stack;
    partFrames_[std::size_t(which)] = frames;
    return holder;
}

namespace {

// The items of a section: each tick box with the frame of its options
// beside it (a frame without options takes no room).
template <std::size_t N>
QGroupBox* sectionOf(const QString& title, const std::array<QCheckBox*, N>& boxes,
                     const std::array<QFrame*, N>& frames, std::initializer_list<int> items) {
    auto* box = section(title);
    auto* inside = new QWidget(box);
    plainFont(inside, box);
    auto* grid = new QGridLayout(inside);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    int row = 0;
    for (int i : items) {
        grid->addWidget(boxes[std::size_t(i)], row, 0, Qt::AlignTop);
        QFrame* f = frames[std::size_t(i)];
        if (f->layout() != nullptr && f->layout()->count() > 0) {
            grid->addWidget(f, row, 1);
        } else {
            f->setParent(inside);
            f->hide();
        }
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    auto* outer = new QVBoxLayout(box);
    outer->setContentsMargins(8, 6, 8, 8);
    outer->addWidget(inside);
    return box;
}

// A frame of section options laid out in rows.
QFrame* optionFrame(std::initializer_list<std::initializer_list<QWidget*>> rows) {
    auto* f = new QFrame;
    f->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(f);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    for (const auto& r : rows) {
        layout->addWidget(inRow(r));
    }
    return f;
}

template <std::size_t N>
void emptyFrames(std::array<QFrame*, N>& frames) {
    for (auto& f : frames) {
        if (f == nullptr) {
            f = new QFrame;
        }
    }
}

}  // namespace

QWidget* PricingPage::kindPanel(int kind, const Sections& sections) {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    QWidget* common = commonBlock(kind);
    layout->addWidget(common);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    layout->addLayout(grid);
    layout->addStretch(1);
    for (QWidget* w : {sections.prepress, sections.printing, sections.finishing}) {
        if (w != nullptr) {
            w->setParent(panel);
        }
    }
    sectionGrids_.push_back({grid, common, sections});
    arrange(sectionGrids_.back(), Arrangement::Stacked);
    return panel;
}

QWidget* PricingPage::buildBookPanel() {
    auto* film = optionFrame({{label(captionOf(Ctl::Cmbfeilin, 0)), Cmbfeilin[0]}});
    Frmhua[0] = film;
    Frmhua[2] = optionFrame({{comjiao[0], comjiao[1]}});
    Frmhua[3] = optionFrame(
        {{label(captionOf(Ctl::txttang, 0)), txttang[0], label(QStringLiteral("平方厘米"))}});
    Frmhua[4] = optionFrame({{label(captionOf(Ctl::Comnd, 5)), Comnd[5]},
                             {Chkban[0], label(captionOf(Ctl::Comnd, 6)), Comnd[6]}});
    Frmhua[5] = optionFrame({{label(captionOf(Ctl::Cmbdin, 0)), Cmbdin}});
    emptyFrames(Frmhua);

    std::vector<QFrame*> frames;
    for (int j = 0; j < 5; ++j) {
        Frameu0[std::size_t(j)] = partFrame(j, nullptr);
        frames.push_back(Frameu0[std::size_t(j)]);
    }
    auto* printing = section(QStringLiteral("印刷内容"));
    auto* inside = partSection(Lsthua, frames);
    plainFont(inside, printing);
    (new QVBoxLayout(printing))->addWidget(inside);

    Sections s{sectionOf(QStringLiteral("印前制作"), Chkhua, Frmhua, {0, 1}), printing,
               sectionOf(QStringLiteral("印后加工"), Chkhua, Frmhua, {2, 3, 4, 5})};
    return kindPanel(inkquot::kBook, s);
}

QWidget* PricingPage::buildNewspaperPanel() {
    Frmbao[0] = optionFrame({{label(captionOf(Ctl::Cmbfeilin, 1)), Cmbfeilin[1]}});
    emptyFrames(Frmbao);
    std::vector<QFrame*> frames;
    for (int i = 0; i < 2; ++i) {
        Frameu1[std::size_t(i)] = partFrame(5 + i, nullptr);
        frames.push_back(Frameu1[std::size_t(i)]);
    }
    auto* printing = section(QStringLiteral("印刷内容"));
    auto* inside = partSection(Lstbao, frames);
    plainFont(inside, printing);
    (new QVBoxLayout(printing))->addWidget(inside);
    Sections s{sectionOf(QStringLiteral("印前制作"), Chkbao, Frmbao, {0, 1}), printing, nullptr};
    return kindPanel(inkquot::kNewspaper, s);
}

QWidget* PricingPage::buildSingleSheetPanel() {
    Frmdan[0] = partFrame(7, nullptr);
    Frmdan[1] = optionFrame({{label(captionOf(Ctl::Cmbfeilin, 2)), Cmbfeilin[2]}});
    Frmdan[3] = optionFrame({{comjiao[2], comjiao[3]}});
    Frmdan[4] = optionFrame({{label(captionOf(Ctl::Comnd, 10)), Comnd[10]},
                             {Chkban[1], label(captionOf(Ctl::Comnd, 11)), Comnd[11]}});
    Frmdan[5] = optionFrame({{label(captionOf(Ctl::Cmbzheci, 0)), Cmbzheci}});
    emptyFrames(Frmdan);

    auto* printing = section(QStringLiteral("印刷内容"));
    auto* inside = new QWidget(printing);
    plainFont(inside, printing);
    auto* column = new QVBoxLayout(inside);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Chkdan[0]);
    column->addWidget(Frmdan[0]);
    column->addStretch(1);
    (new QVBoxLayout(printing))->addWidget(inside);

    Sections s{sectionOf(QStringLiteral("印前制作"), Chkdan, Frmdan, {1, 2}), printing,
               sectionOf(QStringLiteral("印后加工"), Chkdan, Frmdan, {3, 4, 5})};
    return kindPanel(inkquot::kSingleSheet, s);
}

QWidget* PricingPage::buildBoxPanel() {
    Frmhe[0] = optionFrame({{label(captionOf(Ctl::Cmbfeilin, 3)), Cmbfeilin[3]}});
    Frmhe[2] = optionFrame({{comjiao[4], comjiao[5]}});
    Frmhe[4] = optionFrame(
        {{label(captionOf(Ctl::txttang, 1)), txttang[1], label(QStringLiteral("平方厘米"))}});
    Frmhe[5] = optionFrame({{label(captionOf(Ctl::Comnd, 14)), Comnd[14]},
                            {Chkban[2], label(captionOf(Ctl::Comnd, 15)), Comnd[15]}});
    Frmhe[6] = optionFrame({{widgets_[std::size_t(Ctl::optwa)][0]}});
    Frmhe[7] = optionFrame({{widgets_[std::size_t(Ctl::optnian)][0]}});
    emptyFrames(Frmhe);

    std::vector<QFrame*> frames;
    for (int i = 0; i < 2; ++i) {
        Frameu2[std::size_t(i)] = partFrame(8 + i, nullptr);
        frames.push_back(Frameu2[std::size_t(i)]);
    }
    auto* printing = section(QStringLiteral("印刷内容"));
    auto* inside = partSection(lsthe, frames);
    plainFont(inside, printing);
    (new QVBoxLayout(printing))->addWidget(inside);

    Sections s{sectionOf(QStringLiteral("印前制作"), Chkhe, Frmhe, {0, 1}), printing,
               sectionOf(QStringLiteral("印后加工"), Chkhe, Frmhe, {2, 3, 4, 5, 6, 7})};
    return kindPanel(inkquot::kBoxBag, s);
}

QWidget* PricingPage::buildStickerPanel() {
    Frmbu[0] = partFrame(10, nullptr);
    Frmbu[1] = optionFrame({{label(captionOf(Ctl::Cmbfeilin, 4)), Cmbfeilin[4]}});
    Frmbu[3] = optionFrame({{comjiao[6]}});
    Frmbu[4] = optionFrame({{label(captionOf(Ctl::Comnd, 17)), Comnd[17]},
                            {Chkban[3], label(captionOf(Ctl::Comnd, 18)), Comnd[18]}});
    emptyFrames(Frmbu);

    auto* printing = section(QStringLiteral("印刷内容"));
    auto* inside = new QWidget(printing);
    plainFont(inside, printing);
    auto* column = new QVBoxLayout(inside);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(Chkbu[0]);
    column->addWidget(Frmbu[0]);
    column->addStretch(1);
    (new QVBoxLayout(printing))->addWidget(inside);

    Sections s{sectionOf(QStringLiteral("印前制作"), Chkbu, Frmbu, {1, 2}), printing,
               sectionOf(QStringLiteral("印后加工"), Chkbu, Frmbu, {3, 4})};
    return kindPanel(inkquot::kSticker, s);
}

QWidget* PricingPage::buildResultPanel() {
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    auto* caption = label(QStringLiteral("墨衡印件计价系统计价结果"));
    QFont f = caption->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    caption->setFont(f);
    caption->setAlignment(Qt::AlignHCenter);
    labresult = label(QString());
    labresult->setObjectName(QStringLiteral("labresult"));
    labresult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    labresult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    labresult->setWordWrap(true);
    cmdprint = new QPushButton(QStringLiteral("打印报价单"));
    cmdprint->setObjectName(QStringLiteral("cmdprint"));
    cmdprint->setAutoDefault(false);
    layout->addWidget(caption);
    layout->addWidget(labresult, 1);
    layout->addWidget(inRow({cmdprint}));
    return panel;
}

PricingPage::Arrangement PricingPage::arrangementFor(const SectionGrid& sg, int width) {
    const Sections& s = sg.sections;
    const int spacing = sg.grid->horizontalSpacing();
    const int printing = s.printing->minimumSizeHint().width();
    const int prepress = s.prepress->minimumSizeHint().width();
    const int finishing = s.finishing != nullptr ? s.finishing->minimumSizeHint().width() : 0;
    if (width >= printing + spacing + std::max(prepress, finishing)) {
        return Arrangement::Wide;
    }
    const int sideBySide = s.finishing != nullptr ? prepress + spacing + finishing : prepress;
    if (width >= std::max(printing, sideBySide)) {
        return Arrangement::SideBySide;
    }
    return Arrangement::Stacked;
}

void PricingPage::arrange(SectionGrid& sg, Arrangement arrangement) {
    if (sg.arrangement == arrangement) {
        return;
    }
    sg.arrangement = arrangement;
    const Sections& s = sg.sections;
    QGridLayout* grid = sg.grid;
    for (QWidget* w : {s.prepress, s.printing, s.finishing}) {
        if (w != nullptr) {
            grid->removeWidget(w);
        }
    }
    for (int i = 0; i < 3; ++i) {
        grid->setRowStretch(i, 0);
        grid->setColumnStretch(i, 0);
    }
    switch (arrangement) {
        case Arrangement::Wide:
            // The printing content on the left, prepress and finishing in a
            // column beside it.
            grid->addWidget(s.printing, 0, 0, 2, 1);
            grid->addWidget(s.prepress, 0, 1);
            if (s.finishing != nullptr) {
                grid->addWidget(s.finishing, 1, 1);
            }
            grid->setRowStretch(1, 1);
            grid->setColumnStretch(0, 3);
            grid->setColumnStretch(1, 2);
            break;
        case Arrangement::SideBySide:
            // The printing content across the page, prepress and finishing
            // side by side below it.
            grid->addWidget(s.printing, 0, 0, 1, 2);
            if (s.finishing != nullptr) {
                grid->addWidget(s.prepress, 1, 0);
                grid->addWidget(s.finishing, 1, 1);
            } else {
                grid->addWidget(s.prepress, 1, 0, 1, 2);
            }
            grid->setColumnStretch(0, 1);
            grid->setColumnStretch(1, 1);
            break;
        case Arrangement::Stacked:
        case Arrangement::Unset:
            grid->addWidget(s.printing, 0, 0);
            grid->addWidget(s.prepress, 1, 0);
            if (s.finishing != nullptr) {
                grid->addWidget(s.finishing, 2, 0);
            }
            grid->setColumnStretch(0, 1);
            break;
    }
}
