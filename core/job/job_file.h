#pragma once

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "core/common/io_status.h"
#include "core/job/form_state.h"

namespace inkquot {

// A job file (".inkjob"): the job description that `inkquot-cli price`
// reads, with the format version of the file beside the kind:
//
//   {"version": 1, "kind": 2, "controls": {"txtshuliang": {"2": "1000"}, ...}}
//
// The tool prices a job file as it stands; the pricing page saves and opens
// them. A later program that changes the format raises the version, and an
// older program refuses such a file instead of guessing.
inline constexpr int kJobFileVersion = 1;
inline constexpr const char* kJobFileSuffix = ".inkjob";
inline constexpr const char* kJobFileVersionField = "version";

// The text of a job file for `description` (a job description as
// describeJob gives it): indented JSON in UTF-8 ending in a line end, or
// with `oneLine` the same on a single line without a line end (as the
// history keeps it).
std::string jobFileText(const nlohmann::json& description, bool oneLine = false);

// Checks the version field of a job description; a description without one
// is read as the current format. Throws JobRefused, the message starting
// with `where`, for a value that is no version and for a newer format.
void checkJobFileVersion(const nlohmann::json& version, const std::string& where);

// Reads the text of a job file onto `form`, which holds the starting
// contents with the paper lists filled. Throws JobRefused with one message
// that names the problem (and the control): a text that is not JSON, a
// newer format version, an unknown control, a value the screen refuses, a
// text that no entry box can hold (a line break or other control character).
void readJobFileText(std::string_view text, const std::string& where, FormState& form);

// Writes a job file as a whole (written beside the target, then renamed):
// a failure leaves any file of that name as it was.
IoStatus writeJobFile(const std::filesystem::path& file, const nlohmann::json& description);

}  // namespace inkquot
