#include "ui/main/password_check.h"

#include "ui/common/dialogs.h"

namespace {

std::filesystem::path usersFile(const inkquot::ProgramFolder& folder) {
    return folder.file("users.dat");
}

}  // namespace

std::optional<inkquot::UserRec> readStoredPassword(const inkquot::ProgramFolder& folder) {
    return inkquot::readUserFile(usersFile(folder));
}

bool passwordMatches(const QString& typed, const std::optional<inkquot::UserRec>& stored) {
    return inkquot::passwordMatches(stored, typed.toStdString());
}

QString storePassword(const inkquot::ProgramFolder& folder, const QString& password) {
    const auto status = inkquot::writePassword(usersFile(folder), password.toStdString());
    return status.ok() ? QString() : QString::fromStdString(status.message);
}

void ensurePasswordFile(const inkquot::ProgramFolder& folder, Dialogs& dialogs) {
    const auto status = inkquot::ensureUserFile(usersFile(folder));
    if (!status.ok()) {
        dialogs.warning(nullptr, QString::fromStdString(status.message));
    }
}
