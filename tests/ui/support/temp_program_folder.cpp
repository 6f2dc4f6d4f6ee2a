#include "tests/ui/support/temp_program_folder.h"

#include <fstream>
#include <iterator>

#include "core/pricedata/default_scheme.h"
#include "core/pricedata/install.h"
#include "core/pricedata/price_tables.h"
#include "core/pricedata/scheme_list.h"
#include "core/pricedata/scheme_ops.h"

namespace {

std::filesystem::path utf8Path(std::string_view s) {
    return std::filesystem::path(std::u8string(s.begin(), s.end()));
}

QString firstName(const std::filesystem::path& file, inkquot::PriceTable table) {
    std::vector<inkquot::ZhijiaRec> recs;
    if (table == inkquot::PriceTable::Zhijia) {
        inkquot::readZhijiaTable(file, recs);
    } else {
        inkquot::readZhijiabuTable(file, recs);
    }
    return recs.empty() ? QString() : QString::fromStdString(recs[0].Mingcheng).trimmed();
}

}  // namespace

TempProgramFolder::TempProgramFolder(Layout layout) {
    if (layout == Layout::Empty) {
        return;
    }
    const auto pf = folder();
    inkquot::installProgramFolder(pf);
    inkquot::selectScheme(pf, inkquot::kDefaultSchemeName);
}

std::filesystem::path TempProgramFolder::root() const {
    return dir_.path().toStdString();
}

std::filesystem::path TempProgramFolder::file(std::string_view utf8Name) const {
    return root() / utf8Path(utf8Name);
}

std::filesystem::path TempProgramFolder::schemeFile(std::string_view utf8Scheme,
                                                    std::string_view suffix) const {
    return folder().schemeFile(utf8Scheme, suffix);
}

void TempProgramFolder::addScheme(std::string_view name, std::string_view firstPaper, bool listed) {
    const auto pf = folder();
    const std::string n(name);
    inkquot::writeTable(pf.schemeFile(n, "ji.dat"), inkquot::defaultJibenTable());
    inkquot::writeTable(pf.schemeFile(n, "gong.dat"), inkquot::defaultGongjiaTable());
    auto papers = inkquot::defaultZhijiaTable();
    papers[0].Mingcheng = std::string(firstPaper);
    inkquot::writeTable(pf.schemeFile(n, "zhi.dat"), inkquot::PriceTable::Zhijia, papers);
    auto stickers = inkquot::defaultZhijiabuTable();
    stickers[0].Mingcheng = std::string(firstPaper);
    inkquot::writeTable(pf.schemeFile(n, "zhibu.dat"), inkquot::PriceTable::Zhijiabu, stickers);
    if (listed) {
        inkquot::appendSchemeName(pf.schemeList(), n);
    }
}

QStringList TempProgramFolder::schemeList() const {
    std::vector<std::string> names;
    inkquot::readSchemeList(folder().schemeList(), names);
    QStringList out;
    for (const auto& n : names) {
        out << QString::fromStdString(n);
    }
    return out;
}

QString TempProgramFolder::workingFirstPaper() const {
    return firstName(file("fzhijia.dat"), inkquot::PriceTable::Zhijia);
}

QString TempProgramFolder::workingFirstStickerPaper() const {
    return firstName(file("fzhijiabu.dat"), inkquot::PriceTable::Zhijiabu);
}

std::string TempProgramFolder::readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void TempProgramFolder::writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}
