// The pricing page shows the form model: after the clerk's gestures on the
// widgets, every widget shows what the model holds (values, items, ticks,
// whether it can be used) and every frame is switched on exactly where the
// model says so.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QtTest>
#include <functional>

#include "core/costing/control_catalogue.h"
#include "core/job/form_state.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "ui/pricing/pricing_page.h"

using inkquot::ControlDef;
using inkquot::ControlKind;
using inkquot::Ctl;
using inkquot::FormState;

namespace {

QString utf8(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

bool switchedOn(const QWidget* w) {
    return !w->testAttribute(Qt::WA_ForceDisabled);
}

// One line per control as the widgets show it.
QStringList shown(const PricingPage& page) {
    QStringList out;
    for (const ControlDef& d : inkquot::controlCatalogue()) {
        for (int i = 0; i < d.count(); ++i) {
            QWidget* w = page.controlWidget(d.control, i);
            QString line = QStringLiteral("%1(%2) on=%3 ")
                               .arg(utf8(std::string(d.name)))
                               .arg(i)
                               .arg(switchedOn(w));
            if (auto* e = qobject_cast<QLineEdit*>(w)) {
                line += e->text();
            } else if (auto* c = qobject_cast<QComboBox*>(w)) {
                QStringList items;
                for (int n = 0; n < c->count(); ++n) {
                    items << c->itemText(n);
                }
                const int at = c->currentIndex();
                const bool showsItem = at >= 0 && c->itemText(at) == c->currentText();
                line += QStringLiteral("[%1] #%2 '%3'")
                            .arg(items.join(QLatin1Char('|')))
                            .arg(showsItem ? at : c->findText(c->currentText()))
                            .arg(c->currentText());
            } else if (auto* b = qobject_cast<QCheckBox*>(w)) {
                line += QString::number(int(b->checkState()));
            } else if (auto* l = qobject_cast<QListWidget*>(w)) {
                for (int n = 0; n < l->count(); ++n) {
                    line += l->item(n)->checkState() == Qt::Checked ? QLatin1Char('x')
                                                                    : QLatin1Char('.');
                }
            } else {
                const auto buttons = w->findChildren<QRadioButton*>();
                for (int n = 0; n < buttons.size(); ++n) {
                    line += buttons[n]->isChecked() ? QString::number(n) : QString();
                }
            }
            out << line;
        }
    }
    return out;
}

// The same lines as the model holds them.
QStringList held(const FormState& model) {
    QStringList out;
    for (const ControlDef& d : inkquot::controlCatalogue()) {
        for (int i = 0; i < d.count(); ++i) {
            QString line = QStringLiteral("%1(%2) on=%3 ")
                               .arg(utf8(std::string(d.name)))
                               .arg(i)
                               .arg(model.enabled(d.control, i));
            switch (d.kind) {
                case ControlKind::TextBox:
                    line += utf8(model.text(d.control, i));
                    break;
                case ControlKind::TextList:
                case ControlKind::PositionList: {
                    QStringList items;
                    for (const auto& item : model.items(d.control, i)) {
                        items << utf8(item);
                    }
                    line += QStringLiteral("[%1] #%2 '%3'")
                                .arg(items.join(QLatin1Char('|')))
                                .arg(model.listIndex(d.control, i))
                                .arg(utf8(model.text(d.control, i)));
                    break;
                }
                case ControlKind::CheckBox: {
                    const auto s = model.checkState(d.control, i);
                    line += QString::number(s == inkquot::CheckState::Checked  ? 2
                                            : s == inkquot::CheckState::Greyed ? 1
                                                                               : 0);
                    break;
                }
                case ControlKind::PartList:
                    for (int n = 0; n < int(d.entries[0].items.size()); ++n) {
                        line += model.ticked(d.control, n) ? QLatin1Char('x') : QLatin1Char('.');
                    }
                    break;
                case ControlKind::OptionGroup:
                    if (model.option(d.control) >= 0) {
                        line += QString::number(model.option(d.control));
                    }
                    break;
            }
            out << line;
        }
    }
    return out;
}

// The frames of the section boxes and of the part list items.
QStringList frames(const PricingPage& page, const FormState* model) {
    QStringList out;
    auto add = [&](Ctl c, int i, const QWidget* frame) {
        out << QStringLiteral("%1(%2) %3")
                   .arg(utf8(std::string(inkquot::controlName(c))))
                   .arg(i)
                   .arg(model != nullptr ? model->switchesOn(c, i) : switchedOn(frame));
    };
    auto sections = [&](Ctl c, const auto& boxes) {
        for (int i = 0; i < int(boxes.size()); ++i) {
            add(c, i, boxes[std::size_t(i)]);
        }
    };
    sections(Ctl::Chkhua, page.Frmhua);
    sections(Ctl::Chkbao, page.Frmbao);
    sections(Ctl::Chkdan, page.Frmdan);
    sections(Ctl::Chkhe, page.Frmhe);
    sections(Ctl::Chkbu, page.Frmbu);
    sections(Ctl::Lsthua, page.Frameu0);
    sections(Ctl::Lstbao, page.Frameu1);
    sections(Ctl::lsthe, page.Frameu2);
    return out;
}

// The clerk takes item `row` from the opened list.
void pick(QComboBox* box, int row) {
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(row, 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
}

void clickItem(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

void tickItem(QListWidget* list, int row) {
    list->item(row)->setCheckState(Qt::Checked);
    clickItem(list, row);
}

}  // namespace

class TestPricingView : public QObject {
    Q_OBJECT

private slots:
    void showsTheModelAfterEachGesture();
};

void TestPricingView::showsTheModelAfterEachGesture() {
    ScriptedDialogs dialogs;
    PricingPage page(dialogs);
    page.resize(1180, 900);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    page.fillPaperLists({QStringLiteral("铜版纸"), QStringLiteral("胶版纸")});

    const QList<std::pair<const char*, std::function<void()>>> gestures = {
        {"start", [] {}},
        {"book 32", [&] { pick(page.comboBox(Ctl::Ncomkai, 0), 2); }},
        {"cover ticked and clicked", [&] { tickItem(page.partList(Ctl::Lsthua), 0); }},
        {"insert one ticked and clicked", [&] { tickItem(page.partList(Ctl::Lsthua), 3); }},
        {"cover on the quarter-sheet press",
         [&] {
             clickItem(page.partList(Ctl::Lsthua), 0);
             pick(page.comboBox(Ctl::Comyinji, 0), 1);
         }},
        {"inner pages on the rotary",
         [&] {
             tickItem(page.partList(Ctl::Lsthua), 1);
             pick(page.comboBox(Ctl::Comyinji, 1), 3);
         }},
        {"manual sheet size",
         [&] { QTest::mouseClick(page.checkBox(Ctl::Chkzhikai, 1), Qt::LeftButton); }},
        {"binding section",
         [&] { QTest::mouseClick(page.checkBox(Ctl::Chkhua, 5), Qt::LeftButton); }},
        {"box kind", [&] { pick(page.comboBox(Ctl::comleibie), 3); }},
        {"box 开 8", [&] { pick(page.comboBox(Ctl::Ncomkai, 6), 1); }},
        {"five-layer board",
         [&] {
             QTest::mouseClick(page.checkBox(Ctl::Chkhe, 6), Qt::LeftButton);
             QTest::mouseClick(page.optionButton(Ctl::optwa, 1), Qt::LeftButton);
         }},
        {"second 250 g face paper",
         [&] {
             tickItem(page.partList(Ctl::lsthe), 0);
             pick(page.comboBox(Ctl::Ncomke, 8), 11);
         }},
        {"papers renamed", [&] { page.fillPaperLists({QStringLiteral("新纸")}); }},
    };
    for (const auto& [name, gesture] : gestures) {
        gesture();
        const FormState model = page.captureJob();
        QCOMPARE(QStringList(shown(page) << frames(page, nullptr)),
                 QStringList(held(model) << frames(page, &model)));
        QVERIFY2(dialogs.shown.isEmpty(), name);
    }
    // The gestures did reach the model.
    QCOMPARE(page.listIndex(Ctl::comleibie), 3);
    QCOMPARE(page.text(Ctl::Ncomkai, 2), std::string("16"));
    QCOMPARE(page.listIndex(Ctl::Comyinji, 1), 3);
    QCOMPARE(page.listIndex(Ctl::Ncomke, 8), 11);
    QCOMPARE(page.option(Ctl::optwa), 1);
}

QTEST_MAIN(TestPricingView)
#include "tst_pricing_view.moc"
