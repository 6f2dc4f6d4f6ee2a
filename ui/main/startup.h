#pragma once

#include <QSize>
#include <QString>
#include <filesystem>
#include <memory>

#include "core/common/clock.h"
#include "core/common/file_lock.h"
#include "core/common/program_folder.h"

class Dialogs;
class FrmNew;

// Once the application object exists: the program's name, version and
// icon, the Fusion style, and Qt's own texts (dialog buttons, menus) in
// Chinese, which the password prompt already needs.
void prepareApplication();

// The smallest screen the program runs on.
bool screenIsLargeEnough(QSize screen);

// One running program per program folder. The lock file lives in the temp
// folder under a name made from the folder's path. The lock is the system's
// advisory lock on that open file, which ends with the process that holds
// it: the lock of a program that crashed is free for the next start, and
// nothing needs to reach the disk.
class SingleInstance {
public:
    explicit SingleInstance(const std::filesystem::path& programFolder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another running program holds the lock.
    bool acquire();
    void release();

    const QString& lockPath() const { return path_; }
    static QString lockPathFor(const std::filesystem::path& programFolder);

private:
    QString path_;
    inkquot::native::FileLock lock_;  // held while this program runs
};

enum class StartOutcome { AlreadyRunning, ScreenTooSmall, Started };

struct StartResult {
    StartOutcome outcome = StartOutcome::Started;
    std::unique_ptr<FrmNew> window;  // set when started
};

// The program's start: ends silently when another instance runs, warns and
// ends on a screen below 800 x 600, otherwise shows the main window (which
// asks for the password when it is first activated and loads while the
// prompt is open). A missing
// password file is created with the initial password first.
StartResult startProgram(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                         const inkquot::Clock& clock, QSize screen, SingleInstance& instance);
