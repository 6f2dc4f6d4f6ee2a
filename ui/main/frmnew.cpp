#include "ui/main/frmnew.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedLayout>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <system_error>

#include "core/common/date_text.h"
#include "core/job/paper_lists.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/history/history_page.h"
#include "ui/history/history_reopen.h"
#include "ui/main/app_icon.h"
#include "ui/main/frmabout.h"
#include "ui/main/frmpass.h"
#include "ui/main/help_window.h"
#include "ui/main/password_check.h"
#include "ui/params/params_page.h"
#include "ui/params/scheme_panel.h"
#include "ui/pricing/job_files.h"
#include "ui/pricing/pricing_page.h"
#include "ui/pricing/pricing_run.h"

namespace {

struct ToolSpec {
    const char* caption;
    const char* hint;
};

// Top to bottom.
constexpr ToolSpec kTools[7] = {
    {"计价", "进入计价页面"}, {"历史记录", "查看历史记录"}, {"参数设置", "设置基本数据"},
    {"修改密码", "修改密码"}, {"关于", "关于本产品"},       {"帮助", "查看帮助文档"},
    {"退出", "退出系统"},
};

QColor menuBackground() {
    return QApplication::palette("QMenu").color(QPalette::Window);
}

// Each page sits in a scroll area, so that the window fits a small screen
// whatever a page needs.
QScrollArea* scrolled(QWidget* page) {
    auto* area = new QScrollArea;
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(page);
    return area;
}

}  // namespace

void FrmNew::addPage(int index, QWidget* page) {
    piccaidanzi[std::size_t(index)]->layout()->addWidget(page);
    // Shown now rather than on the next turn of the event loop, so that the
    // page is laid out when the call that built it returns.
    page->show();
}

FrmNew::FrmNew(const inkquot::ProgramFolder& folder, Dialogs& dialogs, const inkquot::Clock& clock,
               QWidget* parent)
    : QWidget(parent), folder_(folder), dialogs_(dialogs), clock_(clock) {
    setObjectName(QStringLiteral("frmnew"));
    setWindowTitle(applicationTitle());
    setWindowIcon(applicationIcon());
    helpOpener_ = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setFrameShape(QFrame::StyledPanel);
    buildToolbar(bar);

    auto* pageFrame = new QFrame(this);
    pageFrame->setFrameShape(QFrame::StyledPanel);
    pages_ = new QStackedLayout(pageFrame);
    for (QWidget*& holder : piccaidanzi) {
        holder = new QWidget;
        auto* fill = new QVBoxLayout(holder);
        fill->setContentsMargins(0, 0, 0, 0);
        pages_->addWidget(scrolled(holder));
    }

    labti[1] = new QLabel(this);
    labti[1]->setObjectName(QStringLiteral("labti1"));
    labti[2] = new QLabel(this);
    labti[2]->setObjectName(QStringLiteral("labti2"));
    labti[2]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int i : {1, 2}) {
        labti[i]->setFrameShape(QFrame::Panel);
        labti[i]->setFrameShadow(QFrame::Sunken);
        labti[i]->setContentsMargins(6, 2, 6, 2);
    }
    labti[1]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    labti[2]->setMinimumWidth(150);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(6);
    middle->addWidget(bar);
    middle->addWidget(pageFrame, 1);

    auto* status = new QHBoxLayout;
    status->setSpacing(4);
    status->addWidget(labti[1], 1);
    status->addWidget(labti[2]);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 4);
    layout->setSpacing(4);
    layout->addLayout(middle, 1);
    layout->addLayout(status);

    showPage(PricingPageIndex);
    colourToolbar(cmdtool[ToolPricing]);
    setMinimumSize(640, 480);
    resize(1024, 700);
}

FrmNew::~FrmNew() = default;

void FrmNew::buildPricingPage() {
    if (pricingPage_) {
        return;
    }
    pricingPage_ =
        new PricingPage(dialogs_, [this](const QString& hint) { labti[1]->setText(hint); });
    pricingRun_ = new PricingRun(*pricingPage_, folder_, dialogs_, clock_, this);
    // The price-file warning names the current scheme, which the parameter
    // page keeps; before that page exists no scheme has been made current.
    pricingRun_->priceFileWarning().setSchemeSource(
        [this] { return schemes_ ? schemes_->currentScheme() : QString(); });
    // Saved jobs are opened and saved from the pricing page.
    jobFiles_ = new JobFiles(*pricingPage_, *pricingRun_, folder_, dialogs_, this);
    addPage(PricingPageIndex, pricingPage_);
}

void FrmNew::buildHistoryPage() {
    if (historyPage_) {
        return;
    }
    historyPage_ = new HistoryPage(folder_, dialogs_, clock_);
    connect(historyPage_, &HistoryPage::hintChanged, labti[1], &QLabel::setText);
    if (loadDay_) {
        historyPage_->initCutoffDate(*loadDay_);
    }
    // A quotation reopened from the history goes to the pricing page.
    historyReopen_ = new HistoryReopen(*historyPage_, folder_, dialogs_, this);
    connect(historyReopen_, &HistoryReopen::jobReopened, this,
            [this](const std::string& jobText, const QString& where) {
                showPage(PricingPageIndex);
                jobFiles()->showJobText(jobText, where);
            });
    addPage(HistoryPageIndex, historyPage_);
}

void FrmNew::buildParamsPage() {
    if (paramsPage_) {
        return;
    }
    paramsPage_ = new ParamsPage(folder_, dialogs_, schemePanel());
    // A saved paper edit shows at once in the paper lists of the job entry.
    connect(paramsPage_, &ParamsPage::papersSaved, this, &FrmNew::fillPaperLists);
    connect(paramsPage_, &ParamsPage::stickerPapersSaved, this, &FrmNew::fillPaperLists);
    addPage(ParamsPageIndex, paramsPage_);
}

SchemePanel* FrmNew::schemePanel() {
    if (!schemes_) {
        // Kept out of sight until the parameter page takes it in; its
        // messages still come up over this window.
        schemes_ = new SchemePanel(folder_, dialogs_, this);
        schemes_->hide();
        connect(schemes_, &SchemePanel::schemeSelected, this, &FrmNew::fillPaperLists);
    }
    return schemes_;
}

void FrmNew::buildPage(int page) {
    switch (page) {
        case PricingPageIndex:
            buildPricingPage();
            break;
        case HistoryPageIndex:
            buildHistoryPage();
            break;
        case ParamsPageIndex:
            buildParamsPage();
            break;
        default:
            break;
    }
}

PricingPage* FrmNew::pricingPage() {
    buildPricingPage();
    return pricingPage_;
}

PricingRun* FrmNew::pricingRun() {
    buildPricingPage();
    return pricingRun_;
}

HistoryPage* FrmNew::historyPage() {
    buildHistoryPage();
    return historyPage_;
}

ParamsPage* FrmNew::paramsPage() {
    buildParamsPage();
    return paramsPage_;
}

JobFiles* FrmNew::jobFiles() {
    buildPricingPage();
    return jobFiles_;
}

HistoryReopen* FrmNew::historyReopen() {
    buildHistoryPage();
    return historyReopen_;
}

void FrmNew::buildToolbar(QWidget* bar) {
    auto* column = new QVBoxLayout(bar);
    column->setContentsMargins(6, 6, 6, 6);
    column->setSpacing(6);
    QFont font = bar->font();
    font.setPointSizeF(font.pointSizeF() * 1.1);
    for (int i = 0; i < 7; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(kTools[i].caption), bar);
        b->setObjectName(QStringLiteral("cmdtool%1").arg(i));
        b->setToolTip(QString::fromUtf8(kTools[i].hint));
        b->setFont(font);
        b->setMinimumSize(96, 44);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        b->setAutoFillBackground(true);
        b->installEventFilter(this);
        cmdtool[i] = b;
        column->addWidget(b);
        if (i == ToolParams || i == ToolHelp) {
            column->addSpacing(10);
        }
    }
    column->addStretch(1);

    connect(cmdtool[ToolPricing], &QPushButton::clicked, this,
            [this] { showPage(PricingPageIndex); });
    connect(cmdtool[ToolHistory], &QPushButton::clicked, this,
            [this] { showPage(HistoryPageIndex); });
    connect(cmdtool[ToolParams], &QPushButton::clicked, this,
            [this] { showPage(ParamsPageIndex); });
    connect(cmdtool[ToolPassword], &QPushButton::clicked, this, &FrmNew::openPasswordDialog);
    connect(cmdtool[ToolAbout], &QPushButton::clicked, this, &FrmNew::openAbout);
    connect(cmdtool[ToolHelp], &QPushButton::clicked, this, &FrmNew::openHelp);
    connect(cmdtool[ToolExit], &QPushButton::clicked, this, &QWidget::close);
}

void FrmNew::colourToolbar(QPushButton* focused) {
    for (QPushButton* b : cmdtool) {
        const bool current = b == focused;
        const QColor fill = current ? QColor(Qt::white) : menuBackground();
        b->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; border: 1px solid %2;"
                           " border-radius: 4px; padding: 6px; }"
                           " QPushButton:hover { border-color: #5b86c5; }"
                           " QPushButton:pressed { background-color: #dfe8f5; }")
                .arg(fill.name(), current ? QStringLiteral("#5b86c5") : QStringLiteral("#b0b0b0")));
        QPalette pal = b->palette();
        pal.setColor(QPalette::Button, fill);
        b->setPalette(pal);
    }
}

bool FrmNew::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::FocusIn) {
        for (QPushButton* b : cmdtool) {
            if (b == watched) {
                colourToolbar(b);
            }
        }
    }
    return QWidget::eventFilter(watched, e);
}

void FrmNew::load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    buildPricingPage();
    pricingPage_->selectStartingEntries();
    fillPaperLists();
    setWindowTitle(applicationTitle());
    labti[1]->setText(QStringLiteral("欢迎使用墨衡印件计价系统！"));
    const inkquot::CivilDate today = clock_.today();
    labti[2]->setText(fromUtf8(inkquot::longDateText(today)));
    // The scheme is chosen now, the page that edits it is built when first
    // shown: the working tables must be the current scheme's before the
    // first price, the editors are needed only when someone opens them.
    schemePanel()->refresh();
    loadDay_ = today;
    if (historyPage_) {
        historyPage_->initCutoffDate(today);
    }
}

void FrmNew::fillPaperLists() {
    // Only the names are needed here; list position + 1 is the record number.
    auto names = [](const std::vector<std::string>& names) {
        QStringList out;
        for (const std::string& name : names) {
            out << fromUtf8(name);
        }
        return out;
    };
    if (!pricingPage_) {
        return;  // the page reads them when it is built and loaded
    }
    const inkquot::PaperNames paperNames = inkquot::readPaperNames(folder_);
    pricingPage_->fillPaperLists(names(paperNames.papers));
    pricingPage_->fillStickerPaperList(names(paperNames.stickerPapers));
}

void FrmNew::showPage(int page) {
    if (page < 0 || page >= int(piccaidanzi.size())) {
        return;
    }
    // The pricing page waits for load(), which fills it.
    if (page != PricingPageIndex || loaded_) {
        buildPage(page);
    }
    if (page != pages_->currentIndex()) {
        // A hint speaks of the page that gave it; it goes with that page.
        labti[1]->clear();
    }
    pages_->setCurrentIndex(page);
    for (int i = 0; i < int(piccaidanzi.size()); ++i) {
        piccaidanzi[std::size_t(i)]->setEnabled(i == page);
    }
}

int FrmNew::currentPage() const {
    return pages_->currentIndex();
}

FrmAbout* FrmNew::aboutBox() const {
    return about_;
}

HelpWindow* FrmNew::helpWindow() const {
    return help_;
}

bool FrmNew::event(QEvent* e) {
    // The password is asked when the window first becomes active. Where no
    // window manager activates it (a bare X server), showing it is enough:
    // the program is never usable without the password.
    const bool firstSight = e->type() == QEvent::WindowActivate || e->type() == QEvent::Show;
    if (firstSight && !passwordAsked_ && !passwordQueued_) {
        passwordQueued_ = true;
        // Asked after the event has been handled, not inside it.
        QTimer::singleShot(0, this, [this] { askPasswordOnce(); });
        // A window shown before it was loaded loads next: while the prompt
        // waits for its answer, or after it where the answer comes at once.
        // A wrong answer closes the window and nothing is loaded.
        QTimer::singleShot(0, this, [this] {
            if (!closing_) {
                load();
            }
        });
    }
    return QWidget::event(e);
}

bool FrmNew::askPasswordOnce() {
    if (passwordAsked_) {
        return true;
    }
    passwordAsked_ = true;
    const auto stored = readStoredPassword(folder_);
    const auto answer = dialogs_.input(this, QStringLiteral("请输入密码（初始密码为604172）"),
                                       QStringLiteral("604172"), true);
    if (!answer || !passwordMatches(*answer, stored)) {
        dialogs_.plain(this, QStringLiteral("密码错误！"));
        close();
        return false;
    }
    return true;
}

void FrmNew::trackWindow(QWidget* window) {
    std::erase_if(openWindows_, [](const QPointer<QWidget>& w) { return w.isNull(); });
    openWindows_.emplace_back(window);
}

void FrmNew::openPasswordDialog() {
    FrmPass dialog(folder_, dialogs_, this);
    dialog.exec();
}

void FrmNew::openAbout() {
    if (!about_) {
        about_ = new FrmAbout(folder_.root(), this);
        about_->setAttribute(Qt::WA_DeleteOnClose);
        trackWindow(about_);
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void FrmNew::openHelp() {
    // A help file in the program folder opens in whatever the desktop uses
    // for it (a desktop that cannot open it leaves the click without
    // effect). Without one, the guide built into the program opens at the
    // page of the screen in view.
    const auto file = folder_.file("inkquot.chm");
    std::error_code ec;
    if (std::filesystem::is_regular_file(file, ec)) {
        helpOpener_(QUrl::fromLocalFile(QString::fromStdString(file.string())));
        return;
    }
    if (!help_) {
        help_ = new HelpWindow(this);
        help_->setAttribute(Qt::WA_DeleteOnClose);
        trackWindow(help_);
    }
    static const char* const kScreenPages[] = {"pricing.html", "history.html", "params.html"};
    help_->showPage(QString::fromLatin1(kScreenPages[std::clamp(currentPage(), 0, 2)]));
    help_->show();
    help_->raise();
    help_->activateWindow();
}

bool FrmNew::mayLeave() {
    QStringList lost;
    if (pricingRun_ != nullptr && pricingRun_->resultUnsaved()) {
        lost << QStringLiteral("计价结果还没有保存到历史记录。");
    }
    if (jobFiles_ != nullptr && jobFiles_->jobChangedSinceFile()) {
        lost << QStringLiteral("印件改动后还没有保存到印件文件。");
    }
    if (lost.isEmpty()) {
        return true;
    }
    return dialogs_.confirm(this, lost.join(QLatin1Char('\n')) + QStringLiteral("\n确定要退出吗？"),
                            Dialogs::Icon::Question, false);
}

void FrmNew::closeEvent(QCloseEvent* e) {
    if (closing_) {
        e->accept();
        return;
    }
    if (!mayLeave()) {
        e->ignore();
        return;
    }
    closing_ = true;
    for (auto it = openWindows_.rbegin(); it != openWindows_.rend(); ++it) {
        if (!it->isNull() && (*it)->isVisible()) {
            (*it)->close();
        }
    }
    openWindows_.clear();
    // Any other window of the program goes too.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && !w->isAncestorOf(this)) {
            w->close();
        }
    }
    e->accept();
    emit closed();
}
