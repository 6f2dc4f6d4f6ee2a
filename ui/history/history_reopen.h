#pragma once

#include <QObject>
#include <QString>
#include <string>

#include "core/common/program_folder.h"

class Dialogs;
class HistoryPage;
class QPushButton;

// "调出印件" on the history page: the job of the quotation selected in the
// list goes back to the pricing page, to quote it again at today's prices
// or to start a similar job. The job comes from the description saved with
// the record; a record saved without one, or whose description cannot be
// read or belongs to other record bytes, is refused with a message, and the
// list stays as it is.
class HistoryReopen : public QObject {
    Q_OBJECT

public:
    HistoryReopen(HistoryPage& page, const inkquot::ProgramFolder& folder, Dialogs& dialogs,
                  QObject* parent = nullptr);

    // Reopens the record of the selected line; false after a message when
    // there is nothing to reopen.
    bool reopenSelected();

    QPushButton* cmdreopen = nullptr;

signals:
    // The job file text of the chosen record and its name in messages.
    void jobReopened(const std::string& jobText, const QString& where);

private:
    HistoryPage& page_;
    inkquot::ProgramFolder folder_;
    Dialogs& dialogs_;
};
