// The screen and the plain form must be the same job to the costing: every
// read gives the same answer and a pricing run the same result, for many
// jobs described at random (fixed seed).

#include <QtTest>
#include <cstring>
#include <memory>
#include <random>

#include "core/costing/control_catalogue.h"
#include "core/job/form_state.h"
#include "core/costing/price_job.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/pricing/pricing_page.h"

using inkquot::CheckState;
using inkquot::ControlDef;
using inkquot::ControlKind;
using inkquot::Ctl;
using inkquot::FormState;
using inkquot::JobForm;

namespace {

// Every read the costing can make, each with the control that gave it.
QStringList reads(const JobForm& form) {
    QStringList out;
    for (const ControlDef& d : inkquot::controlCatalogue()) {
        const QString name = QString::fromLatin1(d.name.data(), qsizetype(d.name.size()));
        for (int i = 0; i < d.count(); ++i) {
            const QString at = QStringLiteral("%1(%2)").arg(name).arg(i);
            switch (d.kind) {
                case ControlKind::PartList:
                    for (int item = 0; item < int(d.entries[0].items.size()); ++item) {
                        out << QStringLiteral("%1[%2] %3")
                                   .arg(at)
                                   .arg(item)
                                   .arg(form.ticked(d.control, item));
                    }
                    break;
                case ControlKind::OptionGroup:
                    out << QStringLiteral("%1 option %2").arg(at).arg(form.option(d.control));
                    out << QStringLiteral("%1 '%2'").arg(
                        at, QString::fromStdString(form.text(d.control, i)));
                    break;
                case ControlKind::CheckBox:
                    out << QStringLiteral("%1 check %2")
                               .arg(at)
                               .arg(int(form.checkState(d.control, i)));
                    break;
                case ControlKind::TextList:
                case ControlKind::PositionList:
                    out << QStringLiteral("%1 #%2").arg(at).arg(form.listIndex(d.control, i));
                    [[fallthrough]];
                case ControlKind::TextBox:
                    out << QStringLiteral("%1 '%2'").arg(
                        at, QString::fromStdString(form.text(d.control, i)));
                    break;
            }
        }
    }
    return out;
}

QStringList switchedOn(const FormState& state) {
    QStringList out;
    for (int j = 0; j < inkquot::kPartCount; ++j) {
        out << QStringLiteral("Cmbkaizhi(%1) %2").arg(j).arg(state.enabled(Ctl::Cmbkaizhi, j));
        out << QStringLiteral("Chkzifan(%1) %2").arg(j).arg(state.enabled(Ctl::Chkzifan, j));
    }
    return out;
}

QStringList switchedOn(const PricingPage& page) {
    QStringList out;
    for (int j = 0; j < inkquot::kPartCount; ++j) {
        out << QStringLiteral("Cmbkaizhi(%1) %2")
                   .arg(j)
                   .arg(page.controlEnabled(Ctl::Cmbkaizhi, j));
        out << QStringLiteral("Chkzifan(%1) %2").arg(j).arg(page.controlEnabled(Ctl::Chkzifan, j));
    }
    return out;
}

// Lines that differ, for a readable failure.
QString differences(const QStringList& a, const QStringList& b) {
    QStringList out;
    for (int i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QString x = i < a.size() ? a[i] : QString();
        const QString y = i < b.size() ? b[i] : QString();
        if (x != y) {
            out << x + QStringLiteral("  <>  ") + y;
        }
    }
    return out.join(QLatin1Char('\n'));
}

QString costText(const inkquot::PriceOutcome& outcome, const inkquot::CostResult& r) {
    QStringList out{QString::fromStdString(outcome.refusal)};
    for (const auto& f : inkquot::kCostResultFields) {
        std::uint32_t bits = 0;
        const float v = r.*f.member;
        std::memcpy(&bits, &v, sizeof bits);
        out << QStringLiteral("%1=%2").arg(QString::fromLatin1(f.name)).arg(bits, 8, 16);
    }
    return out.join(QLatin1Char(' '));
}

// One job described at random: the kind, the size entries, the presses and
// their sheet sizes, the self-turn boxes, then anything else, each set
// through the form's own setters. Everything set is what the screen would
// accept, so neither form has a warning to give.
class RandomJob {
public:
    explicit RandomJob(std::mt19937& rng) : rng_(rng) {}

    void describe(FormState& reference, PricingPage& page) {
        auto both = [&](auto&& set) {
            set(static_cast<JobForm&>(reference));
            set(static_cast<JobForm&>(page));
        };
        const int kind = pick(5);
        both([&](JobForm& f) { f.setListIndex(Ctl::comleibie, 0, kind); });

        for (int g = 0; g < inkquot::kSizeGroupCount; ++g) {
            if (chance(0.5)) {
                const int series = pick(2);
                both([&](JobForm& f) { f.setListIndex(Ctl::Ncomdu, g, series); });
            }
            if (chance(0.6)) {
                const int items = int(reference.items(Ctl::Ncomkai, g).size());
                switch (pick(3)) {
                    case 0: {
                        const int item = pick(items);
                        both([&](JobForm& f) { f.setListIndex(Ctl::Ncomkai, g, item); });
                        break;
                    }
                    case 1: {
                        const std::string text =
                            oneOf({"6", "12", "24", "3", "10", "48", "1", "0.5"});
                        both([&](JobForm& f) { f.setText(Ctl::Ncomkai, g, text); });
                        break;
                    }
                    default: {
                        const int item = pick(items);
                        reference.chooseKai(g, item);
                        page.chooseKai(g, item);
                        break;
                    }
                }
            }
            if (chance(0.4)) {
                const std::string text = oneOf({"1", "2", "3", "4", "1.5"});
                both([&](JobForm& f) { f.setText(Ctl::Ntxtkaizhi, g, text); });
            }
        }
        for (int j = 0; j < inkquot::kPartCount; ++j) {
            if (chance(0.6)) {
                const int press = pick(int(reference.items(Ctl::Comyinji, j).size()));
                both([&](JobForm& f) { f.setListIndex(Ctl::Comyinji, j, press); });
            }
        }
        for (int j = 0; j < inkquot::kPartCount; ++j) {
            const int sizes = int(reference.items(Ctl::Cmbkaizhi, j).size());
            if (sizes > 0 && chance(0.4)) {
                const int size = pick(sizes);
                both([&](JobForm& f) { f.setListIndex(Ctl::Cmbkaizhi, j, size); });
            }
        }
        for (int j = 0; j < inkquot::kPartCount; ++j) {
            if (chance(0.2)) {
                const CheckState s = chance(0.5) ? CheckState::Checked : CheckState::Unchecked;
                both([&](JobForm& f) { f.setCheckState(Ctl::Chkzifan, j, s); });
            }
        }
        for (const ControlDef& d : inkquot::controlCatalogue()) {
            switch (d.control) {
                case Ctl::comleibie:
                case Ctl::Ncomdu:
                case Ctl::Ncomkai:
                case Ctl::Ntxtkaizhi:
                case Ctl::Comyinji:
                case Ctl::Cmbkaizhi:
                case Ctl::Chkzifan:
                    continue;
                default:
                    break;
            }
            for (int i = 0; i < d.count(); ++i) {
                setOther(d, i, reference, page);
            }
        }
    }

private:
    void setOther(const ControlDef& d, int i, FormState& reference, PricingPage& page) {
        auto both = [&](auto&& set) {
            set(static_cast<JobForm&>(reference));
            set(static_cast<JobForm&>(page));
        };
        const Ctl c = d.control;
        switch (d.kind) {
            case ControlKind::TextBox: {
                if (!chance(0.4)) {
                    return;
                }
                std::string text;
                if (c == Ctl::txtkehuming || c == Ctl::txtyinjianming) {
                    text = oneOf({"客户甲", "印件乙", "  ", "Acme Ltd"});
                } else if (c == Ctl::txtshuliang) {
                    text = oneOf({"1000", "5000", "10000", "0.5e4", "1,000", "250", "123456"});
                } else if (c == Ctl::txtye) {
                    text = oneOf({"0", "4", "8", "16", "48", "12.5", "100"});
                } else {
                    text = oneOf({"0", "10", "12.5", "300"});
                }
                both([&](JobForm& f) { f.setText(c, i, text); });
                return;
            }
            case ControlKind::TextList:
                if (!chance(0.35)) {
                    return;
                }
                if (chance(0.75)) {
                    const int item = pick(int(reference.items(c, i).size()));
                    both([&](JobForm& f) { f.setListIndex(c, i, item); });
                } else {
                    // Typed into a list that takes typing: a number that is
                    // no item of the list.
                    const std::string text = c == Ctl::Ncomke     ? oneOf({"180", "64", "95"})
                                             : c == Ctl::Comnd    ? oneOf({"1.25", "2.5"})
                                             : c == Ctl::Cmbzheci ? std::string("5")
                                                                  : oneOf({"6", "9"});
                    both([&](JobForm& f) { f.setText(c, i, text); });
                }
                return;
            case ControlKind::PositionList:
                if (chance(0.35)) {
                    const int item = pick(int(reference.items(c, i).size()));
                    both([&](JobForm& f) { f.setListIndex(c, i, item); });
                }
                return;
            case ControlKind::CheckBox: {
                const double p = c == Ctl::Chkban || c == Ctl::Chkzhikai ? 0.3 : 0.5;
                if (!chance(p)) {
                    return;
                }
                const int states = c == Ctl::Chkzhikai ? 3 : 2;
                const auto s = static_cast<CheckState>(pick(states));
                both([&](JobForm& f) { f.setCheckState(c, i, s); });
                return;
            }
            case ControlKind::PartList:
                for (int item = 0; item < int(d.entries[0].items.size()); ++item) {
                    if (chance(0.5)) {
                        const bool tick = chance(0.7);
                        both([&](JobForm& f) { f.setTicked(c, item, tick); });
                    }
                }
                return;
            case ControlKind::OptionGroup:
                if (chance(0.5)) {
                    const int chosen = pick(3);
                    both([&](JobForm& f) { f.setOption(c, chosen); });
                }
                return;
        }
    }

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(rng_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(rng_); }
    std::string oneOf(std::initializer_list<const char*> texts) {
        return *(texts.begin() + pick(int(texts.size())));
    }

    std::mt19937& rng_;
};

QStringList paperNames(int count, const char* stem) {
    QStringList out;
    for (int i = 1; i <= count; ++i) {
        out << QStringLiteral("%1%2").arg(QString::fromUtf8(stem)).arg(i);
    }
    return out;
}

std::vector<std::string> toStd(const QStringList& names) {
    std::vector<std::string> out;
    for (const QString& n : names) {
        out.push_back(n.toStdString());
    }
    return out;
}

}  // namespace

class TestPricingAgreement : public QObject {
    Q_OBJECT

private slots:
    void randomJobsReadAndPriceAlike();
};

void TestPricingAgreement::randomJobsReadAndPriceAlike() {
    TempProgramFolder dir;
    const QStringList papers = paperNames(50, "纸");
    const QStringList stickers = paperNames(10, "不干胶纸");
    std::mt19937 rng(20261207);
    int priced = 0;
    // One screen takes every job in turn, whatever it held before.
    ScriptedDialogs dialogs2;
    PricingPage copy(dialogs2);
    copy.fillPaperLists(papers);
    copy.fillStickerPaperList(stickers);
    for (int n = 0; n < 100; ++n) {
        ScriptedDialogs dialogs;
        PricingPage page(dialogs);
        page.fillPaperLists(papers);
        page.fillStickerPaperList(stickers);
        FormState reference;
        reference.setPaperNames(toStd(papers));
        reference.setStickerPaperNames(toStd(stickers));

        RandomJob(rng).describe(reference, page);
        const QString job = QStringLiteral("job %1").arg(n);
        QVERIFY2(dialogs.shown.isEmpty(), qPrintable(job + dialogs.texts().join(QLatin1Char(','))));
        QVERIFY2(reference.warnings().empty(), qPrintable(job));
        QVERIFY2(reads(page) == reads(reference),
                 qPrintable(job + QLatin1Char('\n') + differences(reads(page), reads(reference))));
        QVERIFY2(switchedOn(page) == switchedOn(reference),
                 qPrintable(job + QLatin1Char('\n') +
                            differences(switchedOn(page), switchedOn(reference))));

        inkquot::CostResult fromPage;
        inkquot::CostResult fromReference;
        const auto a = inkquot::priceJob(dir.folder(), page, fromPage);
        const auto b = inkquot::priceJob(dir.folder(), reference, fromReference);
        QCOMPARE(costText(a, fromPage), costText(b, fromReference));
        priced += a.ok() ? 1 : 0;

        // The same job put on a screen in one go, and taken back off.
        copy.applyJob(reference);
        QVERIFY2(reads(copy) == reads(reference),
                 qPrintable(job + QLatin1Char('\n') + differences(reads(copy), reads(reference))));
        QVERIFY2(switchedOn(copy) == switchedOn(reference), qPrintable(job));
        QVERIFY2(dialogs2.shown.isEmpty(), qPrintable(job));
        const FormState back = page.captureJob();
        QVERIFY2(reads(back) == reads(reference),
                 qPrintable(job + QLatin1Char('\n') + differences(reads(back), reads(reference))));
    }
    // Most of the jobs got as far as a price, so the costing was compared
    // and not only the refusals.
    QVERIFY2(priced > 60, qPrintable(QString::number(priced)));
}

QTEST_MAIN(TestPricingAgreement)
#include "tst_pricing_agreement.moc"
