#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "core/costing/control_catalogue.h"
#include "core/job/form_state.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "ui/pricing/pricing_page.h"

using inkquot::CheckState;
using inkquot::Ctl;

namespace {

const QString kBadNumber = QStringLiteral("非法数据！");
const QString kEmptyName = QStringLiteral("名称不能为空");
const QString kPagesNotFour = QStringLiteral("页数或版数必须4是的倍数！");
const QString kResetError = QStringLiteral("发生错误!");
const QString kRotaryHint = QStringLiteral("上轮转机的印张数应在20000以上，否则建议用平张机印刷。");
const QString kCoverHint =
    QStringLiteral("如果封面与内页同一克重、同一类型、且印色相同，无需单独计算封面");
const QString kFoilHint =
    QStringLiteral("烫印面积以实际面积上下各加5MM,左右各加10MM计，为零不计烫印费");

QStringList itemsOf(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) {
        out << c->itemText(i);
    }
    return out;
}

// The clerk picks item `row` from a drop-down list: the list opens and Enter
// takes the row.
void chooseInList(QComboBox* combo, int row) {
    combo->setFocus(Qt::MouseFocusReason);
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(view->model()->index(row, combo->modelColumn()));
    QTest::keyClick(view, Qt::Key_Return);
}

// Replaces the text of a box by typing.
void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

// Every read the costing can make of a form, for comparing two forms.
QStringList reads(const inkquot::JobForm& form) {
    QStringList out;
    for (const auto& d : inkquot::controlCatalogue()) {
        const QString name = QString::fromLatin1(d.name.data(), qsizetype(d.name.size()));
        for (int i = 0; i < d.count(); ++i) {
            switch (d.kind) {
                case inkquot::ControlKind::PartList:
                    for (int item = 0; item < int(d.entries[0].items.size()); ++item) {
                        out << QStringLiteral("%1[%2] %3")
                                   .arg(name)
                                   .arg(item)
                                   .arg(form.ticked(d.control, item));
                    }
                    break;
                case inkquot::ControlKind::OptionGroup:
                    out << QStringLiteral("%1 %2").arg(name).arg(form.option(d.control));
                    break;
                case inkquot::ControlKind::CheckBox:
                    out << QStringLiteral("%1(%2) %3")
                               .arg(name)
                               .arg(i)
                               .arg(int(form.checkState(d.control, i)));
                    break;
                case inkquot::ControlKind::TextList:
                case inkquot::ControlKind::PositionList:
                    out << QStringLiteral("%1(%2) #%3")
                               .arg(name)
                               .arg(i)
                               .arg(form.listIndex(d.control, i));
                    [[fallthrough]];
                case inkquot::ControlKind::TextBox:
                    out << QStringLiteral("%1(%2) '%3'")
                               .arg(name)
                               .arg(i)
                               .arg(QString::fromStdString(form.text(d.control, i)));
                    break;
            }
        }
    }
    return out;
}

// Real modal boxes that close themselves: the box takes the focus while it
// is up, as it does for the clerk.
class ModalDialogs final : public Dialogs {
public:
    void message(QWidget* parent, const QString& text, Icon) override {
        texts << text;
        QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), text, QMessageBox::Ok, parent);
        QTimer::singleShot(30, &box, [&box] {
            // The box holds the focus now; the entry screen must not take
            // that for the clerk leaving a box.
            boxHadFocus = box.isActiveWindow();
            box.accept();
        });
        box.exec();
    }
    bool confirm(QWidget*, const QString&, Icon, bool) override { return true; }
    std::optional<QString> input(QWidget*, const QString&, const QString&, bool) override {
        return std::nullopt;
    }
    void beep() override {}

    QStringList texts;
    static inline bool boxHadFocus = false;
};

struct Screen {
    ScriptedDialogs dialogs;
    QStringList hints;
    QList<int> calculatorPages;
    std::function<void(int, inkquot::JobForm&)> calculator;
    std::unique_ptr<PricingPage> page;

    Screen() {
        page = std::make_unique<PricingPage>(dialogs, [this](const QString& h) { hints << h; });
        page->setCalculator([this](int p, inkquot::JobForm& form) {
            calculatorPages << p;
            if (calculator) {
                calculator(p, form);
            }
        });
        page->resize(1180, 720);
        page->show();
        page->activateWindow();
    }
    bool ready() { return QTest::qWaitForWindowActive(page.get()); }
    PricingPage& operator*() { return *page; }
    PricingPage* operator->() { return page.get(); }
};

}  // namespace

class TestPricingPage : public QObject {
    Q_OBJECT

private slots:
    void startsAsTheFormState();
    void commandButtons();
    void choosingAKindShowsOnlyItsPanel();
    void switchingKindsKeepsEntries();
    void sectionBoxesSwitchTheirFrames_data();
    void sectionBoxesSwitchTheirFrames();
    void manualSizeBoxStartsGreyed();
    void partListTicksAndClicks_data();
    void partListTicksAndClicks();
    void sizeFollowsTheBook_data();
    void sizeFollowsTheBook();
    void kaiListTakesNoTyping();
    void kaiChosenFromTheListResetsThePressSheet();
    void pageRule_data();
    void pageRule();
    void leavingBoxes_data();
    void leavingBoxes();
    void refusedBoxKeepsTheClickFromOtherControls();
    void foilAreaHint();
    void pressOffers_data();
    void pressOffers();
    void pressChosenByTheClerk();
    void rotaryClearsSelfTurn();
    void newspaperPressChangesNothingElse();
    void pressHints();
    void nonNumericKaiFromTheProgram();
    void pressSheetTextMustBeANumber();
    void calculatorButtons();
    void paperListsKeepTheirChoice();
    void realMessageBoxWarnsOnce();
};

void TestPricingPage::startsAsTheFormState() {
    Screen s;
    QCOMPARE(reads(*s), reads(inkquot::FormState()));
    QVERIFY(s.dialogs.shown.isEmpty());
    for (int j = 0; j < inkquot::kPartCount; ++j) {
        const inkquot::FormState state;
        QCOMPARE(s->controlEnabled(Ctl::Cmbkaizhi, j), state.enabled(Ctl::Cmbkaizhi, j));
        QCOMPARE(s->controlEnabled(Ctl::Chkzifan, j), state.enabled(Ctl::Chkzifan, j));
    }
}

void TestPricingPage::commandButtons() {
    Screen s;
    const QStringList captions = {QStringLiteral("开始计价"), QStringLiteral("保存结果"),
                                  QStringLiteral("生成价格表")};
    QSignalSpy pressed(s.page.get(), &PricingPage::commandPressed);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(s->cmdjijia[i]->text(), captions[i]);
        QCOMPARE(s->cmdjijia[i]->isEnabled(), i != 1);
        QTest::mouseClick(s->cmdjijia[i], Qt::LeftButton);
    }
    QCOMPARE(pressed.count(), 2);  // the disabled save button takes no press
    QCOMPARE(pressed.at(0).at(0).toInt(), 0);
    QCOMPARE(pressed.at(1).at(0).toInt(), 2);
}

void TestPricingPage::choosingAKindShowsOnlyItsPanel() {
    Screen s;
    QVERIFY(s.ready());
    s->showPanel(5);  // a result on show
    for (int k : {3, 1, 4, 0, 2}) {
        chooseInList(s->comboBox(Ctl::comleibie), k);
        QCOMPARE(s->shownPanel(), k);
        for (int p = 0; p < 6; ++p) {
            QCOMPARE(s->picjijia[p]->isVisible(), p == k);
            QCOMPARE(s->picjijia[p]->isEnabled(), p == k);
        }
    }
}

void TestPricingPage::switchingKindsKeepsEntries() {
    Screen s;
    QVERIFY(s.ready());
    typeInto(s->lineEdit(Ctl::txtkehuming, 0), QStringLiteral("Acme"));
    typeInto(s->lineEdit(Ctl::txtshuliang, 0), QStringLiteral("2500"));
    s->setTicked(Ctl::Lsthua, 1, true);
    s->setListIndex(Ctl::Cmbfeilin, 0, 2);
    const QStringList before = reads(*s);
    chooseInList(s->comboBox(Ctl::comleibie), 2);
    typeInto(s->lineEdit(Ctl::txtkehuming, 2), QStringLiteral("Other"));
    chooseInList(s->comboBox(Ctl::comleibie), 0);
    QCOMPARE(s->lineEdit(Ctl::txtkehuming, 0)->text(), QStringLiteral("Acme"));
    QCOMPARE(s->lineEdit(Ctl::txtshuliang, 0)->text(), QStringLiteral("2500"));
    QVERIFY(s->ticked(Ctl::Lsthua, 1));
    QCOMPARE(s->comboBox(Ctl::Cmbfeilin, 0)->currentIndex(), 2);
    QCOMPARE(s->lineEdit(Ctl::txtkehuming, 2)->text(), QStringLiteral("Other"));
    QStringList after = reads(*s);
    after.removeAll(QStringLiteral("txtkehuming(2) 'Other'"));
    QStringList expected = before;
    expected.removeAll(QStringLiteral("txtkehuming(2) '客户1'"));
    QCOMPARE(after, expected);
}

void TestPricingPage::sectionBoxesSwitchTheirFrames_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("option");  // a list inside the frame, "" for none
    QTest::newRow("book film") << 0 << "Chkhua" << 0 << "Cmbfeilin_0";
    QTest::newRow("book surface") << 0 << "Chkhua" << 2 << "comjiao_1";
    QTest::newRow("book die cut") << 0 << "Chkhua" << 4 << "Comnd_6";
    QTest::newRow("book binding") << 0 << "Chkhua" << 5 << "Cmbdin_0";
    QTest::newRow("newspaper film") << 1 << "Chkbao" << 0 << "Cmbfeilin_1";
    QTest::newRow("sheet printing") << 2 << "Chkdan" << 0 << "Comyinji_7";
    QTest::newRow("sheet folds") << 2 << "Chkdan" << 5 << "Cmbzheci_0";
    QTest::newRow("box surface") << 3 << "Chkhe" << 2 << "comjiao_5";
    QTest::newRow("box die cut") << 3 << "Chkhe" << 5 << "Comnd_14";
    QTest::newRow("sticker printing") << 4 << "Chkbu" << 0 << "Nzhibu_0";
    QTest::newRow("sticker surface") << 4 << "Chkbu" << 3 << "comjiao_6";
    QTest::newRow("box emboss, no options") << 3 << "Chkhe" << 3 << "";
}

void TestPricingPage::sectionBoxesSwitchTheirFrames() {
    QFETCH(int, kind);
    QFETCH(QString, box);
    QFETCH(int, index);
    QFETCH(QString, option);
    Screen s;
    QVERIFY(s.ready());
    s->setListIndex(Ctl::comleibie, 0, kind);
    const auto* def = inkquot::findControl(box.toStdString());
    QVERIFY(def != nullptr);
    auto* check = qobject_cast<QCheckBox*>(s->controlWidget(def->control, index));
    QVERIFY(check != nullptr);
    auto frames = s->findChildren<QFrame*>();
    QFrame* frame = nullptr;
    const std::map<QString, std::vector<QFrame*>> byName = {
        {QStringLiteral("Chkhua"), {s->Frmhua.begin(), s->Frmhua.end()}},
        {QStringLiteral("Chkbao"), {s->Frmbao.begin(), s->Frmbao.end()}},
        {QStringLiteral("Chkdan"), {s->Frmdan.begin(), s->Frmdan.end()}},
        {QStringLiteral("Chkhe"), {s->Frmhe.begin(), s->Frmhe.end()}},
        {QStringLiteral("Chkbu"), {s->Frmbu.begin(), s->Frmbu.end()}}};
    frame = byName.at(box)[std::size_t(index)];
    QVERIFY(!check->isChecked());
    QVERIFY(!frame->isEnabled());

    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
    QVERIFY(check->isChecked());
    QVERIFY(frame->isEnabled());
    if (!option.isEmpty()) {
        auto* list = s->findChild<QComboBox*>(option);
        QVERIFY(list != nullptr);
        QVERIFY(frame->isAncestorOf(list));
        QVERIFY(list->isEnabled());
        if (list->count() > 1) {
            chooseInList(list, 1);
        }
        const int chosen = list->currentIndex();
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
        QVERIFY(!frame->isEnabled());
        QVERIFY(!list->isEnabled());
        QCOMPARE(list->currentIndex(), chosen);  // cleared, but the choice stays
    } else {
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
        QVERIFY(!frame->isEnabled());
    }
    // Set by the program, the same rule runs.
    s->setCheckState(def->control, index, CheckState::Checked);
    QVERIFY(frame->isEnabled());
}

void TestPricingPage::manualSizeBoxStartsGreyed() {
    Screen s;
    QVERIFY(s.ready());
    s->setListIndex(Ctl::comleibie, 0, 2);
    s->setCheckState(Ctl::Chkdan, 0, CheckState::Checked);
    QCheckBox* manual = s->checkBox(Ctl::Chkzhikai, 7);
    QCOMPARE(s->checkState(Ctl::Chkzhikai, 7), CheckState::Greyed);
    QVERIFY(!s->comboBox(Ctl::Cmbkaizhi, 7)->isEnabled());
    const QPoint tick(6, manual->height() / 2);
    QTest::mouseClick(manual, Qt::LeftButton, {}, tick);
    QCOMPARE(s->checkState(Ctl::Chkzhikai, 7), CheckState::Checked);
    QVERIFY(s->comboBox(Ctl::Cmbkaizhi, 7)->isEnabled());
    QTest::mouseClick(manual, Qt::LeftButton, {}, tick);
    QCOMPARE(s->checkState(Ctl::Chkzhikai, 7), CheckState::Unchecked);
    QVERIFY(!s->comboBox(Ctl::Cmbkaizhi, 7)->isEnabled());
    QTest::mouseClick(manual, Qt::LeftButton, {}, tick);
    QCOMPARE(s->checkState(Ctl::Chkzhikai, 7), CheckState::Checked);  // never greyed again
    // Greyed by the program counts as not ticked.
    s->setCheckState(Ctl::Chkzhikai, 7, CheckState::Greyed);
    QVERIFY(!s->comboBox(Ctl::Cmbkaizhi, 7)->isEnabled());
}

void TestPricingPage::partListTicksAndClicks_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("list");
    QTest::newRow("book") << 0 << "Lsthua";
    QTest::newRow("newspaper") << 1 << "Lstbao";
    QTest::newRow("box") << 3 << "lsthe";
}

void TestPricingPage::partListTicksAndClicks() {
    QFETCH(int, kind);
    QFETCH(QString, list);
    Screen s;
    QVERIFY(s.ready());
    s->setListIndex(Ctl::comleibie, 0, kind);
    const Ctl c = inkquot::findControl(list.toStdString())->control;
    auto* widget = qobject_cast<QListWidget*>(s->controlWidget(c, 0));
    std::vector<QFrame*> frames;
    if (kind == 0) {
        frames.assign(s->Frameu0.begin(), s->Frameu0.end());
    } else if (kind == 1) {
        frames.assign(s->Frameu1.begin(), s->Frameu1.end());
    } else {
        frames.assign(s->Frameu2.begin(), s->Frameu2.end());
    }
    // The first part's frame shows at start; every frame waits for its tick.
    QCOMPARE(s->shownPartFrame(c), 0);
    for (QFrame* f : frames) {
        QVERIFY(!f->isEnabled());
    }
    const int last = int(frames.size()) - 1;
    QListWidgetItem* item = widget->item(last);
    const QRect rect = widget->visualItemRect(item);
    // A click on the text shows the part's frame in the common place.
    QTest::mouseClick(widget->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(s->shownPartFrame(c), last);
    for (int i = 0; i <= last; ++i) {
        QCOMPARE(frames[std::size_t(i)]->isVisible(), i == last);
        QCOMPARE(frames[std::size_t(i)]->geometry().topLeft(), frames[0]->geometry().topLeft());
    }
    QVERIFY(!frames[std::size_t(last)]->isEnabled());
    s->setTicked(c, last, true);
    QVERIFY(frames[std::size_t(last)]->isEnabled());
    QVERIFY(!frames[0]->isEnabled());
    s->setTicked(c, last, false);
    QVERIFY(!frames[std::size_t(last)]->isEnabled());
    // The keys move through the list like clicks.
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_Up);
    QCOMPARE(s->shownPartFrame(c), last - 1);
}

void TestPricingPage::sizeFollowsTheBook_data() {
    QTest::addColumn<QString>("bookKai");
    QTest::addColumn<int>("series");
    QTest::addColumn<QString>("pressSheet");
    QTest::addColumn<int>("item");
    QTest::addColumn<int>("group");  // -1: nothing is copied
    QTest::addColumn<QString>("kai");
    QTest::newRow("cover of a 16开 book") << "16" << 0 << "2" << 0 << 1 << "8";
    QTest::newRow("insert one, 正度 32开") << "32" << 1 << "3" << 3 << 2 << "16";
    QTest::newRow("insert two of 128开 takes 64") << "128" << 0 << "2" << 4 << 3 << "64";
    QTest::newRow("8开 book, cover 4") << "8" << 1 << "2" << 0 << 1 << "4";
    QTest::newRow("inner pages copy nothing") << "32" << 1 << "3" << 1 << -1 << "";
    QTest::newRow("second inner copies nothing") << "64" << 1 << "3" << 2 << -1 << "";
}

void TestPricingPage::sizeFollowsTheBook() {
    QFETCH(QString, bookKai);
    QFETCH(int, series);
    QFETCH(QString, pressSheet);
    QFETCH(int, item);
    QFETCH(int, group);
    QFETCH(QString, kai);
    Screen s;
    QVERIFY(s.ready());
    s->setText(Ctl::Ncomkai, 0, bookKai.toStdString());
    s->setListIndex(Ctl::Ncomdu, 0, series);
    s->setText(Ctl::Ntxtkaizhi, 0, pressSheet.toStdString());
    const QStringList before = reads(*s);
    s.hints.clear();
    QListWidget* parts = s->partList(Ctl::Lsthua);
    const QRect rect = parts->visualItemRect(parts->item(item));
    QTest::mouseClick(parts->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(s->shownPartFrame(Ctl::Lsthua), item);
    if (group < 0) {
        QCOMPARE(reads(*s), before);
        QVERIFY(s.hints.isEmpty());
        return;
    }
    QCOMPARE(s->text(Ctl::Ncomkai, group), kai.toStdString());
    QCOMPARE(s->listIndex(Ctl::Ncomdu, group), series);
    QCOMPARE(s->text(Ctl::Ntxtkaizhi, group), pressSheet.toStdString());
    // The part of the group has been reset for its new size.
    const int part = group == 1 ? 0 : group + 1;
    QCOMPARE(s->listIndex(Ctl::Comyinji, part), 0);
    QCOMPARE(s->comboBox(Ctl::Cmbkaizhi, part)->itemText(0), pressSheet);
    QCOMPARE(s.hints, item == 0 ? QStringList{kCoverHint} : QStringList{});
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestPricingPage::kaiListTakesNoTyping() {
    Screen s;
    QVERIFY(s.ready());
    QComboBox* kai = s->comboBox(Ctl::Ncomkai, 5);
    s->setListIndex(Ctl::comleibie, 0, 2);
    kai->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(kai, QStringLiteral("32x"));
    QTest::keyClick(kai, Qt::Key_Backspace);
    QTest::keyClick(kai, Qt::Key_Delete);
    QTest::keyClicks(kai->lineEdit(), QStringLiteral("7"));
    QCOMPARE(kai->currentText(), QStringLiteral("16"));
    QCOMPARE(s->text(Ctl::Ncomkai, 5), std::string("16"));
    // The arrow keys choose from the list, as a click does.
    s->setText(Ctl::Ntxtkaizhi, 5, "4");
    QTest::keyClick(kai, Qt::Key_Down);
    QCOMPARE(s->text(Ctl::Ncomkai, 5), std::string("8"));
    QCOMPARE(s->text(Ctl::Ntxtkaizhi, 5), std::string("2"));
    QTest::keyClick(kai, Qt::Key_Up);
    QCOMPARE(s->text(Ctl::Ncomkai, 5), std::string("16"));
    // The sheet-size lists take no typing either.
    s->setCheckState(Ctl::Chkzhikai, 7, CheckState::Checked);
    s->comboBox(Ctl::Cmbkaizhi, 7)->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(s->comboBox(Ctl::Cmbkaizhi, 7), QStringLiteral("99"));
    QCOMPARE(s->comboBox(Ctl::Cmbkaizhi, 7)->currentText(), QStringLiteral("2"));
}

void TestPricingPage::kaiChosenFromTheListResetsThePressSheet() {
    Screen s;
    QVERIFY(s.ready());
    s->setListIndex(Ctl::comleibie, 0, 2);
    s->setText(Ctl::Ntxtkaizhi, 5, "4");
    s->setText(Ctl::Ncomkai, 5, "32");
    s->setListIndex(Ctl::Comyinji, 7, 1);
    QCOMPARE(itemsOf(s->comboBox(Ctl::Cmbkaizhi, 7)),
             (QStringList{QStringLiteral("8"), QStringLiteral("16")}));
    chooseInList(s->comboBox(Ctl::Ncomkai, 5), 1);  // "8"
    QCOMPARE(s->text(Ctl::Ncomkai, 5), std::string("8"));
    QCOMPARE(s->text(Ctl::Ntxtkaizhi, 5), std::string("2"));
    QCOMPARE(s->listIndex(Ctl::Comyinji, 7), 0);
    QCOMPARE(itemsOf(s->comboBox(Ctl::Cmbkaizhi, 7)),
             (QStringList{QStringLiteral("2"), QStringLiteral("4")}));
    // Choosing the item already shown still starts again from "2".
    s->setText(Ctl::Ntxtkaizhi, 5, "4");
    chooseInList(s->comboBox(Ctl::Ncomkai, 5), 1);
    QCOMPARE(s->text(Ctl::Ntxtkaizhi, 5), std::string("2"));
}

void TestPricingPage::pageRule_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("warning");  // "" when the text stands
    QTest::newRow("12.5 rounds to 12") << 0 << "12.5"
                                       << "12.5"
                                       << "";
    QTest::newRow("13.5 rounds to 14") << 0 << "13.5"
                                       << "16" << kPagesNotFour;
    QTest::newRow("10") << 1 << "10"
                        << "12" << kPagesNotFour;
    QTest::newRow("-3") << 2 << "-3"
                        << "0" << kPagesNotFour;
    QTest::newRow("-4 stands") << 3 << "-4"
                               << "-4"
                               << "";
    QTest::newRow("0 stands") << 0 << "0"
                              << "0"
                              << "";
    QTest::newRow("letters") << 0 << "abc"
                             << "0" << kBadNumber;
    QTest::newRow("empty") << 1 << ""
                           << "0" << kBadNumber;
    QTest::newRow("beyond a float") << 2 << "1e39"
                                    << "0" << kBadNumber;
    QTest::newRow("2.5 rounds to 2, half to even") << 3 << "2.5"
                                                   << "4" << kPagesNotFour;
}

void TestPricingPage::pageRule() {
    QFETCH(int, box);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, warning);
    Screen s;
    QVERIFY(s.ready());
    const int kind = box < 2 ? 0 : 1;
    const int part = box < 2 ? box + 1 : box + 3;
    s->setListIndex(Ctl::comleibie, 0, kind);
    const Ctl list = kind == 0 ? Ctl::Lsthua : Ctl::Lstbao;
    const int item = kind == 0 ? part : part - 5;
    s->clickPartItem(list, item);
    s->setTicked(list, item, true);
    QLineEdit* pages = s->lineEdit(Ctl::txtye, box);
    typeInto(pages, typed);
    QTest::keyClick(pages, Qt::Key_Tab);
    QCOMPARE(pages->text(), after);
    if (warning.isEmpty()) {
        QVERIFY(s.dialogs.shown.isEmpty());
        QVERIFY(!pages->hasFocus());
    } else {
        QCOMPARE(s.dialogs.texts(), QStringList{warning});
        QCOMPARE(s.dialogs.last().icon, Dialogs::Icon::Exclamation);
        QVERIFY(pages->hasFocus());
        // The replacement stands when the box is left again.
        s.dialogs.clear();
        QTest::keyClick(pages, Qt::Key_Tab);
        QVERIFY(s.dialogs.shown.isEmpty());
        QVERIFY(!pages->hasFocus());
    }
}

void TestPricingPage::leavingBoxes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("warning");
    QTest::newRow("quantity letters") << "txtshuliang_0"
                                      << "abc"
                                      << "10000" << kBadNumber;
    QTest::newRow("quantity beyond a float") << "txtshuliang_0"
                                             << "1e39"
                                             << "10000" << kBadNumber;
    QTest::newRow("quantity 0 stands") << "txtshuliang_0"
                                       << "0"
                                       << "0"
                                       << "";
    QTest::newRow("quantity grouped") << "txtshuliang_0"
                                      << "12,345"
                                      << "12,345"
                                      << "";
    QTest::newRow("quantity bad grouping") << "txtshuliang_0"
                                           << "1,5"
                                           << "10000" << kBadNumber;
    QTest::newRow("customer empty") << "txtkehuming_0"
                                    << ""
                                    << "" << kEmptyName;
    QTest::newRow("customer blanks stand") << "txtkehuming_0"
                                           << "   "
                                           << "   "
                                           << "";
    QTest::newRow("job name empty") << "txtyinjianming_0"
                                    << ""
                                    << "" << kEmptyName;
    QTest::newRow("foil area letters") << "txttang_0"
                                       << "x"
                                       << "0" << kBadNumber;
    QTest::newRow("foil area 12.5 stands") << "txttang_0"
                                           << "12.5"
                                           << "12.5"
                                           << "";
}

void TestPricingPage::leavingBoxes() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, warning);
    Screen s;
    QVERIFY(s.ready());
    s->setCheckState(Ctl::Chkhua, 3, CheckState::Checked);
    auto* edit = s->findChild<QLineEdit*>(box);
    QVERIFY(edit != nullptr);
    typeInto(edit, typed);
    // Leaving by a click on another entry control.
    QLineEdit* jobName = s->lineEdit(Ctl::txtyinjianming, 0);
    QTest::mouseClick(jobName == edit ? s->lineEdit(Ctl::txtkehuming, 0) : jobName, Qt::LeftButton);
    QCOMPARE(edit->text(), after);
    if (warning.isEmpty()) {
        QVERIFY(s.dialogs.shown.isEmpty());
        QVERIFY(!edit->hasFocus());
    } else {
        QCOMPARE(s.dialogs.texts(), QStringList{warning});
        QVERIFY(edit->hasFocus());
    }
}

void TestPricingPage::refusedBoxKeepsTheClickFromOtherControls() {
    Screen s;
    QVERIFY(s.ready());
    QSignalSpy pressed(s.page.get(), &PricingPage::commandPressed);
    typeInto(s->lineEdit(Ctl::txtshuliang, 0), QStringLiteral("zz"));
    QTest::mouseClick(s->cmdjijia[0], Qt::LeftButton);
    QCOMPARE(s.dialogs.texts(), QStringList{kBadNumber});
    QCOMPARE(pressed.count(), 0);
    QVERIFY(s->lineEdit(Ctl::txtshuliang, 0)->hasFocus());
    QCOMPARE(s->lineEdit(Ctl::txtshuliang, 0)->text(), QStringLiteral("10000"));

    // A tick box clicked to leave a refused box keeps its state.
    s.dialogs.clear();
    typeInto(s->lineEdit(Ctl::txtkehuming, 0), QString());
    QCheckBox* film = s->checkBox(Ctl::Chkhua, 0);
    QTest::mouseClick(film, Qt::LeftButton, {}, QPoint(6, film->height() / 2));
    QCOMPARE(s.dialogs.texts(), QStringList{kEmptyName});
    QVERIFY(!film->isChecked());
    QVERIFY(s->lineEdit(Ctl::txtkehuming, 0)->hasFocus());

    // Once the box holds a good text, the next click goes through.
    QTest::keyClicks(s->lineEdit(Ctl::txtkehuming, 0), QStringLiteral("Acme"));
    QTest::qWait(0);
    QTest::mouseClick(s->cmdjijia[0], Qt::LeftButton);
    QCOMPARE(pressed.count(), 1);
}

void TestPricingPage::foilAreaHint() {
    Screen s;
    QVERIFY(s.ready());
    for (int i : {0, 1}) {
        s->setListIndex(Ctl::comleibie, 0, i == 0 ? 0 : 3);
        s->setCheckState(i == 0 ? Ctl::Chkhua : Ctl::Chkhe, i == 0 ? 3 : 4, CheckState::Checked);
        s.hints.clear();
        QTest::mouseClick(s->lineEdit(Ctl::txttang, i), Qt::LeftButton);
        QCOMPARE(s.hints, QStringList{kFoilHint});
    }
}

void TestPricingPage::pressOffers_data() {
    QTest::addColumn<QString>("kai");
    QTest::addColumn<QString>("pressSheet");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("endsOn");
    QTest::addColumn<QStringList>("sizes");
    const QStringList two4 = {QStringLiteral("2"), QStringLiteral("4")};
    QTest::newRow("K8 Z2 对开") << "8"
                                << "2" << 0 << 0 << two4;
    QTest::newRow("K8 Z2 四开") << "8"
                                << "2" << 1 << 1
                                << QStringList{QStringLiteral("4"), QStringLiteral("8")};
    QTest::newRow("K8 Z2 八开") << "8"
                                << "2" << 2 << 2 << QStringList{QStringLiteral("8")};
    QTest::newRow("K8 Z2 轮转") << "8"
                                << "2" << 3 << 3 << QStringList{QStringLiteral("2")};
    QTest::newRow("K4 八开 refused") << "4"
                                     << "2" << 2 << 0 << two4;
    QTest::newRow("K8 Z1 四开 refused") << "8"
                                        << "1" << 1 << 0 << QStringList{QStringLiteral("1")};
}

void TestPricingPage::pressOffers() {
    QFETCH(QString, kai);
    QFETCH(QString, pressSheet);
    QFETCH(int, press);
    QFETCH(int, endsOn);
    QFETCH(QStringList, sizes);
    Screen s;
    // The single sheet (part 7, group 5) and the book's inner pages, whose
    // 开 is half the book's.
    s->setText(Ctl::Ncomkai, 5, kai.toStdString());
    s->setText(Ctl::Ntxtkaizhi, 5, pressSheet.toStdString());
    const QString bookKai = QString::number(kai.toInt() * 2);
    s->setText(Ctl::Ncomkai, 0, bookKai.toStdString());
    s->setText(Ctl::Ntxtkaizhi, 0, pressSheet.toStdString());
    for (int part : {7, 1, 2}) {
        s->setListIndex(Ctl::Comyinji, part, press);
        QCOMPARE(s->listIndex(Ctl::Comyinji, part), endsOn);
        QCOMPARE(itemsOf(s->comboBox(Ctl::Cmbkaizhi, part)), sizes);
        QCOMPARE(s->comboBox(Ctl::Cmbkaizhi, part)->currentIndex(), 0);
        QCOMPARE(s->text(Ctl::Cmbkaizhi, part), sizes.front().toStdString());
    }
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestPricingPage::pressChosenByTheClerk() {
    Screen s;
    QVERIFY(s.ready());
    s->setListIndex(Ctl::comleibie, 0, 4);
    s->setCheckState(Ctl::Chkbu, 0, CheckState::Checked);
    s->setText(Ctl::Ncomkai, 7, "4");
    chooseInList(s->comboBox(Ctl::Comyinji, 10), 2);  // 八开 for a 4开 sticker: refused
    QCOMPARE(s->comboBox(Ctl::Comyinji, 10)->currentIndex(), 0);
    QCOMPARE(itemsOf(s->comboBox(Ctl::Cmbkaizhi, 10)),
             (QStringList{QStringLiteral("2"), QStringLiteral("4")}));
    chooseInList(s->comboBox(Ctl::Comyinji, 10), 1);
    QCOMPARE(s->comboBox(Ctl::Comyinji, 10)->currentIndex(), 1);
    QCOMPARE(itemsOf(s->comboBox(Ctl::Cmbkaizhi, 10)), QStringList{QStringLiteral("4")});
    // The sticker never touches a self-turn box.
    QCOMPARE(s->checkState(Ctl::Chkzifan, 10), CheckState::Unchecked);
    QVERIFY(!s->controlEnabled(Ctl::Chkzifan, 10));
    // Choosing a sheet size chosen earlier is lost on a new press choice.
    s->setCheckState(Ctl::Chkzhikai, 10, CheckState::Checked);
    chooseInList(s->comboBox(Ctl::Comyinji, 10), 0);
    chooseInList(s->comboBox(Ctl::Cmbkaizhi, 10), 1);
    QCOMPARE(s->text(Ctl::Cmbkaizhi, 10), std::string("4"));
    chooseInList(s->comboBox(Ctl::Comyinji, 10), 0);
    QCOMPARE(s->text(Ctl::Cmbkaizhi, 10), std::string("2"));
}

void TestPricingPage::rotaryClearsSelfTurn() {
    Screen s;
    for (int part : {0, 1, 2, 3, 4, 7}) {
        QVERIFY(s->controlEnabled(Ctl::Chkzifan, part));
        s->setCheckState(Ctl::Chkzifan, part, CheckState::Unchecked);
        s->setListIndex(Ctl::Comyinji, part, 3);
        QCOMPARE(s->checkState(Ctl::Chkzifan, part), CheckState::Unchecked);
        QVERIFY(!s->controlEnabled(Ctl::Chkzifan, part));
        s->setListIndex(Ctl::Comyinji, part, 0);
        QCOMPARE(s->checkState(Ctl::Chkzifan, part), CheckState::Checked);
        QVERIFY(s->controlEnabled(Ctl::Chkzifan, part));
        s->setListIndex(Ctl::Comyinji, part, 3);
        s->setListIndex(Ctl::Comyinji, part, 1);  // 四开 for K 8, Z 2
        QCOMPARE(s->checkState(Ctl::Chkzifan, part), CheckState::Checked);
        QVERIFY(s->controlEnabled(Ctl::Chkzifan, part));
    }
    for (int part : {8, 9}) {
        s->setListIndex(Ctl::Comyinji, part, 2);
        QCOMPARE(s->checkState(Ctl::Chkzifan, part), CheckState::Unchecked);
        QVERIFY(!s->controlEnabled(Ctl::Chkzifan, part));
    }
}

void TestPricingPage::newspaperPressChangesNothingElse() {
    Screen s;
    QVERIFY(s.ready());
    s->setListIndex(Ctl::comleibie, 0, 1);
    s->setText(Ctl::Ncomkai, 4, "4");
    const QStringList before = reads(*s);
    for (int part : {5, 6}) {
        s->setListIndex(Ctl::Comyinji, part, 0);
        s->clickPartItem(Ctl::Lstbao, part - 5);
        s->setTicked(Ctl::Lstbao, part - 5, true);
        chooseInList(s->comboBox(Ctl::Comyinji, part), 0);
        s->setTicked(Ctl::Lstbao, part - 5, false);
    }
    chooseInList(s->comboBox(Ctl::Ncomkai, 4), 2);
    QStringList after = reads(*s);
    after.replaceInStrings(QStringLiteral("Ncomkai(4) #2"), QStringLiteral("Ncomkai(4) #1"));
    after.replaceInStrings(QStringLiteral("Ncomkai(4) '8'"), QStringLiteral("Ncomkai(4) '4'"));
    QCOMPARE(after, before);
    QVERIFY(s.dialogs.shown.isEmpty());
    QVERIFY(s->comboBox(Ctl::Cmbkaizhi, 5)->isHidden());
}

void TestPricingPage::pressHints() {
    Screen s;
    for (int j = 0; j < inkquot::kPartCount; ++j) {
        const bool rotary =
            s->comboBox(Ctl::Comyinji, j)->findText(QStringLiteral("对开轮转机")) >= 0;
        QCOMPARE(rotary, j <= 7);
        QCOMPARE(s->comboBox(Ctl::Comyinji, j)->toolTip(), rotary ? kRotaryHint : QString());
    }
    QCOMPARE(s->partList(Ctl::Lsthua)->toolTip(),
             QStringLiteral("如果没有单独计算封面，默认内页一4P大小计算封面印后加工费"));
}

void TestPricingPage::nonNumericKaiFromTheProgram() {
    Screen s;
    QVERIFY(s.ready());
    s->setListIndex(Ctl::comleibie, 0, 2);
    s->setListIndex(Ctl::Comyinji, 7, 1);
    const QStringList sizes = itemsOf(s->comboBox(Ctl::Cmbkaizhi, 7));
    // A calculator that writes a 开 that is not a number.
    s.calculator = [](int, inkquot::JobForm& form) { form.setText(Ctl::Ncomkai, 5, "十六"); };
    QTest::mouseClick(s->cmdjisuan[4], Qt::LeftButton);
    QCOMPARE(s.calculatorPages, QList<int>{4});
    QCOMPARE(s.dialogs.texts(), QStringList{kResetError});
    QCOMPARE(s->listIndex(Ctl::Comyinji, 7), 1);  // the presses stay as they were
    QCOMPARE(itemsOf(s->comboBox(Ctl::Cmbkaizhi, 7)), sizes);
    // The box holds the focus and cannot be left with that text.
    QVERIFY(s->comboBox(Ctl::Ncomkai, 5)->hasFocus());
    s.dialogs.clear();
    QTest::mouseClick(s->cmdjijia[0], Qt::LeftButton);
    QCOMPARE(s.dialogs.texts(), QStringList{kBadNumber});
    QVERIFY(s->comboBox(Ctl::Ncomkai, 5)->hasFocus());
    // Choosing from the list mends it.
    s.dialogs.clear();
    chooseInList(s->comboBox(Ctl::Ncomkai, 5), 0);
    QCOMPARE(s->text(Ctl::Ncomkai, 5), std::string("16"));
    QTest::keyClick(s->comboBox(Ctl::Ncomkai, 5), Qt::Key_Tab);
    QVERIFY(s.dialogs.shown.isEmpty());
    QVERIFY(!s->comboBox(Ctl::Ncomkai, 5)->hasFocus());
}

void TestPricingPage::pressSheetTextMustBeANumber() {
    Screen s;
    for (const char* bad : {"", "x", "1e39"}) {
        s.dialogs.clear();
        s->setText(Ctl::Ntxtkaizhi, 6, bad);
        QCOMPARE(s.dialogs.texts(), QStringList{kBadNumber});
        QCOMPARE(s->text(Ctl::Ntxtkaizhi, 6), std::string("2"));
    }
    s.dialogs.clear();
    s->setText(Ctl::Ntxtkaizhi, 6, "3");
    QVERIFY(s.dialogs.shown.isEmpty());
    QCOMPARE(itemsOf(s->comboBox(Ctl::Cmbkaizhi, 8)), QStringList{QStringLiteral("3")});
}

void TestPricingPage::calculatorButtons() {
    Screen s;
    QVERIFY(s.ready());
    // Book 0 and the cover and inserts 1..3 on the book panel, then the
    // sheet, box and sticker panels.
    const int kindOf[7] = {0, 0, 0, 0, 2, 3, 4};
    for (int p = 0; p < 7; ++p) {
        QCOMPARE(s->cmdjisuan[std::size_t(p)]->text(), QStringLiteral("非标准开度由尺寸得到>>>"));
        s->setListIndex(Ctl::comleibie, 0, kindOf[p]);
        if (p >= 1 && p <= 3) {
            const int item = p == 1 ? 0 : p + 1;
            s->clickPartItem(Ctl::Lsthua, item);
            s->setTicked(Ctl::Lsthua, item, true);
        }
        QVERIFY(s->cmdjisuan[std::size_t(p)]->isVisible());
        QTest::mouseClick(s->cmdjisuan[std::size_t(p)], Qt::LeftButton);
    }
    QCOMPARE(s.calculatorPages, (QList<int>{0, 1, 2, 3, 4, 5, 6}));
    // What the calculator writes back runs the rules of its group.
    s.calculator = [](int, inkquot::JobForm& form) {
        form.setText(Ctl::Ntxtkaizhi, 6, "3");
        form.setText(Ctl::Ncomdu, 6, "正度");
        form.setText(Ctl::Ncomkai, 6, "12");
    };
    s->setListIndex(Ctl::comleibie, 0, 3);
    s->setListIndex(Ctl::Comyinji, 8, 1);
    QTest::mouseClick(s->cmdjisuan[5], Qt::LeftButton);
    QCOMPARE(s->listIndex(Ctl::Ncomdu, 6), 1);
    QCOMPARE(s->text(Ctl::Ncomkai, 6), std::string("12"));
    QCOMPARE(s->listIndex(Ctl::Comyinji, 8), 0);
    QCOMPARE(itemsOf(s->comboBox(Ctl::Cmbkaizhi, 8)),
             (QStringList{QStringLiteral("3"), QStringLiteral("6")}));
    QVERIFY(s.dialogs.shown.isEmpty());
}

void TestPricingPage::paperListsKeepTheirChoice() {
    Screen s;
    QStringList fifty;
    for (int i = 1; i <= 50; ++i) {
        fifty << QStringLiteral("纸%1").arg(i);
    }
    s->fillPaperLists(fifty);
    s->setListIndex(Ctl::Ncomzhi, 3, 40);
    s->fillPaperLists(fifty.mid(0, 30));
    QCOMPARE(s->listIndex(Ctl::Ncomzhi, 3), 0);  // beyond the new list: the first
    s->setListIndex(Ctl::Ncomzhi, 3, 20);
    fifty[20] = QStringLiteral("新纸");
    s->fillPaperLists(fifty);
    QCOMPARE(s->listIndex(Ctl::Ncomzhi, 3), 20);
    QCOMPARE(s->text(Ctl::Ncomzhi, 3), std::string("新纸"));
    s->fillStickerPaperList({QStringLiteral("a"), QStringLiteral("b")});
    s->setListIndex(Ctl::Nzhibu, 0, 1);
    QCOMPARE(s->text(Ctl::Nzhibu, 0), std::string("b"));
}

void TestPricingPage::realMessageBoxWarnsOnce() {
    ModalDialogs dialogs;
    PricingPage page(dialogs);
    page.resize(1180, 720);
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    QSignalSpy pressed(&page, &PricingPage::commandPressed);

    typeInto(page.lineEdit(Ctl::txtshuliang, 0), QStringLiteral("zz"));
    QTest::keyClick(page.lineEdit(Ctl::txtshuliang, 0), Qt::Key_Tab);
    QCOMPARE(dialogs.texts, QStringList{QStringLiteral("非法数据！")});
    QVERIFY(ModalDialogs::boxHadFocus);
    // The window comes back to the front with the refused box focused (the
    // offscreen platform needs telling, a desktop does it by itself).
    QCOMPARE(page.focusWidget(), page.lineEdit(Ctl::txtshuliang, 0));
    page.activateWindow();
    QTRY_VERIFY(page.lineEdit(Ctl::txtshuliang, 0)->hasFocus());
    QCOMPARE(page.lineEdit(Ctl::txtshuliang, 0)->text(), QStringLiteral("10000"));

    dialogs.texts.clear();
    typeInto(page.lineEdit(Ctl::txtkehuming, 0), QString());
    QTest::mouseClick(page.cmdjijia[0], Qt::LeftButton);
    QCOMPARE(dialogs.texts, QStringList{QStringLiteral("名称不能为空")});
    QCOMPARE(page.focusWidget(), page.lineEdit(Ctl::txtkehuming, 0));
    page.activateWindow();
    QTRY_VERIFY(page.lineEdit(Ctl::txtkehuming, 0)->hasFocus());
    QCOMPARE(pressed.count(), 0);
    QVERIFY(!page.cmdjijia[0]->isDown());
}

QTEST_MAIN(TestPricingPage)
#include "tst_pricing_page.moc"
