#include "core/job/recent_jobs.h"

#include <algorithm>

#include "core/common/file_io.h"
#include "core/common/program_folder_lock.h"

namespace inkquot {

namespace {

// Ten paths; anything much larger is not this list.
constexpr std::size_t kMaxListBytes = 64 * 1024;

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

}  // namespace inkquot
