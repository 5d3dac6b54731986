// The daily time-log window: its controls, loading a day into the grid, switching days,
// activation and closing.
#include "timelog/frmDaily.h"

#include "core/frmMain.h"
#include "core/RequestGuard.h"
#include "core/modMain.h"
#include "platform/forms/Forms.h"
#include "resources/Pictures.h"
#include "store/modDBchr.h"
#include "timelog/DailyRules.h"
#include "core/clsTimePicker.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace modMain;
using namespace dailyrules;

namespace {

// The window fits the main window's document area with its frame.
constexpr int kFormWidth = 6300;
constexpr int kFormHeight = 5520;
constexpr int kMenuHeight = 330;
constexpr int kGridLeft = 120;
constexpr int kGridWidth = 6060;
// Wide enough for "08:00:00" in the grid's font.
constexpr int kStartWidth = 1000;
constexpr int kEndWidth = 1100;

// A label or button that takes its caption from the string table by its tag; the design's
// caption stands until the table is read.
forms::Label *TaggedLabel(QWidget *parent, const char *name, int16_t tag, int left, int top, int width,
                          const char *caption)
{
    auto *l = new forms::Label(parent);
    l->setObjectName(QString::fromLatin1(name));
    forms::SetTag(l, QString::number(tag));
    l->SetCaption(QString::fromLatin1(caption));
    forms::Move(l, left, top, width, 255);
    return l;
}

QPushButton *TaggedButton(QWidget *parent, const char *name, int16_t tag, int left, int top, int width,
                          const char *caption)
{
    auto *b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    forms::SetTag(b, QString::number(tag));
    forms::Move(b, left, top, width, 360);
    return b;
}

QLineEdit *Box(QWidget *parent, const QString &name, int left, int top, int width)
{
    auto *t = new QLineEdit(parent);
    t->setObjectName(name);
    forms::Move(t, left, top, width, 300);
    return t;
}

} // namespace

frmDaily::frmDaily()
{
    setObjectName("frmDaily");
    setWindowTitle(QStringLiteral("Daily Time Log"));
    CreateControls();
    CreateMenus();
    PlaceInMainWindow(QStringLiteral("frmDailySub"));

    frmMain *main = frmMain::Get();
    OnActivation([this] { Form_Activate(); });

    // Load, in order: captions, the new-entry name, the task tree, the day buttons, the grid,
    // the day list, the editor's commands, then the shown day.
    ApplyLang();
    NewEntryName = GetLangString(255, false);
    MyTree->SetImageList(&main->imgLst);
    modDBchr::FillProjectTree(MyTree, false, false);
    MyTree->setVisible(false);
    btnNP[0]->setEnabled(false);
    btnNP[1]->setEnabled(false);

    for (int i = 0; i < 10; ++i)
        m_digits[size_t(i)] = res::Picture(216 + i);
    for (auto *pair : {&hr, &mn, &sc})
        for (QLabel *img : *pair)
            img->setPixmap(m_digits[0]);

    lstLog->SetCols(ColCount);
    lstLog->SetRows(0);
    for (int c = 0; c < ColCount; ++c)
        lstLog->SetColWidth(c, 0);
    lstLog->SetColWidth(ColPicture, 300);
    lstLog->SetColWidth(ColStartText, kStartWidth);
    lstLog->SetColWidth(ColEndText, kEndWidth);
    lstLog->SetColWidth(ColName, kGridWidth - kStartWidth - kEndWidth - 330 - 300);
    lstLog->SetColAlignment(ColEndText, forms::FlexGrid::AlignLeftCenter);
    lstLog->SetColAlignment(ColPicture, forms::FlexGrid::AlignCenterCenter);

    modDBchr::FillRecordedDatesCombo(cmbDays);
    const int32_t today = DateToLong(QDate::currentDate());
    if (FindComboData(today, cmbDays) < 0)
        AddDateItem(today, cmbDays);

    SetDelEnabled(false);
    SetSaveEnabled(false);
    txtComments->setEnabled(false);

    // Opens on the last day of the list: today when it has no entries, else the latest day.
    cmbDays->SetListIndex(cmbDays->ListCount() - 1);
    FormLoaded[fiDaily] = true;
}

frmDaily::~frmDaily()
{
    FormLoaded[fiDaily] = false;
    Forget(this);
}

void frmDaily::CreateControls()
{
    resize(forms::TwipsToPixels(kFormWidth), forms::TwipsToPixels(kFormHeight));
    setMinimumSize(size());

    // ---- the day ------------------------------------------------------------------------
    const int dayTop = kMenuHeight + 120;
    TaggedLabel(this, "lblSelectDate", 230, kGridLeft, dayTop + 40, 1250, "Select a Date:");
    cmbDays = new forms::ComboBox(this);
    cmbDays->setObjectName("cmbDays");
    forms::Move(cmbDays, 1390, dayTop, 1580, 330);
    connect(cmbDays, &forms::ComboBox::Click, this, &frmDaily::cmbDays_Click);
    for (int i = 0; i < 2; ++i) {
        btnNP[i] = new QPushButton(i == 0 ? QStringLiteral("<") : QStringLiteral(">"), this);
        btnNP[i]->setObjectName(QStringLiteral("btnNP_%1").arg(i));
        forms::Move(btnNP[i], 3010 + i * 360, dayTop, 340, 330);
        connect(btnNP[i], &QPushButton::clicked, this, [this, i] { btnNP_Click(i); });
    }
    btnNewDate = TaggedButton(this, "btnNewDate", 231, 3770, dayTop, 1180, "New Day");
    btnDelDate = TaggedButton(this, "btnDelDate", 232, 5010, dayTop, 1170, "Delete Day");

    const int logTop = dayTop + 450;
    btnAdd = TaggedButton(this, "btnAdd", 900, 3010, logTop - 40, 770, "New");
    btnSave = TaggedButton(this, "btnSave", 903, 3800, logTop - 40, 770, "Save");
    btnDel = TaggedButton(this, "btnDel", 904, 4590, logTop - 40, 770, "Delete");
    btnExit = TaggedButton(this, "btnExit", 905, 5380, logTop - 40, 800, "Close");
    connect(btnAdd, &QPushButton::clicked, this, &frmDaily::btnAdd_Click);
    connect(btnSave, &QPushButton::clicked, this, &frmDaily::btnSave_Click);
    connect(btnDel, &QPushButton::clicked, this, &frmDaily::btnDel_Click);
    connect(btnExit, &QPushButton::clicked, this, &frmDaily::btnExit_Click);
    connect(btnNewDate, &QPushButton::clicked, this, &frmDaily::btnNewDate_Click);
    connect(btnDelDate, &QPushButton::clicked, this, &frmDaily::btnDelDate_Click);
    btnAdd->setMouseTracking(true);
    btnAdd->installEventFilter(this);

    // ---- the day's entries ------------------------------------------------------------------
    TaggedLabel(this, "lblLogs", 233, kGridLeft, logTop, 1250, "Logs:");
    lblDay = new forms::Label(this);
    lblDay->setObjectName("lblDay");
    QFont bold = lblDay->font();
    bold.setBold(true);
    lblDay->setFont(bold);
    forms::Move(lblDay, 1400, logTop, 1560, 255);
    connect(lblDay, &forms::Label::Change, this, &frmDaily::lblDay_Change);
    // Column headings stand above the grid, over the visible columns.
    TaggedLabel(this, "lblHeadActivity", 203, kGridLeft + 330, logTop + 430, 3000, "Activity");
    TaggedLabel(this, "lblHeadStart", 201, kGridLeft + kGridWidth - kStartWidth - kEndWidth - 330, logTop + 430,
                kStartWidth, "Start");
    TaggedLabel(this, "lblHeadEnd", 202, kGridLeft + kGridWidth - kEndWidth - 330, logTop + 430, kEndWidth, "End");

    lstLog = new forms::FlexGrid(this);
    lstLog->setObjectName("lstLog");
    lstLog->SetFlexSelectionMode(forms::FlexGrid::SelectionByRow);
    lstLog->SetBackColor(16312534);
    forms::Move(lstLog, kGridLeft, logTop + 680, kGridWidth, 1560);
    connect(lstLog, &forms::FlexGrid::Click, this, &frmDaily::lstLog_Click);
    connect(lstLog, &forms::FlexGrid::MouseMove, this, &frmDaily::lstLog_MouseMove);
    lstLog->installEventFilter(this);

    // ---- the editor strip -----------------------------------------------------------------
    CreateEditor(logTop + 680 + 1620);
}

void frmDaily::CreateEditor(int editTop)
{
    frEdit = new QGroupBox(this);
    frEdit->setObjectName("frEdit");
    forms::SetTag(frEdit, QStringLiteral("220"));
    frEdit->setTitle(QStringLiteral("Edit selected Activity"));
    forms::Move(frEdit, kGridLeft, editTop, kGridWidth, kFormHeight - editTop - 60);

    TaggedLabel(frEdit, "lblProject", 950, 2550, 300, 850, "Project:");
    lProj = new forms::Label(frEdit);
    lProj->setObjectName("lProj");
    forms::Move(lProj, 3450, 300, 2450, 255);
    connect(lProj, &forms::Label::Click, this, [this] { MyTree->setVisible(false); });
    TaggedLabel(frEdit, "lblTask", 952, 2550, 660, 850, "Task:");
    lTask = new forms::Label(frEdit);
    lTask->setObjectName("lTask");
    forms::Move(lTask, 3450, 660, 2150, 255);
    btnDown = new QToolButton(frEdit);
    btnDown->setObjectName("btnDown");
    btnDown->setArrowType(Qt::DownArrow);
    forms::Move(btnDown, 5650, 620, 300, 300);
    connect(btnDown, &QToolButton::clicked, this, &frmDaily::btnDown_Click);

    // The times are only ever written by the picker, which the labels open.
    lblStart = TaggedLabel(frEdit, "lblStart", 204, 120, 300, 1250, "Start Time:");
    txtStart = Box(frEdit, QStringLiteral("txtStart"), 1400, 270, 1000);
    lblEnd = TaggedLabel(frEdit, "lblEnd", 205, 120, 660, 1250, "End Time:");
    txtEnd = Box(frEdit, QStringLiteral("txtEnd"), 1400, 630, 1000);
    for (forms::Label *l : {lblStart, lblEnd}) {
        QFont f = l->font();
        f.setUnderline(true);
        l->setFont(f);
        l->setCursor(Qt::PointingHandCursor);
        l->setEnabled(false);
    }
    for (QLineEdit *box : {txtStart, txtEnd}) {
        box->setReadOnly(true);
        box->setFocusPolicy(Qt::ClickFocus);
        box->installEventFilter(this);
    }
    connect(lblStart, &forms::Label::Click, this, &frmDaily::lblStart_Click);
    connect(lblEnd, &forms::Label::Click, this, &frmDaily::lblEnd_Click);
    connect(txtStart, &QLineEdit::textChanged, this, &frmDaily::txtStart_Change);
    connect(txtEnd, &QLineEdit::textChanged, this, &frmDaily::txtEnd_Change);

    // The duration: three hidden number boxes, drawn as two digit pictures each.
    TaggedLabel(frEdit, "lblDuration", 213, 120, 1020, 1250, "Duration:");
    picTimer = new QWidget(frEdit);
    picTimer->setObjectName("picTimer");
    forms::Move(picTimer, 1400, 960, 2700, 400);
    static const int16_t unitTags[3] = {209, 210, 211};
    std::array<QLabel *, 2> *pairs[3] = {&hr, &mn, &sc};
    static const char *pairNames[3] = {"hr", "mn", "sc"};
    for (int i = 0; i < 3; ++i) {
        txtH[i] = Box(frEdit, QStringLiteral("txtH_%1").arg(i), 1400 + i * 900, 990, 500);
        txtH[i]->setVisible(false);
        connect(txtH[i], &QLineEdit::textChanged, this, [this, i] { txtH_Change(i); });
        for (int d = 0; d < 2; ++d) {
            auto *img = new QLabel(picTimer);
            img->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(pairNames[i])).arg(d));
            forms::Move(img, i * 900 + d * 240, 20, 240, 360);
            (*pairs[i])[size_t(d)] = img;
        }
        auto *unit = new forms::Label(picTimer);
        unit->setObjectName(QStringLiteral("lblUnit_%1").arg(i));
        forms::SetTag(unit, QString::number(unitTags[i]));
        static const char *unitCaptions[3] = {"h", "m", "s"};
        unit->SetCaption(QString::fromLatin1(unitCaptions[i]));
        forms::Move(unit, i * 900 + 520, 140, 330, 255);
    }

    TaggedLabel(frEdit, "lblComments", 956, 120, 1420, 1500, "Comments:");
    txtComments = new QPlainTextEdit(frEdit);
    txtComments->setObjectName("txtComments");
    forms::Move(txtComments, 120, 1680, kGridWidth - 240, forms::Height(frEdit) - 1800);
    txtComments->installEventFilter(this);
    connect(txtComments, &QPlainTextEdit::textChanged, this, &frmDaily::txtComments_Change);

    // The time picker opens under the box it was opened on.
    picPicker = clsTimePicker::CreateControls(frEdit);
    forms::Move(picPicker, 1400, 960);
    m_Picker = new clsTimePicker(this);
    m_Picker->SetFrm(this);
    if (auto *exit = picPicker->findChild<forms::Label *>(QStringLiteral("lblExit")))
        connect(exit, &forms::Label::Click, this, &frmDaily::lblExit_Click);

    // The task tree drops down over the editor strip, from the time boxes to the window's right
    // edge: wide enough for a project, its task and its category by name.
    MyTree = new forms::TreeView(this);
    MyTree->setObjectName("MyTree");
    MyTree->SetWholeNames();
    forms::Move(MyTree, kGridLeft + 1400, editTop + 960, kGridWidth - 1400, kFormHeight - editTop - 1020);
    connect(MyTree, &forms::TreeView::NodeClick, this, &frmDaily::MyTree_NodeClick);
}

void frmDaily::CreateMenus()
{
    mnuBar = new QMenuBar(this);
    mnuBar->setObjectName("mnuBar");
    mnuBar->setNativeMenuBar(false);
    forms::Move(mnuBar, 0, 0, kFormWidth, kMenuHeight);
    const auto item = [this](QMenu *menu, const char *name, void (frmDaily::*handler)()) {
        QAction *a = menu->addAction(QString::fromLatin1(name));
        a->setObjectName(QString::fromLatin1(name));
        if (handler)
            connect(a, &QAction::triggered, this, handler);
        return a;
    };
    const auto menu = [this](const char *name, const char *caption, void (frmDaily::*onShow)()) {
        QMenu *m = mnuBar->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        if (onShow)
            connect(m, &QMenu::aboutToShow, this, onShow);
        return m;
    };
    const auto caption = [](QAction *a, const char *text) {
        a->setText(QString::fromLatin1(text));
        return a;
    };
    mnuLogs = menu("mnuLogs", "Logs", &frmDaily::mnuLogs_Click);
    mnuLogs_Add = caption(item(mnuLogs, "mnuLogs_Add", &frmDaily::mnuLogs_Add_Click), "Add New");
    mnuLogs_Save = caption(item(mnuLogs, "mnuLogs_Save", &frmDaily::mnuLogs_Save_Click), "Save");
    mnuLogs_Del = caption(item(mnuLogs, "mnuLogs_Del", &frmDaily::mnuLogs_Del_Click), "Delete Selected");
    mnuLogs_DelAll = caption(item(mnuLogs, "mnuLogs_DelAll", &frmDaily::mnuLogs_DelAll_Click), "Delete All Day Logs");
    mnuLogs->addSeparator();
    mnuLogs_FreeBusy = caption(item(mnuLogs, "mnuLogs_FreeBusy", &frmDaily::mnuLogs_FreeBusy_Click), "Free/Busy Time");
    mnuLogs_FreeBusy->setCheckable(true);
    mnuLogs->addSeparator();
    mnuLogs_Exit = caption(item(mnuLogs, "mnuLogs_Exit", &frmDaily::btnExit_Click), "Close Form");
    mnuDays = menu("mnuDays", "Days", &frmDaily::mnuDays_Click);
    mnuDays_Add = caption(item(mnuDays, "mnuDays_Add", &frmDaily::mnuDays_Add_Click), "Add New");
    mnuDays_Del = caption(item(mnuDays, "mnuDays_Del", &frmDaily::mnuDays_Del_Click), "Delete Day");
    mnuDays_DelAll = caption(item(mnuDays, "mnuDays_DelAll", &frmDaily::mnuDays_DelAll_Click), "Delete All Days");
    mnuSynch = menu("mnuSynch", "Synch", &frmDaily::mnuSynch_Click);
    mnuSynch_Item = caption(item(mnuSynch, "mnuSynch_Item", &frmDaily::mnuSynch_Item_Click), "Synchronize Item");
    mnuSynch_Day = caption(item(mnuSynch, "mnuSynch_Day", &frmDaily::mnuSynch_Day_Click), "Synchronize Day");
    mnuHelp = menu("mnuHelp", "Help", nullptr);
    mnuHelp_Video = caption(item(mnuHelp, "mnuHelp_Video", &frmDaily::mnuHelp_video_Click), "Show Help Video");
    mnuHelp_Form = caption(item(mnuHelp, "mnuHelp_Form", &frmDaily::mnuHelp_Form_Click), "Help on this Form");

    // Another window's request (a bulk upload, a download) keeps this window's stored rows
    // as they are until it is over, as this window's own sends do.
    connect(RequestGuard::Notifier(), &RequestBusy::BusyChanged, this, [this](bool) { ApplyBusy(); });
}

void frmDaily::ApplyLang()
{
    ApplyLangOrTell([&] {
        // The day label keeps its day key in its tag.
        ApplyTagCaptions(this, false, [](const QWidget *w) { return w->objectName() == QLatin1String("lblDay"); });
        // The title of the window and of its frame in the main window.
        setWindowTitle(GetLangString(1037, false));
        if (!mnuLogs)
            return;
        const std::pair<QMenu *, int16_t> menus[] = {
            {mnuLogs, 270}, {mnuDays, 279}, {mnuSynch, 284}, {mnuHelp, 287}};
        const std::pair<QAction *, int16_t> items[] = {
            {mnuLogs_Add, 271},  {mnuLogs_Save, 272},  {mnuLogs_Del, 273},    {mnuLogs_DelAll, 276},
            {mnuLogs_FreeBusy, 277}, {mnuLogs_Exit, 278}, {mnuDays_Add, 280}, {mnuDays_Del, 281},
            {mnuDays_DelAll, 282}, {mnuSynch_Item, 285}, {mnuSynch_Day, 286}, {mnuHelp_Video, 977},
            {mnuHelp_Form, 288}};
        for (const auto &[m, id] : menus)
            m->setTitle(GetLangString(id, false));
        for (const auto &[a, id] : items)
            a->setText(GetLangString(id, false));
        // Rows that hold no entry and no task yet carry the name in the new language.
        const QString before = NewEntryName;
        NewEntryName = GetLangString(255, false);
        for (int r = 0; lstLog && r < lstLog->Rows(); ++r)
            if (lstLog->TextMatrix(r, ColID).isEmpty() && lstLog->TextMatrix(r, ColTask).isEmpty()
                && lstLog->TextMatrix(r, ColName) == before)
                lstLog->SetTextMatrix(r, ColName, NewEntryName);
        FitTopRows();
    });
}

void frmDaily::FitTopRows()
{
    // The two rows above the grid follow their captions' widths in every language: labels and
    // lists from the left, the buttons from the right edge of the grid.
    const int gap = forms::TwipsToPixels(60);
    const int right = forms::TwipsToPixels(kGridLeft + kGridWidth);
    const auto fitLabel = [](QWidget *l) { l->resize(l->sizeHint().width(), l->height()); };
    const auto fitButtons = [&](std::initializer_list<QPushButton *> buttons, int padding) {
        int x = right;
        for (auto it = std::rbegin(buttons); it != std::rend(buttons); ++it) {
            QPushButton *b = *it;
            const int w = qMax(b->fontMetrics().horizontalAdvance(b->text()) + padding, forms::TwipsToPixels(600));
            x -= w;
            b->setGeometry(x, b->y(), w, b->height());
            x -= forms::TwipsToPixels(15);
        }
    };
    if (auto *label = findChild<QWidget *>(QStringLiteral("lblSelectDate"))) {
        fitLabel(label);
        cmbDays->move(label->geometry().right() + gap, cmbDays->y());
        btnNP[0]->move(cmbDays->geometry().right() + gap, btnNP[0]->y());
        btnNP[1]->move(btnNP[0]->geometry().right() + forms::TwipsToPixels(20), btnNP[1]->y());
    }
    fitButtons({btnNewDate, btnDelDate}, forms::TwipsToPixels(150));
    if (auto *label = findChild<QWidget *>(QStringLiteral("lblLogs"))) {
        fitLabel(label);
        lblDay->move(label->geometry().right() + gap, lblDay->y());
    }
    // The shown day must stay readable beside the entry buttons whatever day it is: room for
    // the widest date of the year, the buttons' margins narrowed where a language needs it.
    int dayWidth = 0;
    for (int month = 1; month <= 12; ++month)
        dayWidth = qMax(dayWidth, lblDay->fontMetrics().horizontalAdvance(ShortDateText(QDate(2000, month, 28))));
    dayWidth += forms::TwipsToPixels(30);
    for (int padding : {150, 90, 45}) {
        fitButtons({btnAdd, btnSave, btnDel, btnExit}, forms::TwipsToPixels(padding));
        if (lblDay->x() + dayWidth + gap <= btnAdd->x())
            break;
    }
    lblDay->resize(qMax(dayWidth, btnAdd->x() - gap - lblDay->x()), lblDay->height());
}

void frmDaily::SetColorsAndPics(int row)
{
    const int first = row < 0 ? 0 : row;
    const int last = row < 0 ? lstLog->Rows() - 1 : qMin(row, lstLog->Rows() - 1);
    for (int r = first; r <= last; ++r) {
        QString picture = QStringLiteral("NORMAL");
        int fore = 0;
        int back = 16312534;
        if (lstLog->TextMatrix(r, ColTask).isEmpty()) {
            picture = QStringLiteral("PLUS");
            fore = 255;
        } else {
            switch (lstLog->TextMatrix(r, ColChk).toInt()) {
            case Sent:
                picture = QStringLiteral("CHECK");
                fore = 0x808080;
                back = 0xE0E0E0;
                break;
            case Resend:
                picture = QStringLiteral("RESEND");
                break;
            case Rejected:
                picture = QStringLiteral("QUEST");
                break;
            default:
                break;
            }
        }
        lstLog->SetCellPictureAt(r, ColPicture, res::Picture(picture));
        lstLog->SetCellPictureAlignmentAt(r, ColPicture, forms::FlexGrid::AlignCenterCenter);
        for (int c = 0; c < ColCount; ++c) {
            if (lstLog->ColWidth(c) <= 10)
                continue;
            lstLog->SetCellForeColorAt(r, c, fore);
            lstLog->SetCellBackColorAt(r, c, back);
        }
    }
}

bool frmDaily::LoadDailyLog()
{
    const int32_t day = forms::Tag(lblDay).toInt();
    const bool redraw = lstLog->Redraw();
    lstLog->SetRedraw(false);
    lstLog->SetRows(0);
    std::vector<modDBchr::DailyEntry> entries;
    const int32_t error = modDBchr::LoadDailyEntries(day, entries);
    const QDateTime midnight(LongToDate(day), QTime(0, 0));
    lstLog->SetRows(int(entries.size()));
    for (int r = 0; r < int(entries.size()); ++r) {
        const modDBchr::DailyEntry &e = entries[size_t(r)];
        const auto number = [](double v) { return QString::number(v, 'f', 0); };
        lstLog->SetTextMatrix(r, ColName, e.cName);
        lstLog->SetTextMatrix(r, ColID, number(e.cID));
        lstLog->SetTextMatrix(r, ColStart, modMain::NumberText(e.cStarttime));
        lstLog->SetTextMatrix(r, ColSec, modMain::NumberText(e.cSec));
        lstLog->SetTextMatrix(r, ColDate, QString::number(e.cDate));
        lstLog->SetTextMatrix(r, ColComment, e.comment);
        lstLog->SetTextMatrix(r, ColCat, number(e.cCatID));
        lstLog->SetTextMatrix(r, ColProjID, number(e.projID));
        const QDateTime start = midnight.addMSecs(qint64(e.cStarttime * 1000));
        lstLog->SetTextMatrix(r, ColStartText, FormatDateTimeStr(start, true));
        lstLog->SetTextMatrix(r, ColEndText, FormatDateTimeStr(start.addMSecs(qint64(e.cSec * 1000)), true));
        lstLog->SetTextMatrix(r, ColTask, number(e.cTaskID));
        lstLog->SetTextMatrix(r, ColChk, QString::number(e.cChk));
    }
    if (lstLog->Rows() > 0)
        lstLog->SetRow(0);
    SetColorsAndPics(-1);
    lstLog->SetRedraw(redraw);
    return error != 0;
}

void frmDaily::cmbDays_Click()
{
    MyTree->setVisible(false);
    if (cmbDays->Text() == lblDay->Caption())
        return;
    // Another day drops the rows edited and not saved: the person decides; No puts the list
    // back on the day shown (whose click then finds nothing to do).
    if (!m_dropAgreed && !MayDropUnsaved(false)) {
        cmbDays->SetListIndex(FindComboText(lblDay->Caption(), cmbDays));
        return;
    }
    ClickDay();
}

void frmDaily::ClickDay()
{
    lstLog->setVisible(false);
    DaySetFromList = true;
    lblDay->SetCaption(cmbDays->Text());
    DaySetFromList = false;
    txtComments->setEnabled(false);
    lstLog->setVisible(true);
}

void frmDaily::lblDay_Change()
{
    if (lblDay->Caption().isEmpty())
        return;
    const QDate date = ShortDateToDate(lblDay->Caption());
    if (!date.isValid())
        return;
    const int32_t day = DateToLong(date);
    if (!DaySetFromList) {
        // A day from the calendar joins the list; its click finds caption and list equal.
        const int16_t index = FindComboData(day, cmbDays);
        cmbDays->SetListIndex(index >= 0 ? index : AddDateItem(day, cmbDays));
    }
    DaySetFromList = false;
    m_Picker->Hide();
    ClearAll();
    txtComments->setEnabled(false);
    SetDelEnabled(false);
    SetSaveEnabled(false);
    m_openRow = -1;
    forms::SetTag(lblDay, QString::number(day));
    lstLog->setVisible(false);
    lstLog->SetRows(0);
    LoadDailyLog();
    if (mnuLogs_FreeBusy->isChecked())
        AddFreeTime();
    lstLog->setVisible(true);
    btnNP[0]->setEnabled(true);
    btnNP[1]->setEnabled(true);
    LoadingRow = true;
    txtStart->clear();
    txtEnd->clear();
    LoadingRow = false;
    if (lstLog->Rows() > 0)
        lstLog->SetRowSel(0);
}

void frmDaily::Form_Activate()
{
    frmMain::Get()->MarkToolbarEntry(1);
    // The day is read again only when that loses no edit, and not while a request may still
    // write into its rows.
    if (mnuLogs_FreeBusy->isChecked() && CheckChanged() == 0 && !RequestGuard::Busy()) {
        lstLog->setVisible(false);
        LoadDailyLog();
        AddFreeTime();
        lstLog->setVisible(true);
        // The rows are new: what the editor showed is no longer the current row.
        CloseEditor();
    }
    if (lstLog->Rows() > 0)
        SetColorsAndPics(-1);
}

bool frmDaily::MayDropUnsaved(bool closing)
{
    const int16_t n = CheckChanged();
    if (n <= 0)
        return true;
    const QString text = closing ? CountedText(n, 360, 361, 1880) : CountedText(n, 360, 1035, 1881);
    return ShowMsg(text, 292) != 7;
}

bool frmDaily::QueryUnload()
{
    MyTree->setVisible(false);
    return MayDropUnsaved(true);
}

void frmDaily::btnExit_Click()
{
    CloseAfterAsking(&frmDaily::Unload);
}
