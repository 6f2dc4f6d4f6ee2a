// The panels of the pricing page: the common block and the sections of each
// job kind, the part frames and the result panel, placing the widgets of
// the controls.

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
#include <QStackedWidget>
#include <QVBoxLayout>

#include "core/costing/control_catalogue.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/pricing_page.h"

using inkquot::ControlStart;
using inkquot::Ctl;

namespace {

const ControlStart& startOf(Ctl c, int i) {
    return inkquot::controlDef(c).entries.at(std::size_t(i));
}

QString captionOf(Ctl c, int i) {
    return fromUtf8(startOf(c, i).caption);
}

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
