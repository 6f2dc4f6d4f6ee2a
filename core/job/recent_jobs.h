#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"

namespace inkquot {

// The job files the clerk opened or saved last, newest first, kept in the
// program folder: an installed program keeps that folder per user, so each
// clerk has a list of their own. One UTF-8 path a line.
inline constexpr std::size_t kRecentJobCount = 10;
inline constexpr const char* kRecentJobsFileName = "recent_jobs.txt";

// The list; a missing or unreadable file is an empty list, and lines that
// are no path are skipped.
std::vector<std::string> readRecentJobs(const ProgramFolder& folder);

// Puts `path` at the top of the list (once), keeping the newest ten.
// Paths that a line cannot hold are not remembered.
IoStatus rememberRecentJob(const ProgramFolder& folder, const std::string& path);

// Takes `path` off the list (a file that has gone away).
IoStatus forgetRecentJob(const ProgramFolder& folder, const std::string& path);

// The customers the recent job files name, newest first, each once, without
// trailing blanks. A file that has gone, is too large or is no job is
// skipped, and so is a job that keeps the starting customer.
std::vector<std::string> customersOfRecentJobs(const ProgramFolder& folder);

}  // namespace inkquot
