#pragma once
// The task loader: a child window of the main window in which the person ticks the activity
// categories of the project tree that become timers of the timers window. Categories that are
// timers already are shown in red and refuse a tick; only categories (the third level of the
// tree) can be ticked. Each loaded category is appended to the timers grid as a stopped timer.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QWidget>

class QLabel;
class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
namespace forms {
class Node;
class TreeView;
} // namespace forms

class frmLoad : public ChildWindow, public FormInstance<frmLoad> {
    Q_OBJECT
public:
    // The window's load: fills the tree, marks the categories that are timers already. With no
    // project at all it says so, opens the synchronisation window and unloads itself (at once
    // when shown through ShowForm, else as soon as the event loop turns).
    frmLoad();
    ~frmLoad() override;

    // Shows the loader in the main window, or unloads it when its load found nothing to show.
    void ShowForm();

    // Captions in the current language; a failure is told and LangID goes back to PrevLangID.
    void ApplyLang();

    forms::TreeView *MyTree = nullptr;   // the project tree with a tick box on every node
    QLabel *lblHeader = nullptr;
    QLabel *lMsg = nullptr;
    QWidget *picFooter = nullptr;        // holds the buttons
    QPushButton *btnLoad = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnSelAll = nullptr;
    QMenuBar *mnuBar = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuView_Expand = nullptr;
    QAction *mnuView_Collapse = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelp_Form = nullptr;

    void MyTree_NodeCheck(forms::Node *node);
    void MyTree_MouseUp(int button, int shift, double x, double y);
    void btnSelAll_Click();
    void btnLoad_Click();
    void btnClose_Click();
    void mnuView_Expand_Click();
    void mnuView_Collapse_Click();
    void mnuHelp_Form_Click();

private:
    void CreateControls();
    // Hides the window, marks it unloaded at once and lets the event loop destroy it (the
    // window may be unloaded from inside one of its own event handlers).
    void UnloadLater();
    void SetAllExpanded(bool expanded);
    static void ShowTickImages(forms::Node *node);

    forms::Node *m_untick = nullptr;   // a refused tick, taken back at the mouse release
    bool m_selectAll = false;
    bool m_nothingToShow = false;      // the load found no project: the loader goes at once
};
