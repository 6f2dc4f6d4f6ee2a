#include "ui/pricing/pricing_page.h"

#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QStringListModel>
#include <QVBoxLayout>
#include <stdexcept>

#include "core/costing/control_catalogue.h"
#include "core/job/job_copy.h"
#include "ui/common/dialogs.h"
#include "ui/common/utf8_text.h"
#include "ui/pricing/frmkai.h"
#include "ui/pricing/leave_guard.h"

using inkquot::Ctl;

PricingPage::PricingPage(Dialogs& dialogs, HintLine hintLine, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), hintLine_(std::move(hintLine)) {
    setObjectName(QStringLiteral("pricingPage"));
    guard_ = new LeaveGuard(this);
    calculator_ = [this](int page, inkquot::JobForm& form) {
        FrmKai::run(this, page, form, dialogs_);
    };
    buildControls();

    panels_ = new QStackedWidget;
    picjijia = {buildBookPanel(), buildNewspaperPanel(), buildSingleSheetPanel(),
                buildBoxPanel(),  buildStickerPanel(),   buildResultPanel()};
    for (std::size_t i = 0; i < picjijia.size(); ++i) {
        picjijia[i]->setObjectName(QStringLiteral("picjijia_%1").arg(i));
        panels_->addWidget(picjijia[i]);
    }

    const char* captions[3] = {"开始计价", "保存结果", "生成价格表"};
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(10);
    buttons->addStretch(1);
    for (std::size_t i = 0; i < cmdjijia.size(); ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions[i]));
        b->setObjectName(QStringLiteral("cmdjijia_%1").arg(i));
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
        cmdjijia[i] = b;
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, i] { emit commandPressed(int(i)); });
    }
    cmdjijia[1]->setEnabled(false);  // nothing to save before a run

    auto* top = new QHBoxLayout;
    top->setSpacing(6);
    auto* kindLabel = new QLabel(fromUtf8(inkquot::controlDef(Ctl::comleibie).entries[0].caption));
    top->addWidget(kindLabel);
    top->addWidget(controlWidget(Ctl::comleibie));
    top->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(panels_);
    layout->addLayout(buttons);
    layout->addStretch(1);

    wireEvents();
    showEveryControl();
    showPanel(0);
    selectStartingEntries();
}

PricingPage::~PricingPage() = default;

// ---------------------------------------------------------------------------
// Start, paper lists and whole jobs

void PricingPage::selectStartingEntries() {
    setListIndex(Ctl::comleibie, 0, 0);
    for (Ctl c : {Ctl::Comyinji, Ctl::Ncomke, Ctl::Ncomyinse, Ctl::Ncomzhuanse, Ctl::Ncomdu,
                  Ctl::Comnd, Ctl::Cmbfeilin, Ctl::comjiao}) {
        for (int i = 0; i < inkquot::controlDef(c).count(); ++i) {
            setListIndex(c, i, 0);
        }
    }
    setListIndex(Ctl::Cmbdin, 0, 0);
    setListIndex(Ctl::Cmbzheci, 0, 0);
}

namespace {

std::vector<std::string> utf8List(const QStringList& names) {
    std::vector<std::string> out;
    out.reserve(std::size_t(names.size()));
    for (const QString& n : names) {
        out.push_back(toUtf8(n));
    }
    return out;
}

}  // namespace

void PricingPage::fillPaperLists(const QStringList& paperNames) {
    handOver([&](inkquot::FormState& m) { m.setPaperNames(utf8List(paperNames)); });
}

void PricingPage::fillStickerPaperList(const QStringList& stickerPaperNames) {
    handOver([&](inkquot::FormState& m) { m.setStickerPaperNames(utf8List(stickerPaperNames)); });
}

void PricingPage::offerCustomers(const QStringList& customers) {
    if (customers_ == nullptr) {
        customers_ = new QStringListModel(this);
        for (int kind = 0; kind < inkquot::controlDef(Ctl::txtkehuming).count(); ++kind) {
            auto* completer = new QCompleter(customers_, this);
            completer->setFilterMode(Qt::MatchContains);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            completer->setMaxVisibleItems(10);
            lineEdit(Ctl::txtkehuming, kind)->setCompleter(completer);
        }
    }
    customers_->setStringList(customers);
}

void PricingPage::rememberCustomer(const QString& customer) {
    if (customers_ == nullptr || customer.trimmed().isEmpty()) {
        return;
    }
    QStringList names = customers_->stringList();
    names.removeAll(customer);
    names.prepend(customer);
    customers_->setStringList(names);
}

void PricingPage::applyJob(const inkquot::JobForm& job) {
    copyJob(job, *this);
}

inkquot::FormState PricingPage::captureJob() const {
    inkquot::FormState job = model_;
    job.clearWarnings();
    job.takeChanges();
    job.takeHints();
    return job;
}

// ---------------------------------------------------------------------------
// Panels and part frames

void PricingPage::showPanel(int panel) {
    if (panel < 0 || panel >= int(picjijia.size())) {
        return;
    }
    panels_->setCurrentIndex(panel);
    for (int i = 0; i < int(picjijia.size()); ++i) {
        QWidget* p = picjijia[std::size_t(i)];
        p->setEnabled(i == panel);
        // The page is as tall as the panel shown, so the command buttons
        // sit right below it.
        p->setSizePolicy(i == panel ? QSizePolicy::Preferred : QSizePolicy::Ignored,
                         i == panel ? QSizePolicy::Preferred : QSizePolicy::Ignored);
    }
    panels_->updateGeometry();
}

int PricingPage::shownPanel() const {
    return panels_->currentIndex();
}

int PricingPage::shownPartFrame(Ctl control) const {
    const auto which = std::size_t(partListNumber(partList(control)));
    const auto& frames = partFrames_[which];
    const QStackedWidget* stack = partStacks_[which];
    for (std::size_t i = 0; i < frames.size(); ++i) {
        if (stack->currentWidget() == frames[i]) {
            return int(i);
        }
    }
    return -1;
}

void PricingPage::clickPartItem(Ctl control, int item) {
    QListWidget* l = partList(control);
    if (item < 0 || item >= l->count()) {
        throw std::out_of_range("no item " + std::string(inkquot::controlName(control)) + "(" +
                                std::to_string(item) + ")");
    }
    const auto which = std::size_t(partListNumber(l));
    if (l->currentRow() != item) {
        clickingPart_ = true;
        l->setCurrentRow(item);
        clickingPart_ = false;
    }
    // One common place for the part frames: the clicked part's frame shows,
    // the others go out of sight.
    partStacks_[which]->setCurrentWidget(partFrames_[which][std::size_t(item)]);
    handOver([&](inkquot::FormState& m) { m.clickPartItem(control, item); });
}

void PricingPage::hint(const QString& text) {
    if (hintLine_) {
        hintLine_(text);
    }
}

void PricingPage::openCalculator(int p) {
    if (calculator_) {
        calculator_(p, *this);
    }
}
