#include "core/costing/price_book.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>

#include "core/costing/part_costing.h"
#include "tests/core/common/temp_folder.h"
#include "tests/core/costing/default_book.h"
#include "tests/core/costing/sample_parts.h"

namespace inkquot {
namespace {

TEST(ManagementFee, IsFormedInDoubleAndRoundedOnce) {
    const struct {
        float stored;
        float fee;
        float loaded;
    } rows[] = {
        {8000, 15, 9200},  // 铜版纸 costs what 哑粉纸 is stored at
        {8000, 0, 8000},
        {9200, 15, 10580},
        // A float factor 1.15f would give 0x1.6147aep+0.
        {1.2f, 15, 0x1.6147b0p+0f},
        {0.7f, 15, 0x1.9c28f6p-1f},
        {3e38f, 15, 0},  // beyond the float range: read as 0
        {-8000, 15, -9200},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(withManagementFee(r.stored, r.fee), r.loaded) << r.stored << " + " << r.fee;
    }
}

// Table bytes laid out by hand: the value of record n at the field offset.
class ImageBuilder {
public:
    explicit ImageBuilder(PriceTable table)
        : table_(table),
          bytes_(layoutOf(table).slotLength * static_cast<std::size_t>(layoutOf(table).recordCount),
                 '\0') {}

    ImageBuilder& put(int record, std::size_t offset, float value) {
        const auto bits = std::bit_cast<std::uint32_t>(value);
        const std::size_t pos = (record - 1) * layoutOf(table_).slotLength + offset;
        for (int i = 0; i < 4; ++i) {
            bytes_[pos + i] = static_cast<char>((bits >> (8 * i)) & 0xff);
        }
        return *this;
    }
    ImageBuilder& truncate(std::size_t length) {
        bytes_.resize(length);
        return *this;
    }
    TableImage image() const { return TableImage(table_, bytes_); }

private:
    PriceTable table_;
    std::string bytes_;
};

TEST(PriceBookFromImages, ReadsEveryValueFromItsRecordAndField) {
    ImageBuilder jiben(PriceTable::Jiben);
    jiben.put(1, 24, 20).put(17, 24, 1.5f).put(18, 24, 10);
    ImageBuilder gong(PriceTable::Gongjia);
    gong.put(1, 34, 40).put(1, 50, 0.8f).put(1, 54, 0.7f).put(44, 58, 0.3f).put(44, 62, 0.2f);
    ImageBuilder zhi(PriceTable::Zhijia);
    zhi.put(1, 24, 8000).put(50, 24, 5000);
    ImageBuilder zhibu(PriceTable::Zhijiabu);
    zhibu.put(10, 24, 2);

    const PriceBook book =
        priceBookFromImages(jiben.image(), gong.image(), zhi.image(), zhibu.image());
    EXPECT_EQ(book.jiben[1], 20);
    EXPECT_EQ(book.jiben[17], 1.5f);
    EXPECT_EQ(book.jiben[18], 10);
    EXPECT_EQ(book.jiben[2], 0);
    EXPECT_EQ(book.gong[1].Danjia, 40);
    EXPECT_EQ(book.gong[1].Tag1, 0.8f);
    EXPECT_EQ(book.gong[1].Tag2, 0.7f);
    EXPECT_EQ(book.gong[44].Tag3, 0.3f);
    EXPECT_EQ(book.gong[44].Tag4, 0.2f);
    EXPECT_EQ(book.zhi[1], 8800);
    EXPECT_EQ(book.zhi[50], 5500);
    EXPECT_EQ(book.zhibu[10], 2.2f);
}

TEST(PriceBookFromImages, GarbledAndShortTablesGiveOnlyFiniteValues) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    ImageBuilder jiben(PriceTable::Jiben);
    jiben.put(2, 24, nan).put(18, 24, inf);  // a garbled fee must not spoil every paper
    ImageBuilder gong(PriceTable::Gongjia);
    gong.put(2, 34, inf).put(2, 50, -inf).put(3, 34, 1000);
    ImageBuilder zhi(PriceTable::Zhijia);
    zhi.put(1, 24, 8000).put(2, 24, nan).put(3, 24, 3.4e38f);
    ImageBuilder zhibu(PriceTable::Zhijiabu);
    zhibu.put(1, 24, 1.2f).truncate(20);  // cut before record 1's price

    const PriceBook book =
        priceBookFromImages(jiben.image(), gong.image(), zhi.image(), zhibu.image());
    EXPECT_EQ(book.jiben[2], 0);
    EXPECT_EQ(book.jiben[18], 0);
    EXPECT_EQ(book.gong[2].Danjia, 0);
    EXPECT_EQ(book.gong[2].Tag1, 0);
    EXPECT_EQ(book.gong[3].Danjia, 1000);
    EXPECT_EQ(book.zhi[1], 8000);
    EXPECT_EQ(book.zhi[2], 0);
    EXPECT_EQ(book.zhi[3], 3.4e38f);
    EXPECT_EQ(book.zhibu[1], 0);

    // Even then, costing a part yields finite items.
    PartSpec s = testing::leafletPart(1000);
    s.paperIndex = 2;
    const PartOutcome outcome = costPartWithBook(book, s);
    EXPECT_EQ(outcome.status, PartStatus::Costed);
    EXPECT_EQ(outcome.cost.PaperCost, 0);
}

// Working files written with the record writers, holding the prices of the
// built-in scheme as stored (without the management fee).
void writeWorkingFiles(const ProgramFolder& folder) {
    const PriceBook book = testing::defaultPriceBook();
    std::vector<JibenRec> jiben(18);
    for (int i = 1; i <= 18; ++i) {
        jiben[i - 1].Bianhao = i;
        jiben[i - 1].Shuju = book.jiben[i];
    }
    std::vector<GongjiaRec> gong(44);
    for (int k = 1; k <= 44; ++k) {
        const GongItem& g = book.gong[k];
        gong[k - 1] = GongjiaRec{k, "", g.Danjia, "", g.Tag1, g.Tag2, g.Tag3, g.Tag4, ""};
    }
    std::vector<ZhijiaRec> zhi(50);
    const float papers[] = {8000, 9200, 7800, 5800, 5000, 5500, 8000, 7000, 5600};
    for (int i = 1; i <= 50; ++i) {
        zhi[i - 1].Bianhao = i;
        zhi[i - 1].Jiage = i <= 9 ? papers[i - 1] : 8000;
    }
    std::vector<ZhijiaRec> zhibu(10);
    for (int i = 1; i <= 10; ++i) {
        zhibu[i - 1].Bianhao = i;
        zhibu[i - 1].Jiage = i == 1 ? 1.2f : 2;
    }
    ASSERT_TRUE(writeTable(folder.file("fjiben.dat"), jiben).ok());
    ASSERT_TRUE(writeTable(folder.file("fgongjia.dat"), gong).ok());
    ASSERT_TRUE(writeTable(folder.file("fzhijia.dat"), PriceTable::Zhijia, zhi).ok());
    ASSERT_TRUE(writeTable(folder.file("fzhijiabu.dat"), PriceTable::Zhijiabu, zhibu).ok());
}

void expectSameBook(const PriceBook& a, const PriceBook& b) {
    for (int i = 1; i <= 18; ++i) {
        EXPECT_EQ(a.jiben[i], b.jiben[i]) << "jiben " << i;
    }
    for (int k = 1; k <= 44; ++k) {
        EXPECT_EQ(a.gong[k].Danjia, b.gong[k].Danjia) << "gong " << k;
        EXPECT_EQ(a.gong[k].Tag1, b.gong[k].Tag1) << "gong " << k;
        EXPECT_EQ(a.gong[k].Tag2, b.gong[k].Tag2) << "gong " << k;
        EXPECT_EQ(a.gong[k].Tag3, b.gong[k].Tag3) << "gong " << k;
        EXPECT_EQ(a.gong[k].Tag4, b.gong[k].Tag4) << "gong " << k;
    }
    for (int i = 1; i <= 50; ++i) {
        EXPECT_EQ(a.zhi[i], b.zhi[i]) << "zhi " << i;
    }
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(a.zhibu[i], b.zhibu[i]) << "zhibu " << i;
    }
}

TEST(LoadPriceBook, ReadsTheWorkingFilesAndNeverCompoundsTheFee) {
    testing_support::TempFolder temp;
    const ProgramFolder folder(temp.path());
    writeWorkingFiles(folder);
    PriceBook book;
    ASSERT_TRUE(LoadPriceBook(folder, book).ok());
    expectSameBook(book, testing::defaultPriceBook());
    ASSERT_TRUE(LoadPriceBook(folder, book).ok());
    EXPECT_EQ(book.zhi[1], 9200);
    EXPECT_TRUE(missingWorkingFiles(folder).empty());
}

TEST(LoadPriceBook, MissingFilesReadAsZeros) {
    testing_support::TempFolder temp;
    const ProgramFolder folder(temp.path());
    PriceBook book = testing::defaultPriceBook();
    ASSERT_TRUE(LoadPriceBook(folder, book).ok());
    expectSameBook(book, PriceBook{});
    EXPECT_EQ(missingWorkingFiles(folder).size(), 4u);
}

// A working file cut anywhere still loads: what it holds is read, the rest
// is zero. The fee in the last basic record decides the paper prices.
TEST(LoadPriceBook, ReadsWhatACutFileHolds) {
    testing_support::TempFolder temp;
    const ProgramFolder folder(temp.path());
    writeWorkingFiles(folder);
    const std::string whole = testing_support::slurp(folder.file("fjiben.dat"));
    ASSERT_EQ(whole.size(), 4896u);
    const std::size_t feeEnd = 17 * 272 + 24 + 4;
    std::vector<std::size_t> lengths;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        // Every length around the two numbers checked, a sample elsewhere.
        if (length <= 40 || (length + 40 >= feeEnd && length <= feeEnd + 8) || length % 101 == 0 ||
            length == whole.size()) {
            lengths.push_back(length);
        }
    }
    for (const std::size_t length : lengths) {
        testing_support::spit(folder.file("fjiben.dat"), std::string_view(whole).substr(0, length));
        PriceBook book;
        ASSERT_TRUE(LoadPriceBook(folder, book).ok()) << length;
        // (A cut inside a number reads the bytes that are there.)
        if (length >= 28 || length <= 24) {
            ASSERT_EQ(book.jiben[1], length >= 28 ? 20 : 0) << length;
        }
        if (length >= feeEnd || length <= feeEnd - 4) {
            ASSERT_EQ(book.jiben[18], length >= feeEnd ? 15 : 0) << length;
            ASSERT_EQ(book.zhi[1], length >= feeEnd ? 9200 : 8000) << length;
        }
        ASSERT_TRUE(std::isfinite(book.zhi[1])) << length;
    }
}

// Whatever stands in a working file's place is judged before its bytes are
// used: a folder, a FIFO (even one holding a whole table's bytes, which a
// plain read would take) or a device is refused naming the file, the book
// left zero; a regular file longer than its records is read up to them.
TEST(LoadPriceBook, RefusesWhatIsNoRegularFile) {
    testing_support::TempFolder temp;
    const ProgramFolder folder(temp.path());
    writeWorkingFiles(folder);
    const auto file = folder.file("fgongjia.dat");
    const std::string whole = testing_support::slurp(file);
    enum class Stand { Folder, FullFifo, Zero, Null, Longer };
    for (const Stand stand :
         {Stand::Folder, Stand::FullFifo, Stand::Zero, Stand::Null, Stand::Longer}) {
        std::filesystem::remove_all(file);
        [[maybe_unused]] int writer = -1;
#ifdef _WIN32
        // Windows has no FIFOs, and its devices are not files of a folder.
        if (stand == Stand::FullFifo || stand == Stand::Zero || stand == Stand::Null) {
            continue;
        }
#endif
        switch (stand) {
            case Stand::Folder:
                std::filesystem::create_directory(file);
                break;
#ifndef _WIN32
            case Stand::FullFifo:
                ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
                writer = ::open(file.c_str(), O_RDWR | O_NONBLOCK);
                ASSERT_EQ(::write(writer, whole.data(), whole.size()),
                          static_cast<ssize_t>(whole.size()));
                break;
            case Stand::Zero:
                std::filesystem::create_symlink("/dev/zero", file);
                break;
            case Stand::Null:
                std::filesystem::create_symlink("/dev/null", file);
                break;
#endif
            case Stand::Longer:
                testing_support::spit(file, whole + std::string(100, '\x7f'));
                break;
            default:
                break;
        }
        PriceBook book = testing::defaultPriceBook();
        const IoStatus s = LoadPriceBook(folder, book);
        if (stand == Stand::Longer) {
            ASSERT_TRUE(s.ok()) << s.message;
            expectSameBook(book, testing::defaultPriceBook());
            continue;
        }
        EXPECT_EQ(s.error, IoError::NotRegular) << static_cast<int>(stand);
        EXPECT_NE(s.message.find("fgongjia.dat"), std::string::npos) << s.message;
        expectSameBook(book, PriceBook{});
#ifndef _WIN32
        if (writer >= 0) {
            // Nothing was taken from the FIFO.
            int queued = 0;
            ASSERT_EQ(::ioctl(writer, FIONREAD, &queued), 0);
            EXPECT_EQ(queued, static_cast<int>(whole.size()));
            ::close(writer);
        }
#endif
    }
}

TEST(CostPart, ReloadsThePricesForEveryPart) {
    testing_support::TempFolder temp;
    const ProgramFolder folder(temp.path());
    writeWorkingFiles(folder);
    const PartSpec s = testing::leafletPart(1000);
    PartCost cost;
    PriceBook book;
    ASSERT_EQ(CostPart(folder, s, cost, book), PartStatus::Costed);
    EXPECT_EQ(cost.PrintCost, 800);
    EXPECT_NEAR(cost.PaperCost, 129.375, 1e-3);

    // An edit saved by the parameter editor is priced at the very next part.
    GongjiaRec item2{2, "", 900, "", 0.8f, 0.8f, 0, 0, ""};
    ASSERT_TRUE(writeRecord(folder.file("fgongjia.dat"), 2, item2).ok());
    cost.FoldCost = 5;  // cleared by the costing
    ASSERT_EQ(CostPart(folder, s, cost, book), PartStatus::Costed);
    EXPECT_EQ(cost.PrintCost, 900);
    EXPECT_EQ(cost.FoldCost, 0);
    EXPECT_EQ(book.gong[2].Danjia, 900);
}

TEST(CostPart, UnreadablePriceFileCostsNothing) {
    testing_support::TempFolder temp;
    const ProgramFolder folder(temp.path());
    writeWorkingFiles(folder);
    std::filesystem::remove(folder.file("fzhijia.dat"));
    std::filesystem::create_directory(folder.file("fzhijia.dat"));
    const auto s = testing::recordWith<PartSpec>({{&PartSpec::quantity, 1000},
                                                  {&PartSpec::kai, 16},
                                                  {&PartSpec::sheetKai, 4},
                                                  {&PartSpec::foldFlag, 1},
                                                  {&PartSpec::folds, 1}});
    PartCost cost;
    cost.FoldCost = 5;
    PriceBook book;
    EXPECT_EQ(CostPart(folder, s, cost, book), PartStatus::PriceFilesUnreadable);
    EXPECT_EQ(cost.FoldCost, 0);
}

}  // namespace
}  // namespace inkquot
