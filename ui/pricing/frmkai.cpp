#include "ui/pricing/frmkai.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/common/number_text.h"
#include "core/costing/job_form.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/kai_sketch.h"

namespace {

const QString kBadNumber = fromUtf8(inkquot::kNotANumberText);

// A box's text as whole millimetres: the number rounded half to even. The
// boxes hold at most a few digits; anything else reads as 0.
std::int32_t wholeMillimetres(const QLineEdit* box) {
    const auto value = inkquot::parseNumber(toUtf8(box->text()));
    if (!value) {
        return 0;
    }
    const float whole = std::clamp(inkquot::roundHalfEven(*value), -1.0e6f, 1.0e6f);
    return static_cast<std::int32_t>(whole);
}

QFrame* panel(QWidget* parent) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// The grid of a panel's boxes and labels.
QGridLayout* panelGrid(QFrame* panel) {
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(14, 12, 14, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    return grid;
}

QLabel* note(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("color: #5a6570;"));
    return l;
}

}  // namespace

FrmKai::FrmKai(int page, inkquot::JobForm& form, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      page_(page >= 0 && page < kPages ? page : 0),
      form_(form),
      dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmkai"));
    setWindowTitle(QStringLiteral("开版"));
    setModal(true);

    stack_ = new QStackedWidget(this);
    for (int p = 0; p < kPages; ++p) {
        pages[std::size_t(p)] = buildPage(p);
        stack_->addWidget(pages[std::size_t(p)]);
    }

    Cmdkai[0] = new QPushButton(QStringLiteral("确定"), this);
    Cmdkai[1] = new QPushButton(QStringLiteral("取消"), this);
    for (std::size_t i = 0; i < Cmdkai.size(); ++i) {
        Cmdkai[i]->setObjectName(QStringLiteral("Cmdkai_%1").arg(i));
        Cmdkai[i]->setMinimumWidth(90);
        Cmdkai[i]->setAutoDefault(false);
        // A click does not take the focus from a box, so the button checks
        // the boxes itself and warns once; Tab still reaches it.
        Cmdkai[i]->setFocusPolicy(Qt::TabFocus);
    }
    connect(Cmdkai[0], &QPushButton::clicked, this, [this] { writeBack(); });
    connect(Cmdkai[1], &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Cmdkai[0]);
    buttons->addWidget(Cmdkai[1]);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(12);
    layout->addWidget(stack_, 1);
    layout->addLayout(buttons);

    // Only the page of the calling button is shown and usable.
    stack_->setCurrentIndex(page_);
    for (int p = 0; p < kPages; ++p) {
        pages[std::size_t(p)]->setEnabled(p == page_);
    }
    setWindowTitle(QString::fromUtf8(inkquot::layoutPageInfo(page_).title));
    txta[std::size_t(page_)]->setFocus();
    // Its natural size, which fits the smallest screen the program runs on.
    resize(sizeHint().boundedTo(QSize(780, 560)));
}

bool FrmKai::run(QWidget* parent, int page, inkquot::JobForm& form, Dialogs& dialogs) {
    FrmKai window(page, form, dialogs, parent);
    return window.exec() == QDialog::Accepted;
}

QWidget* FrmKai::buildPage(int p) {
    const auto i = std::size_t(p);
    const bool book = p == 0;
    auto* page = new QWidget(stack_);
    page->setObjectName(QStringLiteral("page_%1").arg(p));

    auto* digits =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), page);
    auto numberBox = [&](const QString& name, int maxLength) {
        auto* e = new QLineEdit(QStringLiteral("0"), page);
        e->setObjectName(QStringLiteral("%1_%2").arg(name).arg(p));
        e->setMaxLength(maxLength);
        e->setValidator(digits);
        e->setAlignment(Qt::AlignRight);
        e->setFixedWidth(70);
        watchNumberBox(e, e);
        return e;
    };

    // Sizes, trim, gripper and press.
    auto* inputs = panel(page);
    inputs->setObjectName(QStringLiteral("inputs_%1").arg(p));
    auto* grid = panelGrid(inputs);
    grid->setColumnStretch(5, 1);

    int row = 0;
    if (book) {
        grid->addWidget(note(QStringLiteral("垂直书脊边"), inputs), row, 1, Qt::AlignCenter);
        grid->addWidget(note(QStringLiteral("沿书脊边"), inputs), row, 3, Qt::AlignCenter);
        ++row;
    }
    txta[i] = numberBox(QStringLiteral("txta"), 4);
    txtb[i] = numberBox(QStringLiteral("txtb"), 4);
    grid->addWidget(
        new QLabel(book ? QStringLiteral("尺寸(mm)：") : QStringLiteral("展开尺寸(mm)："), inputs),
        row, 0);
    grid->addWidget(txta[i], row, 1);
    grid->addWidget(new QLabel(QStringLiteral("X"), inputs), row, 2, Qt::AlignCenter);
    grid->addWidget(txtb[i], row, 3);
    if (!book) {
        grid->addWidget(note(QStringLiteral("(aXb)"), inputs), row, 4);
    }
    ++row;

    txtbian[i] = new QLineEdit(QStringLiteral("3"), inputs);
    txtbian[i]->setObjectName(QStringLiteral("txtbian_%1").arg(p));
    txtbian[i]->setReadOnly(true);
    txtbian[i]->setAlignment(Qt::AlignRight);
    txtbian[i]->setFixedWidth(52);
    // The trim is set with the spinner only.
    VScroll1[i] = new QScrollBar(Qt::Vertical, inputs);
    VScroll1[i]->setObjectName(QStringLiteral("VScroll1_%1").arg(p));
    VScroll1[i]->setRange(0, 10);
    VScroll1[i]->setValue(3);
    VScroll1[i]->setPageStep(1);
    VScroll1[i]->setInvertedAppearance(true);
    VScroll1[i]->setFixedSize(18, txtbian[i]->sizeHint().height());
    // A scroll bar's upper arrow steps down; as a spinner it steps up.
    QScrollBar* spin = VScroll1[i];
    connect(spin, &QAbstractSlider::actionTriggered, spin, [spin](int action) {
        if (action == QAbstractSlider::SliderSingleStepAdd) {
            spin->setSliderPosition(spin->value() - spin->singleStep());
        } else if (action == QAbstractSlider::SliderSingleStepSub) {
            spin->setSliderPosition(spin->value() + spin->singleStep());
        }
    });
    QLineEdit* bian = txtbian[i];
    connect(VScroll1[i], &QScrollBar::valueChanged, bian,
            [bian](int value) { bian->setText(QString::number(value)); });
    auto* trim = new QHBoxLayout;
    trim->setSpacing(0);
    trim->addWidget(txtbian[i]);
    trim->addWidget(VScroll1[i]);
    trim->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("裁边(mm)："), inputs), row, 0);
    grid->addLayout(trim, row, 1);
    ++row;

    Txtyaokou[i] = numberBox(QStringLiteral("Txtyaokou"), 2);
    grid->addWidget(new QLabel(QStringLiteral("咬口(mm)："), inputs), row, 0);
    grid->addWidget(Txtyaokou[i], row, 1);
    grid->addWidget(note(QStringLiteral("(c)"), inputs), row, 2, 1, 2);
    ++row;
    auto* hint = note(QStringLiteral("(当你确定不能\"借\"咬口时，请输入咬口尺寸)"), inputs);
    hint->setWordWrap(true);
    grid->addWidget(hint, row, 0, 1, 6);
    ++row;

    Comkaiji[i] = new QComboBox(inputs);
    Comkaiji[i]->setObjectName(QStringLiteral("Comkaiji_%1").arg(p));
    Comkaiji[i]->addItem(QStringLiteral("对开机"));
    grid->addWidget(new QLabel(QStringLiteral("目标机种："), inputs), row, 0);
    grid->addWidget(Comkaiji[i], row, 1, 1, 3);
    ++row;

    cmdsuankai[i] = new QPushButton(QStringLiteral("开始计算>>>"), inputs);
    cmdsuankai[i]->setObjectName(QStringLiteral("cmdsuankai_%1").arg(p));
    cmdsuankai[i]->setMinimumWidth(120);
    cmdsuankai[i]->setFocusPolicy(Qt::TabFocus);
    cmdsuankai[i]->setAutoDefault(false);
    // Enter in a box runs the fit rather than closing the window.
    cmdsuankai[i]->setDefault(p == page_);
    connect(cmdsuankai[i], &QPushButton::clicked, this, [this] { calculate(); });
    grid->addWidget(cmdsuankai[i], row, 0, 1, 6, Qt::AlignRight);

    // The result of the fit: series, 开, cut and utilisation.
    auto* results = panel(page);
    results->setObjectName(QStringLiteral("results_%1").arg(p));
    auto* rgrid = panelGrid(results);
    rgrid->setColumnStretch(1, 1);
    rgrid->setColumnStretch(3, 1);

    comsuandu[i] = new QComboBox(results);
    comsuandu[i]->setObjectName(QStringLiteral("comsuandu_%1").arg(p));
    for (const char* item : inkquot::kSeriesItems) {
        comsuandu[i]->addItem(QString::fromUtf8(item));
    }
    comsuankai[i] = new QComboBox(results);
    comsuankai[i]->setObjectName(QStringLiteral("comsuankai_%1").arg(p));
    comsuankai[i]->setEditable(true);
    comsuankai[i]->setInsertPolicy(QComboBox::NoInsert);
    comsuankai[i]->addItem(QStringLiteral("16"));
    comsuankai[i]->setCurrentIndex(0);
    comsuankai[i]->lineEdit()->setValidator(digits);
    // Nine digits keep the 开 inside a whole number the press rules can use.
    comsuankai[i]->lineEdit()->setMaxLength(9);
    watchNumberBox(comsuankai[i], comsuankai[i]->lineEdit());
    comsuankaizhi[i] = new QComboBox(results);
    comsuankaizhi[i]->setObjectName(QStringLiteral("comsuankaizhi_%1").arg(p));
    for (const char* item : inkquot::kCutItems) {
        comsuankaizhi[i]->addItem(QString::fromUtf8(item));
    }
    Labzzlyl[i] = new QLabel(QStringLiteral("100%"), results);
    Labzzlyl[i]->setObjectName(QStringLiteral("Labzzlyl_%1").arg(p));
    QFont strong = Labzzlyl[i]->font();
    strong.setBold(true);
    Labzzlyl[i]->setFont(strong);
    Labzzlyl[i]->setStyleSheet(QStringLiteral("color: #1d5fa8;"));
    // Room for the longest utilisation it shows (seven significant digits),
    // so the panels keep their width when a result replaces the "100%".
    Labzzlyl[i]->setMinimumWidth(
        QFontMetrics(strong).horizontalAdvance(QStringLiteral("99.999999%")));

    rgrid->addWidget(new QLabel(QStringLiteral("纸张"), results), 0, 0);
    rgrid->addWidget(comsuandu[i], 0, 1);
    rgrid->addWidget(new QLabel(QStringLiteral("开度"), results), 0, 2);
    rgrid->addWidget(comsuankai[i], 0, 3);
    rgrid->addWidget(new QLabel(QStringLiteral("开纸"), results), 1, 0);
    rgrid->addWidget(comsuankaizhi[i], 1, 1);
    rgrid->addWidget(new QLabel(QStringLiteral("纸张利用率"), results), 1, 2);
    rgrid->addWidget(Labzzlyl[i], 1, 3);

    Picshiyitu[i] = new KaiSketch(book, page);
    Picshiyitu[i]->setObjectName(QStringLiteral("Picshiyitu_%1").arg(p));

    auto* left = new QVBoxLayout;
    left->setSpacing(12);
    left->addWidget(inputs);
    left->addWidget(results);
    left->addStretch(1);

    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(14);
    layout->addLayout(left, 0);
    layout->addWidget(Picshiyitu[i], 1);
    return page;
}

void FrmKai::watchNumberBox(QWidget* box, QLineEdit* edit) {
    numberBoxes_.insert(box, edit);
    box->installEventFilter(this);
}

// Only digits may be typed into the number boxes. Backspace is refused as
// well (select and retype instead); Delete, the arrows, Tab, Enter, Escape
// and selecting or copying still work.
bool FrmKai::keyIsDiscarded(const QKeyEvent& key) const {
    switch (key.key()) {
        case Qt::Key_Backspace:
            return true;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            return false;
        default:
            break;
    }
    if (key.matches(QKeySequence::SelectAll) || key.matches(QKeySequence::Copy)) {
        return false;
    }
    const QString text = key.text();
    return std::any_of(text.begin(), text.end(),
                       [](QChar ch) { return ch < QLatin1Char('0') || ch > QLatin1Char('9'); });
}

bool FrmKai::eventFilter(QObject* watched, QEvent* event) {
    const auto found = numberBoxes_.constFind(watched);
    if (found == numberBoxes_.constEnd()) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        return keyIsDiscarded(*static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::FocusOut && watched->isWidgetType()) {
        auto* box = static_cast<QWidget*>(watched);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another window or opening a list's popup is not
        // leaving the box; neither is cancelling, which writes nothing.
        QWidget* next = QApplication::focusWidget();
        const bool leaving = reason != Qt::ActiveWindowFocusReason &&
                             reason != Qt::PopupFocusReason && isVisible() && next != nullptr &&
                             next != Cmdkai[1] && isAncestorOf(next) &&
                             !(next == found.value() || box->isAncestorOf(next));
        if (leaving) {
            boxLeft(box, found.value());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FrmKai::boxLeft(QWidget* box, QLineEdit* edit) {
    if (inkquot::parseNumber(toUtf8(edit->text()))) {
        return;
    }
    dialogs_.warning(this, kBadNumber);
    // The focus goes back once the focus change under way is complete.
    QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
}

bool FrmKai::pageBoxesValid() {
    const auto i = std::size_t(page_);
    const std::array<std::pair<QWidget*, QLineEdit*>, 4> boxes = {{
        {txta[i], txta[i]},
        {txtb[i], txtb[i]},
        {Txtyaokou[i], Txtyaokou[i]},
        {comsuankai[i], comsuankai[i]->lineEdit()},
    }};
    for (const auto& [box, edit] : boxes) {
        if (!inkquot::parseNumber(toUtf8(edit->text()))) {
            dialogs_.warning(this, kBadNumber);
            box->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

void FrmKai::calculate() {
    if (!pageBoxesValid()) {
        return;
    }
    const auto i = std::size_t(page_);
    const auto result =
        inkquot::runLayoutPage(page_, wholeMillimetres(txta[i]), wholeMillimetres(txtb[i]),
                               wholeMillimetres(txtbian[i]), wholeMillimetres(Txtyaokou[i]));
    comsuandu[i]->setCurrentIndex(result.seriesIndex);
    comsuankai[i]->setEditText(result.unfit ? QStringLiteral("0") : fromUtf8(result.kaiText));
    comsuankaizhi[i]->setCurrentIndex(result.cutIndex);
    Labzzlyl[i]->setText(fromUtf8(result.utilisationText));
    if (result.unfit) {
        dialogs_.warning(this, QString::fromUtf8(inkquot::kUnfitMessage));
        comsuankai[i]->setCurrentIndex(0);
        comsuankai[i]->setEditText(comsuankai[i]->itemText(0));
    }
}

bool FrmKai::writeBack() {
    if (!pageBoxesValid()) {
        return false;
    }
    const auto i = std::size_t(page_);
    const int group = inkquot::layoutPageInfo(page_).group;
    // The press-sheet 开 first, then the series, then the 开: each change of
    // a 开 or press-sheet text re-runs the group's press rules, so the last
    // run sees both new values.
    const int pressSheetKai = inkquot::pressSheetKaiForCut(comsuankaizhi[i]->currentIndex());
    form_.setText(inkquot::Ctl::Ntxtkaizhi, group, std::to_string(pressSheetKai));
    form_.setText(inkquot::Ctl::Ncomdu, group, toUtf8(comsuandu[i]->currentText()));
    form_.setText(inkquot::Ctl::Ncomkai, group, toUtf8(comsuankai[i]->currentText()));
    accept();
    return true;
}
