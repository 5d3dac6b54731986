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

// The window's client area in twips: the menu bar takes the top strip. The controls keep to
// the part of the window that the main window's document area shows without scrolling.
constexpr int kFormWidth = 7380;
constexpr int kFormHeight = 5340;
constexpr int kMenuHeight = 330;
constexpr int kFieldHeight = 300;
// The editor strip: labels at the left of each column, boxes beside them.
constexpr int kLeftLabel = 60, kLeftBox = 1500, kLeftBoxWidth = 1890;
constexpr int kRightLabel = 3450, kRightBox = 4380, kRightBoxWidth = 1860;

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
    // The controls end before 6300 twips: narrower than that the window would cut them off.
    setMinimumSize(forms::TwipsToPixels(6300), height());

    // The day: the day list with its prompt and previous/next; the list heading with the
    // shown day, new and delete day.
    int top = kMenuHeight + 90;
    lbl[0] = NewLabel(this, "lbl_0", QStringLiteral("Select a Date:"), 230, 60, top, 1440);
    cmbDays = new forms::ComboBox(this);
    cmbDays->setObjectName("cmbDays");
    forms::Move(cmbDays, 1500, top - 15, 1620, 330);
    btnNP[0] = NewButton(this, "btnNP_0", QStringLiteral("<"), 0, 3180, top - 30, 360, 360);
    btnNP[1] = NewButton(this, "btnNP_1", QStringLiteral(">"), 0, 3570, top - 30, 360, 360);
    top += 390;
    lbl[1] = NewLabel(this, "lbl_1", QStringLiteral("Entries:"), 233, 60, top, 1440);
    lblDay = NewValue(this, "lblDay", 1500, top, 1500);
    QFont bold = lblDay->font();
    bold.setBold(true);
    lblDay->setFont(bold);
    btnNewDate = NewButton(this, "btnNewDate", QStringLiteral("New Day"), 231, 3060, top - 30, 1440, 360);
    btnDelDate = NewButton(this, "btnDelDate", QStringLiteral("Delete Day"), 232, 4560, top - 30, 1680, 360);

    // The grid with its headings; the total and the commands beside it.
    top += 390;
    lblHead[2] = NewLabel(this, "lblHead_2", QStringLiteral("Category"), 301, 60 + 330, top, 1400);
    lblHead[1] = NewLabel(this, "lblHead_1", QStringLiteral("Payee"), 302, 60 + 330 + 1400, top, 1500);
    lblHead[0] = NewLabel(this, "lblHead_0", QStringLiteral("Amount"), 303, 60 + 330 + 2900, top, 960);
    for (forms::Label *h : lblHead)
        h->setFont(bold);
    lblHead[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    AFLabel4 = NewLabel(this, "AFLabel4", QStringLiteral("Total:"), 311, 4620, top, 1620);
    AFLabel4->setFont(bold);
    top += 270;
    lstLog = new forms::FlexGrid(this);
    lstLog->setObjectName("lstLog");
    lstLog->SetFlexSelectionMode(forms::FlexGrid::SelectionByRow);
    forms::Move(lstLog, 60, top, 4470, 1980);
    lTotal = NewValue(this, "lTotal", 4620, top, 1620);
    lTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lTotal->setFont(bold);
    btnAdd = NewButton(this, "btnAdd", QStringLiteral("New"), 900, 4620, top + 420, 1620, 360);
    btnSave = NewButton(this, "btnSave", QStringLiteral("Save"), 903, 4620, top + 840, 1620, 360);
    btnDel = NewButton(this, "btnDel", QStringLiteral("Delete"), 904, 4620, top + 1260, 1620, 360);
    btnExit = NewButton(this, "btnExit", QStringLiteral("Close"), 905, 4620, top + 1770, 1620, 360);

    // The editor strip: category, payee, amount, code, time on the left; project and task,
    // memo on the right.
    top += 1980 + 150;
    const int stripTop = top;
    lblExp = NewLabel(this, "lblExp", QStringLiteral("Category"), 301, kLeftLabel, top, 1440);
    cmbExpCat = new forms::ComboBox(this);
    cmbExpCat->setObjectName("cmbExpCat");
    forms::Move(cmbExpCat, kLeftBox, top - 15, kLeftBoxWidth, 330);
    top += 345;
    AFLabel2 = NewLabel(this, "AFLabel2", QStringLiteral("Payee"), 307, kLeftLabel, top, 1440);
    cmbPayee = new forms::ComboBox(this);
    cmbPayee->setObjectName("cmbPayee");
    forms::Move(cmbPayee, kLeftBox, top - 15, kLeftBoxWidth, 330);
    // The payee box covers the list's text part and leaves its arrow free.
    txtPayee = NewBox(this, "txtPayee", kLeftBox, top - 15, kLeftBoxWidth - 330, 60);
    forms::Move(txtPayee, kLeftBox, top - 15, kLeftBoxWidth - 330, 330);
    txtPayee->raise();
    top += 345;
    lblAmount = NewLabel(this, "lblAmount", QStringLiteral("Amount"), 308, kLeftLabel, top, 1440);
    txtAmount = NewBox(this, "txtAmount", kLeftBox, top, 1200, 30);
    txtAmount->setAlignment(Qt::AlignRight);
    top += 345;
    AFLabel3 = NewLabel(this, "AFLabel3", QStringLiteral("Receipt code"), 309, kLeftLabel, top, 1440);
    txtCodeID = NewBox(this, "txtCodeID", kLeftBox, top, 1200, 30);
    top += 345;
    lblTime = NewLabel(this, "lblTime", QStringLiteral("Time"), 312, kLeftLabel, top, 1440);
    lTime = NewValue(this, "lTime", kLeftBox, top, 1050);

    top = stripTop;
    lblProj = NewLabel(this, "lblProj", QStringLiteral("Project"), 949, kRightLabel, top, 930);
    lProj = NewValue(this, "lProj", kRightBox, top, kRightBoxWidth - 330);
    btnDown = new QToolButton(this);
    btnDown->setObjectName("btnDown");
    btnDown->setArrowType(Qt::DownArrow);
    forms::Move(btnDown, kRightBox + kRightBoxWidth - 300, top, 300, kFieldHeight);
    top += 345;
    lTask = NewValue(this, "lTask", kRightBox, top, kRightBoxWidth - 330);
    top += 345;
    AFLabel1 = NewLabel(this, "AFLabel1", QStringLiteral("Memo"), 310, kRightLabel, top, 930);
    txtComments = new QPlainTextEdit(this);
    txtComments->setObjectName("txtComments");
    forms::Move(txtComments, kRightBox, top, kRightBoxWidth, 990);

    // The task tree drops down below the project and task.
    MyTree = new forms::TreeView(this);
    MyTree->setObjectName("MyTree");
    forms::Move(MyTree, 4455, stripTop + 330, 1785, 1650);
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
