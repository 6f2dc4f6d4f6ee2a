#include "core/records/history_jobs.h"

#include <charconv>
#include <fstream>
#include <functional>
#include <system_error>
#include <utility>

#include "core/common/file_io.h"
#include "core/common/file_switch.h"
#include "core/common/program_folder_lock.h"

namespace inkquot {

namespace {

constexpr std::string_view kHeader = "inkquot-history-jobs 1";
constexpr std::string_view kHeaderStem = "inkquot-history-jobs ";
constexpr const char* kUnchanged = "历史记录未改动。";
// Lines are copied in pieces of about this size.
constexpr std::size_t kPieceBytes = 1024 * 1024;

std::uint64_t fnv1a64(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 0x100000001b3ULL;
    }
    return h;
}

std::string keyText(const HistoryRecordKey& key) {
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, key.riqi);
    std::string text(buffer, end);
    text += '\t';
    char hex[17];
    auto [hexEnd, hexEc] = std::to_chars(hex, hex + 16, key.checksum, 16);
    text.append(16 - static_cast<std::size_t>(hexEnd - hex), '0');
    text.append(hex, hexEnd);
    return text;
}

// One line of the file, split; no value for a line that is not one.
struct Line {
    HistoryRecordKey key;
    std::string_view jobText;
};

std::optional<Line> parseLine(std::string_view line) {
    const std::size_t tab1 = line.find('\t');
    if (tab1 == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t tab2 = line.find('\t', tab1 + 1);
    if (tab2 == std::string_view::npos || tab2 - tab1 - 1 != 16) {
        return std::nullopt;
    }
    Line out;
    const char* first = line.data();
    auto r = std::from_chars(first, first + tab1, out.key.riqi);
    if (r.ec != std::errc() || r.ptr != first + tab1) {
        return std::nullopt;
    }
    const char* hex = line.data() + tab1 + 1;
    auto h = std::from_chars(hex, hex + 16, out.key.checksum, 16);
    if (h.ec != std::errc() || h.ptr != hex + 16) {
        return std::nullopt;
    }
    out.jobText = line.substr(tab2 + 1);
    if (out.jobText.empty() || out.jobText.front() != '{') {
        return std::nullopt;
    }
    return out;
}

enum class FileState { Missing, Ours, Newer, Foreign, Unreadable };

// Opens the descriptions file and reads its header line.
FileState openJobs(const std::filesystem::path& file, std::ifstream& in) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        return FileState::Missing;
    }
    if (ec || status.type() != std::filesystem::file_type::regular) {
        return FileState::Unreadable;
    }
    in.open(file, std::ios::binary);
    if (!in) {
        return FileState::Unreadable;
    }
    std::string header;
    if (!std::getline(in, header)) {
        return in.bad() ? FileState::Unreadable : FileState::Foreign;
    }
    if (header == kHeader) {
        return FileState::Ours;
    }
    return header.starts_with(kHeaderStem) ? FileState::Newer : FileState::Foreign;
}

std::string damagedMessage(const std::filesystem::path& file, FileState state) {
    if (state == FileState::Newer) {
        return "印件描述文件“" + displayName(file) +
               "”由较新版本的程序保存，本程序无法读取，不能调出印件。";
    }
    if (state == FileState::Unreadable) {
        return "无法读取印件描述文件“" + displayName(file) + "”，不能调出印件。";
    }
    return "印件描述文件“" + displayName(file) + "”已损坏，不能调出印件；历史记录本身不受影响。";
}

// Removes a staged file unless the switch has taken it over.
struct StagedFile {
    std::filesystem::path path;
    ~StagedFile() {
        if (!path.empty()) {
            native::removeFile(path);
        }
    }
    std::filesystem::path release() { return std::exchange(path, {}); }
};

// Streams the lines of our file through `keep` into a staged copy, then
// `extraLine`. `in` stands after the header.
IoStatus stageJobsRewrite(const std::filesystem::path& file, std::ifstream& in,
                          const std::function<bool(std::string_view line)>& keep,
                          std::string_view extraLine, std::filesystem::path& staged) {
    AtomicFileWriter writer(file);
    std::string out(kHeader);
    out += '\n';
    bool writing = true;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || !keep(line)) {
            continue;
        }
        out += line;
        out += '\n';
        if (out.size() >= kPieceBytes) {
            writing = writing && writer.write(out);
            out.clear();
        }
    }
    if (in.bad()) {
        return IoStatus::failure(IoError::ReadFailed, "无法读取文件“" + displayName(file) + "”。");
    }
    if (writing) {
        out += extraLine;
        writer.write(out);
    }
    return writer.stage(staged);
}

// Whether `file` ends with a line break (a whole last line), read from its
// last byte; its size goes to `size`.
bool endsWithWholeLine(const std::filesystem::path& file, std::uint64_t& size) {
    std::error_code ec;
    size = std::filesystem::file_size(file, ec);
    if (ec || size == 0) {
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    char last = 0;
    return in.seekg(static_cast<std::streamoff>(size - 1)) && in.get(last) && last == '\n';
}

// Saving in place: the record goes on the end of the history, then its line
// on the end of the descriptions, each flushed to disk; old records and
// lines are never moved. A crash between the two leaves a record without a
// description, which reopening reports as such, never a description on the
// wrong record; a failed line cuts the history back. Nullopt when the files
// are not in the shape this needs (a torn tail, a new file, no permission):
// the caller then replaces both files through the journal.
std::optional<IoStatus> appendInPlace(const std::filesystem::path& history,
                                      const std::filesystem::path& jobs, std::string_view slot,
                                      std::string_view line, bool& lineAdded) {
    lineAdded = false;
    std::error_code ec;
    const auto historySize = std::filesystem::file_size(history, ec);
    std::uint64_t jobsSize = 0;
    if (ec || historySize == 0 || historySize % kHistorySlotLength != 0 ||
        !endsWithWholeLine(jobs, jobsSize) || !native::isWritable(history) ||
        !native::isWritable(jobs)) {
        return std::nullopt;
    }
    if (IoStatus saved = appendToFile(history, historySize, slot); !saved) {
        return saved;
    }
    if (IoStatus added = appendToFile(jobs, jobsSize, line); !added) {
        if (!cutFileBack(history, historySize)) {
            // The record could not be taken back: it is saved, only
            // without its description.
            return IoStatus::success();
        }
        return added;
    }
    lineAdded = true;
    return IoStatus::success();
}

}  // namespace

HistoryRecordKey historyRecordKey(std::string_view data) {
    return {savedDayOf(data), fnv1a64(data.substr(0, kJiluDataLength))};
}

IoStatus appendHistoryWithJob(const ProgramFolder& folder, const JiluRec& rec,
                              std::string_view jobText, bool* jobStored) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    if (jobStored != nullptr) {
        *jobStored = false;
    }
    std::string slot;
    IoStatus status = encodeJiluSlot(rec, slot);
    if (!status) {
        return status;
    }
    const auto history = folder.file(kHistoryFileName);
    const auto jobs = folder.file(kHistoryJobsFileName);
    const bool oneLine =
        !jobText.empty() && jobText.find_first_of("\r\n") == std::string_view::npos;
    const std::string line =
        oneLine ? keyText(historyRecordKey(std::string_view(slot).substr(0, kJiluDataLength))) +
                      "\t" + std::string(jobText) + "\n"
                : std::string();
    if (oneLine) {
        std::ifstream in;
        if (openJobs(jobs, in) == FileState::Ours) {
            in.close();
            bool lineAdded = false;
            if (auto inPlace = appendInPlace(history, jobs, slot, line, lineAdded)) {
                if (*inPlace && jobStored != nullptr) {
                    *jobStored = lineAdded;
                }
                return *inPlace;
            }
        }
    }
    StagedFile stagedHistory;
    status = stageHistoryRewrite(
        history, [](std::string_view) { return true; }, slot, stagedHistory.path);
    if (!status) {
        return status;
    }

    StagedFile stagedJobs;
    if (oneLine) {
        std::ifstream in;
        switch (openJobs(jobs, in)) {
            case FileState::Missing:
                status = stageFile(jobs, std::string(kHeader) + "\n" + line, stagedJobs.path);
                break;
            case FileState::Ours:
                status = stageJobsRewrite(
                    jobs, in, [](std::string_view) { return true; }, line, stagedJobs.path);
                break;
            case FileState::Newer:
            case FileState::Foreign:
            case FileState::Unreadable:
                // Left as it is: the record is saved without its description.
                break;
        }
        if (!status) {
            return status;
        }
    }

    FileSwitch change(folder);
    change.replaceStaged(history, stagedHistory.release());
    const bool withJob = !stagedJobs.path.empty();
    if (withJob) {
        change.replaceStaged(jobs, stagedJobs.release());
    }
    status = change.commit(kUnchanged);
    if (status && jobStored != nullptr) {
        *jobStored = withJob;
    }
    return status;
}

IoStatus deleteHistoryWithJobsUpTo(const ProgramFolder& folder, double cutoffDay,
                                   std::size_t* dropped) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    const auto history = folder.file(kHistoryFileName);
    const auto jobs = folder.file(kHistoryJobsFileName);
    StagedFile stagedHistory;
    IoStatus status = stageHistoryRewrite(
        history, [cutoffDay](std::string_view data) { return savedDayOf(data) > cutoffDay; }, {},
        stagedHistory.path, dropped);
    if (!status) {
        return status;
    }
    StagedFile stagedJobs;
    std::ifstream in;
    if (openJobs(jobs, in) == FileState::Ours) {
        // A line that cannot be read is kept as it is: only deleting
        // everything removes it.
        status = stageJobsRewrite(
            jobs, in,
            [cutoffDay](std::string_view line) {
                const auto parsed = parseLine(line);
                return !parsed || parsed->key.riqi > cutoffDay;
            },
            {}, stagedJobs.path);
        if (!status) {
            return status;
        }
    }
    // Closed before the switch: Windows refuses to replace a file that is
    // still open.
    in.close();
    FileSwitch change(folder);
    change.replaceStaged(history, stagedHistory.release());
    if (!stagedJobs.path.empty()) {
        change.replaceStaged(jobs, stagedJobs.release());
    }
    return change.commit(kUnchanged);
}

IoStatus deleteHistoryWithJobs(const ProgramFolder& folder) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    FileSwitch change(folder);
    change.remove(folder.file(kHistoryFileName));
    change.remove(folder.file(kHistoryJobsFileName));
    return change.commit(kUnchanged);
}

SavedJob findSavedJob(const ProgramFolder& folder, std::string_view data,
                      std::uint64_t occurrence) {
    const auto file = folder.file(kHistoryJobsFileName);
    SavedJob out;
    std::ifstream in;
    const FileState state = openJobs(file, in);
    if (state == FileState::Missing) {
        out.state = SavedJobState::NoFile;
        out.message = "这条记录没有保存印件描述（找不到印件描述文件“" + displayName(file) +
                      "”），无法调出印件。";
        return out;
    }
    if (state != FileState::Ours) {
        out.state =
            state == FileState::Unreadable ? SavedJobState::ReadFailed : SavedJobState::Damaged;
        out.message = damagedMessage(file, state);
        return out;
    }
    const HistoryRecordKey key = historyRecordKey(data);
    bool damagedLines = false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) {
            continue;
        }
        const auto parsed = parseLine(line);
        if (!parsed) {
            damagedLines = true;
            continue;
        }
        if (!(parsed->key == key)) {
            continue;
        }
        if (occurrence > 0) {
            --occurrence;
            continue;
        }
        out.state = SavedJobState::Found;
        out.jobText = std::string(parsed->jobText);
        return out;
    }
    if (in.bad()) {
        out.state = SavedJobState::ReadFailed;
        out.message = damagedMessage(file, FileState::Unreadable);
    } else if (damagedLines) {
        out.state = SavedJobState::Damaged;
        out.message = "印件描述文件“" + displayName(file) +
                      "”中有损坏的内容，这条记录的印件描述无法读出，不能调出印件。";
    } else {
        out.state = SavedJobState::NotSaved;
        out.message =
            "这条记录保存时没有保存印件描述（可能是较早版本的程序保存的），无法调出印件。";
    }
    return out;
}

IoStatus findListedRecord(const std::filesystem::path& historyFile, const HistoryMatcher& matcher,
                          std::uint64_t k, std::optional<ListedRecord>& found) {
    found.reset();
    if (k == 0) {
        return IoStatus::success();
    }
    std::uint64_t matched = 0;
    std::uint64_t position = 0;  // of the record found, from 0
    std::uint64_t seen = 0;
    ListedRecord record;
    bool stopped = false;
    IoStatus status = forEachHistoryRecord(
        historyFile,
        [&](std::string_view data) {
            if (matched < k && matcher.matches(data) && ++matched == k) {
                record.data = std::string(data);
                position = seen;
            }
            ++seen;
        },
        [&](std::uint64_t, std::uint64_t) { return matched < k; }, &stopped);
    if (!status || matched < k) {
        return status;
    }
    // The earlier records with the same bytes come first in the descriptions.
    const HistoryRecordKey key = historyRecordKey(record.data);
    std::uint64_t index = 0;
    status = forEachHistoryRecord(
        historyFile,
        [&](std::string_view data) {
            if (index < position && savedDayOf(data) == key.riqi && historyRecordKey(data) == key) {
                ++record.occurrence;
            }
            ++index;
        },
        [&](std::uint64_t, std::uint64_t) { return index < position; }, &stopped);
    if (status) {
        found = std::move(record);
    }
    return status;
}

}  // namespace inkquot
