#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "core/common/io_status.h"
#include "core/common/program_folder.h"
#include "core/records/history_file.h"
#include "core/records/history_scan.h"

namespace inkquot {

// The job descriptions of saved quotations, kept beside the history in a
// file of their own so that frecord.dat keeps its layout byte for byte. A
// text file: a header line, then one line per saved description,
//
//   inkquot-history-jobs 1
//   46000<TAB>9f3a0c5e1b2d4477<TAB>{"version":1,"kind":0,"controls":{...}}
//
// Each line is keyed by the day its record was saved and a checksum of the
// record's 440 stored bytes, so that it can only ever be attached to a
// record with exactly those bytes: a line that is out of step with the
// history (a file restored from elsewhere, a history edited by an older
// program) attaches to nothing rather than to the wrong quotation. Records
// saved without a description (by older programs) simply have no line.
//
// The history and this file change together, through the program folder's
// journal: saving a quotation, deleting up to a date and deleting
// everything make both changes or neither.
inline constexpr const char* kHistoryJobsFileName = "frecord.jobs";

struct HistoryRecordKey {
    double riqi = 0;
    std::uint64_t checksum = 0;
    bool operator==(const HistoryRecordKey&) const = default;
};

// The key of a record from its stored data bytes (the first 440 of its slot).
HistoryRecordKey historyRecordKey(std::string_view data);

// Appends `rec` to the history and `jobText` (one line of JSON, the job
// description that was priced; empty for none) to the descriptions, both or
// neither. When the descriptions file cannot take a line (it is damaged or
// of a newer format, and is left alone), the record is saved without its
// description and `jobStored` is false.
IoStatus appendHistoryWithJob(const ProgramFolder& folder, const JiluRec& rec,
                              std::string_view jobText, bool* jobStored = nullptr);

// Keeps only the records saved after the cut-off day, and the descriptions
// of those days, in one step. `dropped` counts the records removed.
IoStatus deleteHistoryWithJobsUpTo(const ProgramFolder& folder, double cutoffDay,
                                   std::size_t* dropped = nullptr);

// Removes the history and its descriptions in one step.
IoStatus deleteHistoryWithJobs(const ProgramFolder& folder);

// The description saved with a record, for reopening it.
enum class SavedJobState {
    Found,       // `jobText` holds it
    NotSaved,    // the record was saved without one
    NoFile,      // there is no descriptions file at all
    Damaged,     // the file (or the record's line) cannot be read as written
    ReadFailed,  // the file cannot be read
};
struct SavedJob {
    SavedJobState state = SavedJobState::NotSaved;
    std::string jobText;
    std::string message;  // for every state but Found, ready to show
};

// The description of the record with stored bytes `data`. Records with the
// same bytes (the same quotation saved twice on one day) take the lines of
// that key in their order: `occurrence` counts the earlier records of the
// history with the same key.
SavedJob findSavedJob(const ProgramFolder& folder, std::string_view data,
                      std::uint64_t occurrence = 0);

// A record as the history page lists it: its stored bytes and the number of
// earlier records with the same key.
struct ListedRecord {
    std::string data;
    std::uint64_t occurrence = 0;
};

// The k-th record (from 1) of the history that `matcher` accepts, in file
// order; no value when fewer match.
IoStatus findListedRecord(const std::filesystem::path& historyFile, const HistoryMatcher& matcher,
                          std::uint64_t k, std::optional<ListedRecord>& found);

}  // namespace inkquot
