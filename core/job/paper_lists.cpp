#include "core/job/paper_lists.h"

#include "core/pricedata/price_tables.h"

namespace inkquot {

namespace {

template <typename Rec>
std::vector<std::string> namesOf(const std::vector<Rec>& records, int count) {
    std::vector<std::string> names(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < names.size() && i < records.size(); ++i) {
        names[i] = records[i].Mingcheng;
    }
    return names;
}

}  // namespace

PaperNames readPaperNames(const ProgramFolder& folder) {
    std::vector<ZhijiaRec> papers;
    std::vector<ZhijiabuRec> stickers;
    const TableLayout& paperLayout = layoutOf(PriceTable::Zhijia);
    const TableLayout& stickerLayout = layoutOf(PriceTable::Zhijiabu);
    const IoStatus a = readZhijiaTable(folder.file(paperLayout.workingFile), papers);
    const IoStatus b = readZhijiabuTable(folder.file(stickerLayout.workingFile), stickers);
    PaperNames names;
    names.papers = namesOf(papers, static_cast<int>(paperLayout.recordCount));
    names.stickerPapers = namesOf(stickers, static_cast<int>(stickerLayout.recordCount));
    names.read = a.ok() && b.ok();
    return names;
}

}  // namespace inkquot
