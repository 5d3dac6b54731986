// The controls and menus of the daily expenses window, placed in twips with their design
// captions and the string ids of their captions in their tags, and wired to their handlers.
#include "expenses/frmDailyExp.h"

#include "core/RequestGuard.h"
#include "core/modMain.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"
#include "core/clsTimePicker.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QPainter>
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
constexpr int kRightLabel = 3420, kRightBox = 4380, kRightBoxWidth = 1860;
// The task tree's left edge: it drops down over the right column.
constexpr int kTreeLeft = kRightLabel;

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

// The calculator picture beside the amount: a small keypad with its display.
QPixmap CalculatorPicture(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(1.5, 0.5, size - 3.0, size - 1.0);
    p.setPen(QPen(QColor(0x3c, 0x4a, 0x5e), 1));
    p.setBrush(QColor(0xd9, 0xe1, 0xec));
    p.drawRoundedRect(body, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf1, 0xf7, 0xe6));
    const double inner = body.width() - 4;
    p.drawRect(QRectF(body.left() + 2, body.top() + 2, inner, size * 0.22));
    p.setBrush(QColor(0x3c, 0x4a, 0x5e));
    const double key = inner / 3.0;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            p.drawRect(QRectF(body.left() + 2 + c * key + 0.6, body.top() + 3 + size * 0.22 + r * key * 0.95,
                              key - 1.6, key * 0.95 - 1.6));
    return pm;
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
    AFLabel4 = NewLabel(this, "AFLabel4", QStringLiteral("Total:"), 311, 4560, top, 1680);
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
    imgCalc = new forms::Label(this);
    imgCalc->setObjectName("imgCalc");
    forms::Move(imgCalc, kLeftBox + 1260, top, 300, kFieldHeight);
    imgCalc->setPixmap(CalculatorPicture(forms::TwipsToPixels(kFieldHeight) - 2));
    imgCalc->setAlignment(Qt::AlignCenter);
    imgCalc->setCursor(Qt::PointingHandCursor);
    top += 345;
    AFLabel3 = NewLabel(this, "AFLabel3", QStringLiteral("Receipt code"), 309, kLeftLabel, top, 1440);
    txtCodeID = NewBox(this, "txtCodeID", kLeftBox, top, 1200, 30);
    top += 345;
    lblTime = NewLabel(this, "lblTime", QStringLiteral("Time"), 312, kLeftLabel, top, 1440);
    lTime = NewValue(this, "lTime", kLeftBox, top, 1050);
    lTime->setCursor(Qt::PointingHandCursor);
    // The time picker opens above the time, over the amount and code.
    picPicker = clsTimePicker::CreateControls(this);
    forms::Move(picPicker, kLeftBox, top - 810);
    m_TimePicker = new clsTimePicker(this);
    m_TimePicker->SetFrm(this);
    m_TimePicker->SetOutputControl(lTime);
    if (auto *exit = picPicker->findChild<forms::Label *>(QStringLiteral("lblExit")))
        connect(exit, &forms::Label::Click, this, [this] { lblExit_Click(); });

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
    AFLabel1 = NewLabel(this, "AFLabel1", QStringLiteral("Memo"), 310, kRightLabel, top, kRightBox - kRightLabel);
    txtComments = new QPlainTextEdit(this);
    txtComments->setObjectName("txtComments");
    forms::Move(txtComments, kRightBox, top, kRightBoxWidth, 990);

    // The task tree drops down below the project and task, over the memo's column and its
    // label, down to the window's bottom edge.
    MyTree = new forms::TreeView(this);
    MyTree->setObjectName("MyTree");
    MyTree->SetWholeNames();
    forms::Move(MyTree, kTreeLeft, stripTop + 330, kRightBox + kRightBoxWidth - kTreeLeft,
                kFormHeight - stripTop - 330 - 60);
    MyTree->setVisible(false);

    connect(txtPayee, &QLineEdit::textChanged, this, [this] { txtPayee_Change(); });
    connect(cmbPayee, &forms::ComboBox::Click, this, [this] { cmbPayee_Click(); });
    connect(cmbExpCat, &forms::ComboBox::Click, this, [this] { cmbExpCat_Click(); });
    connect(txtAmount, &QLineEdit::textChanged, this, [this] { txtAmount_Change(); });
    txtAmount->installEventFilter(this);
    connect(imgCalc, &forms::Label::Click, this, [this] { imgCalc_Click(); });
    txtComments->installEventFilter(this);
    connect(lTime, &forms::Label::Click, this, [this] { lTime_Click(); });
    connect(lProj, &forms::Label::Click, this, [this] { lProj_Click(); });
    btnAdd->installEventFilter(this);
    btnAdd->setMouseTracking(true);
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
    connect(btnExit, &QPushButton::clicked, this, [this] { btnExit_Click(); });
    connect(btnNewDate, &QPushButton::clicked, this, [this] { btnNewDate_Click(); });
    connect(btnDelDate, &QPushButton::clicked, this, [this] { btnDelDate_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(btnNP[size_t(i)], &QPushButton::clicked, this, [this, i] { btnNP_Click(i); });
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

    connect(mnuExp, &QMenu::aboutToShow, this, [this] { mnuExp_Click(); });
    connect(mnuExp_Add, &QAction::triggered, this, [this] { mnuExp_Add_Click(); });
    connect(mnuExp_Save, &QAction::triggered, this, [this] { btnSave_Click(); });
    connect(mnuExp_Del, &QAction::triggered, this, [this] { btnDel_Click(); });
    connect(mnuExp_DelDaySynch, &QAction::triggered, this, [this] { mnuExp_DelDaySynch_Click(); });
    connect(mnuExp_DelAllSynch, &QAction::triggered, this, [this] { mnuExp_DelAllSynch_Click(); });
    // Closing from the menu asks as the Close button does.
    connect(mnuExp_Exit, &QAction::triggered, this, [this] { btnExit_Click(); });
    connect(mnuDays, &QMenu::aboutToShow, this, [this] { mnuDays_Click(); });
    connect(mnuDays_Add, &QAction::triggered, this, [this] { mnuDays_Add_Click(); });
    connect(mnuDays_Del, &QAction::triggered, this, [this] { mnuDays_Del_Click(); });
    connect(mnuDays_DelAll, &QAction::triggered, this, [this] { mnuDays_DelAll_Click(); });
    connect(mnuSynch, &QMenu::aboutToShow, this, [this] { mnuSynch_Click(); });
    connect(mnuSynch_Item, &QAction::triggered, this, [this] { mnuSynch_Item_Click(); });
    connect(mnuSynch_Day, &QAction::triggered, this, [this] { mnuSynch_Day_Click(); });
    connect(mnuHelp_Form, &QAction::triggered, this, [this] { mnuHelp_Form_Click(); });
    // While another window talks to the service, nothing here starts a request.
    connect(RequestGuard::Notifier(), &RequestBusy::BusyChanged, this, [this](bool busy) {
        if (busy) {
            mnuSynch_Item->setEnabled(false);
            mnuSynch_Day->setEnabled(false);
        }
    });
}

bool frmDailyExp::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtAmount) {
        switch (event->type()) {
        case QEvent::FocusOut:
            txtAmount_LostFocus();
            break;
        case QEvent::KeyPress:
            if (!txtAmount_KeyPress(static_cast<QKeyEvent *>(event)))
                return true;
            break;
        case QEvent::MouseButtonDblClick:
            txtAmount_DblClick();
            return true;
        default:
            break;
        }
    } else if (watched == txtComments && event->type() == QEvent::FocusIn) {
        txtComments_GotFocus();
    } else if (watched == btnAdd && (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove)) {
        modMain::SetStatus(978);
    }
    return ChildWindow::eventFilter(watched, event);
}
