#include "core/job/job_file.h"

#include <sstream>

#include "core/common/file_io.h"
#include "core/job/job_description.h"
#include "core/job/json_text.h"
#include "core/job/json_writer.h"

namespace inkquot {

namespace {

using nlohmann::json;

// Line and column (from 1) of byte `offset` of `text`, for a message that
// points into a file the clerk may have edited by hand.
std::string positionText(std::string_view text, std::size_t offset) {
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "第" + std::to_string(line) + "行第" + std::to_string(column) + "列";
}

}  // namespace

std::string jobFileText(const json& description, bool oneLine) {
    std::ostringstream out;
    {
        JsonWriter file(out, oneLine ? JsonWriter::Layout::Compact : JsonWriter::Layout::Indented);
        // The version first, so that it is the first thing a reader meets.
        file.beginObject().key(kJobFileVersionField).integer(kJobFileVersion);
        for (const auto& [key, value] : description.items()) {
            if (key != kJobFileVersionField) {
                file.key(key).value(value);
            }
        }
        file.endObject();
        if (!oneLine) {
            file.newline();
        }
    }
    return out.str();
}

void checkJobFileVersion(const json& version, const std::string& where) {
    if (!version.is_number_integer() || version.get<std::int64_t>() < 1) {
        throw JobRefused(where + ": 字段“version”（格式版本）必须是正整数");
    }
    const auto v = version.get<std::int64_t>();
    if (v > kJobFileVersion) {
        throw JobRefused(where + ": 这个印件文件由较新版本的程序保存（格式版本" +
                         std::to_string(v) + "），本程序只能读取格式版本" +
                         std::to_string(kJobFileVersion) + "及以前的印件文件");
    }
}

void readJobFileText(std::string_view text, const std::string& where, FormState& form) {
    json job;
    try {
        job = readJsonText(text);
    } catch (const JsonTextError& e) {
        switch (e.fault()) {
            case JsonTextError::Fault::Syntax: {
                const std::size_t at = e.bytesRead() > 0 ? e.bytesRead() - 1 : 0;
                throw JobRefused(where + ": 不是印件文件：内容不是有效的JSON（" +
                                 positionText(text, at) + "）");
            }
            case JsonTextError::Fault::NumberRange:
                throw JobRefused(where + ": 不是印件文件：内容中有超出范围的数字");
            case JsonTextError::Fault::KeyTwice:
                throw JobRefused(where + ": 不是印件文件：同一个对象中“" + std::string(e.what()) +
                                 "”出现了两次");
        }
    }
    if (!job.is_object()) {
        throw JobRefused(where + ": 不是印件文件：内容应为一个JSON对象");
    }
    readJobDescription(job, where, form);
}

IoStatus writeJobFile(const std::filesystem::path& file, const json& description) {
    return writeFileAtomically(file, jobFileText(description));
}

}  // namespace inkquot
