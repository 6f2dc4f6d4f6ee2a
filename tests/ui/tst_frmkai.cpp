#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/job/form_state.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "ui/pricing/frmkai.h"
#include "ui/pricing/kai_sketch.h"

using inkquot::Ctl;
using inkquot::FormState;

namespace {

const QString kBadNumber = QStringLiteral("非法数据！");
const QString kUnfit = QStringLiteral("尺寸不适合所选机种，请重新输入！");

// The size group values a write-back may touch, for all eight groups.
struct GroupValues {
    std::string pressSheet;
    int series;
    std::string kai;
    bool operator==(const GroupValues&) const = default;
};

std::array<GroupValues, 8> groups(const FormState& form) {
    std::array<GroupValues, 8> out;
    for (int g = 0; g < 8; ++g) {
        out[std::size_t(g)] = {form.text(Ctl::Ntxtkaizhi, g), form.listIndex(Ctl::Ncomdu, g),
                               form.text(Ctl::Ncomkai, g)};
    }
    return out;
}

QStringList labelTexts(QWidget* page) {
    QStringList out;
    for (auto* l : page->findChildren<QLabel*>()) {
        out << l->text();
    }
    return out;
}

// Types into a box: '\b' stands for Backspace, '\x7f' for Delete.
void typeInto(QWidget* box, const QString& keys) {
    for (QChar ch : keys) {
        if (ch == QLatin1Char('\b')) {
            QTest::keyClick(box, Qt::Key_Backspace);
        } else if (ch == QChar(0x7f)) {
            QTest::keyClick(box, Qt::Key_Delete);
        } else if (ch.unicode() > 0x7f) {
            QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        } else {
            QTest::keyClicks(box, QString(ch));
        }
    }
}

struct Opened {
    FormState form;
    ScriptedDialogs dialogs;
    std::unique_ptr<FrmKai> window;

    explicit Opened(int page) {
        window = std::make_unique<FrmKai>(page, form, dialogs);
        window->show();
        window->activateWindow();
    }
    std::size_t p() const { return std::size_t(window->page()); }

    // Which box of the shown page, by its control name.
    QWidget* box(const QString& name) const {
        if (name == QStringLiteral("txta")) {
            return window->txta[p()];
        }
        if (name == QStringLiteral("txtb")) {
            return window->txtb[p()];
        }
        if (name == QStringLiteral("Txtyaokou")) {
            return window->Txtyaokou[p()];
        }
        return window->comsuankai[p()];
    }
    static QLineEdit* edit(QWidget* box) {
        if (auto* combo = qobject_cast<QComboBox*>(box)) {
            return combo->lineEdit();
        }
        return qobject_cast<QLineEdit*>(box);
    }
    // Focus the box and empty it the way a user can: select all, Delete.
    void empty(QWidget* b) const {
        b->setFocus(Qt::MouseFocusReason);
        edit(b)->selectAll();
        QTest::keyClick(b, Qt::Key_Delete);
    }
    void fill(int a, int b, int trim, int gripper) const {
        window->txta[p()]->setText(QString::number(a));
        window->txtb[p()]->setText(QString::number(b));
        window->VScroll1[p()]->setValue(trim);
        window->Txtyaokou[p()]->setText(QString::number(gripper));
    }
};

}  // namespace

class TestFrmKai : public QObject {
    Q_OBJECT

private slots:
    void pages_data();
    void pages();
    void writeBackRerunsPressRules();
    void fits_data();
    void fits();
    void unfitSizes_data();
    void unfitSizes();
    void keyFiltering_data();
    void keyFiltering();
    void leavingABox_data();
    void leavingABox();
    void buttonsRefuseAnEmptyBox();
    void cancelWritesNothing();
    void spinnerSetsTrim();
    void runIsModal();
    void resultsKeepThePanelsInPlace_data();
    void resultsKeepThePanelsInPlace();
    void screenshots();
};

void TestFrmKai::pages_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("sizeLabel");
    QTest::addColumn<int>("cut");
    QTest::addColumn<QByteArray>("pressSheet");  // the press-sheet 开 written

    const QString book = QStringLiteral("尺寸(mm)：");
    const QString unfolded = QStringLiteral("展开尺寸(mm)：");
    QTest::newRow("book, 三开(丁字开)")
        << 0 << QStringLiteral("画册开版") << 0 << book << 2 << QByteArray("3");
    QTest::newRow("cover, 大小开")
        << 1 << QStringLiteral("封面开版") << 1 << unfolded << 3 << QByteArray("1");
    QTest::newRow("insert one, 对开")
        << 2 << QStringLiteral("插页一开版") << 2 << unfolded << 0 << QByteArray("2");
    QTest::newRow("insert two, 三开(普通)")
        << 3 << QStringLiteral("插页二开版") << 3 << unfolded << 1 << QByteArray("3");
    QTest::newRow("single sheet skips the newspaper group")
        << 4 << QStringLiteral("单张开版") << 5 << unfolded << 2 << QByteArray("3");
    QTest::newRow("box, 大小开") << 5 << QStringLiteral("纸盒开版") << 6 << unfolded << 3
                                 << QByteArray("1");
    QTest::newRow("sticker, 对开")
        << 6 << QStringLiteral("不干胶开版") << 7 << unfolded << 0 << QByteArray("2");
}

// Each page shows alone, with its own labels, and writes into its own group
// only: the press-sheet 开, the series and the 开 as the page shows them.
void TestFrmKai::pages() {
    QFETCH(int, page);
    QFETCH(QString, title);
    QFETCH(int, group);
    QFETCH(QString, sizeLabel);
    QFETCH(int, cut);
    QFETCH(QByteArray, pressSheet);

    Opened o(page);
    FrmKai& w = *o.window;
    QCOMPARE(w.windowTitle(), title);
    for (int p = 0; p < FrmKai::kPages; ++p) {
        QCOMPARE(w.pages[std::size_t(p)]->isVisible(), p == page);
        QCOMPARE(w.pages[std::size_t(p)]->isEnabled(), p == page);
    }
    const QStringList labels = labelTexts(w.pages[o.p()]);
    QVERIFY(labels.contains(sizeLabel));
    QCOMPARE(labels.contains(QStringLiteral("垂直书脊边")), page == 0);
    QCOMPARE(labels.contains(QStringLiteral("沿书脊边")), page == 0);
    QCOMPARE(labels.contains(QStringLiteral("(aXb)")), page != 0);
    QCOMPARE(w.Picshiyitu[o.p()]->bookSpread(), page == 0);

    // Starting contents.
    QCOMPARE(w.txta[o.p()]->text(), QStringLiteral("0"));
    QCOMPARE(w.txtbian[o.p()]->text(), QStringLiteral("3"));
    QVERIFY(w.txtbian[o.p()]->isReadOnly());
    QCOMPARE(w.comsuankai[o.p()]->currentText(), QStringLiteral("16"));
    QCOMPARE(w.comsuankaizhi[o.p()]->count(), 4);
    QCOMPARE(w.Labzzlyl[o.p()]->text(), QStringLiteral("100%"));

    // Another press-sheet 开 beforehand, so that 对开 visibly writes 2.
    o.form.setText(Ctl::Ntxtkaizhi, group, "4");
    auto expected = groups(o.form);
    w.comsuandu[o.p()]->setCurrentIndex(1);
    w.comsuankai[o.p()]->setEditText(QStringLiteral("64"));
    w.comsuankaizhi[o.p()]->setCurrentIndex(cut);
    QTest::mouseClick(w.Cmdkai[0], Qt::LeftButton);

    QCOMPARE(w.result(), int(QDialog::Accepted));
    expected[std::size_t(group)] = {pressSheet.toStdString(), 1, "64"};
    QVERIFY(groups(o.form) == expected);
    QVERIFY(o.dialogs.shown.isEmpty());
}

// The write-back goes through the form's change rules: every part of the
// group goes back to the half-sheet press, with the sheet sizes offered for
// the new 开 and press-sheet 开.
void TestFrmKai::writeBackRerunsPressRules() {
    Opened o(5);
    using Items = std::vector<std::string>;
    o.form.setListIndex(Ctl::Comyinji, 8, 1);  // 四开平印机 for the face paper
    QCOMPARE(o.form.items(Ctl::Cmbkaizhi, 8), (Items{"4", "8"}));
    QCOMPARE(o.form.items(Ctl::Cmbkaizhi, 9), (Items{"2", "4"}));

    o.fill(1000, 800, 0, 0);
    o.window->calculate();
    QCOMPARE(o.window->comsuankaizhi[o.p()]->currentText(), QStringLiteral("大小开"));
    QCOMPARE(o.window->comsuankai[o.p()]->currentText(), QStringLiteral("1"));
    QVERIFY(o.window->writeBack());

    QCOMPARE(o.form.listIndex(Ctl::Comyinji, 8), 0);
    QCOMPARE(o.form.items(Ctl::Cmbkaizhi, 8), (Items{"1"}));
    QCOMPARE(o.form.items(Ctl::Cmbkaizhi, 9), (Items{"1"}));
    QVERIFY(o.form.warnings().empty());
    // The sticker part reads another group and keeps its sizes.
    QCOMPARE(o.form.items(Ctl::Cmbkaizhi, 10), (Items{"2", "4"}));
}

void TestFrmKai::fits_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("trim");
    QTest::addColumn<int>("gripper");
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("kai");
    QTest::addColumn<int>("cut");
    QTest::addColumn<QString>("utilisation");

    QTest::newRow("single sheet 216 x 291")
        << 4 << 210 << 285 << 3 << 0 << 0 << "16" << 0 << "95.60211%";
    QTest::newRow("book spread 206 x 106, 开 doubled")
        << 0 << 100 << 100 << 3 << 0 << 0 << "80" << 0 << "83.02977%";
    QTest::newRow("book spread without trim")
        << 0 << 140 << 200 << 0 << 0 << 0 << "32" << 0 << "85.17434%";
    QTest::newRow("cover, no gripper")
        << 1 << 100 << 111 << 3 << 0 << 0 << "80" << 0 << "94.31538%";
    QTest::newRow("cover, a gripper moves it to 正度")
        << 1 << 100 << 111 << 3 << 12 << 1 << "60" << 0 << "87.50874%";
    QTest::newRow("box on the whole sheet")
        << 5 << 1000 << 800 << 0 << 0 << 0 << "1" << 3 << "76.04852%";
    QTest::newRow("sticker, 开 doubled")
        << 6 << 50 << 50 << 3 << 0 << 1 << "234" << 0 << "89.64926%";
    QTest::newRow("sticker with a gripper")
        << 6 << 100 << 60 << 2 << 5 << 1 << "112" << 0 << "91.07226%";
}

void TestFrmKai::fits() {
    QFETCH(int, page);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, trim);
    QFETCH(int, gripper);
    QFETCH(int, series);
    QFETCH(QString, kai);
    QFETCH(int, cut);
    QFETCH(QString, utilisation);

    Opened o(page);
    FrmKai& w = *o.window;
    // Results of an earlier run must not survive: the sticker page in
    // particular always shows 正度 and 对开.
    w.comsuandu[o.p()]->setCurrentIndex(1 - series);
    w.comsuankaizhi[o.p()]->setCurrentIndex(cut == 2 ? 1 : 2);
    o.fill(a, b, trim, gripper);
    QTest::mouseClick(w.cmdsuankai[o.p()], Qt::LeftButton);

    QCOMPARE(w.comsuandu[o.p()]->currentIndex(), series);
    QCOMPARE(w.comsuankai[o.p()]->currentText(), kai);
    QCOMPARE(w.comsuankaizhi[o.p()]->currentIndex(), cut);
    QCOMPARE(w.Labzzlyl[o.p()]->text(), utilisation);
    QVERIFY(o.dialogs.shown.isEmpty());
}

void TestFrmKai::unfitSizes_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("gripper");

    QTest::newRow("largest sizes") << 4 << 9999 << 9999 << 0;
    QTest::newRow("zero width") << 1 << 0 << 100 << 0;
    QTest::newRow("book, largest") << 0 << 9999 << 9999 << 99;
    QTest::newRow("box larger than the whole sheet") << 5 << 1200 << 900 << 0;
    // Turned, seven would fit; the gripper leaves 436 mm for a 500 mm side.
    QTest::newRow("sticker, gripper takes the room") << 6 << 500 << 100 << 99;
    QTest::newRow("sticker, zero height") << 6 << 100 << 0 << 0;
}

// A fit without a piece warns and puts the 开 back to the list's "16"; the
// utilisation still shows the fit's 0%.
void TestFrmKai::unfitSizes() {
    QFETCH(int, page);
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, gripper);

    Opened o(page);
    o.window->comsuankai[o.p()]->setEditText(QStringLiteral("48"));
    o.fill(a, b, 0, gripper);
    o.window->calculate();
    QCOMPARE(o.dialogs.texts(), QStringList{kUnfit});
    QCOMPARE(o.dialogs.last().icon, Dialogs::Icon::Exclamation);
    QCOMPARE(o.window->comsuankai[o.p()]->currentText(), QStringLiteral("16"));
    QCOMPARE(o.window->Labzzlyl[o.p()]->text(), QStringLiteral("0%"));
}

void TestFrmKai::keyFiltering_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    QTest::newRow("letters and points dropped") << "txta"
                                                << "12a3.4"
                                                << "1234";
    QTest::newRow("four digits at most") << "txta"
                                         << "123456"
                                         << "1234";
    QTest::newRow("no sign or blank") << "txtb"
                                      << "-5 7+"
                                      << "57";
    QTest::newRow("backspace dropped") << "txtb"
                                       << "12\b\b"
                                       << "12";
    QTest::newRow("delete still works") << "txta"
                                        << "123\x7f"
                                        << "123";
    QTest::newRow("gripper two digits") << "Txtyaokou"
                                        << "123"
                                        << "12";
    QTest::newRow("gripper letters") << "Txtyaokou"
                                     << "c9"
                                     << "9";
    QTest::newRow("开 digits only") << "comsuankai"
                                    << "3x2"
                                    << "32";
    QTest::newRow("开 backspace dropped") << "comsuankai"
                                          << "8\b"
                                          << "8";
    QTest::newRow("开 full-width digit dropped") << "comsuankai" << QStringLiteral("1２4") << "14";
}

void TestFrmKai::keyFiltering() {
    QFETCH(QString, box);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    Opened o(4);
    QWidget* b = o.box(box);
    b->setFocus(Qt::MouseFocusReason);
    Opened::edit(b)->selectAll();  // typing replaces the selection
    typeInto(b, keys);
    QCOMPARE(Opened::edit(b)->text(), expected);
}

void TestFrmKai::leavingABox_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("emptied");

    for (const char* name : {"txta", "txtb", "Txtyaokou", "comsuankai"}) {
        QTest::addRow("%s empty", name) << QString::fromLatin1(name) << true;
        QTest::addRow("%s number", name) << QString::fromLatin1(name) << false;
    }
}

// Leaving a box that holds no number warns and keeps the focus there.
void TestFrmKai::leavingABox() {
    QFETCH(QString, box);
    QFETCH(bool, emptied);

    Opened o(2);
    QVERIFY(QTest::qWaitForWindowActive(o.window.get()));
    QWidget* b = o.box(box);
    if (emptied) {
        o.empty(b);
    } else {
        b->setFocus(Qt::MouseFocusReason);
        Opened::edit(b)->selectAll();
        QTest::keyClicks(b, QStringLiteral("25"));
    }
    QWidget* elsewhere = o.window->Comkaiji[o.p()];
    elsewhere->setFocus(Qt::TabFocusReason);
    QTest::qWait(0);
    if (emptied) {
        QCOMPARE(o.dialogs.texts(), QStringList{kBadNumber});
        QCOMPARE(o.dialogs.last().icon, Dialogs::Icon::Exclamation);
        QTRY_COMPARE(QApplication::focusWidget(), b);
    } else {
        QVERIFY(o.dialogs.shown.isEmpty());
        QCOMPARE(QApplication::focusWidget(), elsewhere);
    }
}

// "开始计算>>>" and "确定" refuse to run while a box is empty, with one
// warning and nothing changed.
void TestFrmKai::buttonsRefuseAnEmptyBox() {
    for (int button = 0; button < 2; ++button) {
        Opened o(4);
        QVERIFY(QTest::qWaitForWindowActive(o.window.get()));
        FrmKai& w = *o.window;
        w.comsuankaizhi[o.p()]->setCurrentIndex(3);
        o.fill(210, 285, 3, 0);
        o.empty(w.txtb[o.p()]);
        QPushButton* target = button == 0 ? w.cmdsuankai[o.p()] : w.Cmdkai[0];
        const auto before = groups(o.form);
        QTest::mouseClick(target, Qt::LeftButton);
        QTest::qWait(0);

        QCOMPARE(o.dialogs.texts(), QStringList{kBadNumber});
        QCOMPARE(QApplication::focusWidget(), w.txtb[o.p()]);
        QCOMPARE(w.comsuankaizhi[o.p()]->currentIndex(), 3);
        QCOMPARE(w.Labzzlyl[o.p()]->text(), QStringLiteral("100%"));
        QVERIFY(w.isVisible());
        QVERIFY(groups(o.form) == before);
    }
}

// "取消" writes nothing, even after a fit, and leaves an empty box without a
// warning.
void TestFrmKai::cancelWritesNothing() {
    Opened o(6);
    QVERIFY(QTest::qWaitForWindowActive(o.window.get()));
    FrmKai& w = *o.window;
    o.fill(50, 50, 3, 0);
    w.calculate();
    o.empty(w.txta[o.p()]);
    const auto before = groups(o.form);
    QTest::mouseClick(w.Cmdkai[1], Qt::LeftButton);
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QVERIFY(!w.isVisible());
    QVERIFY(groups(o.form) == before);
    QVERIFY(o.dialogs.shown.isEmpty());
}

void TestFrmKai::spinnerSetsTrim() {
    Opened o(1);
    QScrollBar* spin = o.window->VScroll1[o.p()];
    QLineEdit* bian = o.window->txtbian[o.p()];
    QCOMPARE(spin->minimum(), 0);
    QCOMPARE(spin->maximum(), 10);
    for (int v : {7, 0, 10}) {
        spin->setValue(v);
        QCOMPARE(bian->text(), QString::number(v));
    }
    spin->setValue(11);
    QCOMPARE(bian->text(), QStringLiteral("10"));
    // The arrows: the upper one adds a millimetre, the lower one takes one off.
    spin->setValue(3);
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, 2));
    QCOMPARE(bian->text(), QStringLiteral("4"));
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() - 3));
    QTest::mouseClick(spin, Qt::LeftButton, {}, QPoint(spin->width() / 2, spin->height() - 3));
    QCOMPARE(bian->text(), QStringLiteral("2"));
}

// The job entry screen opens the calculator modally and learns whether
// "确定" wrote back.
void TestFrmKai::runIsModal() {
    for (const bool ok : {true, false}) {
        FormState form;
        ScriptedDialogs dialogs;
        QTimer::singleShot(0, [ok] {
            auto* w = qobject_cast<FrmKai*>(QApplication::activeModalWidget());
            QVERIFY(w);
            QCOMPARE(w->page(), 4);
            w->txta[4]->setText(QStringLiteral("100"));
            w->txtb[4]->setText(QStringLiteral("111"));
            w->calculate();
            w->comsuandu[4]->setCurrentIndex(1);
            QTest::mouseClick(w->Cmdkai[ok ? 0 : 1], Qt::LeftButton);
        });
        QCOMPARE(FrmKai::run(nullptr, 4, form, dialogs), ok);
        QCOMPARE(form.text(Ctl::Ncomkai, 5), ok ? std::string("80") : std::string("16"));
        QCOMPARE(form.listIndex(Ctl::Ncomdu, 5), ok ? 1 : 0);
    }
}

void TestFrmKai::resultsKeepThePanelsInPlace_data() {
    QTest::addColumn<int>("page");
    for (int page = 0; page < FrmKai::kPages; ++page) {
        QTest::addRow("page %d", page) << page;
    }
}

// The input and result panels and the sketch keep their places when the
// first result (a long utilisation such as "94.31538%") replaces "100%".
void TestFrmKai::resultsKeepThePanelsInPlace() {
    QFETCH(int, page);
    Opened o(page);
    FrmKai& w = *o.window;
    QWidget* shown = w.pages[o.p()];
    const auto places = [&] {
        QTest::qWait(20);  // the layout requests of changed texts
        return QList<QRect>{
            shown->findChild<QWidget*>(QStringLiteral("inputs_%1").arg(page))->geometry(),
            shown->findChild<QWidget*>(QStringLiteral("results_%1").arg(page))->geometry(),
            w.Picshiyitu[o.p()]->geometry()};
    };
    QTRY_VERIFY(w.isVisible());
    const QList<QRect> before = places();
    o.fill(100, 111, 3, 0);
    w.calculate();
    QVERIFY(w.Labzzlyl[o.p()]->text().size() > 4);
    QCOMPARE(places(), before);
}

// Renders the calculator as the user sees it; with INKQUOT_SCREENSHOT_DIR set
// the pictures are kept for review.
void TestFrmKai::screenshots() {
    const QString dir = qEnvironmentVariable("INKQUOT_SCREENSHOT_DIR");
    for (int page : {0, 5}) {
        Opened o(page);
        const auto keep = [&](const QString& name) {
            QTest::qWait(20);  // laid out as shown
            QVERIFY(o.window->width() <= 800);
            QVERIFY(o.window->height() <= 600);
            const QPixmap shot = o.window->grab();
            QVERIFY(!shot.isNull());
            if (!dir.isEmpty()) {
                QVERIFY(shot.save(QDir(dir).filePath(name.arg(page))));
            }
        };
        keep(QStringLiteral("frmkai_page%1_opened.png"));
        o.fill(page == 0 ? 100 : 210, page == 0 ? 100 : 285, 3, 0);
        o.window->calculate();
        keep(QStringLiteral("frmkai_page%1.png"));
    }
}

QTEST_MAIN(TestFrmKai)
#include "tst_frmkai.moc"
