#pragma once

#include <QStringList>
#include <vector>

#include "core/common/clock.h"
#include "core/pricedata/price_tables.h"
#include "tests/ui/support/scripted_dialogs.h"
#include "tests/ui/support/temp_program_folder.h"
#include "ui/pricing/pricing_page.h"
#include "ui/pricing/pricing_run.h"

// The pricing page and its run over an installed temporary program folder,
// as the main window has them after loading: the starting entries chosen and
// the paper lists filled from the working paper tables of the default
// scheme.
struct PricingScreen {
    TempProgramFolder dir;
    ScriptedDialogs dialogs;
    inkquot::FixedClock clock{inkquot::CivilDate{2026, 12, 8}};
    PricingPage page{dialogs};
    PricingRun run{page, dir.folder(), dialogs, clock};

    PricingScreen() {
        std::vector<inkquot::ZhijiaRec> papers;
        std::vector<inkquot::ZhijiaRec> stickers;
        inkquot::readZhijiaTable(dir.file("fzhijia.dat"), papers);
        inkquot::readZhijiabuTable(dir.file("fzhijiabu.dat"), stickers);
        page.selectStartingEntries();
        page.fillPaperLists(names(papers));
        page.fillStickerPaperList(names(stickers));
    }

private:
    static QStringList names(const std::vector<inkquot::ZhijiaRec>& recs) {
        QStringList out;
        for (const auto& r : recs) {
            out << QString::fromStdString(r.Mingcheng);
        }
        return out;
    }
};
