#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

#include "core/costing/control_catalogue.h"
#include "tests/ui/support/main_window_screen.h"
#include "ui/common/sized_list.h"
#include "ui/main/frmnew.h"
#include "ui/pricing/pricing_page.h"

using inkquot::Ctl;

namespace {

// Window sizes that leave room for a title bar and a task bar on screens of
// 800 × 600 and 1280 × 800.
const QSize kSmallScreen(800, 560);
const QSize kLargeScreen(1280, 760);

QScrollArea* scrollAreaOf(QWidget* page) {
    for (QWidget* w = page->parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QScrollArea*>(w)) {
            return area;
        }
    }
    return nullptr;
}

// Visible texts that do not get the room they need, described for a failure
// message.
QStringList cutOff(QWidget* root) {
    QStringList out;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->width() <= 0) {
            continue;
        }
        const bool textual = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w) ||
                             qobject_cast<QComboBox*>(w);
        if (!textual) {
            continue;
        }
        const auto* label = qobject_cast<QLabel*>(w);
        if (label != nullptr && label->wordWrap()) {
            continue;
        }
        if (w->width() < w->minimumSizeHint().width() ||
            w->height() < w->minimumSizeHint().height()) {
            out << QStringLiteral("%1 %2x%3 < %4x%5")
                       .arg(w->objectName().isEmpty()
                                ? QString::fromLatin1(w->metaObject()->className())
                                : w->objectName())
                       .arg(w->width())
                       .arg(w->height())
                       .arg(w->minimumSizeHint().width())
                       .arg(w->minimumSizeHint().height());
        }
    }
    return out;
}

}  // namespace

class TestPricingLayout : public QObject {
    Q_OBJECT

private slots:
    void panelsAtScreenSizes_data();
    void panelsAtScreenSizes();
    void sizedListsAsWideAsQtWouldMakeThem();
};

void TestPricingLayout::panelsAtScreenSizes_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("kind");
    for (const QSize& size : {kSmallScreen, kLargeScreen}) {
        for (int k = 0; k < inkquot::kJobKindCount; ++k) {
            QTest::addRow("%dx%d kind %d", size.width(), size.height(), k) << size << k;
        }
    }
}

void TestPricingLayout::panelsAtScreenSizes() {
    QFETCH(QSize, size);
    QFETCH(int, kind);
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.load();
    PricingPage* page = w.pricingPage();
    page->setListIndex(Ctl::comleibie, 0, kind);
    // Everything of the kind switched on, as a busy job has it.
    const Ctl sections[5] = {Ctl::Chkhua, Ctl::Chkbao, Ctl::Chkdan, Ctl::Chkhe, Ctl::Chkbu};
    const auto& boxes = inkquot::controlDef(sections[kind]);
    for (int i = 0; i < boxes.count(); ++i) {
        page->setCheckState(sections[kind], i, inkquot::CheckState::Checked);
    }
    const Ctl lists[5] = {Ctl::Lsthua, Ctl::Lstbao, Ctl::Lsthua, Ctl::lsthe, Ctl::Lsthua};
    if (kind == 0 || kind == 1 || kind == 3) {
        const int items = int(inkquot::controlDef(lists[kind]).entries[0].items.size());
        for (int item = 0; item < items; ++item) {
            page->setTicked(lists[kind], item, true);
        }
    }
    w.setMinimumSize(0, 0);
    w.resize(size);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    QCOMPARE(w.size(), size);

    const QString shots = qEnvironmentVariable("INKQUOT_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        w.grab().save(QStringLiteral("%1/pricing_%2x%3_kind%4.png")
                          .arg(shots)
                          .arg(size.width())
                          .arg(size.height())
                          .arg(kind));
    }

    const QStringList cut = cutOff(page->picjijia[std::size_t(kind)]);
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));

    QScrollArea* area = scrollAreaOf(page);
    QVERIFY(area != nullptr);
    // Never sideways: the sections stack on a small screen.
    QVERIFY2(page->width() <= area->viewport()->width(),
             qPrintable(QStringLiteral("page %1 wide in a viewport of %2")
                            .arg(page->width())
                            .arg(area->viewport()->width())));
    if (size == kLargeScreen) {
        QVERIFY2(page->height() <= area->viewport()->height(),
                 qPrintable(QStringLiteral("page %1 high in a viewport of %2")
                                .arg(page->height())
                                .arg(area->viewport()->height())));
    }
}

// The lists of the pricing page keep their width themselves (so that their
// popups wait for their first opening); the width must be the one the
// toolkit gives a list that adjusts to its contents or to a number of
// characters, through every change of items.
void TestPricingLayout::sizedListsAsWideAsQtWouldMakeThem() {
    const QList<QStringList> fillings = {
        {},
        {QString()},
        {QStringLiteral("157")},
        {QStringLiteral("四开"), QStringLiteral("大度对开"), QStringLiteral("正度全开机")},
        {QStringLiteral("双胶纸"), QStringLiteral("一种名字特别特别长的进口铜版纸（哑光）")},
    };
    for (const int characters : {0, 4, 14}) {
        SizedList ours;
        QComboBox theirs;
        if (characters == 0) {
            theirs.setSizeAdjustPolicy(QComboBox::AdjustToContents);
        } else {
            ours.setWidthInCharacters(characters);
            theirs.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            theirs.setMinimumContentsLength(characters);
        }
        for (const QStringList& items : fillings) {
            ours.clear();
            theirs.clear();
            ours.addItems(items);
            theirs.addItems(items);
            const QString what = QStringLiteral("%1 characters, items %2")
                                     .arg(characters)
                                     .arg(items.join(QLatin1Char('|')));
            QVERIFY2(ours.sizeHint() == theirs.sizeHint(), qPrintable(what));
            QVERIFY2(ours.minimumSizeHint() == theirs.minimumSizeHint(), qPrintable(what));
        }
        // An item renamed in place widens the list as well.
        ours.setItemText(0, QStringLiteral("改过名字的一种更长的纸张名称"));
        theirs.setItemText(0, QStringLiteral("改过名字的一种更长的纸张名称"));
        QCOMPARE(ours.sizeHint(), theirs.sizeHint());
    }
}

QTEST_MAIN(TestPricingLayout)
#include "tst_pricing_layout.moc"
