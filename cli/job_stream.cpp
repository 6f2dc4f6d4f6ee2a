#include "cli/job_stream.h"

#include <algorithm>
#include <istream>
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

// The text of one JSON object, read up to its closing brace: brackets are
// counted outside strings; the parser judges the text itself.
std::string JobStream::readValueText() {
    std::string text;
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (int c = takeByte(); c != std::char_traits<char>::eof(); c = takeByte()) {
        text.push_back(static_cast<char>(c));
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
        if (!inString && depth <= 0 && (c == '}' || c == ']')) {
            break;
        }
    }
    return text;
}

void JobStream::parse(std::string_view text, Job& job) {
    job.isFlat = job.flat.read(text);
    if (!job.isFlat) {
        job.value = parseJsonText(text, job.where);
    }
}

void readJob(const JobStream::Job& job, FormState& form) {
    if (job.isFlat) {
        readJobDescription(job.flat, job.where, form);
    } else {
        readJobDescription(job.value, job.where, form);
    }
}

bool JobStream::next(Job& job) {
    // The flat document keeps its room; the rest starts afresh.
    job.where.clear();
    job.isFlat = false;
    job.value = nullptr;
    job.error.clear();
    if (done_) {
        return false;
    }
    switch (form_) {
        case Form::Single: {
            done_ = true;
            job.where = command_;
            parse(readValueText(), job);
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
            parse(readValueText(), job);
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
                    parse(line, job);
                    if (!job.isFlat && !job.value.is_object()) {
                        throw BadInput(job.where + ": expected a JSON object");
                    }
                } catch (const BadInput& e) {
                    job.isFlat = false;
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
                out.beginObject().key("error").text(e.what()).endObject();
            }
            if (lines) {
                out.newline();
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
