// The panels of the pricing page: the common block and the sections of each
// job kind, the part frames and the result panel, placing the widgets of
// the controls.

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
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

// The printing section of a kind with one printed part (single sheets,
// stickers): the part's check box above the part's frame.
QGroupBox* onePartSection(QWidget* box, QFrame* part) {
    auto* printing = section(QStringLiteral("印刷内容"));
    auto* inside = new QWidget(printing);
    plainFont(inside, printing);
    auto* column = new QVBoxLayout(inside);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(box);
    column->addWidget(part);
    column->addStretch(1);
    (new QVBoxLayout(printing))->addWidget(inside);
    return printing;
}

}  // namespace

// The job boxes of a kind and its own size entry.
QWidget* PricingPage::commonBlock(int kind) {
    auto* block = new QWidget;
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    const Ctl controls[3] = {Ctl::txtkehuming, Ctl::txtyinjianming, Ctl::txtshuliang};
    for (int c = 0; c < 3; ++c) {
        QWidget* box = controlWidget(controls[c], kind);
        const int digit = box->fontMetrics().horizontalAdvance(QStringLiteral("0"));
        box->setMinimumWidth(digit * 10);
        box->setMaximumWidth(digit * (c == 2 ? 16 : 26));
        grid->addWidget(label(captionOf(controls[c], kind)), 0, 2 * c);
        grid->addWidget(box, 0, 2 * c + 1);
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
    layout->addWidget(controlWidget(Ctl::Ncomdu, group));
    layout->addWidget(controlWidget(Ctl::Ncomkai, group));
    layout->addWidget(unit);
    layout->addSpacing(10);
    layout->addWidget(sheet);
    layout->addWidget(controlWidget(Ctl::Ntxtkaizhi, group));
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
    // The part's own control of an array.
    auto own = [this, part](Ctl c) { return controlWidget(c, part); };
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::NoFrame);
    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(6);
    int row = 0;

    // Press and sheet size.
    grid->addWidget(label(captionOf(Ctl::Comyinji, part)), row, 0);
    grid->addWidget(inRow({own(Ctl::Comyinji)}), row, 1);
    const bool newspaperPage = part == 5 || part == 6;
    if (!newspaperPage) {
        grid->addWidget(label(captionOf(Ctl::Cmbkaizhi, part)), row, 2);
        grid->addWidget(inRow({own(Ctl::Cmbkaizhi)}), row, 3);
    } else {
        // The newspaper pages only go on the rotary press: no sheet size to
        // choose, no manual size, no self-turn.
        own(Ctl::Cmbkaizhi)->setParent(frame);
        own(Ctl::Cmbkaizhi)->hide();
    }
    ++row;
    const auto& zifan = startOf(Ctl::Chkzifan, part);
    const auto& zhikai = startOf(Ctl::Chkzhikai, part);
    if (zhikai.available || zifan.available) {
        QWidget* boxes = zifan.available ? inRow({own(Ctl::Chkzhikai), own(Ctl::Chkzifan)}, 14)
                                         : inRow({own(Ctl::Chkzhikai)}, 14);
        grid->addWidget(boxes, row++, 0, 1, 4);
    }
    for (QWidget* b : {own(Ctl::Chkzhikai), own(Ctl::Chkzifan)}) {
        if (b->parent() == nullptr) {
            b->setParent(frame);
            b->hide();
        }
    }

    // Paper.
    if (part == 10) {
        grid->addWidget(label(captionOf(Ctl::Nzhibu, 0)), row, 0);
        grid->addWidget(inRow({controlWidget(Ctl::Nzhibu)}), row++, 1, 1, 3);
    } else if (part >= 7) {
        grid->addWidget(label(captionOf(Ctl::Ncomke, part)), row, 0);
        grid->addWidget(inRow({own(Ctl::Ncomke), label(QStringLiteral("克"))}), row, 1);
        grid->addWidget(label(captionOf(Ctl::Ncomzhi, part)), row, 2);
        grid->addWidget(inRow({own(Ctl::Ncomzhi)}), row++, 3);
    } else {
        grid->addWidget(label(captionOf(Ctl::Ncomzhi, part)), row, 0);
        grid->addWidget(inRow({own(Ctl::Ncomke), label(QStringLiteral("克")), own(Ctl::Ncomzhi)}),
                        row++, 1, 1, 3);
    }

    // Colours and spot colours.
    if (part == 10) {
        grid->addWidget(label(captionOf(Ctl::Ncomyinse, 20)), row, 0);
        grid->addWidget(inRow({controlWidget(Ctl::Ncomyinse, 20)}), row, 1);
    } else {
        const int front = 2 * part;
        grid->addWidget(label(captionOf(Ctl::Ncomyinse, front)), row, 0);
        grid->addWidget(inRow({controlWidget(Ctl::Ncomyinse, front),
                               label(captionOf(Ctl::Ncomyinse, front + 1)),
                               controlWidget(Ctl::Ncomyinse, front + 1)}),
                        row, 1);
    }
    grid->addWidget(label(captionOf(Ctl::Ncomzhuanse, part)), row, 2);
    grid->addWidget(inRow({own(Ctl::Ncomzhuanse)}), row++, 3);

    // The spread sizes of the cover and the inserts.
    const int spreadGroup = part == 0 ? 1 : part == 3 ? 2 : part == 4 ? 3 : -1;
    if (spreadGroup > 0) {
        grid->addWidget(label(captionOf(Ctl::Ncomkai, spreadGroup)), row, 0);
        grid->addWidget(sizeEntry(spreadGroup, -1, false), row++, 1, 1, 3);
    }

    // Difficulty, and the pages or the spread's calculator button.
    const int difficulty = inkquot::kPrintDifficultyIndex[std::size_t(part)];
    grid->addWidget(label(captionOf(Ctl::Comnd, difficulty)), row, 0);
    grid->addWidget(inRow({controlWidget(Ctl::Comnd, difficulty)}), row, 1);
    const int pages[4] = {1, 2, 5, 6};
    for (int i = 0; i < 4; ++i) {
        if (pages[i] == part) {
            grid->addWidget(label(captionOf(Ctl::txtye, i)), row, 2);
            grid->addWidget(inRow({controlWidget(Ctl::txtye, i)}), row, 3);
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
    const int which = partListNumber(list);
    partStacks_[std::size_t(which)] = stack;
    partFrames_[std::size_t(which)] = frames;
    return holder;
}

template <std::size_t N>
QWidget* PricingPage::partListSection(Ctl list, int firstPart, std::array<QFrame*, N>& frames) {
    std::vector<QFrame*> parts;
    for (std::size_t i = 0; i < N; ++i) {
        frames[i] = partFrame(firstPart + static_cast<int>(i), nullptr);
        parts.push_back(frames[i]);
    }
    auto* printing = section(QStringLiteral("印刷内容"));
    auto* inside = partSection(partList(list), parts);
    plainFont(inside, printing);
    (new QVBoxLayout(printing))->addWidget(inside);
    return printing;
}

namespace {

// The items of a section: each tick box with the frame of its options
// beside it (a frame without options takes no room).
template <std::size_t N>
QGroupBox* sectionOf(const QString& title, const std::vector<QWidget*>& boxes,
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

// A frame holding one control after its caption.
QFrame* captionedFrame(const PricingPage& page, Ctl control, int index = 0) {
    return optionFrame({{label(captionOf(control, index)), page.controlWidget(control, index)}});
}

// The die cutting frame of a kind: the difficulty of the cutting, then the
// box for making a die board and the board's difficulty.
QFrame* dieCutFrame(const PricingPage& page, int board, int difficulty) {
    return optionFrame(
        {{label(captionOf(Ctl::Comnd, difficulty)), page.controlWidget(Ctl::Comnd, difficulty)},
         {page.controlWidget(Ctl::Chkban, board), label(captionOf(Ctl::Comnd, difficulty + 1)),
          page.controlWidget(Ctl::Comnd, difficulty + 1)}});
}

// The two surface finishing lists from comjiao `first` on.
QFrame* surfaceFrame(const PricingPage& page, int first) {
    return optionFrame(
        {{page.controlWidget(Ctl::comjiao, first), page.controlWidget(Ctl::comjiao, first + 1)}});
}

// The stamped area box txttang `index` with its caption and unit.
QFrame* foilFrame(const PricingPage& page, int index) {
    return optionFrame(
        {{label(captionOf(Ctl::txttang, index)), page.controlWidget(Ctl::txttang, index),
          label(QStringLiteral("平方厘米"))}});
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
    Frmhua[0] = captionedFrame(*this, Ctl::Cmbfeilin, 0);
    Frmhua[2] = surfaceFrame(*this, 0);
    Frmhua[3] = foilFrame(*this, 0);
    Frmhua[4] = dieCutFrame(*this, 0, 5);
    Frmhua[5] = captionedFrame(*this, Ctl::Cmbdin);
    emptyFrames(Frmhua);

    auto* printing = partListSection(Ctl::Lsthua, 0, Frameu0);

    const auto& boxes = controlWidgets(Ctl::Chkhua);
    Sections s{sectionOf(QStringLiteral("印前制作"), boxes, Frmhua, {0, 1}), printing,
               sectionOf(QStringLiteral("印后加工"), boxes, Frmhua, {2, 3, 4, 5})};
    return kindPanel(inkquot::kBook, s);
}

QWidget* PricingPage::buildNewspaperPanel() {
    Frmbao[0] = captionedFrame(*this, Ctl::Cmbfeilin, 1);
    emptyFrames(Frmbao);
    auto* printing = partListSection(Ctl::Lstbao, 5, Frameu1);
    const auto& boxes = controlWidgets(Ctl::Chkbao);
    Sections s{sectionOf(QStringLiteral("印前制作"), boxes, Frmbao, {0, 1}), printing, nullptr};
    return kindPanel(inkquot::kNewspaper, s);
}

QWidget* PricingPage::buildSingleSheetPanel() {
    Frmdan[0] = partFrame(7, nullptr);
    Frmdan[1] = captionedFrame(*this, Ctl::Cmbfeilin, 2);
    Frmdan[3] = surfaceFrame(*this, 2);
    Frmdan[4] = dieCutFrame(*this, 1, 10);
    Frmdan[5] = captionedFrame(*this, Ctl::Cmbzheci);
    emptyFrames(Frmdan);

    auto* printing = onePartSection(controlWidget(Ctl::Chkdan, 0), Frmdan[0]);

    const auto& boxes = controlWidgets(Ctl::Chkdan);
    Sections s{sectionOf(QStringLiteral("印前制作"), boxes, Frmdan, {1, 2}), printing,
               sectionOf(QStringLiteral("印后加工"), boxes, Frmdan, {3, 4, 5})};
    return kindPanel(inkquot::kSingleSheet, s);
}

QWidget* PricingPage::buildBoxPanel() {
    Frmhe[0] = captionedFrame(*this, Ctl::Cmbfeilin, 3);
    Frmhe[2] = surfaceFrame(*this, 4);
    Frmhe[4] = foilFrame(*this, 1);
    Frmhe[5] = dieCutFrame(*this, 2, 14);
    Frmhe[6] = optionFrame({{controlWidget(Ctl::optwa)}});
    Frmhe[7] = optionFrame({{controlWidget(Ctl::optnian)}});
    emptyFrames(Frmhe);

    auto* printing = partListSection(Ctl::lsthe, 8, Frameu2);

    const auto& boxes = controlWidgets(Ctl::Chkhe);
    Sections s{sectionOf(QStringLiteral("印前制作"), boxes, Frmhe, {0, 1}), printing,
               sectionOf(QStringLiteral("印后加工"), boxes, Frmhe, {2, 3, 4, 5, 6, 7})};
    return kindPanel(inkquot::kBoxBag, s);
}

QWidget* PricingPage::buildStickerPanel() {
    Frmbu[0] = partFrame(10, nullptr);
    Frmbu[1] = captionedFrame(*this, Ctl::Cmbfeilin, 4);
    Frmbu[3] = optionFrame({{controlWidget(Ctl::comjiao, 6)}});
    Frmbu[4] = dieCutFrame(*this, 3, 17);
    emptyFrames(Frmbu);

    auto* printing = onePartSection(controlWidget(Ctl::Chkbu, 0), Frmbu[0]);

    const auto& boxes = controlWidgets(Ctl::Chkbu);
    Sections s{sectionOf(QStringLiteral("印前制作"), boxes, Frmbu, {1, 2}), printing,
               sectionOf(QStringLiteral("印后加工"), boxes, Frmbu, {3, 4})};
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
    // Below the result, while the price tables are damaged.
    labdamage = label(QString());
    labdamage->setObjectName(QStringLiteral("labdamage"));
    labdamage->setWordWrap(true);
    labdamage->setStyleSheet(QStringLiteral("color: #9C0006;"));
    labdamage->hide();
    cmdprint = new QPushButton(QStringLiteral("打印报价单"));
    cmdprint->setObjectName(QStringLiteral("cmdprint"));
    cmdprint->setAutoDefault(false);
    layout->addWidget(caption);
    layout->addWidget(labresult);
    layout->addWidget(labdamage);
    layout->addStretch(1);
    layout->addWidget(inRow({cmdprint}));
    return panel;
}
