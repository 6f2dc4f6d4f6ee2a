#include <charconv>
#include <cmath>
#include <iostream>

#include "cli/cli_command.h"
#include "cli/json_io.h"
#include "core/common/date_text.h"
#include "core/common/gbk.h"
#include "core/job/job_file.h"
#include "core/records/history_jobs.h"
#include "core/records/history_scan.h"
#include "core/records/history_summary.h"

namespace inkquot::cli {

namespace {

// The search boxes of the history page take 20 characters of customer name
// and 10 of job name; the tool holds searches to the same.
constexpr std::size_t kCustomerChars = 20;
constexpr std::size_t kJobNameChars = 10;

std::size_t characters(std::string_view utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8) {
        n += (c & 0xC0) != 0x80;
    }
    return n;
}

std::string checkedName(const std::string& text, std::size_t maxChars, const char* option) {
    std::string gbk;
    if (!isValidUtf8(text) || !encodeGbk(text, gbk)) {
        throw BadInput(std::string("history: ") + option +
                       ": the name holds characters the history cannot store");
    }
    if (characters(text) > maxChars) {
        throw BadInput(std::string("history: ") + option + ": at most " + std::to_string(maxChars) +
                       " characters");
    }
    return text;
}

double checkedDay(const std::string& text, const char* option) {
    const auto date = parseDateText(text);
    if (!date) {
        throw BadInput(std::string("history: ") + option + ": \"" + text +
                       "\" is not a date (write it as 2026/12/7, 2026-12-7 or 2026年12月7日)");
    }
    return static_cast<double>(serialFromDate(*date));
}

std::string_view trailingBlanksRemoved(std::string_view s) {
    while (!s.empty() && s.back() == ' ') {
        s.remove_suffix(1);
    }
    return s;
}

// A damaged record may hold numbers that are none; they read as 0, as in the
// history list.
float finiteOrZero(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

void writeRecord(JsonWriter& out, const JiluRec& rec) {
    out.beginObject()
        .key("date")
        .text(historyDateText(rec.Riqi))
        .key("customer")
        .text(trailingBlanksRemoved(rec.Kehuming))
        .key("job")
        .text(trailingBlanksRemoved(rec.Yinjianming))
        .key("quantity")
        .number(finiteOrZero(rec.Shuliang))
        .key("unit_price")
        .number(finiteOrZero(rec.Danjia))
        .key("total_price")
        .number(finiteOrZero(rec.Zongjia))
        .key("size")
        .text(trailingBlanksRemoved(rec.Guige))
        .key("processing")
        .text(trailingBlanksRemoved(rec.Yaoqiu))
        .endObject();
    out.newline();
}

// The job file of the k-th record the query lists, as "调出印件" reopens it.
int printSavedJob(CommandContext& ctx, const HistoryMatcher& matcher, std::uint64_t k) {
    std::optional<ListedRecord> record;
    IoStatus status = findListedRecord(ctx.folder.file(kHistoryFileName), matcher, k, record);
    if (!status) {
        std::cerr << "history: " << status.message << '\n';
        return 1;
    }
    if (!record) {
        throw BadInput("history: --job-of: the query lists fewer than " + std::to_string(k) +
                       " records");
    }
    const SavedJob saved = findSavedJob(ctx.folder, record->data, record->occurrence);
    if (saved.state == SavedJobState::NotSaved || saved.state == SavedJobState::NoFile) {
        throw BadInput("history: " + saved.message);
    }
    const auto job = readJsonObject(saved.jobText);
    if (saved.state != SavedJobState::Found || !job) {
        std::cerr << "history: "
                  << (saved.state == SavedJobState::Found
                          ? "印件描述文件中这条记录的印件描述已损坏。"
                          : saved.message)
                  << '\n';
        return 1;
    }
    ctx.out << jobFileText(*job);
    return 0;
}

void writeTotals(JsonWriter& out, const QuoteTotals& totals) {
    out.key("quotes")
        .integer(static_cast<std::int64_t>(totals.quotes))
        .key("total")
        .cents(totals.cents);
}

// The totals of the records a query lists, by month and for the customers
// with the largest sums: the history page's glance, as one JSON object.
int printSummary(CommandContext& ctx, const HistoryMatcher& matcher) {
    HistorySummary summary;
    const IoStatus status = summarizeHistory(ctx.folder.file(kHistoryFileName), matcher, summary);
    if (!status) {
        std::cerr << "history: " << status.message << '\n';
        return 1;
    }
    JsonWriter out(ctx.out);
    out.beginObject();
    writeTotals(out, summary.all);
    out.key("months").beginArray();
    for (const MonthTotals& m : summary.months) {
        out.beginObject().key("month").text(
            m.year == 0 ? "?" : std::to_string(m.year) + "/" + std::to_string(m.month));
        writeTotals(out, m.totals);
        out.endObject();
    }
    out.endArray().key("customers").beginArray();
    for (const CustomerTotals& c : summary.customers) {
        out.beginObject().key("customer").text(c.customer);
        writeTotals(out, c.totals);
        out.endObject();
    }
    out.endArray().endObject();
    out.newline();
    return 0;
}

std::uint64_t checkedRecordNumber(const std::string& text) {
    std::uint64_t k = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), k);
    if (ec != std::errc() || end != text.data() + text.size() || k == 0) {
        throw BadInput("history: --job-of: \"" + text +
                       "\" is not a record number (1 for the first record listed)");
    }
    return k;
}

}  // namespace

int runHistory(CommandContext& ctx) {
    HistoryQuery query;
    std::optional<double> deleteUpTo;
    std::optional<std::uint64_t> jobOf;
    bool summary = false;
    int modes = 0;
    for (std::size_t i = 0; i < ctx.args.size(); ++i) {
        const std::string& option = ctx.args[i];
        if (option == "--summary") {
            summary = true;
            continue;
        }
        if (i + 1 >= ctx.args.size()) {
            throw BadInput("history: " + option + " needs a value (see --help)");
        }
        const std::string& value = ctx.args[++i];
        if (option == "--job-of") {
            jobOf = checkedRecordNumber(value);
            continue;
        }
        if (option == "--customer") {
            query.mode = HistoryMode::Customer;
            query.customer = checkedName(value, kCustomerChars, "--customer");
        } else if (option == "--job") {
            query.mode = HistoryMode::JobName;
            query.jobName = checkedName(value, kJobNameChars, "--job");
        } else if (option == "--after") {
            query.mode = HistoryMode::Date;
            checkedDay(value, "--after");
            query.cutoff = value;
        } else if (option == "--delete-up-to") {
            deleteUpTo = checkedDay(value, "--delete-up-to");
        } else {
            throw BadInput("history: unknown option " + option);
        }
        ++modes;
    }
    if (modes > 1) {
        throw BadInput("history: give one of --customer, --job, --after or --delete-up-to");
    }
    if ((jobOf || summary) && deleteUpTo) {
        throw BadInput("history: --job-of and --summary read, they do not go with --delete-up-to");
    }
    if (jobOf && summary) {
        throw BadInput("history: give --job-of or --summary, not both");
    }

    const auto file = ctx.folder.file(kHistoryFileName);
    JsonWriter out(ctx.out);
    if (deleteUpTo) {
        std::size_t dropped = 0;
        std::uint64_t kept = 0;
        // The job descriptions saved with the records go with them.
        IoStatus status = deleteHistoryWithJobsUpTo(ctx.folder, *deleteUpTo, &dropped);
        if (status) {
            status = countHistoryRecords(file, kept);
        }
        if (!status) {
            std::cerr << "history: " << status.message << '\n';
            return 1;
        }
        out.beginObject()
            .key("deleted")
            .integer(static_cast<std::int64_t>(dropped))
            .key("kept")
            .integer(static_cast<std::int64_t>(kept))
            .endObject();
        out.newline();
        return 0;
    }
    const auto matcher = HistoryMatcher::from(query);
    if (jobOf) {
        return printSavedJob(ctx, *matcher, *jobOf);
    }
    if (summary) {
        return printSummary(ctx, *matcher);
    }
    HistoryScanResult result;
    // A history of millions of records is not read to the end once the
    // answers can no longer be written.
    const IoStatus status = scanHistory(
        file, *matcher,
        [&](std::string_view data, std::uint64_t) { writeRecord(out, decodeJilu(data)); },
        [&](std::uint64_t, std::uint64_t) { return !out.failed(); }, result);
    out.flush();
    if (!status) {
        std::cerr << "history: " << status.message << '\n';
        return 1;
    }
    return 0;
}

}  // namespace inkquot::cli
