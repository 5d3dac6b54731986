#include "recorder/frmLoad.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Tag.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
#include "recorder/frmStart.h"
#include "resources/Pictures.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kRed = 255;                       // fore colour of a category that is a timer
const QString kTicked = QStringLiteral("act_chk");
const QString kNormal = QStringLiteral("act_normal");
const QString kSelected = QStringLiteral("act_sel");

// Runs one statement of the load; a failure is passed over and the load goes on.
template <class F>
void Try(F &&step)
{
    try {
        step();
    } catch (...) {
    }
}

// True when the timers window has this category of this task as a timer.
bool IsTimer(const QString &taskTag, const QString &catTag)
{
    const frmStart *start = frmStart::Peek();
    return start && start->IsLoaded(taskTag, catTag);
}

bool IsCategory(const forms::Node *node)
{
    return modMain::NodeLevel(node) == 2;
}

} // namespace

frmLoad::frmLoad()
{
    using namespace modMain;
    setObjectName("frmLoad");
    setWindowTitle(QStringLiteral("Load Categories"));
    CreateControls();
    frmMain *main = frmMain::Get();
    // The frame in the main window takes its size from the window's smallest size, not from
    // its size: without this it shrinks to a bare title bar.
    setMinimumSize(size());
    PlaceInMainWindow(QStringLiteral("frmLoadSub"));

    // 1.
    m_sub->move(0, 0);
    ApplyLang();

    // 2. The shared pictures of the project tree, with the tick of a chosen category.
    Try([&] {
        if (!main->imgLst.Exists(kTicked))
            main->imgLst.Add(kTicked, res::Picture(kTicked));
        MyTree->SetImageList(&main->imgLst);
    });
    Try([&] { modDBchr::FillProjectTree(MyTree, false, false); });

    // 3. Categories that are timers already show in red.
    Try([&] {
        for (int i = 1; i <= MyTree->Count(); ++i) {
            forms::Node *n = MyTree->Nodes(i);
            if (IsCategory(n) && IsTimer(n->Parent()->Tag(), n->Tag()))
                n->SetForeColor(kRed);
        }
    });

    // 4.
    Try([&] { MyTree->update(); });
    Try([&] {
        // Without a string table the design caption stays.
        const QString header = GetLangString(411);
        if (!header.isEmpty())
            lblHeader->setText(header + QStringLiteral(":"));
    });

    // 5. Nothing to choose from: the person can download the projects instead.
    if (MyTree->Count() == 0) {
        Try([&] { ShowMsg(GetLangString(411), 0); });
        Try([&] { BringToFront(frmSynch::Get()); });
        m_nothingToShow = true;
        // The loader cannot unload itself while it is being made: it goes when the caller
        // shows it, or with the next turn of the event loop.
        QTimer::singleShot(0, qApp, [] {
            frmLoad *w = frmLoad::Peek();
            if (w && w->m_nothingToShow)
                frmLoad::Unload();
        });
        return;
    }

    // 6.
    FormLoaded[fiLoad] = true;
}

frmLoad::~frmLoad()
{
    modMain::FormLoaded[modMain::fiLoad] = false;
    Forget(this);
}

void frmLoad::CreateControls()
{
    using forms::Move;
    resize(forms::TwipsToPixels(4920), forms::TwipsToPixels(6600));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    layout->setMenuBar(mnuBar);
    mnuView = mnuBar->addMenu(QStringLiteral("View"));
    mnuView->setObjectName("mnuView");
    mnuView_Expand = mnuView->addAction(QStringLiteral("Expand All"));
    mnuView_Expand->setObjectName("mnuView_Expand");
    mnuView_Collapse = mnuView->addAction(QStringLiteral("Collapse All"));
    mnuView_Collapse->setObjectName("mnuView_Collapse");
    mnuHelp = mnuBar->addMenu(QStringLiteral("Help"));
    mnuHelp->setObjectName("mnuHelp");
    mnuHelp_Form = mnuHelp->addAction(QStringLiteral("Help on this Form"));
    mnuHelp_Form->setObjectName("mnuHelp_Form");

    auto *body = new QWidget(this);
    body->setObjectName("picBody");
    layout->addWidget(body, 1);

    lblHeader = new QLabel(QStringLiteral("Select Activities to Load:"), body);
    lblHeader->setObjectName("lblHeader");
    forms::SetTag(lblHeader, QStringLiteral("401"));
    // Room for two lines: the header names the service, which takes more than one line in
    // some languages; a short one stands right above the tree.
    lblHeader->setWordWrap(true);
    lblHeader->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    Move(lblHeader, 120, 30, 4680, 510);

    MyTree = new forms::TreeView(body);
    MyTree->setObjectName("MyTree");
    MyTree->SetCheckboxes(true);
    Move(MyTree, 120, 600, 4680, 4260);

    lMsg = new QLabel(QStringLiteral("Activities shown in red are already loaded as timers."), body);
    lMsg->setObjectName("lMsg");
    forms::SetTag(lMsg, QStringLiteral("403"));
    lMsg->setWordWrap(true);
    lMsg->setStyleSheet(QStringLiteral("color: #c00000;"));
    Move(lMsg, 120, 4920, 4680, 450);

    picFooter = new QWidget(body);
    picFooter->setObjectName("picFooter");
    Move(picFooter, 0, 5430, 4920, 600);

    btnSelAll = new QPushButton(QStringLiteral("Select All"), picFooter);
    btnSelAll->setObjectName("btnSelAll");
    forms::SetTag(btnSelAll, QStringLiteral("413"));
    Move(btnSelAll, 120, 120, 1800, 375);
    btnLoad = new QPushButton(QStringLiteral("Load"), picFooter);
    btnLoad->setObjectName("btnLoad");
    forms::SetTag(btnLoad, QStringLiteral("901"));
    Move(btnLoad, 1980, 120, 1320, 375);
    btnClose = new QPushButton(QStringLiteral("Cancel"), picFooter);
    btnClose->setObjectName("btnClose");
    forms::SetTag(btnClose, QStringLiteral("906"));
    Move(btnClose, 3420, 120, 1320, 375);

    connect(MyTree, &forms::TreeView::NodeCheck, this, &frmLoad::MyTree_NodeCheck);
    connect(MyTree, &forms::TreeView::MouseUp, this, &frmLoad::MyTree_MouseUp);
    connect(btnSelAll, &QPushButton::clicked, this, &frmLoad::btnSelAll_Click);
    connect(btnLoad, &QPushButton::clicked, this, &frmLoad::btnLoad_Click);
    connect(btnClose, &QPushButton::clicked, this, &frmLoad::btnClose_Click);
    connect(mnuView_Expand, &QAction::triggered, this, &frmLoad::mnuView_Expand_Click);
    connect(mnuView_Collapse, &QAction::triggered, this, &frmLoad::mnuView_Collapse_Click);
    connect(mnuHelp_Form, &QAction::triggered, this, &frmLoad::mnuHelp_Form_Click);
}

void frmLoad::ShowForm()
{
    if (m_nothingToShow) {
        frmLoad::Unload();   // this window is gone now
        return;
    }
    BringToFront(this);
}

void frmLoad::UnloadLater()
{
    if (m_sub)
        m_sub->hide();
    hide();
    modMain::FormLoaded[modMain::fiLoad] = false;
    Forget(this);
    // The frame takes the window with it.
    if (m_sub)
        m_sub->deleteLater();
    else
        deleteLater();
}

void frmLoad::ApplyLang()
{
    using namespace modMain;
    modMain::ApplyLangOrTell([&] {
        ApplyTagCaptions(this);
        // The select-all button names what its next press does.
        if (m_selectAll)
            btnSelAll->setText(GetLangString(414, false));
        mnuView->setTitle(GetLangString(907, false));
        mnuView_Expand->setText(GetLangString(960, false));
        mnuView_Collapse->setText(GetLangString(961, false));
        mnuHelp->setTitle(GetLangString(958, false));
        mnuHelp_Form->setText(GetLangString(959, false));
    });
}

void frmLoad::ShowTickImages(forms::Node *node)
{
    if (node->Checked()) {
        node->SetImage(kTicked);
        node->SetSelectedImage(kTicked);
    } else {
        node->SetImage(kNormal);
        node->SetSelectedImage(kSelected);
    }
}

void frmLoad::MyTree_NodeCheck(forms::Node *node)
{
    using namespace modMain;
    if (!node)
        return;
    ShowTickImages(node);
    if (node->Checked() && node->ForeColor() == kRed) {
        m_untick = node;
        ShowMsg(GetLangString(410, false), 16, QString());
    } else if (NodeLevel(node) == 2) {
        m_untick = nullptr;
    } else {
        m_untick = node;
        ShowMsg(GetLangString(415, false), 16, QString());
    }
}

void frmLoad::MyTree_MouseUp(int button, int shift, double x, double y)
{
    // The refused tick goes at the mouse release, with its picture.
    if (!m_untick)
        return;
    m_untick->SetChecked(false);
    if (IsCategory(m_untick)) {
        ShowTickImages(m_untick);
    } else {
        // A project or a task gets its own pictures back.
        m_untick->SetImage(m_untick->Parent() ? QStringLiteral("folder_closed") : QStringLiteral("work_closed"));
        m_untick->SetSelectedImage(QString());
    }
}

void frmLoad::btnSelAll_Click()
{
    using namespace modMain;
    if (m_selectAll) {
        btnSelAll->setText(GetLangString(413, false).isEmpty() ? QStringLiteral("Select All")
                                                               : GetLangString(413, false));
        m_selectAll = false;
    } else {
        m_selectAll = true;
        btnSelAll->setText(GetLangString(414, false).isEmpty() ? QStringLiteral("Unselect All")
                                                               : GetLangString(414, false));
    }
    for (int i = 1; i <= MyTree->Count(); ++i) {
        forms::Node *n = MyTree->Nodes(i);
        if (!IsCategory(n))
            continue;
        n->SetChecked(m_selectAll);
        ShowTickImages(n);
    }
    MyTree->update();
    if (m_selectAll)
        mnuView_Expand_Click();
}

void frmLoad::SetAllExpanded(bool expanded)
{
    // Hidden while the nodes change, so that the tree is drawn once.
    MyTree->setVisible(false);
    for (int i = 1; i <= MyTree->Count(); ++i)
        MyTree->Nodes(i)->SetExpanded(expanded);
    MyTree->setVisible(true);
}

void frmLoad::mnuView_Expand_Click()
{
    SetAllExpanded(true);
}

void frmLoad::mnuView_Collapse_Click()
{
    SetAllExpanded(false);
}

void frmLoad::mnuHelp_Form_Click() {}

void frmLoad::btnLoad_Click()
{
    using namespace modMain;
    std::vector<frmStart::NewTimer> chosen;
    for (int i = 1; i <= MyTree->Count(); ++i) {
        forms::Node *n = MyTree->Nodes(i);
        if (!IsCategory(n) || !n->Checked())
            continue;
        forms::Node *task = n->Parent();
        forms::Node *project = task->Parent();
        chosen.push_back({n->Text(), n->Tag(), task->Text(), task->Tag(), project->Text(), project->Tag()});
    }
    if (chosen.empty()) {
        ShowMsg(GetLangString(416, false), 48, QString());
        return;
    }
    // Categories that are timers already are passed over by the timers window.
    if (frmStart *start = frmStart::Peek())
        start->AddTimers(chosen);
    QApplication::processEvents();
    UnloadLater();
}

void frmLoad::btnClose_Click()
{
    UnloadLater();
}
