#include "ui/main/startup.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStyleFactory>
#include <cerrno>
#include <system_error>

#include "core/common/file_io.h"
#include "core/pricedata/startup_recovery.h"
#include "inkquot_version.h"
#include "ui/common/dialogs.h"
#include "ui/main/app_icon.h"
#include "ui/main/folder_setup.h"
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

void prepareApplication() {
    QApplication::setApplicationName(applicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(INKQUOT_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("cn.inkquot.Inkquot"));
    QApplication::setWindowIcon(applicationIcon());
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
    }
    loadChineseQtTranslations();
}

bool screenIsLargeEnough(QSize screen) {
    return screen.width() >= 800 && screen.height() >= 600;
}

QString SingleInstance::lockPathFor(const std::filesystem::path& programFolder) {
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(programFolder, ec);
    if (ec) {
        canonical = programFolder.lexically_normal();
    }
    const std::string key = inkquot::displayName(canonical);
    const QByteArray hash = QCryptographicHash::hash(QByteArray(key.data(), qsizetype(key.size())),
                                                     QCryptographicHash::Sha256)
                                .toHex()
                                .left(24);
    return QDir::temp().filePath(QStringLiteral("inkquot-%1.lock").arg(QString::fromLatin1(hash)));
}

SingleInstance::SingleInstance(const std::filesystem::path& programFolder)
    : path_(lockPathFor(programFolder)) {}

SingleInstance::~SingleInstance() {
    release();
}

bool SingleInstance::acquire() {
    if (lock_.locked()) {
        return true;
    }
    const QByteArray file = path_.toUtf8();
    auto outcome = inkquot::native::FileLock::Outcome::Unavailable;
    lock_ = inkquot::native::FileLock::tryLockFile(
        inkquot::pathFromUtf8(std::string_view(file.constData(), size_t(file.size()))), outcome);
    if (outcome == inkquot::native::FileLock::Outcome::HeldByAnother) {
        return false;  // only when another running program holds it
    }
    // When the lock cannot be made at all (no writable temp folder),
    // starting without the guard is better than never starting.
    if (lock_.locked()) {
        // The holder's process id, for a person who finds the file.
        const QByteArray pid = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
        lock_.writeNote(std::string_view(pid.constData(), size_t(pid.size())));
    }
    return true;
}

void SingleInstance::release() {
    lock_ = {};  // ends the lock; the file stays for the next start
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
    // Shown before it is loaded: the window asks for the password at once
    // and loads while the prompt waits for the answer.
    result.window = std::make_unique<FrmNew>(folder, dialogs, clock);
    showOnScreen(result.window.get());
    result.outcome = StartOutcome::Started;
    return result;
}
