#include "timelog/frmCal.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "platform/forms/Label.h"
#include "platform/forms/Units.h"
#include "store/modDBchr.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

using namespace modMain;

namespace {

constexpr int16_t kFutureDay = 365;
constexpr int16_t kDayHasEntries = 371;

} // namespace

frmCal::frmCal()
{
    setObjectName(QStringLiteral("frmCal"));
    setWindowTitle(QStringLiteral("Select a Day"));
    setModal(true);

    MyCal = new QCalendarWidget(this);
    MyCal->setObjectName(QStringLiteral("MyCal"));
    MyCal->setGridVisible(true);
    MyCal->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // Wide enough for the day names of every language.
    int dayName = 0;
    for (int d = 1; d <= 7; ++d)
        dayName = qMax(dayName, MyCal->fontMetrics().horizontalAdvance(MyCal->locale().dayName(d, QLocale::ShortFormat)));
    MyCal->setMinimumWidth(7 * (dayName + 14) + 4);
    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(MyCal);
    layout->addLayout(buttons);

    SetDay(QDate::currentDate());
    connect(MyCal, &QCalendarWidget::selectionChanged, this, &frmCal::MyCal_SelectionChanged);
    connect(btnOK, &QPushButton::clicked, this, &frmCal::btnOK_Click);
    connect(btnCancel, &QPushButton::clicked, this, &frmCal::btnCancel_Click);

    // Form_Load: a little below and right of the main window's corner.
    if (frmMain *main = frmMain::Peek()) {
        const QPoint corner = main->frameGeometry().topLeft();
        adjustSize();
        move(corner + QPoint(forms::TwipsToPixels(200), forms::TwipsToPixels(1000)));
    }
}

frmCal::~frmCal()
{
    // Form_Unload: the caller paints itself again where the calendar lay.
    if (CallerForm)
        CallerForm->update();
    Forget(this);
}

bool frmCal::PickDay(QWidget *caller, forms::Label *dayLabel)
{
    QPointer<frmCal> cal = Get();
    QDate day;
    if (dayLabel && !dayLabel->Caption().isEmpty())
        day = ShortDateToDate(dayLabel->Caption());
    cal->SetDay(day.isValid() ? day : QDate::currentDate());
    cal->DayLabel = dayLabel;
    cal->CallerForm = caller;
    const bool accepted = cal->exec() == QDialog::Accepted;
    if (cal)
        Unload();
    return accepted;
}

void frmCal::SetDay(const QDate &day)
{
    const QSignalBlocker quiet(MyCal);
    MyCal->setSelectedDate(day);
    m_selected = MyCal->selectedDate();
}

bool frmCal::DayTaken(const QDate &day) const
{
    const bool timeLog = CallerForm && CallerForm->objectName() == QLatin1String("frmDaily");
    return modDBchr::DayHasEntries(DateToLong(day),
                                   timeLog ? modDBchr::DayEntries::TimeLog : modDBchr::DayEntries::Expenses);
}

void frmCal::MyCal_BeforeUpdate(const QDate &day, bool &cancel)
{
    if (day > QDate::currentDate()) {
        ShowMsg(GetLangString(kFutureDay), 16);
        cancel = true;
    } else if (DayTaken(day)) {
        ShowMsg(GetLangString(kDayHasEntries), 64);
        cancel = true;
    }
}

void frmCal::MyCal_SelectionChanged()
{
    const QDate day = MyCal->selectedDate();
    if (day == m_selected)
        return;
    // The calendar has already moved: a refused day puts the previous selection back before
    // the person is told why.
    const QDate previous = m_selected;
    {
        const QSignalBlocker quiet(MyCal);
        MyCal->setSelectedDate(previous);
    }
    bool cancel = false;
    MyCal_BeforeUpdate(day, cancel);
    if (cancel)
        return;
    const QSignalBlocker quiet(MyCal);
    MyCal->setSelectedDate(day);
    m_selected = day;
}

void frmCal::btnOK_Click()
{
    const QDate day = MyCal->selectedDate();
    if (day > QDate::currentDate()) {
        ShowMsg(GetLangString(kFutureDay), 16);
        return;
    }
    if (DayTaken(day)) {
        ShowMsg(GetLangString(kDayHasEntries), 0);
        return;
    }
    hide();
    done(QDialog::Accepted);
    // The caller's Change event of its day label loads the day.
    if (DayLabel)
        DayLabel->SetCaption(ShortDateText(day));
}

void frmCal::btnCancel_Click()
{
    done(QDialog::Rejected);
}
