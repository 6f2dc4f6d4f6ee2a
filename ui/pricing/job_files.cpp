#include "ui/pricing/job_files.h"

#include <QBoxLayout>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QToolButton>
#include <filesystem>

#include "core/common/file_io.h"
#include "core/costing/control_catalogue.h"
#include "core/job/job_description.h"
#include "core/job/job_file.h"
#include "core/job/recent_jobs.h"
#include "ui/common/dialogs.h"
#include "ui/common/layout_search.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/pricing_page.h"
#include "ui/pricing/pricing_run.h"

namespace {

using inkquot::Ctl;
using nlohmann::json;

// A job file is a few kilobytes; anything much larger is not one.
constexpr std::size_t kMaxJobFileBytes = 1024 * 1024;

const QString kFilter = QStringLiteral("印件文件 (*.inkjob)");

// The recent list holds each job once, by its absolute path with '/' as
// the separator, however the path reached the screen.
std::string recentEntry(const QString& path) {
    return toUtf8(QFileInfo(path).absoluteFilePath());
}

QString fileNamed(const QString& path) {
    return QStringLiteral("印件文件“%1”").arg(QFileInfo(path).fileName());
}

// A form with the screen's starting contents and the paper names the screen
// lists now (those of the current price scheme).
inkquot::FormState startingForm(const PricingPage& page) {
    const inkquot::FormState shown = page.captureJob();
    inkquot::FormState form;
    form.setPaperNames(shown.items(Ctl::Ncomzhi, 0));
    form.setStickerPaperNames(shown.items(Ctl::Nzhibu, 0));
    return form;
}

// The first control whose value differs between two job descriptions, as
// "Ncomkai(5)" (or "comleibie" for the kind).
std::string firstDifference(const json& a, const json& b) {
    if (a.value("kind", -1) != b.value("kind", -1)) {
        return "comleibie";
    }
    const json none = json::object();
    const json& ca = a.contains("controls") ? a["controls"] : none;
    const json& cb = b.contains("controls") ? b["controls"] : none;
    for (const json* controls : {&ca, &cb}) {
        const json& other = controls == &ca ? cb : ca;
        for (const auto& [name, value] : controls->items()) {
            const json missing;
            const json& there = other.contains(name) ? other[name] : missing;
            if (!value.is_object()) {
                if (value != there) {
                    return name;
                }
                continue;
            }
            for (const auto& [index, item] : value.items()) {
                if (!there.is_object() || !there.contains(index) || there[index] != item) {
                    return name + "(" + index + ")";
                }
            }
        }
    }
    return {};
}

QString safeFileName(QString name) {
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || c == QChar(0x7f) || QStringLiteral("/\\:*?\"<>|").contains(c)) {
            c = QChar(u'_');
        }
    }
    name = name.trimmed();
    if (name.isEmpty() || name.count(QChar(u'.')) == name.size()) {
        name = QStringLiteral("印件");
    }
    return name;
}

}  // namespace

std::optional<QString> QtJobFileChooser::chooseJobToOpen(QWidget* parent, const QString& folder) {
    const QString file =
        QFileDialog::getOpenFileName(parent, QStringLiteral("打开印件"), folder, kFilter);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    return file;
}

std::optional<QString> QtJobFileChooser::chooseJobToSave(QWidget* parent,
                                                         const QString& proposedPath) {
    QString file =
        QFileDialog::getSaveFileName(parent, QStringLiteral("保存印件"), proposedPath, kFilter);
    if (file.isEmpty()) {
        return std::nullopt;
    }
    if (!file.endsWith(QString::fromUtf8(inkquot::kJobFileSuffix), Qt::CaseInsensitive)) {
        file += QString::fromUtf8(inkquot::kJobFileSuffix);
    }
    return file;
}

JobFiles::JobFiles(PricingPage& page, PricingRun& run, const inkquot::ProgramFolder& folder,
                   Dialogs& dialogs, QObject* parent)
    : QObject(parent),
      page_(page),
      run_(run),
      folder_(folder),
      dialogs_(dialogs),
      chooser_(std::make_unique<QtJobFileChooser>()) {
    cmdopenjob = new QPushButton(QStringLiteral("打开印件…"));
    cmdopenjob->setObjectName(QStringLiteral("cmdopenjob"));
    cmdopenjob->setToolTip(QStringLiteral("打开保存的印件 (Ctrl+O)"));
    cmdsavejob = new QPushButton(QStringLiteral("保存印件…"));
    cmdsavejob->setObjectName(QStringLiteral("cmdsavejob"));
    cmdsavejob->setToolTip(QStringLiteral("把当前印件保存为文件 (Ctrl+S)"));
    cmdrecent = new QToolButton;
    cmdrecent->setObjectName(QStringLiteral("cmdrecent"));
    cmdrecent->setText(QStringLiteral("最近印件"));
    cmdrecent->setToolTip(QStringLiteral("最近打开或保存的印件"));
    cmdrecent->setPopupMode(QToolButton::InstantPopup);
    recentMenu_ = new QMenu(cmdrecent);
    cmdrecent->setMenu(recentMenu_);
    for (QPushButton* b : {cmdopenjob, cmdsavejob}) {
        b->setAutoDefault(false);
    }

    // Left of the command buttons, in their row.
    if (QBoxLayout* row = boxLayoutHolding(page_.layout(), page_.cmdjijia[0])) {
        row->insertWidget(0, cmdopenjob);
        row->insertWidget(1, cmdsavejob);
        row->insertWidget(2, cmdrecent);
    } else {
        for (QWidget* w : std::initializer_list<QWidget*>{cmdopenjob, cmdsavejob, cmdrecent}) {
            w->setParent(&page_);
        }
    }

    connect(cmdopenjob, &QPushButton::clicked, this, [this] { openJob(); });
    connect(cmdsavejob, &QPushButton::clicked, this, [this] { saveJob(); });
    connect(recentMenu_, &QMenu::aboutToShow, this, &JobFiles::fillRecentMenu);
    auto* save = new QShortcut(QKeySequence::Save, &page_);
    auto* open = new QShortcut(QKeySequence::Open, &page_);
    for (QShortcut* s : {save, open}) {
        s->setContext(Qt::WidgetWithChildrenShortcut);
    }
    connect(save, &QShortcut::activated, this, [this] { saveJob(); });
    connect(open, &QShortcut::activated, this, [this] { openJob(); });
}

JobFiles::~JobFiles() = default;

void JobFiles::setChooser(std::unique_ptr<JobFileChooser> chooser) {
    chooser_ = std::move(chooser);
}

QStringList JobFiles::recentJobs() const {
    QStringList out;
    for (const std::string& path : inkquot::readRecentJobs(folder_)) {
        out << fromUtf8(path);
    }
    return out;
}

void JobFiles::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList paths = recentJobs();
    if (paths.isEmpty()) {
        recentMenu_->addAction(QStringLiteral("（没有最近的印件）"))->setEnabled(false);
        return;
    }
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        QAction* a = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(QFileInfo(path).fileName()));
        a->setToolTip(path);
        a->setStatusTip(path);
        connect(a, &QAction::triggered, this, [this, path] { openJobFile(path); });
    }
}

QString JobFiles::proposedSavePath() const {
    const int kind = page_.listIndex(Ctl::comleibie);
    const QString name = fromUtf8(page_.text(Ctl::txtkehuming, kind)) + QStringLiteral("-") +
                         fromUtf8(page_.text(Ctl::txtyinjianming, kind));
    // Beside the job saved or opened last, else in the documents folder.
    QString folder;
    const QStringList recent = recentJobs();
    if (!recent.isEmpty() && QFileInfo(recent.front()).dir().exists()) {
        folder = QFileInfo(recent.front()).absolutePath();
    } else {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists()) {
            folder = QDir::homePath();
        }
    }
    return QDir(folder).filePath(safeFileName(name) + QString::fromUtf8(inkquot::kJobFileSuffix));
}

bool JobFiles::saveJob() {
    const json description = inkquot::describeJob(page_.captureJob());
    // What is saved must open again: an entry the screen would refuse when
    // its box is left (the shortcut leaves no box) is refused here.
    try {
        inkquot::FormState check = startingForm(page_);
        inkquot::readJobFileText(inkquot::jobFileText(description), "印件", check);
    } catch (const inkquot::JobRefused& e) {
        dialogs_.warning(&page_, QStringLiteral("印件的内容有误，未保存：") + fromUtf8(e.what()));
        return false;
    }
    const auto chosen = chooser_->chooseJobToSave(&page_, proposedSavePath());
    if (!chosen) {
        return false;
    }
    const inkquot::IoStatus status = inkquot::writeJobFile(toPath(*chosen), description);
    if (!status && status.error != inkquot::IoError::NotDurable) {
        dialogs_.warning(&page_, QStringLiteral("保存失败：") + fromUtf8(status.message));
        return false;
    }
    inkquot::rememberRecentJob(folder_, recentEntry(*chosen));
    fileJob_ = description;
    rememberCustomerShown();
    if (!status) {
        dialogs_.warning(&page_, fromUtf8(status.message));
    }
    return true;
}

void JobFiles::rememberCustomerShown() {
    const int kind = page_.listIndex(Ctl::comleibie);
    if (kind >= 0) {
        page_.rememberCustomer(fromUtf8(page_.text(Ctl::txtkehuming, kind)).trimmed());
    }
}

bool JobFiles::jobChangedSinceFile() const {
    return fileJob_ && inkquot::describeJob(page_.captureJob()) != *fileJob_;
}

bool JobFiles::openJob() {
    const QStringList recent = recentJobs();
    QString folder = recent.isEmpty() ? QString() : QFileInfo(recent.front()).absolutePath();
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }
    const auto chosen = chooser_->chooseJobToOpen(&page_, folder);
    return chosen && openJobFile(*chosen);
}

bool JobFiles::openJobFile(const QString& path) {
    std::string text;
    const inkquot::IoStatus read = inkquot::readWholeFile(toPath(path), text, kMaxJobFileBytes);
    if (!read) {
        if (read.error == inkquot::IoError::Missing) {
            inkquot::forgetRecentJob(folder_, recentEntry(path));
        }
        const QString why = read.error == inkquot::IoError::TooLarge
                                ? fileNamed(path) + QStringLiteral("过大，不是印件文件。")
                                : fromUtf8(read.message);
        dialogs_.warning(&page_, QStringLiteral("打开印件失败：") + why);
        return false;
    }
    if (!showJobText(text, fileNamed(path))) {
        return false;
    }
    inkquot::rememberRecentJob(folder_, recentEntry(path));
    return true;
}

bool JobFiles::showJobText(const std::string& text, const QString& where) {
    inkquot::FormState job = startingForm(page_);
    try {
        inkquot::readJobFileText(text, toUtf8(where), job);
    } catch (const inkquot::JobRefused& e) {
        dialogs_.warning(&page_, QStringLiteral("打开印件失败：") + fromUtf8(e.what()));
        return false;
    }
    const json wanted = inkquot::describeJob(job);
    const inkquot::FormState before = page_.captureJob();
    const bool showedResult = run_.showingResult();
    if (showedResult) {
        run_.press(0);  // back to the entry panel, as "重新开始" does
    }
    page_.applyJob(job);
    const json shown = inkquot::describeJob(page_.captureJob());
    if (shown != wanted) {
        // A value the screen cannot hold as saved: the screen goes back to
        // what it showed.
        page_.applyJob(before);
        dialogs_.warning(&page_, QStringLiteral("打开印件失败：%1: %2: 计价页面无法显示这个值")
                                     .arg(where, fromUtf8(firstDifference(wanted, shown))));
        return false;
    }
    page_.showPanel(page_.listIndex(Ctl::comleibie));
    fileJob_ = shown;
    rememberCustomerShown();
    return true;
}
