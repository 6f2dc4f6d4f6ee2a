#pragma once

#include <QStringList>
#include <optional>

#include "core/common/program_folder.h"

class Dialogs;

// The program folder of the desktop program: --dir FOLDER from the command
// line, else INKQUOT_HOME, else the executable's folder for a portable copy,
// else the per-user folder. The chosen folder is laid out, or completed when
// a crash left it half laid out, without touching any file that exists.
// A folder that cannot be used is reported in one message naming it, and no
// value is returned: the program then ends without writing anywhere.
std::optional<inkquot::ProgramFolder> openProgramFolder(const QStringList& arguments,
                                                        Dialogs& dialogs);

// Chinese number, size and date texts in Qt's own windows (the file
// chooser's size, type and date columns, the print dialog) whatever the
// machine's locale. Must run before the QApplication is made.
void useChineseLocale();

// Qt's own Chinese texts for the standard dialogs (file chooser, print
// dialog, standard buttons). Must run before any window opens.
void loadChineseQtTranslations();
