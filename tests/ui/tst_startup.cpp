#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <iostream>
#include <optional>
#include <thread>

#include "core/common/clock.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/main/frmnew.h"
#include "ui/main/frmpass.h"
#include "ui/main/startup.h"
#include "ui/pricing/pricing_page.h"

using Kind = ScriptedDialogs::Kind;
using Icon = Dialogs::Icon;

namespace {

// The program started over an installed temporary folder as main starts
// it, on a screen of `screen`, with `answer` queued for the password prompt
// when given, and without a password file unless `passwordFile`.
struct StartedProgram {
    explicit StartedProgram(const std::optional<QString>& answer = std::nullopt,
                            bool passwordFile = true, QSize screen = QSize(800, 600)) {
        if (!passwordFile) {
            std::filesystem::remove(dir.file("users.dat"));
        }
        if (answer) {
            dialogs.setNextInput(*answer);
        }
        start = startProgram(dir.folder(), dialogs, clock, screen, instance);
    }

    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    inkquot::FixedClock clock{inkquot::CivilDate{2026, 12, 7}};
    SingleInstance instance{dir.root()};
    StartResult start;
};

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void screenSize_data();
    void screenSize();
    void smallScreenWarnsAndEnds();
    void secondStartEndsSilently();
    void lockIsPerProgramFolder();
    void lockOfCrashedProgramIsTakenOver();
    void startCreatesMissingPasswordFile();
    void password_data();
    void password();
    void passwordIsAskedOnlyOnce();
    void firstActivationAsksForPassword();
    void rightPasswordLoadsTheWindow();
    void changedPasswordIsTheOnlyOneAccepted();

private:
    inkquot::FixedClock clock_{{2026, 12, 7}};
};

void TestStartup::screenSize_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("800x600 exactly") << QSize(800, 600) << true;
    QTest::newRow("1280x800") << QSize(1280, 800) << true;
    QTest::newRow("1024x576 too low") << QSize(1024, 576) << false;
    QTest::newRow("799 wide") << QSize(799, 1200) << false;
    QTest::newRow("599 high") << QSize(1920, 599) << false;
    QTest::newRow("no screen") << QSize() << false;
}

void TestStartup::screenSize() {
    QFETCH(QSize, screen);
    QFETCH(bool, accepted);
    QCOMPARE(screenIsLargeEnough(screen), accepted);
}

void TestStartup::smallScreenWarnsAndEnds() {
    StartedProgram p(std::nullopt, true, QSize(1024, 576));
    QCOMPARE(p.start.outcome, StartOutcome::ScreenTooSmall);
    QVERIFY(!p.start.window);
    QCOMPARE(p.dialogs.shown.size(), 1);
    QCOMPARE(p.dialogs.last().kind, Kind::Message);
    QCOMPARE(p.dialogs.last().icon, Icon::Exclamation);
    QCOMPARE(p.dialogs.last().text, QStringLiteral("请在800X600显示分辨率下运行墨衡助手!"));
}

void TestStartup::secondStartEndsSilently() {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    SingleInstance first(dir.root());
    auto running = startProgram(dir.folder(), dialogs, clock_, QSize(800, 600), first);
    QCOMPARE(running.outcome, StartOutcome::Started);
    QVERIFY(running.window && running.window->isVisible());
    dialogs.clear();

    SingleInstance second(dir.root());
    auto again = startProgram(dir.folder(), dialogs, clock_, QSize(800, 600), second);
    QCOMPARE(again.outcome, StartOutcome::AlreadyRunning);
    QVERIFY(!again.window);
    QVERIFY(dialogs.shown.isEmpty());
    running.window->close();
}

void TestStartup::lockIsPerProgramFolder() {
    TempProgramFolder a;
    TempProgramFolder b;
    SingleInstance holderA(a.root());
    SingleInstance otherA(a.root() / "." / "");
    SingleInstance holderB(b.root());
    QVERIFY(holderA.acquire());
    QVERIFY(!otherA.acquire());  // the same folder, written differently
    QVERIFY(holderB.acquire());
    holderA.release();
    QVERIFY(otherA.acquire());
}

// A child process (this test program started with --hold-lock FOLDER) takes
// the lock and is then killed, as a crash would end it.
void TestStartup::lockOfCrashedProgramIsTakenOver() {
    TempProgramFolder dir;
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--hold-lock"), QString::fromStdString(dir.root().string())});
    QVERIFY(holder.waitForStarted());
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readLine().trimmed(), QByteArray("locked"));

    SingleInstance mine(dir.root());
    QVERIFY(!mine.acquire());
    holder.kill();
    QVERIFY(holder.waitForFinished());
    QVERIFY(QFile::exists(mine.lockPath()));  // left behind by the crash
    QVERIFY(mine.acquire());
}

void TestStartup::startCreatesMissingPasswordFile() {
    StartedProgram p(std::nullopt, false);
    QVERIFY(p.start.window);
    const std::string bytes = TempProgramFolder::readBytes(p.dir.file("users.dat"));
    QCOMPARE(bytes.size(), std::size_t(32));
    QCOMPARE(QByteArray::fromStdString(bytes.substr(0, 16)), QByteArray("user0000604172  "));
    p.dialogs.setNextInput(QStringLiteral("604172"));
    QVERIFY(p.start.window->askPasswordOnce());
    p.start.window->close();
}

void TestStartup::password_data() {
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("proposed answer") << false << QStringLiteral("604172") << true;
    QTest::newRow("blanks around") << false << QStringLiteral("  604172   ") << true;
    QTest::newRow("one digit off") << false << QStringLiteral("604173") << false;
    QTest::newRow("prefix only") << false << QStringLiteral("60417") << false;
    QTest::newRow("longer") << false << QStringLiteral("6041720") << false;
    QTest::newRow("empty") << false << QString() << false;
    QTest::newRow("blanks only") << false << QStringLiteral("    ") << false;
    QTest::newRow("cancelled") << true << QString() << false;
}

void TestStartup::password() {
    QFETCH(bool, cancelled);
    QFETCH(QString, answer);
    QFETCH(bool, accepted);
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    FrmNew window(dir.folder(), dialogs, clock_);
    window.load();
    window.show();
    QSignalSpy closed(&window, &FrmNew::closed);
    dialogs.clear();
    dialogs.setNextInput(cancelled ? std::nullopt : std::optional<QString>(answer));

    QCOMPARE(window.askPasswordOnce(), accepted);
    QCOMPARE(dialogs.shown.first().kind, Kind::Input);
    QCOMPARE(dialogs.shown.first().text, QStringLiteral("请输入密码（初始密码为604172）"));
    QCOMPARE(dialogs.shown.first().proposed, QStringLiteral("604172"));
    if (accepted) {
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(window.isVisible());
        QCOMPARE(closed.count(), 0);
    } else {
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.last().text, QStringLiteral("密码错误！"));
        QCOMPARE(dialogs.last().icon, Icon::None);
        QVERIFY(!window.isVisible());
        QCOMPARE(closed.count(), 1);
    }
}

void TestStartup::passwordIsAskedOnlyOnce() {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    FrmNew window(dir.folder(), dialogs, clock_);
    window.load();
    dialogs.clear();
    dialogs.setNextInput(QStringLiteral("604172"));
    QVERIFY(window.askPasswordOnce());
    QVERIFY(window.askPasswordOnce());
    QCOMPARE(dialogs.shown.size(), 1);
}

void TestStartup::firstActivationAsksForPassword() {
    StartedProgram p(QStringLiteral("wrong"));
    QVERIFY(p.start.window);
    QSignalSpy closed(p.start.window.get(), &FrmNew::closed);
    p.start.window->activateWindow();
    QTRY_VERIFY(p.start.window->passwordAsked());
    QTRY_COMPARE(closed.count(), 1);
    QVERIFY(p.dialogs.texts().contains(QStringLiteral("密码错误！")));
    // A wrong answer ends the program before the window is loaded: no
    // scheme is made current, nothing more is shown.
    QTest::qWait(50);
    QVERIFY(!p.start.window->loaded());
    QCOMPARE(p.dialogs.shown.size(), 2);
}

void TestStartup::rightPasswordLoadsTheWindow() {
    StartedProgram p(QStringLiteral("604172"));
    QVERIFY(p.start.window && !p.start.window->loaded());
    QTRY_VERIFY(p.start.window->loaded());
    QCOMPARE(p.dialogs.shown.size(), 1);  // the prompt only
    QCOMPARE(p.start.window->labti[1]->text(), QStringLiteral("欢迎使用墨衡印件计价系统！"));
    QVERIFY(p.start.window->pricingPage()->isVisible());
    p.start.window->close();
}

void TestStartup::changedPasswordIsTheOnlyOneAccepted() {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    {
        FrmPass change(dir.folder(), dialogs);
        change.Text1[0]->setText(QStringLiteral("604172"));
        change.Text1[1]->setText(QStringLiteral("abc123"));
        change.Text1[2]->setText(QStringLiteral("abc123"));
        QVERIFY(change.confirmChange());
    }
    for (const auto& [typed, ok] :
         {std::pair{QStringLiteral("604172"), false}, std::pair{QStringLiteral("abc123"), true}}) {
        FrmNew window(dir.folder(), dialogs, clock_);
        window.load();
        dialogs.setNextInput(typed);
        QCOMPARE(window.askPasswordOnce(), ok);
    }
}

// Holds the program's lock for a folder until killed (for the crash test).
static int holdLock(const char* folder) {
    SingleInstance instance{std::filesystem::path(folder)};
    if (!instance.acquire()) {
        return 1;
    }
    std::cout << "locked" << std::endl;
    for (;;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
}

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock") == 0) {
        return holdLock(argv[2]);
    }
    QApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
