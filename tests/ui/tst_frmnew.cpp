#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include "tests/ui/support/main_window_screen.h"
#include "ui/history/history_page.h"
#include "ui/main/frmabout.h"
#include "ui/main/frmnew.h"
#include "ui/main/help_window.h"

class TestFrmNew : public QObject {
    Q_OBJECT

private slots:
    void toolbarCaptionsAndHints();
    void loadFillsTitleAndStatusLines();
    void pagesSwitch_data();
    void pagesSwitch();
    void pricingPageComesBackUnchanged();
    void focusedToolIsWhite();
    void helpOpensTheGuideOrTheFileOfTheProgramFolder();
    void aboutIsNotModalAndOpensOnce();
    void passwordDialogOpensModally();
    void exitClosesWindowsLastOpenedFirst();
};

void TestFrmNew::toolbarCaptionsAndHints() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    const char* expected[7][2] = {
        {"计价", "进入计价页面"}, {"历史记录", "查看历史记录"}, {"参数设置", "设置基本数据"},
        {"修改密码", "修改密码"}, {"关于", "关于本产品"},       {"帮助", "查看帮助文档"},
        {"退出", "退出系统"},
    };
    int previousY = -1;
    w.resize(1024, 700);
    w.show();
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(w.cmdtool[i]->text(), QString::fromUtf8(expected[i][0]));
        QCOMPARE(w.cmdtool[i]->toolTip(), QString::fromUtf8(expected[i][1]));
        QVERIFY2(w.cmdtool[i]->y() > previousY, "the toolbar is one column, top down");
        previousY = w.cmdtool[i]->y();
    }
}

void TestFrmNew::loadFillsTitleAndStatusLines() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.load();
    QCOMPARE(w.windowTitle(), QStringLiteral("墨衡印件计价系统"));
    QCOMPARE(w.labti[1]->text(), QStringLiteral("欢迎使用墨衡印件计价系统！"));
    QCOMPARE(w.labti[2]->text(), QStringLiteral("2026年12月7日"));
    QCOMPARE(w.currentPage(), int(FrmNew::PricingPageIndex));
    QVERIFY(s.dialogs.shown.isEmpty());
    // The history page is built when first shown, with the cut-off date of
    // the day the window loaded, not of the day it was opened.
    s.clock.set({2026, 12, 8});
    QTest::mouseClick(w.cmdtool[FrmNew::ToolHistory], Qt::LeftButton);
    s.clock.set({2026, 12, 7});
    QCOMPARE(w.historyPage()->Txtcxtj[2]->text(), QStringLiteral("2026/11/7"));
}

void TestFrmNew::pagesSwitch_data() {
    QTest::addColumn<int>("tool");
    QTest::addColumn<int>("page");
    QTest::newRow("计价") << int(FrmNew::ToolPricing) << 0;
    QTest::newRow("历史记录") << int(FrmNew::ToolHistory) << 1;
    QTest::newRow("参数设置") << int(FrmNew::ToolParams) << 2;
}

void TestFrmNew::pagesSwitch() {
    QFETCH(int, tool);
    QFETCH(int, page);
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.load();
    w.show();
    // Start from another page so that every click changes something.
    w.showPage((page + 1) % 3);
    w.labti[1]->setText(QStringLiteral("上一页的提示"));
    QTest::mouseClick(w.cmdtool[tool], Qt::LeftButton);
    QCOMPARE(w.currentPage(), page);
    QCOMPARE(w.labti[1]->text(), QString());  // the left page's hint went with it
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(w.piccaidanzi[i]->isEnabled(), i == page);
        QCOMPARE(w.piccaidanzi[i]->isVisibleTo(&w), i == page);
    }
}

void TestFrmNew::pricingPageComesBackUnchanged() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.load();
    w.show();
    QWidget* pricing = w.piccaidanzi[0];
    auto* probe = new QLabel(QStringLiteral("probe"), pricing);
    QTest::mouseClick(w.cmdtool[FrmNew::ToolHistory], Qt::LeftButton);
    QVERIFY(!pricing->isEnabled());
    QTest::mouseClick(w.cmdtool[FrmNew::ToolPricing], Qt::LeftButton);
    QCOMPARE(w.piccaidanzi[0], pricing);
    QVERIFY(pricing->isEnabled());
    QCOMPARE(probe->text(), QStringLiteral("probe"));
}

void TestFrmNew::focusedToolIsWhite() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.show();
    auto colourOf = [&](int i) { return w.cmdtool[i]->palette().color(QPalette::Button); };
    QCOMPARE(colourOf(FrmNew::ToolPricing), QColor(Qt::white));
    QVERIFY(colourOf(FrmNew::ToolHistory) != QColor(Qt::white));
    for (int focused : {2, 5, 0}) {
        QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
        QApplication::sendEvent(w.cmdtool[focused], &focusIn);
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(colourOf(i) == QColor(Qt::white), i == focused);
        }
    }
}

void TestFrmNew::helpOpensTheGuideOrTheFileOfTheProgramFolder() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    QList<QUrl> opened;
    w.setHelpOpener([&](const QUrl& url) {
        opened << url;
        return false;  // as when nothing can show it
    });
    // No help file: the built-in guide, at the page of the screen in view.
    w.showPage(FrmNew::HistoryPageIndex);
    QTest::mouseClick(w.cmdtool[FrmNew::ToolHelp], Qt::LeftButton);
    QVERIFY(opened.isEmpty());
    QPointer<HelpWindow> help = w.helpWindow();
    QVERIFY(help && help->isVisible());
    QCOMPARE(help->shownPage(), QStringLiteral("history.html"));
    // Every page of the list has text, and every link leads to a page.
    for (int row = 0; row < help->pageList->count(); ++row) {
        help->pageList->setCurrentRow(row);
        const QString page = help->shownPage();
        QCOMPARE(page, HelpWindow::pageFiles().at(row));
        QVERIFY2(help->browser->toPlainText().size() > 100, qPrintable(page));
        QFile source(QStringLiteral(":/help/") + page);
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(source.readAll());
        static const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(HelpWindow::pageFiles().contains(target), qPrintable(page + u' ' + target));
        }
    }
    help->close();
    QTRY_VERIFY(help.isNull());

    TempProgramFolder::writeBytes(s.dir.file("inkquot.chm"), "help");
    QTest::mouseClick(w.cmdtool[FrmNew::ToolHelp], Qt::LeftButton);
    QCOMPARE(opened.size(), 1);
    QVERIFY(opened[0].isLocalFile());
    QCOMPARE(
        opened[0].toLocalFile(),
        QDir::fromNativeSeparators(QString::fromStdString(s.dir.file("inkquot.chm").string())));
    QVERIFY(s.dialogs.shown.isEmpty());
    QVERIFY(!w.helpWindow());
}

void TestFrmNew::aboutIsNotModalAndOpensOnce() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.show();
    QTest::mouseClick(w.cmdtool[FrmNew::ToolAbout], Qt::LeftButton);
    QPointer<FrmAbout> about = w.aboutBox();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    QVERIFY(!about->isModal());
    QCOMPARE(about->windowTitle(), QStringLiteral("关于墨衡印件计价系统"));
    QStringList texts;
    for (auto* label : about->findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const char* t : {"软件名：", "墨衡印件计价系统", "版本号：", "3.02"}) {
        QVERIFY2(texts.contains(QString::fromUtf8(t)), t);
    }
    QCOMPARE(about->folderLabel()->text(), QString::fromStdString(s.dir.folder().root().string()));
    QTest::mouseClick(w.cmdtool[FrmNew::ToolAbout], Qt::LeftButton);
    QCOMPARE(w.aboutBox(), about.data());
    QCOMPARE(about->okButton()->text(), QStringLiteral("确定"));
    QTest::mouseClick(about->okButton(), Qt::LeftButton);
    QTRY_VERIFY(about.isNull());
}

void TestFrmNew::passwordDialogOpensModally() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.show();
    QString seen;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (box) {
            seen = box->objectName() + QLatin1Char('|') + box->windowTitle();
            modal = box->isModal();
            box->close();
        }
    });
    QTest::mouseClick(w.cmdtool[FrmNew::ToolPassword], Qt::LeftButton);
    QCOMPARE(seen, QStringLiteral("frmpass|修改密码"));
    QVERIFY(modal);
}

void TestFrmNew::exitClosesWindowsLastOpenedFirst() {
    MainWindowScreen s;
    FrmNew& w = s.window;
    w.show();
    QStringList closedOrder;
    // Windows a page opened, tracked like the about box.
    QWidget first;
    QWidget second;
    for (QWidget* win : {&first, &second}) {
        win->setObjectName(win == &first ? QStringLiteral("first") : QStringLiteral("second"));
        win->show();
        w.trackWindow(win);
    }
    QTest::mouseClick(w.cmdtool[FrmNew::ToolAbout], Qt::LeftButton);
    QPointer<FrmAbout> about = w.aboutBox();
    struct Recorder : QObject {
        QStringList* order;
        explicit Recorder(QStringList* o) : order(o) {}
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Close) {
                *order << o->objectName();
            }
            return false;
        }
    } recorder(&closedOrder);
    first.installEventFilter(&recorder);
    second.installEventFilter(&recorder);
    about->installEventFilter(&recorder);

    QSignalSpy closed(&w, &FrmNew::closed);
    QTest::mouseClick(w.cmdtool[FrmNew::ToolExit], Qt::LeftButton);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!w.isVisible());
    QCOMPARE(closedOrder, QStringList({QStringLiteral("frmabout"), QStringLiteral("second"),
                                       QStringLiteral("first")}));
    QVERIFY(!first.isVisible() && !second.isVisible());
}

QTEST_MAIN(TestFrmNew)
#include "tst_frmnew.moc"
