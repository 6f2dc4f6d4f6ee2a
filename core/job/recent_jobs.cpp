#include "core/job/recent_jobs.h"

#include <algorithm>

#include "core/common/file_io.h"
#include "core/common/program_folder_lock.h"
#include "core/job/json_text.h"

namespace inkquot {

namespace {

// Ten paths; anything much larger is not this list.
constexpr std::size_t kMaxListBytes = 64 * 1024;
// A job file is a few kilobytes.
constexpr std::size_t kMaxJobBytes = 1024 * 1024;

// The customer box of the job's own kind, as the file holds it.
std::string customerOfJobText(std::string_view text) {
    try {
        const nlohmann::json job = readJsonText(text);
        const auto kind = job.find("kind");
        const auto controls = job.find("controls");
        if (kind == job.end() || !kind->is_number_integer() || controls == job.end() ||
            !controls->is_object()) {
            return {};
        }
        const auto boxes = controls->find("txtkehuming");
        if (boxes == controls->end() || !boxes->is_object()) {
            return {};
        }
        const auto box = boxes->find(std::to_string(kind->get<std::int64_t>()));
        if (box == boxes->end() || !box->is_string()) {
            return {};
        }
        std::string name = box->get<std::string>();
        name.erase(name.find_last_not_of(' ') + 1);
        return name;
    } catch (const std::exception&) {
        return {};
    }
}

bool isStorablePath(const std::string& path) {
    return !path.empty() && std::none_of(path.begin(), path.end(), [](char c) {
        return c == '\n' || c == '\r' || c == '\0';
    });
}

IoStatus writeRecentJobs(const ProgramFolder& folder, const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& p : paths) {
        text += p + "\n";
    }
    return writeFileAtomically(folder.file(kRecentJobsFileName), text);
}

}  // namespace

std::vector<std::string> readRecentJobs(const ProgramFolder& folder) {
    std::string text;
    std::vector<std::string> paths;
    if (!readWholeFile(folder.file(kRecentJobsFileName), text, kMaxListBytes)) {
        return paths;
    }
    std::size_t start = 0;
    while (start < text.size() && paths.size() < kRecentJobCount) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (isStorablePath(line) && std::find(paths.begin(), paths.end(), line) == paths.end()) {
            paths.push_back(std::move(line));
        }
        start = end + 1;
    }
    return paths;
}

IoStatus rememberRecentJob(const ProgramFolder& folder, const std::string& path) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    if (!isStorablePath(path)) {
        return IoStatus::success();
    }
    std::vector<std::string> paths = readRecentJobs(folder);
    std::erase(paths, path);
    paths.insert(paths.begin(), path);
    if (paths.size() > kRecentJobCount) {
        paths.resize(kRecentJobCount);
    }
    return writeRecentJobs(folder, paths);
}

IoStatus forgetRecentJob(const ProgramFolder& folder, const std::string& path) {
    const ProgramFolderLock lock(folder);
    if (!lock) {
        return lock.refusal();
    }
    std::vector<std::string> paths = readRecentJobs(folder);
    if (std::erase(paths, path) == 0) {
        return IoStatus::success();
    }
    return writeRecentJobs(folder, paths);
}

std::vector<std::string> customersOfRecentJobs(const ProgramFolder& folder) {
    std::vector<std::string> names;
    for (const std::string& path : readRecentJobs(folder)) {
        std::string text;
        if (!readWholeFile(pathFromUtf8(path), text, kMaxJobBytes)) {
            continue;
        }
        std::string name = customerOfJobText(text);
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

}  // namespace inkquot
