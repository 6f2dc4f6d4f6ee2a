#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <streambuf>
#include <string>
#include <string_view>

#include "core/job/form_state.h"
#include "core/job/json_writer.h"

namespace inkquot::cli {

// Reads the jobs of a batch from standard input one at a time, so that a
// batch of any length needs the memory of one job. Three forms:
//   - one JSON object: a single job;
//   - a JSON array of objects: the elements in order ("price[3]");
//   - JSON Lines (lines = true): one object per line, empty lines skipped
//     ("price line 4").
// Anything after the object or the array but blanks is refused, a zero byte
// included.
class JobStream {
public:
    enum class Form { Single, Array, Lines };

    JobStream(std::istream& in, std::string command, bool lines);

    Form form() const { return form_; }

    // Called before the stream waits for input that has not come yet (and
    // only then), so that a program which sends a job and waits for its
    // answer before sending the next gets the answer first.
    void beforeWaiting(std::function<void()> hook) { beforeWaiting_ = std::move(hook); }

    struct Job {
        std::string where;     // the job's name in messages
        nlohmann::json value;  // the job, when `error` is empty
        std::string error;     // JSON Lines only: why the line is no job
    };

    // The next job; false after the last. A malformed single object or array
    // is refused with BadInput; in JSON Lines a malformed line comes back
    // with its `error` and the lines after it are still read.
    bool next(Job& job);

private:
    class Bytes;
    // Reads the object that starts at the next byte into `job`, refused with
    // BadInput as parseJsonText does.
    void readObject(Job& job);
    // Takes into held_ what the stream has ready, waiting only when it has
    // nothing; false at the end of the input.
    bool fill();
    // The next byte without taking it, and taking it; eof() at the end.
    int peekByte();
    int takeByte();
    bool readLine(std::string& line);
    int peekPastBlanks();
    void requireEnd();

    std::streambuf& in_;
    std::string held_;      // read from the stream, not yet taken
    std::size_t next_ = 0;  // the next byte of held_ to take
    std::function<void()> beforeWaiting_;
    std::string command_;
    Form form_ = Form::Single;
    bool done_ = false;
    std::uint64_t count_ = 0;  // elements or lines read
};

// Reads the job's description into `form`, as readJobDescription does.
void readJob(const JobStream::Job& job, FormState& form);

// Answers every job of `jobs` in turn: `answer` writes one job's answer to
// `out`. The batch's wrapping is written around them: the brackets of an
// array, a line per job in JSON Lines. A job refused (by `answer` or
// because its line is no JSON) ends an array or a single job with the
// refusal, after closing what was written; in JSON Lines it gets
// {"error": message} in its place and the next lines are still answered.
// The answers are handed on in large pieces, and whenever the next job has
// not come yet; once the output refuses them, no further job is read.
// Returns the exit code: 2 when a line was refused, else 0.
int answerJobs(JobStream& jobs, JsonWriter& out,
               const std::function<void(const JobStream::Job&)>& answer);

}  // namespace inkquot::cli
