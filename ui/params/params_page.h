#pragma once

#include <QWidget>
#include <array>

#include "core/common/program_folder.h"

class Dialogs;
class GongjiaEditor;
class JibenEditor;
class QFrame;
class QPushButton;
class QRadioButton;
class QStackedLayout;
class SchemePanel;
class ZhijiaEditor;

// The parameter page: the price scheme controls at the top, the editors of
// the current scheme's tables below them. The option buttons `Optfang`
// ("基本数据", "纸价数据", "工价数据") choose which of the three editor
// panels `Picanshu` is shown; the others are hidden and disabled.
class ParamsPage : public QWidget {
    Q_OBJECT

public:
    enum Panel { BasicPanel, PaperPanel, ProcessPanel };

    // Takes in `schemes` where the scheme was chosen before the page was
    // built (its editors then show that scheme's tables at once); builds
    // its own scheme controls otherwise.
    ParamsPage(const inkquot::ProgramFolder& folder, Dialogs& dialogs,
               SchemePanel* schemes = nullptr, QWidget* parent = nullptr);

    SchemePanel* schemePanel() const { return schemes_; }
    // Where the table editors go.
    QFrame* editorArea() const { return editorArea_; }

    JibenEditor* jibenEditor() const { return jiben_; }
    ZhijiaEditor* zhijiaEditor() const { return zhijia_; }
    GongjiaEditor* gongjiaEditor() const { return gongjia_; }

    std::array<QRadioButton*, 3> Optfang{};
    std::array<QWidget*, 3> Picanshu{};
    QPushButton* cmdxintou = nullptr;  // "信头设置…": the letterhead dialog

    // Loads the scheme list and makes its first scheme current.
    void loadSchemes();

    // Shows the current scheme's tables again in the editors, in the order
    // basic data, paper prices, process prices.
    void refreshEditors();

    // Shows editor panel k and hides the other two.
    void choosePanel(int k);
    int shownPanel() const;

signals:
    // A scheme became current: its tables are now the working tables.
    void schemeSelected();
    // A saved edit changed the paper or the sticker paper table.
    void papersSaved();
    void stickerPapersSaved();

private:
    SchemePanel* schemes_;
    QFrame* editorArea_;
    QStackedLayout* panels_ = nullptr;
    JibenEditor* jiben_ = nullptr;
    ZhijiaEditor* zhijia_ = nullptr;
    GongjiaEditor* gongjia_ = nullptr;
};
