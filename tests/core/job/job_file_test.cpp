#include "core/job/job_file.h"

#include <gtest/gtest.h>

#include "core/job/job_description.h"
#include "core/job/recent_jobs.h"
#include "tests/core/common/temp_folder.h"

namespace inkquot {
namespace {

using testing_support::TempFolder;

FormState startingForm() {
    FormState form;
    form.setPaperNames(std::vector<std::string>(50, "铜版纸"));
    form.setStickerPaperNames(std::vector<std::string>(10, "不干胶"));
    return form;
}

TEST(JobFile, ASavedJobReadsBackIntoTheSameJobAndCarriesItsVersionFirst) {
    FormState job = startingForm();
    job.setListIndex(Ctl::comleibie, 0, 3);
    job.setText(Ctl::txtkehuming, 3, "客户\"甲\"");
    job.setText(Ctl::Ncomkai, 6, "8");
    job.setListIndex(Ctl::Comyinji, 8, 1);
    job.setTicked(Ctl::lsthe, 0, true);
    job.setOption(Ctl::optwa, 2);
    const auto description = describeJob(job);

    const std::string text = jobFileText(description);
    EXPECT_TRUE(text.starts_with("{\n  \"version\": 1,")) << text;
    FormState back = startingForm();
    readJobFileText(text, "a.inkjob", back);
    EXPECT_EQ(describeJob(back), description);

    const std::string line = jobFileText(description, true);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    FormState fromLine = startingForm();
    readJobFileText(line, "a.inkjob", fromLine);
    EXPECT_EQ(describeJob(fromLine), description);
}

TEST(JobFile, ABadFileIsRefusedWithOneMessageNamingTheProblem) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "不是有效的JSON"},
        {"{\"version\": 1,\n \"kind\": 2,,}", "第2行"},
        {"[1, 2]", "应为一个JSON对象"},
        {"9E636", "超出范围的数字"},
        {R"({"version":1,"kind":0,"controls":{"txtye":{"0":1e999}}})", "超出范围的数字"},
        {R"({"version": 2, "kind": 2, "future": {}})", "较新版本"},
        {R"({"version": "1", "kind": 2})", "格式版本）必须是正整数"},
        {R"({"version": 1, "kind": 2, "kind": 3})", "“kind”出现了两次"},
        {R"({"version": 1, "kind": 2, "controls": {"txtnosuch": {"2": "1"}}})",
         "没有名为“txtnosuch”的控件"},
        {R"({"version": 1, "kind": 2, "controls": {"txt\u0000a\nb": {"2": "1"}}})",
         "没有名为“txt\\u0000a\\u000ab”的控件"},
        {R"({"version": 1, "kind": 2, "controls": {"Ncomdu": {"5": 2}}})",
         "单张\\招贴规格的纸张系列（大度或正度）不能选择位置2"},
        {R"({"version": 1, "kind": 2, "controls": {"txtshuliang": {"2": "12a"}}})",
         "单张\\招贴的计价数量“12a”不是有效的数字"},
        {R"({"version": 1, "kind": 0, "controls": {"txtye": {"0": "13"}}})",
         "内页一的页数“13”必须是4的倍数"},
        {R"({"version": 1, "kind": 0, "controls": {"Lsthua": {"0": 2}}})",
         "书刊\\画册的部件“封面”必须是0或1"},
        {R"({"version": 1, "kind": 2, "controls": {"txtkehuming": {"2": "甲\t乙"}}})",
         "单张\\招贴的客户名称含有换行等控制字符"},
    };
    for (const auto& [text, expected] : cases) {
        FormState form = startingForm();
        try {
            readJobFileText(text, "印件文件“a.inkjob”", form);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const JobRefused& e) {
            const std::string message = e.what();
            EXPECT_TRUE(message.starts_with("印件文件“a.inkjob”: ")) << message;
            EXPECT_NE(message.find(expected), std::string::npos) << message;
        }
    }
}

TEST(RecentJobs, KeepsTheTenLatestOnceEachNewestFirst) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    EXPECT_TRUE(readRecentJobs(folder).empty());
    for (int i = 1; i <= 12; ++i) {
        ASSERT_TRUE(rememberRecentJob(folder, "/jobs/" + std::to_string(i) + ".inkjob").ok());
    }
    ASSERT_TRUE(rememberRecentJob(folder, "/jobs/5.inkjob").ok());
    ASSERT_TRUE(rememberRecentJob(folder, "/jobs/bad\nname.inkjob").ok());
    ASSERT_TRUE(forgetRecentJob(folder, "/jobs/11.inkjob").ok());
    const std::vector<std::string> expected = {
        "/jobs/5.inkjob", "/jobs/12.inkjob", "/jobs/10.inkjob", "/jobs/9.inkjob", "/jobs/8.inkjob",
        "/jobs/7.inkjob", "/jobs/6.inkjob",  "/jobs/4.inkjob",  "/jobs/3.inkjob"};
    EXPECT_EQ(readRecentJobs(folder), expected);
}

TEST(RecentJobs, OfferTheCustomersTheirFilesName) {
    TempFolder dir;
    const ProgramFolder folder(dir.path());
    const auto job = [&](const char* name, const std::string& text) {
        const auto file = dir.path() / name;
        testing_support::spit(file, text);
        ASSERT_TRUE(rememberRecentJob(folder, file.string()).ok());
    };
    job("a.inkjob", R"({"version":1,"kind":2,"controls":{"txtkehuming":{"2":"乙公司  "}}})");
    job("b.inkjob", R"({"version":1,"kind":0,"controls":{"txtkehuming":{"2":"别的类别"}}})");
    job("c.inkjob", "not a job");
    job("d.inkjob", R"({"version":1,"kind":1,"controls":{"txtkehuming":{"1":"东方印务"}}})");
    job("e.inkjob", R"({"version":1,"kind":2,"controls":{"txtkehuming":{"2":"乙公司"}}})");
    ASSERT_TRUE(rememberRecentJob(folder, (dir.path() / "gone.inkjob").string()).ok());
    EXPECT_EQ(customersOfRecentJobs(folder), (std::vector<std::string>{"乙公司", "东方印务"}));
}

}  // namespace
}  // namespace inkquot
