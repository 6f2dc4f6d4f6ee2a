#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "core/common/clock.h"
#include "core/common/file_io.h"
#include "core/costing/control_catalogue.h"
#include "core/costing/cost_records.h"
#include "core/identity/letterhead.h"
#include "core/identity/remembered_headings.h"
#include "core/job/form_state.h"
#include "core/job/priced_job.h"
#include "tests/ui/output_fakes.h"
#include "tests/ui/support/main_window_screen.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/main/frmnew.h"
#include "ui/main/help_window.h"
#include "ui/output/frmresult.h"
#include "ui/output/frmshow.h"
#include "ui/output/letterhead_page.h"
#include "ui/output/price_sheet.h"
#include "ui/output/price_table_action.h"
#include "ui/output/quotation_print.h"
#include "ui/params/letterhead_dialog.h"
#include "ui/params/logo_image.h"
#include "ui/params/params_page.h"

using inkquot::Ctl;
using inkquot::FormState;

namespace {

const QString kPrompt = QStringLiteral("请输入打印标题");
const QString kProposal = QStringLiteral("XXX印务有限公司报价单");

inkquot::PricedJob sampleJob() {
    FormState f;
    f.setListIndex(Ctl::comleibie, 0, 2);
    inkquot::CostResult r;
    r.UnitPrice = 0.5f;
    r.TotalPrice = 5000;
    return inkquot::pricedJobOf(f, r);
}

QString writeImage(const QTemporaryDir& dir, const QString& name, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    const QString file = dir.filePath(name);
    image.save(file);
    return file;
}

// With INKQUOT_OUTPUT_SAMPLES naming a folder, the page as it prints is
// kept there as a picture, for a person to look at.
void keepSample(const PrintPage& page, const QString& name) {
    const QString folder = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    if (folder.isEmpty()) {
        return;
    }
    QImage image(page.size() * 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    paintPage(painter, page, QRectF(QPointF(0, 0), QSizeF(image.size())));
    painter.end();
    image.save(QDir(folder).filePath(name));
}

}  // namespace

class TestShopIdentity : public QObject {
    Q_OBJECT

private slots:
    void quotationHeadingProposesTheLastOneUsed();
    void letterheadPrintsAboveTheUnchangedPage();
    void logoFilesAreReadSafely_data();
    void logoFilesAreReadSafely();
    void dialogKeepsTheLetterheadOrSaysWhyNot();
    void windowsFitAnEightHundredBySixHundredScreen();
};

void TestShopIdentity::quotationHeadingProposesTheLastOneUsed() {
    TempProgramFolder dir;
    const inkquot::ProgramFolder folder = dir.folder();
    OutputFakes out;
    const OutputServices services = out.services(&folder);
    ScriptedDialogs& dialogs = out.dialogs;

    dialogs.setNextInput(QStringLiteral("东方印务报价单"));
    QVERIFY(printQuotation(nullptr, sampleJob(), services));
    dialogs.setNextInput(std::nullopt);  // a cancelled prompt keeps the last heading
    QVERIFY(!printQuotation(nullptr, sampleJob(), services));
    dialogs.setNextInput(QString());
    QVERIFY(!exportQuotationPdf(nullptr, sampleJob(), services));
    QCOMPARE(dialogs.shown.size(), 3);
    QCOMPARE(dialogs.shown[0].proposed, kProposal);
    QCOMPARE(dialogs.shown[1].proposed, QStringLiteral("东方印务报价单"));
    QCOMPARE(dialogs.shown[2].proposed, QStringLiteral("东方印务报价单"));
    // The price table keeps its own heading, from its placeholder on.
    FormState table;
    table.setPaperNames(std::vector<std::string>(50, "铜版纸"));
    table.setStickerPaperNames(std::vector<std::string>(10, "不干胶纸"));
    table.setListIndex(Ctl::comleibie, 0, 2);
    for (const QString& answer : {QStringLiteral("东方印务价格表"), QString()}) {
        dialogs.setNextInput(answer);
        inkquot::CostResult lastCell;
        generatePriceTableWindow(nullptr, folder, table, lastCell, services, [](FrmShow&) {});
    }
    QCOMPARE(dialogs.shown.size(), 5);
    QCOMPARE(dialogs.shown[3].proposed, QStringLiteral("XXX印务有限公司价格表"));
    QCOMPARE(dialogs.shown[4].proposed, QStringLiteral("东方印务价格表"));
    // Kept per user folder: another user starts from the placeholder.
    TempProgramFolder other;
    const inkquot::ProgramFolder otherFolder = other.folder();
    QCOMPARE(QString::fromStdString(
                 inkquot::proposedHeading(&otherFolder, inkquot::HeadingKind::Quotation)),
             kProposal);
}

void TestShopIdentity::letterheadPrintsAboveTheUnchangedPage() {
    TempProgramFolder dir;
    const inkquot::ProgramFolder folder = dir.folder();
    QTemporaryDir pictures;
    const PreparedLogo logo =
        prepareLogo(writeImage(pictures, QStringLiteral("logo.png"), QSize(300, 120)));
    QVERIFY(logo.ok());
    QVERIFY(inkquot::saveLetterhead(
        folder, {"东方印务有限公司", "北京市朝阳区建国路1号", "010-12345678", ""},
        logo.png.toStdString()));

    for (const bool withLetterhead : {false, true}) {
        OutputFakes out;
        out.dialogs.setNextInput(kProposal);
        QVERIFY(
            printQuotation(nullptr, sampleJob(), out.services(withLetterhead ? &folder : nullptr)));
        const RecordingPrinter& printer = out.printer;
        FrmResult bare;
        fillQuotation(bare, kProposal, sampleJob(), out.clock);
        if (!withLetterhead) {
            QCOMPARE(printer.pageSize, bare.size());
            QVERIFY(!printer.texts.contains(QStringLiteral("letterheadName")));
            continue;
        }
        QCOMPARE(printer.texts[QStringLiteral("letterheadName")],
                 QStringLiteral("东方印务有限公司"));
        QCOMPARE(printer.texts[QStringLiteral("letterheadAddress")],
                 QStringLiteral("地址：北京市朝阳区建国路1号"));
        QCOMPARE(printer.texts[QStringLiteral("letterheadTelephone")],
                 QStringLiteral("电话：010-12345678"));
        QCOMPARE(printer.texts[QStringLiteral("lbiaoti")], kProposal);
        // The quotation keeps its own layout; the band sits above its heading.
        QCOMPARE(printer.pageSize.width(), bare.width());
        QVERIFY(printer.pageSize.height() >= bare.height());
        QVERIFY(printer.pageSize.height() < bare.height() + tw(1440));
        QCOMPARE(printer.places[QStringLiteral("lkehu")], bare.lkehu->geometry());
    }

    // The price table window prints its table under the letterhead too.
    {
        OutputFakes out;
        const RecordingPrinter& printer = out.printer;
        FrmShow frmshow(out.services(&folder));
        frmshow.Picture2->labiaoti->setText(QStringLiteral("东方价格表"));
        frmshow.printTable();
        QCOMPARE(printer.texts[QStringLiteral("letterheadName")],
                 QStringLiteral("东方印务有限公司"));
        QCOMPARE(printer.texts[QStringLiteral("labiaoti")], QStringLiteral("东方价格表"));
        QVERIFY(printer.pageSize.height() > PriceSheet().height());
    }

    // A price sheet: the band above, every line and label of the sheet moved
    // down by the same distance; the sheet itself is handed back unchanged.
    PriceSheet sheet;
    sheet.labiaoti->setText(QStringLiteral("价格表"));
    const auto bareRules = sheet.rules();
    const auto letterhead = inkquot::readLetterhead(folder);
    QVERIFY(letterhead);
    {
        LetterheadPage headed(*letterhead, letterheadLogo(folder, *letterhead), sheet);
        QVERIFY(!headed.logo->pixmap().isNull());
        QVERIFY(headed.logo->geometry().bottom() < sheet.y() + sheet.labiaoti->y());
        QVERIFY(headed.shopTelephone->geometry().bottom() < sheet.y() + sheet.labiaoti->y());
        const auto rules = headed.rules();
        QCOMPARE(rules.size(), bareRules.size() + 1);
        QCOMPARE(rules.back(), bareRules.back().translated(0, sheet.y()));

        QTemporaryDir out;
        PdfPagePrinter pdf(out.filePath(QStringLiteral("headed.pdf")));
        QVERIFY(pdf.print(headed, QStringLiteral("价格表")));
        keepSample(headed, QStringLiteral("price-table-letterhead.png"));
    }
    FrmResult quotation;
    fillQuotation(quotation, kProposal, sampleJob(), OutputFakes().clock);
    LetterheadPage headed(*letterhead, letterheadLogo(folder, *letterhead), quotation);
    keepSample(headed, QStringLiteral("quotation-letterhead.png"));
    QCOMPARE(sheet.parent(), nullptr);
    QCOMPARE(sheet.pos(), QPoint(0, 0));
}

void TestShopIdentity::logoFilesAreReadSafely_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("refusal");  // a part of the message, or empty when kept
    QTest::newRow("small picture kept as it is") << "small"
                                                 << "";
    QTest::newRow("large picture scaled to fit") << "large"
                                                 << "";
    QTest::newRow("text named .png") << "text"
                                     << "不是可以读取的图片文件";
    QTest::newRow("missing file") << "missing"
                                  << "无法打开图片文件";
    QTest::newRow("header of a giant picture") << "giant"
                                               << "尺寸太大";
}

void TestShopIdentity::logoFilesAreReadSafely() {
    QFETCH(QString, kind);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("logo.png"));
    if (kind == QStringLiteral("small")) {
        writeImage(dir, QStringLiteral("logo.png"), QSize(200, 80));
    } else if (kind == QStringLiteral("large")) {
        writeImage(dir, QStringLiteral("logo.png"), QSize(4000, 1000));
    } else if (kind == QStringLiteral("text")) {
        TempProgramFolder::writeBytes(file.toStdString(), "not a picture at all");
    } else if (kind == QStringLiteral("giant")) {
        // A valid PNG claiming 60000 × 60000 pixels, with no pixels.
        QByteArray png = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452");
        png += QByteArray::fromHex("0000ea600000ea600806000000");
        png += QByteArray::fromHex("80d27542");
        png += QByteArray::fromHex("000000004944415435af061e");  // IDAT, empty
        png += QByteArray::fromHex("0000000049454e44ae426082");  // IEND
        TempProgramFolder::writeBytes(file.toStdString(), png.toStdString());
    }
    const PreparedLogo logo = prepareLogo(file);
    if (refusal.isEmpty()) {
        QVERIFY2(logo.ok(), qPrintable(logo.refusal));
        QVERIFY(logo.image.width() <= kLogoMaxWidth && logo.image.height() <= kLogoMaxHeight);
        QVERIFY(QImage::fromData(logo.png, "PNG").size() == logo.image.size());
        if (kind == QStringLiteral("small")) {
            QCOMPARE(logo.image.size(), QSize(200, 80));
        } else {
            QCOMPARE(logo.image.size(), QSize(kLogoMaxWidth, kLogoMaxWidth / 4));
        }
    } else {
        QVERIFY2(logo.refusal.contains(refusal), qPrintable(logo.refusal));
        QVERIFY(logo.png.isEmpty());
    }
}

void TestShopIdentity::dialogKeepsTheLetterheadOrSaysWhyNot() {
    TempProgramFolder dir;
    const inkquot::ProgramFolder folder = dir.folder();
    QTemporaryDir pictures;
    const QString logoFile = writeImage(pictures, QStringLiteral("logo.png"), QSize(240, 90));
    const QString notAPicture = pictures.filePath(QStringLiteral("readme.png"));
    TempProgramFolder::writeBytes(notAPicture.toStdString(), "hello");
    ScriptedDialogs dialogs;
    {
        LetterheadDialog dialog(folder, dialogs);
        QStringList answers{notAPicture, logoFile};
        dialog.setImageChooser([&](QWidget*) { return std::optional(answers.takeFirst()); });
        dialog.pickLogo();
        QVERIFY(dialogs.last().text.contains(QStringLiteral("不是可以读取的图片文件")));
        QVERIFY(!dialog.cmdnologo->isEnabled());
        dialog.pickLogo();
        QVERIFY(dialog.cmdnologo->isEnabled());

        // Too long: refused with the limit, nothing written.
        dialog.txtname->setText(QString(31, QChar(0x5370)));
        QVERIFY(!dialog.save());
        QCOMPARE(dialogs.last().text, QStringLiteral("店名不能超过30个字。"));
        QVERIFY(!inkquot::readLetterhead(folder));

        // A disk that refuses the write: "保存失败：" with the reason, no file left.
        dialog.txtname->setText(QStringLiteral("东方印务"));
        {
            inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::Rename, 0, 1);
            QVERIFY(!dialog.save());
            inkquot::io_test_hooks::failNextWrites(inkquot::io_test_hooks::FailPoint::None);
        }
        QVERIFY(dialogs.last().text.startsWith(QStringLiteral("保存失败：")));
        QVERIFY(dialogs.last().text.contains(QStringLiteral("letterhead.json")));
        QVERIFY(!inkquot::readLetterhead(folder));
        QVERIFY(!QDir(QString::fromStdString(dir.root().string()))
                     .entryList(QDir::Files)
                     .join(u' ')
                     .contains(QStringLiteral("letterhead")));

        QVERIFY(dialog.save());
    }
    const auto kept = inkquot::readLetterhead(folder);
    QVERIFY(kept);
    QCOMPARE(QString::fromStdString(kept->name), QStringLiteral("东方印务"));
    QVERIFY(!letterheadLogo(folder, *kept).isNull());

    // Opened again it shows what is kept; emptied, the letterhead goes.
    LetterheadDialog again(folder, dialogs);
    QCOMPARE(again.txtname->text(), QStringLiteral("东方印务"));
    QVERIFY(again.cmdnologo->isEnabled());
    again.txtname->clear();
    again.removeLogo();
    QVERIFY(again.save());
    QVERIFY(!inkquot::readLetterhead(folder));
    QVERIFY(inkquot::letterheadLines(folder).empty());
}

void TestShopIdentity::windowsFitAnEightHundredBySixHundredScreen() {
    MainWindowScreen s;
    FrmNew& main = s.window;
    main.load();
    main.resize(800, 600);
    main.showPage(FrmNew::ParamsPageIndex);
    main.show();
    QVERIFY(main.paramsPage()->cmdxintou->isVisibleTo(&main));

    LetterheadDialog letterhead(s.dir.folder(), s.dialogs, &main);
    letterhead.txtname->setText(QStringLiteral("东方印务有限公司"));
    letterhead.show();
    main.openHelp();
    HelpWindow* help = main.helpWindow();
    QVERIFY(help);
    for (QWidget* w : std::initializer_list<QWidget*>{&letterhead, help}) {
        QVERIFY(w->minimumSizeHint().width() <= 800 && w->minimumSizeHint().height() <= 600);
        QVERIFY(w->width() <= 800 && w->height() <= 600);
    }
    const QString folder = qEnvironmentVariable("INKQUOT_OUTPUT_SAMPLES");
    if (!folder.isEmpty()) {
        main.grab().save(QDir(folder).filePath(QStringLiteral("params-800x600.png")));
        letterhead.grab().save(QDir(folder).filePath(QStringLiteral("letterhead-dialog.png")));
        help->grab().save(QDir(folder).filePath(QStringLiteral("help-window.png")));
    }
    main.close();
}

QTEST_MAIN(TestShopIdentity)
#include "tst_shop_identity.moc"
