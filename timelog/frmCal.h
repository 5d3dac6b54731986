#pragma once
// The calendar in which the person picks a new day for a day editor (the daily log and the
// expenses editor). It refuses days after today and days on which the caller already has
// entries; an accepted day goes, as a short date, into the caller's day label, whose Change
// event then loads that day in the caller.
//
// How a caller opens it (after hiding its own drop-downs, such as its project tree):
//
//   frmCal::PickDay(this, lblDay);
//
// The caller's objectName chooses the entries that count: "frmDaily" its recorded time-log
// entries, any other name its expenses. A caller that closes itself while the calendar could
// be loaded calls frmCal::Unload().
#include "core/FormInstance.h"

#include <QDate>
#include <QDialog>
#include <QPointer>

class QCalendarWidget;
class QPushButton;
namespace forms { class Label; }

class frmCal : public QDialog, public FormInstance<frmCal> {
    Q_OBJECT
public:
    frmCal();
    ~frmCal() override;

    // Loads the calendar on the day of dayLabel (today when the label is empty or holds no
    // date), hands over the label and the caller, shows it modally and unloads it. True when
    // a day was accepted and written into the label.
    static bool PickDay(QWidget *caller, forms::Label *dayLabel);

    // Set by the caller before the window is shown.
    QPointer<QWidget> CallerForm;
    QPointer<forms::Label> DayLabel;

    QCalendarWidget *MyCal = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

    // The calendar shows day (the selection the checks start from).
    void SetDay(const QDate &day);

    // The person picks a day: cancel keeps the previous selection.
    void MyCal_BeforeUpdate(const QDate &day, bool &cancel);
    void btnOK_Click();
    void btnCancel_Click();

private:
    // Whether the caller's table has entries of the current user on day.
    bool DayTaken(const QDate &day) const;
    void MyCal_SelectionChanged();

    QDate m_selected;
};
