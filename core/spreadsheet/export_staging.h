#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/common/file_lock.h"
#include "core/common/io_status.h"
#include "core/common/native_file.h"

namespace inkquot {

// Everything an export writes before the finished file replaces its target
// lives in one folder of its own beside the target (".价格表.xlsx.a1B2c3",
// named as the writers name their temporary files), locked while the export
// runs: the workbook library's output and its temporary files, and the
// finished file until it is renamed over the target. The folder goes when
// the export ends, whatever the outcome. One left behind by a process that
// was killed is removed by the next export into the same folder, which
// tells it from a running export's by its lock; so is a temporary file of
// an export beside its target, as older versions of the program wrote them.
class ExportStaging {
public:
    explicit ExportStaging(std::filesystem::path target);
    ~ExportStaging();
    ExportStaging(const ExportStaging&) = delete;
    ExportStaging& operator=(const ExportStaging&) = delete;

    // The folder is made and locked; when not, failure() says why.
    bool ready() const { return lock_.locked(); }
    const std::filesystem::path& folder() const { return folder_; }
    const std::filesystem::path& target() const { return target_; }
    // Within the folder, under the target's own name.
    std::filesystem::path file() const { return folder_ / target_.filename(); }

    // Writes `bytes` as the new target: flushed to disk in the folder, then
    // renamed over the target, whose folder is flushed after.
    IoStatus place(std::string_view bytes);
    // Renames a file of the folder, complete and flushed, over the target.
    IoStatus placeStaged(const std::filesystem::path& staged);

    // The one line that tells why the target could not be written, after a
    // step that failed with `fault` (Fault::None when the step did not
    // say; `otherwise` is the cause then, unless the disk tells a better
    // one): the file always, and the cause where one is known.
    std::string failure(native::Fault fault = native::Fault::None,
                        std::string_view otherwise = {}) const;

private:
    std::filesystem::path target_;
    std::filesystem::path folder_;
    native::FileLock lock_;
    native::Fault fault_ = native::Fault::None;
};

// Removes what killed exports left in `folder`: their own folders that no
// running export holds, and temporary files of ".xlsx" and ".csv" targets.
void removeExportLeftovers(const std::filesystem::path& folder);

}  // namespace inkquot
