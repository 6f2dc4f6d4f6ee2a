#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/main/frmpass.h"

using Icon = Dialogs::Icon;

namespace {

// Slot 1 of users.dat: "user0000", the 8-byte password field, zero filler.
QByteArray slotWith(const QByteArray& mima) {
    QByteArray slot = "user0000" + mima;
    slot.append(QByteArray(16, '\0'));
    return slot;
}

}  // namespace

class TestFrmPass : public QObject {
    Q_OBJECT

private slots:
    void confirm_data();
    void confirm();
    void boxesTakeAtMostEightCharacters();
    void newPasswordBoxesAreMasked();
    void cancelWritesNothing();
    void missingPasswordFileNeverMatches();
};

void TestFrmPass::confirm_data() {
    QTest::addColumn<QString>("oldText");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("stored");  // the password field afterwards

    const QByteArray initial = "604172  ";
    const QString done = QStringLiteral("修改成功！");
    const QString reconfirm = QStringLiteral("请重新确认新密码！");
    const QString wrongOld = QStringLiteral("原始密码错误！");
    QTest::newRow("6 characters, two blanks follow") << "604172"
                                                     << "abcdef"
                                                     << "abcdef" << done << QByteArray("abcdef  ");
    QTest::newRow("8 characters stored whole") << "604172"
                                               << "abcdefgh"
                                               << "abcdefgh" << done << QByteArray("abcdefgh");
    QTest::newRow("5 characters refused though confirmed") << "604172"
                                                           << "abcde"
                                                           << "abcde" << reconfirm << initial;
    QTest::newRow("confirmation differs") << "604172"
                                          << "abcdef"
                                          << "abcdeg" << reconfirm << initial;
    QTest::newRow("blanks around the new one ignored")
        << "604172"
        << " abcdef "
        << "abcdef" << done << QByteArray("abcdef  ");
    QTest::newRow("blanks shrink it below 6") << "604172"
                                              << "  abc  "
                                              << "abc" << reconfirm << initial;
    QTest::newRow("old one with blanks around") << "  604172 "
                                                << "qwerty"
                                                << "qwerty" << done << QByteArray("qwerty  ");
    QTest::newRow("old one wrong") << "604171"
                                   << "abcdef"
                                   << "abcdef" << wrongOld << initial;
    QTest::newRow("old one empty") << ""
                                   << "abcdef"
                                   << "abcdef" << wrongOld << initial;
    QTest::newRow("old one differs in case") << "604172"
                                             << "Abcdef"
                                             << "abcdef" << reconfirm << initial;
    // A Chinese character takes two of the field's 8 bytes.
    QTest::newRow("two Chinese characters and four letters fill the field")
        << "604172"
        << "密码ab12"
        << "密码ab12" << done
        << QByteArray(
               "\xC3\xDC\xC2\xEB"
               "ab12");
    QTest::newRow("more than 8 bytes refused, not cut") << "604172"
                                                        << "密码密码ab"
                                                        << "密码密码ab" << QString() << initial;
}

void TestFrmPass::confirm() {
    QFETCH(QString, oldText);
    QFETCH(QString, newText);
    QFETCH(QString, again);
    QFETCH(QString, message);
    QFETCH(QByteArray, stored);
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    FrmPass dlg(dir.folder(), dialogs);
    dlg.show();
    dlg.Text1[0]->setText(oldText);
    dlg.Text1[1]->setText(newText);
    dlg.Text1[2]->setText(again);
    QSignalSpy accepted(&dlg, &QDialog::accepted);
    QTest::mouseClick(dlg.Command1[0], Qt::LeftButton);

    QCOMPARE(dialogs.shown.size(), 1);
    const bool success = message == QStringLiteral("修改成功！");
    if (!message.isEmpty()) {
        QCOMPARE(dialogs.last().text, message);
        QCOMPARE(dialogs.last().icon, Icon::None);
    }
    const QByteArray file =
        QByteArray::fromStdString(TempProgramFolder::readBytes(dir.file("users.dat")));
    QCOMPARE(file, slotWith(stored));
    QCOMPARE(accepted.count(), success ? 1 : 0);
    QCOMPARE(dlg.isVisible(), !success);
    if (!success) {
        // The texts stay for another try.
        QCOMPARE(dlg.Text1[0]->text(), oldText);
        QCOMPARE(dlg.Text1[1]->text(), newText);
    }
}

void TestFrmPass::boxesTakeAtMostEightCharacters() {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    FrmPass dlg(dir.folder(), dialogs);
    dlg.show();
    for (QLineEdit* box : dlg.Text1) {
        QTest::keyClicks(box, QStringLiteral("123456789"));
        QCOMPARE(box->text(), QStringLiteral("12345678"));
    }
    QTest::mouseClick(dlg.Command1[0], Qt::LeftButton);
    QCOMPARE(dialogs.last().text, QStringLiteral("原始密码错误！"));
}

void TestFrmPass::newPasswordBoxesAreMasked() {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    FrmPass dlg(dir.folder(), dialogs);
    QCOMPARE(dlg.windowTitle(), QStringLiteral("修改密码"));
    QCOMPARE(dlg.Text1[0]->echoMode(), QLineEdit::Normal);
    QCOMPARE(dlg.Text1[1]->echoMode(), QLineEdit::Password);
    QCOMPARE(dlg.Text1[2]->echoMode(), QLineEdit::Password);
}

void TestFrmPass::cancelWritesNothing() {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    FrmPass dlg(dir.folder(), dialogs);
    dlg.show();
    dlg.Text1[0]->setText(QStringLiteral("604172"));
    dlg.Text1[1]->setText(QStringLiteral("abcdef"));
    dlg.Text1[2]->setText(QStringLiteral("abcdef"));
    QTest::mouseClick(dlg.Command1[1], Qt::LeftButton);
    QVERIFY(!dlg.isVisible());
    QVERIFY(dialogs.shown.isEmpty());
    QCOMPARE(QByteArray::fromStdString(TempProgramFolder::readBytes(dir.file("users.dat"))),
             slotWith("604172  "));
}

void TestFrmPass::missingPasswordFileNeverMatches() {
    TempProgramFolder dir;
    std::filesystem::remove(dir.file("users.dat"));
    ScriptedDialogs dialogs;
    FrmPass dlg(dir.folder(), dialogs);
    for (const QString& old : {QString(), QStringLiteral("604172"), QStringLiteral("        ")}) {
        dialogs.clear();
        dlg.Text1[0]->setText(old);
        dlg.Text1[1]->setText(QStringLiteral("abcdef"));
        dlg.Text1[2]->setText(QStringLiteral("abcdef"));
        QVERIFY(!dlg.confirmChange());
        QCOMPARE(dialogs.last().text, QStringLiteral("原始密码错误！"));
    }
}

QTEST_MAIN(TestFrmPass)
#include "tst_frmpass.moc"
