#include "ui/main/startup.h"

#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <system_error>

#include "ui/main/dialogs.h"
#include "ui/main/frmnew.h"
#include "ui/main/password_check.h"

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
    if (lock_.tryLock(0)) {
        return true;
    }
    // tryLock already removes a lock whose holder is gone; a lock left by a
    // process that cannot be checked is also taken over when it is stale.
    if (lock_.error() == QLockFile::LockFailedError && lock_.removeStaleLockFile()) {
        return lock_.tryLock(0);
    }
    return false;
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
    ensurePasswordFile(folder, dialogs);
    result.window = std::make_unique<FrmNew>(folder, dialogs, clock);
    result.window->load();
    result.window->show();
    result.outcome = StartOutcome::Started;
    return result;
}
