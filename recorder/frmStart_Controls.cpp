// The controls of the timers window, placed as the window's designer laid them out (in
// twips), with their design captions, and wired to their handlers. The menus come with the
// window's frame.
#include "recorder/frmStart.h"

#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"

#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

// The window's client area in twips: the menu bar takes the top strip.
constexpr int kFormWidth = 6600;
constexpr int kFormHeight = 6210;
constexpr int kDigitWidth = 240;    // one digit picture (16 by 24 pixels)
constexpr int kDigitHeight = 360;

// Turns a mouse press on a widget into a call, for controls whose Click the widget set
// does not report (the comment box).
class PressFilter : public QObject {
public:
    PressFilter(QObject *parent, std::function<void()> onPress)
        : QObject(parent), m_onPress(std::move(onPress)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::MouseButtonPress)
            m_onPress();
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> m_onPress;
};

forms::Label *NewLabel(QWidget *parent, const QString &name, const QString &caption,
                       int left, int top, int width, int height)
{
    auto *l = new forms::Label(caption, parent);
    l->setObjectName(name);
    forms::Move(l, left, top, width, height);
    return l;
}

QPushButton *NewButton(QWidget *parent, const QString &name, const QString &caption,
                       int left, int top, int width, int height)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    forms::Move(b, left, top, width, height);
    return b;
}

// A label that shows one digit picture.
QLabel *NewDigit(QWidget *parent, const QString &name, int left, int top)
{
    auto *d = new QLabel(parent);
    d->setObjectName(name);
    d->setScaledContents(false);
    d->setAlignment(Qt::AlignCenter);
    forms::Move(d, left, top, kDigitWidth, kDigitHeight);
    return d;
}

} // namespace

void frmStart::CreateControls()
{
    resize(forms::TwipsToPixels(kFormWidth), forms::TwipsToPixels(kFormHeight));
    setMinimumSize(size());

    // ---- heading and the timers list -------------------------------------------------
    lbl[1] = NewLabel(this, "lbl_1", "Live Recording", 120, 450, 3780, 270);
    QFont heading = lbl[1]->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.2);
    lbl[1]->setFont(heading);

    lbl[7] = NewLabel(this, "lbl_7", "Activities:", 120, 780, 3000, 240);
    // Column headings above the grid: the grid has no fixed rows, so these name its visible
    // columns (name 2, project 12, task 13, each 1600 twips after the 300 of the picture).
    // Each heading stays inside its column, so that a long one is cut rather than run into
    // the next.
    lbl[2] = NewLabel(this, "lbl_2", "Activity", 495, 1020, 1530, 240);
    lbl[3] = NewLabel(this, "lbl_3", "Project", 2095, 1020, 1530, 240);
    lbl[4] = NewLabel(this, "lbl_4", "Task", 3695, 1020, 1530, 240);

    lstTimers = new forms::FlexGrid(this);
    lstTimers->setObjectName("lstTimers");
    forms::Move(lstTimers, 120, 1260, 6360, 1710);
    lstTimers->SetFlexSelectionMode(forms::FlexGrid::SelectionByRow);
    lstTimers->SetBackColor(kOtherColor);
    lstTimers->SetCols(colCount);
    lstTimers->SetRows(0);
    for (int c = 0; c < colCount; ++c)
        lstTimers->SetColWidth(c, 0);
    lstTimers->SetColWidth(colPic, 300);
    lstTimers->SetColWidth(colName, 1600);
    lstTimers->SetColWidth(colProjName, 1600);
    lstTimers->SetColWidth(colTaskName, 1600);

    // Add and Remove above the grid's right end, beside the heading.
    btnLoad = NewButton(this, "btnLoad", "Add", 3960, 420, 1215, 360);
    btnUnload = NewButton(this, "btnUnload", "Remove", 5265, 420, 1215, 360);

    // The notice shown in place of the grid while no timer is loaded.
    picInfo = new QWidget(this);
    picInfo->setObjectName("picInfo");
    forms::Move(picInfo, 120, 1020, 6360, 1950);
    picInfo->setAutoFillBackground(true);
    {
        QPalette pal = picInfo->palette();
        pal.setColor(QPalette::Window, forms::ToQColor(kOtherColor));
        picInfo->setPalette(pal);
    }
    lblInfo = NewLabel(picInfo, "lblInfo",
                       "No activities are loaded yet. Click \"Add\" to choose activities from your "
                       "projects, or start a quick recording.",
                       240, 240, 5880, 1470);
    lblInfo->setWordWrap(true);
    lblInfo->setAlignment(Qt::AlignCenter);
    picInfo->setVisible(false);

    // ---- editing of the selected timer ---------------------------------------------
    frEdit = new QGroupBox(QStringLiteral("Edit Activity"), this);
    frEdit->setObjectName("frEdit");
    forms::Move(frEdit, 120, 3060, 6360, 1560);
    lbl[8] = NewLabel(frEdit, "lbl_8", "Project:", 150, 300, 1440, 240);
    lProj = NewLabel(frEdit, "lProj", QString(), 1590, 300, 4620, 240);
    lbl[9] = NewLabel(frEdit, "lbl_9", "Task:", 150, 630, 1440, 240);
    lTask = NewLabel(frEdit, "lTask", QString(), 1590, 630, 4230, 240);
    btnDown = new QToolButton(frEdit);
    btnDown->setObjectName("btnDown");
    btnDown->setArrowType(Qt::DownArrow);
    forms::Move(btnDown, 5880, 585, 330, 330);
    lbl[10] = NewLabel(frEdit, "lbl_10", "Comments:", 150, 990, 1440, 240);
    txtComments = new QPlainTextEdit(frEdit);
    txtComments->setObjectName("txtComments");
    forms::Move(txtComments, 1590, 960, 4620, 510);

    // ---- the selected timer and its recording ---------------------------------------
    frAct = new QGroupBox(QStringLiteral("Current Activity"), this);
    frAct->setObjectName("frAct");
    forms::Move(frAct, 120, 4680, 6360, 1440);
    lbl[5] = NewLabel(frAct, "lbl_5", "Started:", 150, 300, 1440, 240);
    lStart1 = NewLabel(frAct, "lStart1", QString(), 1590, 300, 2100, 240);
    lbl[6] = NewLabel(frAct, "lbl_6", "Elapsed:", 150, 840, 1440, 240);
    {
        // hh:mm:ss, each pair of digits followed by a colon
        const int top = 780;
        int left = 1590;
        const auto colon = [&](const QString &name) {
            auto *c = NewLabel(frAct, name, QStringLiteral(":"), left, top, 120, kDigitHeight);
            QFont f = c->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.5);
            c->setFont(f);
            c->setAlignment(Qt::AlignCenter);
            left += 120;
        };
        const auto pair = [&](std::array<QLabel *, 2> &digits, const QString &name) {
            for (int i = 0; i < 2; ++i) {
                digits[i] = NewDigit(frAct, name + "_" + QString::number(i), left, top);
                left += kDigitWidth;
            }
        };
        pair(hr, "hr");
        colon("lblColon_0");
        pair(mn, "mn");
        colon("lblColon_1");
        pair(sc, "sc");
    }
    btnQ = NewButton(frAct, "btnQ", "Quick Record", 3720, 240, 2490, 360);
    btnStart = NewButton(frAct, "btnStart", "Start", 3720, 780, 780, 390);
    btnStop = NewButton(frAct, "btnStop", "Stop", 4575, 780, 780, 390);
    btnCancel = NewButton(frAct, "btnCancel", "Cancel", 5430, 780, 780, 390);
    btnStart->setEnabled(false);
    btnStop->setEnabled(false);
    btnCancel->setEnabled(false);

    // Three boxes of hours, minutes and seconds, kept out of sight.
    for (int i = 0; i < 3; ++i) {
        txtP[i] = new QLineEdit(this);
        txtP[i]->setObjectName("txtP_" + QString::number(i));
        forms::Move(txtP[i], -12000, 0, 450, 300);
        txtP[i]->setVisible(false);
    }

    // The task tree drops down over the edit area, above everything else.
    MyTree = new forms::TreeView(this);
    MyTree->setObjectName("MyTree");
    forms::Move(MyTree, 180, 3990, 6240, 2100);
    MyTree->setVisible(false);
    MyTree->raise();

    tmr = new QTimer(this);
    tmr->setObjectName("tmr");
    tmr->setInterval(500);

    // Captions from the string table: each label carries its string id.
    static const int kLabelIds[11] = {0, 1, 954, 950, 952, 5, 6, 955, 951, 952, 956};
    for (int i = 1; i <= 10; ++i)
        forms::SetTag(lbl[i], QString::number(kLabelIds[i]));

    ConnectControls();
}

void frmStart::ConnectControls()
{
    connect(btnStart, &QPushButton::clicked, this, [this] { btnStart_Click(); });
    connect(btnStop, &QPushButton::clicked, this, [this] { btnStop_Click(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancel_Click(); });
    connect(btnQ, &QPushButton::clicked, this, [this] { btnQ_Click(); });
    connect(btnUnload, &QPushButton::clicked, this, [this] { btnUnload_Click(); });
    connect(btnLoad, &QPushButton::clicked, this, [this] { btnLoad_Click(); });
    connect(btnDown, &QToolButton::clicked, this, [this] { btnDown_Click(); });
    connect(MyTree, &forms::TreeView::NodeClick, this, [this](forms::Node *n) { MyTree_NodeClick(n); });
    connect(txtComments, &QPlainTextEdit::textChanged, this, [this] { txtComments_Change(); });
    txtComments->viewport()->installEventFilter(new PressFilter(txtComments, [this] { txtComments_Click(); }));
    connect(lstTimers, &forms::FlexGrid::Click, this, [this] { lstTimers_Click(); });
    connect(tmr, &QTimer::timeout, this, [this] { tmr_Timer(); });
}
