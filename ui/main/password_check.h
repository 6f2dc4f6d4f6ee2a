#pragma once

#include <QString>
#include <optional>

#include "core/common/program_folder.h"
#include "core/records/user_file.h"

class Dialogs;

// The screens' side of the password file users.dat.

// Slot 1 of users.dat; none when the file is missing, empty or unreadable,
// and then no typed password matches.
std::optional<inkquot::UserRec> readStoredPassword(const inkquot::ProgramFolder& folder);

// Spaces around the typed text are ignored; the rest must equal the stored
// password exactly.
bool passwordMatches(const QString& typed, const std::optional<inkquot::UserRec>& stored);

// Stores a new password; an empty result on success, otherwise the reason in
// Chinese (longer than the 8-byte field, a character the file cannot hold, a
// write that failed).
QString storePassword(const inkquot::ProgramFolder& folder, const QString& password);

// Writes users.dat with the initial password when it is missing, so that the
// password named in the start-up prompt works; tells the user when that
// fails.
void ensurePasswordFile(const inkquot::ProgramFolder& folder, Dialogs& dialogs);
