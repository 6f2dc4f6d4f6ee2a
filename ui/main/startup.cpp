#include "ui/main/startup.h"

#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <system_error>

#include "core/pricedata/startup_recovery.h"
#include "ui/common/dialogs.h"
#include "ui/main/frmnew.h"
#include "ui/main/password_check.h"

namespace {

// A window of a comfortable size in the middle of a large screen; on a
// small one (800 x 600) the window takes the whole work area.
void showOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize wanted(1024, 700);
    if (!screen) {
        window->show();
        return;
    }
    const QRect area = screen->availableGeometry();
    if (area.width() < wanted.width() + 40 || area.height() < wanted.height() + 60) {
        // Sized to the work area too, for a desktop that does not maximise.
        window->setGeometry(area);
        window->showMaximized();
        return;
    }
    window->resize(wanted);
    window->move(area.center() - QPoint(wanted.width() / 2, wanted.height() / 2));
    window->show();
}

}  // namespace

bool screenIsLargeEnough(QSize screen) {
    return screen.width() >= 800 && screen.height() >= 600;
}

QString SingleInstance::lockPathFor(const std::filesystem::path& programFolder) {
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(programFolder, ec);
    if (ec) {
        canonical = programFolder.lexically_normal();
    }
    const std::string key = canonical.string();
    const QByteArray hash = QCryptographicHash::hash(QByteArray(key.data(), qsizetype(key.size())),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(24);
    return QDir::temp().filePath(QStringLiteral("inkquot-%1.lock").arg(QString::fromLatin1(hash)));
}

SingleInstance::SingleInstance(const std::filesystem::path& programFolder)
    : path_(lockPathFor(programFolder)), lock_(path_) {
    // Only a dead holder makes a lock stale, however old the lock is.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    if (lock_.isLocked()) {
        return true;
    }
    // tryLock takes over a lock whose holder has died.
    if (lock_.tryLock(0)) {
        return true;
    }
    if (lock_.error() == QLockFile::LockFailedError) {
        return false;  // another running program holds it
    }
    // The lock cannot be made at all (no writable temp folder): starting
    // without the guard is better than never starting.
    return true;
}

void SingleInstance::release() {
    lock_.unlock();
}

StartResult startProgram(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                         const inkquot::Clock& clock, QSize screen, SingleInstance& instance) {
    StartResult result;
    if (!instance.acquire()) {
        result.outcome = StartOutcome::AlreadyRunning;
        return result;
    }
    if (!screenIsLargeEnough(screen)) {
        dialogs.warning(nullptr, QStringLiteral("请在800X600显示分辨率下运行墨衡助手!"));
        result.outcome = StartOutcome::ScreenTooSmall;
        return result;
    }
    // A scheme operation that a crash interrupted is undone, and killed
    // writers' temporary files removed, before any file is read.
    if (const auto recovered = inkquot::recoverProgramFolder(folder); !recovered) {
        dialogs.warning(nullptr, QString::fromStdString(recovered.message));
    }
    ensurePasswordFile(folder, dialogs);
    result.window = std::make_unique<FrmNew>(folder, dialogs, clock);
    result.window->load();
    showOnScreen(result.window.get());
    result.outcome = StartOutcome::Started;
    return result;
}
