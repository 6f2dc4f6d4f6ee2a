#include "core/records/history_jobs.h"

#include <gtest/gtest.h>

#include "core/common/file_io.h"
#include "core/common/file_lock.h"
#include "core/common/file_switch.h"
#include "core/pricedata/startup_recovery.h"
#include "tests/core/common/temp_folder.h"
#include "tests/core/records/sample_quotation.h"

namespace inkquot {
namespace {

using testing::quotation;
using namespace testing_support;

std::string job(const std::string& customer) {
    return R"({"version":1,"kind":2,"controls":{"txtkehuming":{"2":")" + customer + R"("}}})";
}

// What reopening the k-th record of the whole history gives: the job text,
// or the state's name when there is none.
std::string reopened(const ProgramFolder& folder, std::uint64_t k) {
    const auto matcher = HistoryMatcher::from(HistoryQuery{});
    std::optional<ListedRecord> listed;
    EXPECT_TRUE(findListedRecord(folder.file(kHistoryFileName), *matcher, k, listed).ok());
    if (!listed) {
        return "no record";
    }
    const SavedJob saved = findSavedJob(folder, listed->data, listed->occurrence);
    switch (saved.state) {
        case SavedJobState::Found:
            return saved.jobText;
        case SavedJobState::NotSaved:
            return "not saved";
        case SavedJobState::NoFile:
            return "no file";
        case SavedJobState::Damaged:
            return "damaged";
        case SavedJobState::ReadFailed:
            return "read failed";
    }
    return {};
}

TEST(HistoryJobs, EveryRecordReopensIntoItsOwnJobBeforeAndAfterDeletingUpToADay) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    // An older program's record without a description comes first.
    ASSERT_TRUE(appendHistory(folder.file(kHistoryFileName), quotation(46000, "旧")).ok());
    EXPECT_EQ(reopened(folder, 1), "no file");
    for (auto [day, name] : {std::pair{46001.0, "甲"}, {46002.0, "乙"}, {46003.0, "丙"}}) {
        bool stored = false;
        ASSERT_TRUE(appendHistoryWithJob(folder, quotation(day, name), job(name), &stored).ok());
        EXPECT_TRUE(stored);
    }
    // The same quotation saved twice on one day: each copy keeps its own
    // line, in order.
    ASSERT_TRUE(appendHistoryWithJob(folder, quotation(46003, "丙"), job("丙2")).ok());

    EXPECT_EQ(reopened(folder, 1), "not saved");
    EXPECT_EQ(reopened(folder, 2), job("甲"));
    EXPECT_EQ(reopened(folder, 4), job("丙"));
    EXPECT_EQ(reopened(folder, 5), job("丙2"));

    std::size_t dropped = 0;
    const IoStatus deleted = deleteHistoryWithJobsUpTo(folder, 46001, &dropped);
    ASSERT_TRUE(deleted.ok()) << deleted.message;
    EXPECT_EQ(dropped, 2u);
    EXPECT_EQ(reopened(folder, 1), job("乙"));
    EXPECT_EQ(reopened(folder, 2), job("丙"));
    EXPECT_EQ(reopened(folder, 3), job("丙2"));
    EXPECT_EQ(reopened(folder, 4), "no record");
    // The descriptions of the deleted records went with them.
    EXPECT_EQ(slurp(folder.file(kHistoryJobsFileName)).find("甲"), std::string::npos);

    ASSERT_TRUE(deleteHistoryWithJobs(folder).ok());
    EXPECT_FALSE(std::filesystem::exists(folder.file(kHistoryFileName)));
    EXPECT_FALSE(std::filesystem::exists(folder.file(kHistoryJobsFileName)));
}

TEST(HistoryJobs, ADescriptionsFileOutOfStepOrDamagedNeverReopensAnotherRecordsJob) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    ASSERT_TRUE(appendHistoryWithJob(folder, quotation(46001, "甲"), job("甲")).ok());
    ASSERT_TRUE(appendHistoryWithJob(folder, quotation(46002, "乙"), job("乙")).ok());
    const auto jobsFile = folder.file(kHistoryJobsFileName);
    const std::string good = slurp(jobsFile);
    const std::string history = slurp(folder.file(kHistoryFileName));

    // The history of another folder with the same days and other customers,
    // beside this descriptions file.
    TempFolder other;
    const ProgramFolder otherFolder(other.path());
    ASSERT_TRUE(appendHistory(otherFolder.file(kHistoryFileName), quotation(46001, "丁")).ok());
    ASSERT_TRUE(appendHistory(otherFolder.file(kHistoryFileName), quotation(46002, "乙")).ok());
    spit(otherFolder.file(kHistoryJobsFileName), good);
    EXPECT_EQ(reopened(otherFolder, 1), "not saved");
    EXPECT_EQ(reopened(otherFolder, 2), job("乙"));  // the very same record

    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"garbage\n", {"damaged", "damaged"}},
        {"inkquot-history-jobs 9\n", {"damaged", "damaged"}},
        // A line torn in its key: the other record still reopens.
        {good.substr(0, good.find('\n') + 1) + "46001\tzz\t{}\n" +
             good.substr(good.find('\n', good.find('\n') + 1) + 1),
         {"damaged", job("乙")}},
    };
    for (const auto& [text, expected] : cases) {
        spit(folder.file(kHistoryFileName), history);
        spit(jobsFile, text);
        EXPECT_EQ(reopened(folder, 1), expected[0]) << text;
        EXPECT_EQ(reopened(folder, 2), expected[1]) << text;
        // Saving still works; a file it cannot understand is left alone.
        bool stored = true;
        ASSERT_TRUE(appendHistoryWithJob(folder, quotation(46003, "丙"), job("丙"), &stored).ok());
        EXPECT_EQ(stored, text.starts_with("inkquot-history-jobs 1")) << text;
        if (!stored) {
            EXPECT_EQ(slurp(jobsFile), text);
        }
    }
}

TEST(HistoryJobs, AFailedSaveOrDeletionLeavesBothFilesAsTheyWere) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    ASSERT_TRUE(appendHistoryWithJob(folder, quotation(46001, "甲"), job("甲")).ok());
    ASSERT_TRUE(appendHistoryWithJob(folder, quotation(46002, "乙"), job("乙")).ok());
    const std::string history = slurp(folder.file(kHistoryFileName));
    const std::string jobs = slurp(folder.file(kHistoryJobsFileName));

    using io_test_hooks::FailPoint;
    const auto unchanged = [&] {
        io_test_hooks::failNextWrites(FailPoint::None);
        ASSERT_TRUE(recoverProgramFolder(folder).ok());
        EXPECT_EQ(slurp(folder.file(kHistoryFileName)), history);
        EXPECT_EQ(slurp(folder.file(kHistoryJobsFileName)), jobs);
        EXPECT_FALSE(std::filesystem::exists(folder.file(kSwitchJournalName)));
    };
    // A save goes on the end of both files in place: a failed write or flush
    // of the record, or of its line (which takes the record back).
    const std::pair<FailPoint, std::size_t> saveFailures[] = {{FailPoint::WriteAfterBytes, 0},
                                                              {FailPoint::WriteAfterBytes, 1},
                                                              {FailPoint::Sync, 0},
                                                              {FailPoint::Sync, 1}};
    for (const auto& [point, skip] : saveFailures) {
        io_test_hooks::failNextWrites(point, 10, skip);
        EXPECT_FALSE(appendHistoryWithJob(folder, quotation(46003, "丙"), job("丙")).ok());
        unchanged();
    }
    // A deletion replaces both files: the second file's staging, the rename
    // of either.
    const std::pair<FailPoint, std::size_t> deleteFailures[] = {{FailPoint::CreateTemporary, 1},
                                                                {FailPoint::Rename, 0},
                                                                {FailPoint::Rename, 1},
                                                                {FailPoint::WriteAfterBytes, 0}};
    for (const auto& [point, skip] : deleteFailures) {
        io_test_hooks::failNextWrites(point, 10, skip);
        EXPECT_FALSE(deleteHistoryWithJobsUpTo(folder, 46001).ok());
        unchanged();
    }
    // Nothing but the two files (and on Windows the folder's lock) and no
    // temporaries are left.
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        if (e.path().filename() != native::kFolderLockName) {
            left.push_back(displayName(e.path().filename()));
        }
    }
    EXPECT_EQ(left.size(), 2u);
}

}  // namespace
}  // namespace inkquot
