// The controls and menus of the daily expenses window, placed in twips with their design
// captions and the string ids of their captions in their tags, and wired to their handlers.
#include "expenses/frmDailyExp.h"

#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

// The window's client area in twips: the menu bar takes the top strip.
constexpr int kFormWidth = 7500;
constexpr int kFormHeight = 6780;
constexpr int kMenuHeight = 330;
constexpr int kFieldHeight = 300;
// The editor strip: labels at the left of each column, boxes beside them.
constexpr int kLeftLabel = 120, kLeftBox = 1380, kLeftBoxWidth = 2220;
constexpr int kRightLabel = 3780, kRightBox = 4740, kRightBoxWidth = 2640;

forms::Label *NewLabel(QWidget *parent, const char *name, const QString &caption, int tag, int left, int top,
                       int width, int height = kFieldHeight)
{
    auto *l = new forms::Label(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    if (tag > 0)
        forms::SetTag(l, QString::number(tag));
    forms::Move(l, left, top, width, height);
    return l;
}

// A label that shows a value in a sunken box, as the window's read-only fields do.
forms::Label *NewValue(QWidget *parent, const char *name, int left, int top, int width)
{
    forms::Label *l = NewLabel(parent, name, QString(), 0, left, top, width);
    l->setFrameShape(QFrame::StyledPanel);
    l->setFrameShadow(QFrame::Sunken);
    l->setAutoFillBackground(true);
    l->SetBackColor(forms::kColorWindow);
    l->setContentsMargins(3, 0, 3, 0);
    return l;
}

QPushButton *NewButton(QWidget *parent, const char *name, const QString &caption, int tag, int left, int top,
                       int width, int height = 375)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    if (tag > 0)
        forms::SetTag(b, QString::number(tag));
    forms::Move(b, left, top, width, height);
    return b;
}

QLineEdit *NewBox(QWidget *parent, const char *name, int left, int top, int width, int maxLength)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setMaxLength(maxLength);
    forms::Move(t, left, top, width, kFieldHeight);
    return t;
}

} // namespace

void frmDailyExp::CreateControls()
{
    resize(forms::TwipsToPixels(kFormWidth), forms::TwipsToPixels(kFormHeight));
    setMinimumSize(size());

    // The day: the day list with its prompt, previous/next, new and delete day; the list
    // heading and the shown day.
    int top = kMenuHeight + 150;
    lbl[0] = NewLabel(this, "lbl_0", QStringLiteral("Select a Date:"), 230, 120, top, 1500);
    cmbDays = new forms::ComboBox(this);
    cmbDays->setObjectName("cmbDays");
    forms::Move(cmbDays, 1650, top - 15, 1800, 330);
    btnNP[0] = NewButton(this, "btnNP_0", QStringLiteral("<"), 0, 3510, top - 30, 360, 360);
    btnNP[1] = NewButton(this, "btnNP_1", QStringLiteral(">"), 0, 3900, top - 30, 360, 360);
    btnNewDate = NewButton(this, "btnNewDate", QStringLiteral("New Day"), 231, 4380, top - 30, 1440, 360);
    btnDelDate = NewButton(this, "btnDelDate", QStringLiteral("Delete Day"), 232, 5910, top - 30, 1440, 360);
    top += 450;
    lbl[1] = NewLabel(this, "lbl_1", QStringLiteral("Entries:"), 233, 120, top, 1500);
    lblDay = NewValue(this, "lblDay", 1650, top, 1800);
    QFont bold = lblDay->font();
    bold.setBold(true);
    lblDay->setFont(bold);
    lbl[1]->setFont(bold);

    // The grid with its headings, the total beside it.
    top += 420;
    lblHead[2] = NewLabel(this, "lblHead_2", QStringLiteral("Category"), 301, 120 + 330, top, 1400);
    lblHead[1] = NewLabel(this, "lblHead_1", QStringLiteral("Payee"), 302, 120 + 330 + 1400, top, 1500);
    lblHead[0] = NewLabel(this, "lblHead_0", QStringLiteral("Amount"), 303, 120 + 330 + 2900, top, 1000);
    for (forms::Label *h : lblHead)
        h->setFont(bold);
    lblHead[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    top += kFieldHeight;
    lstLog = new forms::FlexGrid(this);
    lstLog->setObjectName("lstLog");
    lstLog->SetFlexSelectionMode(forms::FlexGrid::SelectionByRow);
    forms::Move(lstLog, 120, top, 4620, 2460);
    AFLabel4 = NewLabel(this, "AFLabel4", QStringLiteral("Total:"), 311, 4920, top, 2460);
    AFLabel4->setFont(bold);
    lTotal = NewValue(this, "lTotal", 4920, top + 330, 2460);
    lTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lTotal->setFont(bold);
    btnAdd = NewButton(this, "btnAdd", QStringLiteral("Add New"), 900, 4920, top + 900, 2460);
    btnSave = NewButton(this, "btnSave", QStringLiteral("Save"), 903, 4920, top + 1320, 2460);
    btnDel = NewButton(this, "btnDel", QStringLiteral("Delete"), 904, 4920, top + 1740, 2460);
    btnExit = NewButton(this, "btnExit", QStringLiteral("Close"), 905, 4920, top + 2160, 2460);

    // The editor strip: category, payee, amount, code, time on the left; project and task,
    // memo on the right.
    top += 2460 + 180;
    const int stripTop = top;
    lblExp = NewLabel(this, "lblExp", QStringLiteral("Category"), 301, kLeftLabel, top, 1200);
    cmbExpCat = new forms::ComboBox(this);
    cmbExpCat->setObjectName("cmbExpCat");
    forms::Move(cmbExpCat, kLeftBox, top - 15, kLeftBoxWidth, 330);
    top += 390;
    AFLabel2 = NewLabel(this, "AFLabel2", QStringLiteral("Payee"), 307, kLeftLabel, top, 1200);
    cmbPayee = new forms::ComboBox(this);
    cmbPayee->setObjectName("cmbPayee");
    forms::Move(cmbPayee, kLeftBox, top - 15, kLeftBoxWidth, 330);
    // The payee box covers the list's text part and leaves its arrow free.
    txtPayee = NewBox(this, "txtPayee", kLeftBox, top - 15, kLeftBoxWidth - 330, 60);
    forms::Move(txtPayee, kLeftBox, top - 15, kLeftBoxWidth - 330, 330);
    txtPayee->raise();
    top += 390;
    lblAmount = NewLabel(this, "lblAmount", QStringLiteral("Amount"), 308, kLeftLabel, top, 1200);
    txtAmount = NewBox(this, "txtAmount", kLeftBox, top, 1500, 30);
    txtAmount->setAlignment(Qt::AlignRight);
    top += 390;
    AFLabel3 = NewLabel(this, "AFLabel3", QStringLiteral("Receipt code"), 309, kLeftLabel, top, 1200);
    txtCodeID = NewBox(this, "txtCodeID", kLeftBox, top, 1500, 30);
    top += 390;
    lblTime = NewLabel(this, "lblTime", QStringLiteral("Time"), 312, kLeftLabel, top, 1200);
    lTime = NewValue(this, "lTime", kLeftBox, top, 1000);

    top = stripTop;
    lblProj = NewLabel(this, "lblProj", QStringLiteral("Project"), 949, kRightLabel, top, 900);
    lProj = NewValue(this, "lProj", kRightBox, top, kRightBoxWidth - 330);
    btnDown = new QToolButton(this);
    btnDown->setObjectName("btnDown");
    btnDown->setArrowType(Qt::DownArrow);
    forms::Move(btnDown, kRightBox + kRightBoxWidth - 300, top, 300, kFieldHeight);
    top += 360;
    lTask = NewValue(this, "lTask", kRightBox, top, kRightBoxWidth - 330);
    top += 420;
    AFLabel1 = NewLabel(this, "AFLabel1", QStringLiteral("Memo"), 310, kRightLabel, top, 900);
    txtComments = new QPlainTextEdit(this);
    txtComments->setObjectName("txtComments");
    forms::Move(txtComments, kRightBox, top, kRightBoxWidth, 1140);

    // The task tree drops down below the project and task.
    MyTree = new forms::TreeView(this);
    MyTree->setObjectName("MyTree");
    forms::Move(MyTree, 4455, stripTop + 330, 2925, 2400);
    MyTree->setVisible(false);

    connect(txtPayee, &QLineEdit::textChanged, this, [this] { txtPayee_Change(); });
    connect(cmbPayee, &forms::ComboBox::Click, this, [this] { cmbPayee_Click(); });
    connect(cmbExpCat, &forms::ComboBox::Click, this, [this] { cmbExpCat_Click(); });
    connect(txtAmount, &QLineEdit::textChanged, this, [this] { txtAmount_Change(); });
    txtAmount->installEventFilter(this);
    connect(txtCodeID, &QLineEdit::textChanged, this, [this] { txtCodeID_Change(); });
    connect(txtComments, &QPlainTextEdit::textChanged, this, [this] { txtComments_Change(); });
    connect(lTime, &forms::Label::Change, this, [this] { lTime_Change(); });
    connect(btnDown, &QToolButton::clicked, this, [this] { btnDown_Click(); });
    connect(MyTree, &forms::TreeView::NodeClick, this, [this](forms::Node *n) { MyTree_NodeClick(n); });
    connect(lstLog, &forms::FlexGrid::Click, this, [this] { lstLog_Click(); });
    connect(cmbDays, &forms::ComboBox::Click, this, [this] { cmbDays_Click(); });
    connect(lblDay, &forms::Label::Change, this, [this] { lblDay_Change(); });
    connect(btnAdd, &QPushButton::clicked, this, [this] { btnAdd_Click(); });
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSave_Click(); });
    connect(btnDel, &QPushButton::clicked, this, [this] { btnDel_Click(); });
    // The window goes once the click is over, not from inside its own button's handler.
    connect(btnExit, &QPushButton::clicked, this, [] { QTimer::singleShot(0, [] { frmDailyExp::Unload(); }); });
}

void frmDailyExp::CreateMenus()
{
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    mnuBar->setNativeMenuBar(false);
    forms::Move(mnuBar, 0, 0, kFormWidth, kMenuHeight);

    const auto menu = [this](const char *name, const QString &caption) {
        QMenu *m = mnuBar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    const auto item = [](QMenu *m, const char *name, const QString &caption) {
        QAction *a = m->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    mnuExp = menu("mnuExp", QStringLiteral("Expenses"));
    mnuExp_Add = item(mnuExp, "mnuExp_Add", QStringLiteral("Add New"));
    mnuExp_Save = item(mnuExp, "mnuExp_Save", QStringLiteral("Save"));
    mnuExp_Del = item(mnuExp, "mnuExp_Del", QStringLiteral("Delete Selected"));
    mnuExp->addSeparator();
    mnuExp_DelDaySynch = item(mnuExp, "mnuExp_DelDaySynch", QStringLiteral("Delete Synchronized of this Day"));
    mnuExp_DelAllSynch = item(mnuExp, "mnuExp_DelAllSynch", QStringLiteral("Delete All Synchronized"));
    mnuExp->addSeparator();
    mnuExp_Exit = item(mnuExp, "mnuExp_Exit", QStringLiteral("Close Form"));
    mnuDays = menu("mnuDays", QStringLiteral("Days"));
    mnuDays_Add = item(mnuDays, "mnuDays_Add", QStringLiteral("Add New"));
    mnuDays_Del = item(mnuDays, "mnuDays_Del", QStringLiteral("Delete Day"));
    mnuDays_DelAll = item(mnuDays, "mnuDays_DelAll", QStringLiteral("Delete All Days"));
    mnuSynch = menu("mnuSynch", QStringLiteral("Synch"));
    mnuSynch_Item = item(mnuSynch, "mnuSynch_Item", QStringLiteral("Synchronize Item"));
    mnuSynch_Day = item(mnuSynch, "mnuSynch_Day", QStringLiteral("Synchronize Day"));
    mnuHelp = menu("mnuHelp", QStringLiteral("Help"));
    mnuHelp_Form = item(mnuHelp, "mnuHelp_Form", QStringLiteral("Help on this Form"));

    connect(mnuExp_Add, &QAction::triggered, this, [this] { AddNewExp(); });
    connect(mnuExp_Save, &QAction::triggered, this, [this] { btnSave_Click(); });
    connect(mnuExp_Del, &QAction::triggered, this, [this] { btnDel_Click(); });
}

bool frmDailyExp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtAmount && event->type() == QEvent::FocusOut)
        txtAmount_LostFocus();
    return ChildWindow::eventFilter(watched, event);
}
