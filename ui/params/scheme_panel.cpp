#include "ui/params/scheme_panel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <vector>

#include "core/pricedata/default_scheme.h"
#include "core/pricedata/install.h"
#include "core/pricedata/scheme_list.h"
#include "core/pricedata/scheme_ops.h"
#include "core/pricedata/table_damage.h"
#include "ui/common/dialogs.h"
#include "ui/common/sized_list.h"
#include "ui/common/utf8_text.h"

namespace {

const QString kBuiltIn = QString::fromUtf8(inkquot::kDefaultSchemeName);

}  // namespace

SchemePanel::SchemePanel(const inkquot::ProgramFolder& folder, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent), folder_(folder), dialogs_(dialogs) {
    setObjectName(QStringLiteral("schemePanel"));
    label = new QLabel(QStringLiteral("请选择价格方案"), this);
    Cmbfangan = new SizedList(this);  // as wide as the longest scheme name
    Cmbfangan->setObjectName(QStringLiteral("Cmbfangan"));
    Cmbfangan->setEditable(false);
    Cmbfangan->setMinimumWidth(220);
    label->setBuddy(Cmbfangan);

    const char* captions[4] = {"删除所选方案", "导出价格方案", "刷新", "修复系统默认数据"};
    for (int i = 0; i < 4; ++i) {
        Cmdf[std::size_t(i)] = new QPushButton(QString::fromUtf8(captions[i]), this);
        Cmdf[std::size_t(i)]->setObjectName(QStringLiteral("Cmdf%1").arg(i));
        Cmdf[std::size_t(i)]->setMinimumHeight(30);
        Cmdf[std::size_t(i)]->setMinimumWidth(Cmdf[std::size_t(i)]->sizeHint().width() + 24);
    }
    connect(Cmdf[DeleteButton], &QPushButton::clicked, this, &SchemePanel::deleteSelected);
    connect(Cmdf[ExportButton], &QPushButton::clicked, this, &SchemePanel::exportScheme);
    connect(Cmdf[RefreshButton], &QPushButton::clicked, this, &SchemePanel::refresh);
    connect(Cmdf[RepairButton], &QPushButton::clicked, this, &SchemePanel::repairDefaultScheme);
    // A choice in the list makes that scheme current, even when it is the
    // entry already shown: choosing it again reloads its stored tables.
    connect(Cmbfangan, &QComboBox::activated, this, [this](int index) { selectEntry(index); });

    auto* chooser = new QHBoxLayout;
    chooser->setSpacing(8);
    chooser->addWidget(label);
    chooser->addWidget(Cmbfangan);
    chooser->addStretch(1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    for (QPushButton* b : Cmdf) {
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addLayout(chooser);
    layout->addLayout(buttons);
}

QStringList SchemePanel::entries() const {
    QStringList out;
    for (int i = 0; i < Cmbfangan->count(); ++i) {
        out << Cmbfangan->itemText(i);
    }
    return out;
}

bool SchemePanel::offerRestore(const QString& problem) {
    const QString question = problem + QStringLiteral("\n\n要重新写入系统默认方案吗？");
    if (!dialogs_.confirm(this, question, Dialogs::Icon::Exclamation, true)) {
        return false;
    }
    const auto status = inkquot::installProgramFolder(folder_);
    if (!status.ok()) {
        dialogs_.warning(this, fromUtf8(status.message));
        return false;
    }
    return true;
}

void SchemePanel::loadSchemeList() {
    const QSignalBlocker block(Cmbfangan);
    Cmbfangan->clear();
    std::vector<std::string> names;
    auto status = inkquot::readSchemeList(folder_.schemeList(), names);
    if (!status.ok()) {
        // The list can be written anew with the built-in scheme.
        names.clear();
        if (offerRestore(fromUtf8(status.message))) {
            status = inkquot::readSchemeList(folder_.schemeList(), names);
            if (!status.ok()) {
                names.clear();
                dialogs_.warning(this, fromUtf8(status.message));
            }
        }
    } else if (names.empty()) {
        const auto file = QString::fromStdString(folder_.schemeList().string());
        if (offerRestore(QStringLiteral("价格方案列表“%1”中没有任何方案。").arg(file))) {
            inkquot::readSchemeList(folder_.schemeList(), names);
        }
    }
    // Without a list to choose from, the built-in scheme, which the program
    // can always write anew, is still offered.
    if (names.empty()) {
        names.emplace_back(inkquot::kDefaultSchemeName);
    }
    for (const auto& name : names) {
        Cmbfangan->addItem(fromUtf8(name));
    }
    Cmbfangan->setCurrentIndex(-1);
    restoreSelectorTo(current_);
}

void SchemePanel::restoreSelectorTo(const QString& name) {
    const QSignalBlocker block(Cmbfangan);
    Cmbfangan->setCurrentIndex(name.isEmpty() ? -1 : Cmbfangan->findText(name, Qt::MatchExactly));
}

bool SchemePanel::selectEntry(int index) {
    if (index < 0 || index >= Cmbfangan->count()) {
        return false;
    }
    const QString name = Cmbfangan->itemText(index);
    {
        const QSignalBlocker block(Cmbfangan);
        Cmbfangan->setCurrentIndex(index);
    }
    std::vector<std::string> damage;
    auto status = inkquot::selectScheme(folder_, toUtf8(name), &damage);
    if (!status.ok() && name == kBuiltIn && status.error == inkquot::IoError::Missing) {
        if (offerRestore(fromUtf8(status.message))) {
            damage.clear();
            status = inkquot::selectScheme(folder_, toUtf8(name), &damage);
        } else {
            status = inkquot::IoStatus::failure(inkquot::IoError::Missing, {});
        }
    }
    if (!status.ok()) {
        if (!status.message.empty()) {
            dialogs_.warning(this, fromUtf8(status.message));
        }
        // The working tables are still those of the scheme current before.
        restoreSelectorTo(current_);
        return false;
    }
    current_ = name;
    warnAboutDamage(damage);
    emit schemeSelected();
    return true;
}

void SchemePanel::warnAboutDamage(const std::vector<std::string>& damage) {
    // The damaged tables are copied all the same (they price as they always
    // did); the user hears of each fault once.
    QStringList fresh;
    for (const auto& p : damage) {
        if (toldDamage_.insert(p).second) {
            fresh << fromUtf8(p);
        }
    }
    if (fresh.isEmpty()) {
        return;
    }
    if (current_ == kBuiltIn) {
        fresh << fromUtf8(std::string(inkquot::kRepairSuggestion));
    }
    dialogs_.warning(this, fresh.join(QLatin1Char('\n')));
}

void SchemePanel::refresh() {
    loadSchemeList();
    selectEntry(0);
}

void SchemePanel::deleteSelected() {
    const int index = Cmbfangan->currentIndex();
    if (index < 0) {
        dialogs_.beep();
        return;
    }
    const QString name = Cmbfangan->itemText(index);
    if (name == kBuiltIn) {
        dialogs_.warning(this, QStringLiteral("系统默认方案，不能删除！"));
        return;
    }
    // A deletion cannot be taken back; a slip of the mouse must not cost a
    // shop its prices.
    if (!dialogs_.confirm(this, QStringLiteral("确定要删除价格方案“%1”吗？").arg(name),
                          Dialogs::Icon::Question, false)) {
        return;
    }
    // Starts as the selector's list; holds the names listed afterwards. The
    // list and the scheme's files change together or not at all.
    std::vector<std::string> remaining;
    for (const QString& entry : entries()) {
        remaining.push_back(toUtf8(entry));
    }
    const auto status = inkquot::deleteScheme(folder_, toUtf8(name), remaining);
    const bool unlisted =
        std::find(remaining.begin(), remaining.end(), toUtf8(name)) == remaining.end();
    if (!status.ok()) {
        dialogs_.warning(this, fromUtf8(status.message));
    }
    if (!unlisted) {
        return;
    }
    // The selector shows the list as it now stands on disk (a scheme
    // exported since the last refresh stays listed and appears here).
    {
        const QSignalBlocker block(Cmbfangan);
        Cmbfangan->clear();
        for (const auto& n : remaining) {
            Cmbfangan->addItem(fromUtf8(n));
        }
        if (remaining.empty()) {
            Cmbfangan->addItem(kBuiltIn);
        }
    }
    if (current_ == name) {
        current_.clear();
    }
    if (Cmbfangan->count() > 0) {
        selectEntry(0);
    } else {
        restoreSelectorTo(current_);
    }
}

void SchemePanel::exportScheme() {
    const auto answer = dialogs_.input(
        this,
        QStringLiteral("您可将改动并保存过的基本数据，纸价数据和工价数据导出，以便永久使用。\n"
                       "请输入价格方案名称。"),
        QStringLiteral("方案一"), false);
    if (!answer || answer->isEmpty()) {
        return;
    }
    // Blanks typed around a name are not part of it; a name of blanks only
    // is refused with the reason.
    const QString name = answer->trimmed();
    // Refuses a listed name ("方案名已存在!") or one that cannot name files,
    // before anything is copied.
    if (const auto status = inkquot::exportScheme(folder_, toUtf8(name)); !status.ok()) {
        dialogs_.warning(this, fromUtf8(status.message));
    }
}

void SchemePanel::repairDefaultScheme() {
    if (!dialogs_.confirm(this, QStringLiteral("将要修复系统默认方案的数据，继续吗？"),
                          Dialogs::Icon::Information, true)) {
        return;
    }
    if (const auto status = inkquot::RepairDefaultSchemeFiles(folder_); !status.ok()) {
        dialogs_.warning(this, fromUtf8(status.message));
        return;
    }
    // Only the stored files are rewritten: prices are taken from the working
    // tables, which the built-in scheme's repaired files replace when it is
    // next selected.
    QString done = QStringLiteral("修复完毕！");
    if (current_ == kBuiltIn) {
        done +=
            Cmbfangan->itemText(0) == kBuiltIn
                ? QStringLiteral("\n“系统默认”是当前方案：点击“刷新”后，修复后的价格才用于计价。")
                : QStringLiteral(
                      "\n“系统默认”是当前方案：在“请选择价格方案”中重新选择它后，"
                      "修复后的价格才用于计价。");
    }
    dialogs_.plain(this, done);
}
