#include "cli/job_stream.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <ostream>
#include <stdexcept>

#include "cli/cli_command.h"
#include "cli/json_io.h"
#include "core/job/job_description.h"

namespace inkquot::cli {

namespace {

bool isBlank(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

JobStream::JobStream(std::istream& in, std::string command, bool lines)
    : in_(*in.rdbuf()), command_(std::move(command)) {
    requireReadableInput(in, command_);
    if (lines) {
        form_ = Form::Lines;
        return;
    }
    const int c = peekPastBlanks();
    if (c == '[') {
        takeByte();
        form_ = Form::Array;
    } else if (c != '{') {
        throw BadInput(command_ + ": expected a JSON object or an array of objects");
    }
}

bool JobStream::fill() {
    if (next_ < held_.size()) {
        return true;
    }
    held_.clear();
    next_ = 0;
    // Nothing held and nothing that can be read without waiting: the
    // answers so far go out before the wait.
    if (in_.in_avail() <= 0 && beforeWaiting_) {
        beforeWaiting_();
    }
    if (in_.sgetc() == std::char_traits<char>::eof()) {
        return false;
    }
    // What the stream holds now is taken without another wait.
    constexpr std::streamsize kPiece = 64 * 1024;
    const std::streamsize ready = std::min(std::max<std::streamsize>(in_.in_avail(), 1), kPiece);
    held_.resize(static_cast<std::size_t>(ready));
    held_.resize(static_cast<std::size_t>(in_.sgetn(held_.data(), ready)));
    return !held_.empty();
}

int JobStream::peekByte() {
    return fill() ? static_cast<unsigned char>(held_[next_]) : std::char_traits<char>::eof();
}

int JobStream::takeByte() {
    return fill() ? static_cast<unsigned char>(held_[next_++]) : std::char_traits<char>::eof();
}

// One line without its line break; false at the end of the input.
bool JobStream::readLine(std::string& line) {
    line.clear();
    while (fill()) {
        const std::string_view rest = std::string_view(held_).substr(next_);
        const std::size_t end = rest.find('\n');
        line.append(rest.substr(0, end));
        if (end != std::string_view::npos) {
            next_ += end + 1;
            return true;
        }
        next_ = held_.size();
    }
    return !line.empty();
}

int JobStream::peekPastBlanks() {
    int c = peekByte();
    while (isBlank(c)) {
        takeByte();
        c = peekByte();
    }
    return c;
}

void JobStream::requireEnd() {
    if (peekPastBlanks() != std::char_traits<char>::eof()) {
        throw BadInput(command_ + ": unexpected bytes after the JSON input");
    }
}

// The input seen byte by byte, as the JSON library takes it: the library
// reads up to an object's closing brace and no further.
class JobStream::Bytes {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = char;

    Bytes() = default;  // the end of the input
    explicit Bytes(JobStream& stream) : stream_(&stream) {}

    char operator*() const { return static_cast<char>(stream_->peekByte()); }
    Bytes& operator++() {
        stream_->takeByte();
        return *this;
    }
    Bytes operator++(int) {
        Bytes before = *this;
        ++*this;
        return before;
    }
    bool operator==(const Bytes& other) const { return atEnd() == other.atEnd(); }

private:
    bool atEnd() const {
        return stream_ == nullptr || stream_->peekByte() == std::char_traits<char>::eof();
    }

    JobStream* stream_ = nullptr;
};

void JobStream::readObject(Job& job) {
    try {
        job.value = readJsonValue(Bytes(*this), Bytes());
    } catch (const JsonTextError& e) {
        throw jsonRefusal(e, job.where);
    }
}

void readJob(const JobStream::Job& job, FormState& form) {
    readJobDescription(job.value, job.where, form);
}

bool JobStream::next(Job& job) {
    job.where.clear();
    job.value = nullptr;
    job.error.clear();
    if (done_) {
        return false;
    }
    switch (form_) {
        case Form::Single: {
            done_ = true;
            job.where = command_;
            readObject(job);
            requireEnd();
            return true;
        }
        case Form::Array: {
            int c = peekPastBlanks();
            if (count_ > 0) {
                if (c == ',') {
                    takeByte();
                    c = peekPastBlanks();
                } else if (c != ']') {
                    throw BadInput(command_ + ": expected , or ] after element " +
                                   std::to_string(count_ - 1));
                }
            }
            if (c == ']') {
                takeByte();
                done_ = true;
                requireEnd();
                return false;
            }
            job.where = command_ + "[" + std::to_string(count_++) + "]";
            if (c == std::char_traits<char>::eof()) {
                throw BadInput(command_ + ": the array is not closed");
            }
            if (c != '{') {
                throw BadInput(job.where + ": expected a JSON object");
            }
            readObject(job);
            return true;
        }
        case Form::Lines: {
            std::string line;
            while (readLine(line)) {
                ++count_;
                if (line.find_first_not_of(" \t\r") == std::string::npos) {
                    continue;
                }
                job.where = command_ + " line " + std::to_string(count_);
                try {
                    if (line.find('\0') != std::string::npos) {
                        throw BadInput(job.where + ": the line holds a zero byte");
                    }
                    job.value = parseJsonText(line, job.where);
                    if (!job.value.is_object()) {
                        throw BadInput(job.where + ": expected a JSON object");
                    }
                } catch (const BadInput& e) {
                    job.value = nullptr;
                    job.error = e.what();
                }
                return true;
            }
            done_ = true;
            return false;
        }
    }
    return false;
}

int answerJobs(JobStream& jobs, JsonWriter& out,
               const std::function<void(const JobStream::Job&)>& answer) {
    jobs.beforeWaiting([&out] { out.flush(); });
    const bool lines = jobs.form() == JobStream::Form::Lines;
    const bool array = jobs.form() == JobStream::Form::Array;
    if (array) {
        out.beginArray();
    }
    bool refused = false;
    JobStream::Job job;
    try {
        while (jobs.next(job)) {
            try {
                if (!job.error.empty()) {
                    throw BadInput(job.error);
                }
                answer(job);
            } catch (const std::runtime_error& e) {
                // A refused job, whichever layer refused it.
                if (!lines) {
                    throw;
                }
                refused = true;
                out.value({{"error", e.what()}}, JsonWriter::Layout::Answers);
            }
            if (lines) {
                out.newline();
            }
            // The answers can no longer be written: the rest of the batch
            // is not priced for nothing.
            if (out.failed()) {
                break;
            }
        }
    } catch (const std::exception&) {
        if (array) {
            out.endArray();
            out.newline();
        }
        out.flush();
        throw;
    }
    if (!lines) {
        if (array) {
            out.endArray();
        }
        out.newline();
    }
    return refused ? 2 : 0;
}

}  // namespace inkquot::cli
