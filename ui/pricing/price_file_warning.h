#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <string>

#include "core/common/program_folder.h"

class Dialogs;
class QWidget;

// Tells the user, before a pricing, that a working price table is damaged
// (short, or holding numbers no real price has). The tables are priced as
// they stand; each fault is told in a message box once while the program
// runs, with the suggestion to repair the built-in scheme when that is the
// current one, and in a line on every result priced from the damaged tables.
class PriceFileWarning {
public:
    PriceFileWarning(const inkquot::ProgramFolder& folder, Dialogs& dialogs);

    // The name of the current scheme, asked when a warning is shown.
    void setSchemeSource(std::function<QString()> source) { scheme_ = std::move(source); }

    // False, after a warning naming the file, when a table cannot be read at
    // all (a folder or FIFO in its place); the pricing then does not start.
    bool checkBeforePricing(QWidget* parent);

    // The warning line for a result priced after the last check; empty when
    // the tables were sound.
    QString resultLine() const;

private:
    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
    std::function<QString()> scheme_;
    std::set<std::string> told_;
    QStringList damage_;  // found by the last check
};
