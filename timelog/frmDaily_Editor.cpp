// The daily time-log window's editor strip: a grid row opened in it, its task picked in the
// tree, its start, end and comment edited in the row, the duration drawn as digit pictures, the
// time picker on the start and end boxes, and the free stretches of the working day.
#include "timelog/frmDaily.h"

#include "core/modMain.h"
#include "platform/forms/Forms.h"
#include "store/modDBchr.h"
#include "timelog/DailyRules.h"
#include "timelog/EditorRules.h"
#include "timelog/FreeTime.h"
#include "core/clsTimePicker.h"

#include <QDate>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QToolButton>

#include <cmath>

using namespace modMain;
using namespace dailyrules;
using namespace editorrules;

// ---- opening a row ----------------------------------------------------------------------------

bool frmDaily::IsSentRow(int row) const
{
    return lstLog->TextMatrix(row, ColChk) == QLatin1String("1");
}

void frmDaily::SetBoxQuietly(QLineEdit *box, const QString &text)
{
    QScopedValueRollback<bool> loading(LoadingRow, true);
    box->setText(text);
}

void frmDaily::CloseEditor()
{
    MyTree->setVisible(false);
    m_Picker->Hide();
    ClearAll();
    SetBoxQuietly(txtStart, QString());
    SetBoxQuietly(txtEnd, QString());
    lblStart->setEnabled(false);
    lblEnd->setEnabled(false);
    txtComments->setEnabled(false);
    SetSaveEnabled(false);
    SetDelEnabled(false);
    m_openRow = -1;
}

void frmDaily::lstLog_Click()
{
    MyTree->setVisible(false);
    // A picker left open belongs to the row before.
    m_Picker->Hide();
    const int row = lstLog->Row();
    if (row < 0)
        return;
    btnDown->setEnabled(true);
    // Entries of a day still to come cannot be opened.
    bool dayOk = false;
    const int32_t day = forms::Tag(lblDay).toInt(&dayOk);
    if (dayOk && day > DateToLong(QDate::currentDate())) {
        ShowMsg(GetLangString(365, false), 16);
        return;
    }
    const QString changed = lstLog->TextMatrix(row, ColChanged);
    const bool hasCategory = !lstLog->TextMatrix(row, ColCat).isEmpty();
    {
        QScopedValueRollback<bool> loading(LoadingRow, true);
        if (hasCategory) {
            SecsToTimeBoxes(lstLog->TextMatrix(row, ColSec).toDouble(), txtH[0], txtH[1], txtH[2]);
            SetDelEnabled(true);
            NewEntryMode = false;
        } else {
            // A free-time or new row: the tree drops down for its task.
            PickerBox = txtStart;
            SetDelEnabled(false);
            SetSaveEnabled(false);
            ClearAll();
            NewEntryMode = true;
            lTask->SetCaption(QString());
            MyTree->setVisible(true);
            MyTree->raise();
            txtComments->setEnabled(true);
        }
        txtStart->setText(lstLog->TextMatrix(row, ColStartText));
        txtEnd->setText(lstLog->TextMatrix(row, ColEndText));
        // A row without a task has no duration of its own yet: the boxes show its span.
        if (!hasCategory)
            CalcDuration();
        const QString task = lstLog->TextMatrix(row, ColTask);
        const QString proj = lstLog->TextMatrix(row, ColProjID);
        const auto taskId = IdOf(task);
        const auto projId = IdOf(proj);
        lTask->SetCaption(taskId ? modDBchr::GetTaskName(*taskId) : QString());
        lProj->SetCaption(projId ? modDBchr::GetProjectName(*projId) : QString());
        if (txtComments->toPlainText() != lstLog->TextMatrix(row, ColComment))
            txtComments->setPlainText(lstLog->TextMatrix(row, ColComment));
        lstLog->SetTextMatrix(row, ColChanged, changed);
        lblStart->setEnabled(!txtStart->text().isEmpty());
        lblEnd->setEnabled(!txtEnd->text().isEmpty());
        if (!IsSentRow(row)) {
            SetSaveEnabled(hasCategory && changed == QLatin1String("True"));
            btnDown->setEnabled(true);
            txtComments->setEnabled(true);
        } else {
            // Accepted by the service: read-only.
            DisableAll();
        }
    }
    m_openRow = row;
}

void frmDaily::lstLog_MouseMove(int, int, double, double y)
{
    if (lstLog->Rows() == 0) {
        SetStatus(254);
        return;
    }
    const int row = RowAt(y, lstLog->RowHeight(0), lstLog->TopRow(), lstLog->Rows());
    if (row < 0)
        return;
    if (const int16_t tip = RowTipOf(lstLog->TextMatrix(row, ColChk), lstLog->TextMatrix(row, ColID)))
        SetStatus(tip);
}

// ---- the task tree ----------------------------------------------------------------------------

void frmDaily::btnDown_Click()
{
    const bool show = !MyTree->isVisible();
    MyTree->setVisible(show);
    if (show) {
        MyTree->raise();
        const int row = lstLog->Row();
        if (row >= 0)
            SelectNodeByTag(MyTree, lstLog->TextMatrix(row, ColTask), lstLog->TextMatrix(row, ColCat));
    }
}

void frmDaily::MyTree_NodeClick(forms::Node *node)
{
    // Only an activity category under its task and project is a choice.
    if (!node || NodeLevel(node) < 2)
        return;
    const int row = lstLog->Row();
    if (row < 0 || lstLog->RowSel() < 0 || IsSentRow(row))
        return;
    forms::Node *task = node->Parent();
    forms::Node *project = task->Parent();
    lstLog->SetTextMatrix(row, ColName, node->Text());
    lstLog->SetTextMatrix(row, ColTask, task->Tag());
    lstLog->SetTextMatrix(row, ColTaskName, task->Text());
    lstLog->SetTextMatrix(row, ColProjID, project->Tag());
    lstLog->SetTextMatrix(row, ColProjName, project->Text());
    lstLog->SetTextMatrix(row, ColCat, node->Tag());
    const bool nextDay = EndOnNextDayOf(row);
    if (const auto start = TimeOfDay(txtStart->text()))
        lstLog->SetTextMatrix(row, ColStart, modMain::NumberText(*start));
    if (const auto span = SpanSeconds(txtStart->text(), txtEnd->text(), nextDay))
        lstLog->SetTextMatrix(row, ColSec, modMain::NumberText(*span));
    lstLog->SetTextMatrix(row, ColChanged, QStringLiteral("True"));
    SetSaveEnabled(true);
    SetDelEnabled(true);
    MyTree->setVisible(false);
    // No longer a free-time row: its picture and colours change with it.
    SetColorsAndPics(row);
    lstLog_Click();
}

// ---- edits ----------------------------------------------------------------------------------

bool frmDaily::EndOnNextDayOf(int row) const
{
    return !NewEntryMode && row >= 0
           && EndOnNextDay(lstLog->TextMatrix(row, ColStart), lstLog->TextMatrix(row, ColSec));
}

void frmDaily::CalcDuration()
{
    const auto span = SpanSeconds(txtStart->text(), txtEnd->text(), EndOnNextDayOf(lstLog->Row()));
    if (span)
        SecsToTimeBoxes(*span, txtH[0], txtH[1], txtH[2]);
}

void frmDaily::txtStart_Change()
{
    lblStart->setEnabled(!txtStart->text().isEmpty());
    if (LoadingRow || txtStart->text().isEmpty())
        return;
    const int row = lstLog->Row();
    if (row >= 0 && IsSentRow(row))
        return;
    const auto start = TimeOfDay(txtStart->text());
    if (start && CheckTimeStart(*start, row) != -1) {
        ShowMsg(GetLangString(369, false), 16);
        return;
    }
    // Read before the row takes the new start.
    const bool nextDay = EndOnNextDayOf(row);
    SetSaveEnabled(true);
    CalcDuration();
    if (row < 0)
        return;
    lstLog->SetTextMatrix(row, ColStartText, txtStart->text());
    if (start)
        lstLog->SetTextMatrix(row, ColStart, modMain::NumberText(*start));
    if (const auto span = SpanSeconds(txtStart->text(), txtEnd->text(), nextDay))
        lstLog->SetTextMatrix(row, ColSec, modMain::NumberText(*span));
    ValidateChange(row);
}

void frmDaily::txtEnd_Change()
{
    lblEnd->setEnabled(!txtEnd->text().isEmpty());
    if (LoadingRow || txtStart->text().isEmpty())
        return;
    const int row = lstLog->Row();
    if (row >= 0 && IsSentRow(row))
        return;
    const auto end = TimeOfDay(txtEnd->text());
    if (!end)
        return;
    if (CheckTimeEnd(*end, row) != -1) {
        // Back to what the box held before: the row still holds it.
        const QString before = PickerBox == txtEnd && !PickerOldText.isEmpty() ? PickerOldText
                               : row >= 0                                     ? lstLog->TextMatrix(row, ColEndText)
                                                                              : QString();
        SetBoxQuietly(txtEnd, before);
        return;
    }
    const bool nextDay = EndOnNextDayOf(row);
    auto span = SpanSeconds(txtStart->text(), txtEnd->text(), nextDay);
    if (!span)
        return;
    if (*span <= 0) {
        // An end before the start gives the entry no length.
        SetBoxQuietly(txtEnd, txtStart->text());
        span = 0;
    }
    SetSaveEnabled(true);
    CalcDuration();
    if (row < 0)
        return;
    lstLog->SetTextMatrix(row, ColEndText, txtEnd->text());
    if (const auto start = TimeOfDay(txtStart->text()))
        lstLog->SetTextMatrix(row, ColStart, modMain::NumberText(*start));
    lstLog->SetTextMatrix(row, ColSec, modMain::NumberText(*span));
    ValidateChange(row);
}

void frmDaily::txtComments_Change()
{
    // Only the person's typing: the window's own filling and clearing touch no row.
    if (LoadingRow)
        return;
    if (lblDay->Caption().isEmpty()) {
        ShowMsg(GetLangString(364, false), 16);
        return;
    }
    const int row = lstLog->Row();
    if (row < 0 || IsSentRow(row))
        return;
    SetSaveEnabled(true);
    lstLog->SetTextMatrix(row, ColComment, txtComments->toPlainText());
    ValidateChange(row);
}

void frmDaily::txtH_Change(int)
{
    const std::array<QLabel *, 2> *pairs[3] = {&hr, &mn, &sc};
    for (int i = 0; i < 3; ++i) {
        const auto [first, second] = DurationDigits(txtH[size_t(i)]->text());
        if (first >= 0)
            (*pairs[i])[0]->setPixmap(m_digits[size_t(first)]);
        if (second >= 0)
            (*pairs[i])[1]->setPixmap(m_digits[size_t(second)]);
    }
}

namespace {

std::vector<RowTimes> TimesOf(const forms::FlexGrid *grid)
{
    std::vector<RowTimes> rows(size_t(grid->Rows()));
    for (int r = 0; r < grid->Rows(); ++r)
        rows[size_t(r)] = {grid->TextMatrix(r, ColTask), grid->TextMatrix(r, ColStartText),
                           grid->TextMatrix(r, ColEndText)};
    return rows;
}

} // namespace

int frmDaily::CheckTimeStart(double t, int row)
{
    const int other = ConflictingRow(TimesOf(lstLog), row, t, false);
    if (other >= 0)
        ShowMsg(GetLangString(370, false), 16);
    return other;
}

int frmDaily::CheckTimeEnd(double t, int row)
{
    const int other = ConflictingRow(TimesOf(lstLog), row, t, true);
    if (other >= 0)
        ShowMsg(GetLangString(370, false), 16);
    return other;
}

void frmDaily::ValidateChange(int row)
{
    if (LoadingRow)
        return;
    const QString mark = ChangedMark(lstLog->TextMatrix(row, ColProjID));
    SetSaveEnabled(mark == QLatin1String("True"));
    lstLog->SetTextMatrix(row, ColChanged, mark);
}

void frmDaily::ClearAll()
{
    QScopedValueRollback<bool> loading(LoadingRow, true);
    txtComments->setPlainText(QString());
    for (QLineEdit *box : txtH)
        box->setText(QStringLiteral("0"));
}

int16_t frmDaily::CheckChanged() const
{
    int n = 0;
    for (int r = 0; r < lstLog->Rows(); ++r)
        if (lstLog->TextMatrix(r, ColChanged) == QLatin1String("True"))
            ++n;
    return int16_t(qMin(n, 32767));
}

bool frmDaily::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == txtStart || watched == txtComments))
        MyTree->setVisible(false);
    if (watched == btnAdd && (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter))
        btnAdd_MouseMove();
    if (watched == lstLog && event->type() == QEvent::KeyPress && GridKey(static_cast<QKeyEvent *>(event)->key()))
        return true;
    return ChildWindow::eventFilter(watched, event);
}

// ---- the time picker ----------------------------------------------------------------------------

void frmDaily::OpenPicker(QLineEdit *box)
{
    if (lblDay->Caption().isEmpty()) {
        ShowMsg(GetLangString(364, false), 16);
        return;
    }
    PickerOldText = box->text();
    PickerBox = box;
    m_Picker->SetOutputControl(box);
    m_Picker->ParseTime(box->text());
    forms::Move(picPicker, forms::Left(box), forms::Top(picPicker));
    picPicker->raise();
    m_Picker->Show();
}

void frmDaily::lblStart_Click()
{
    OpenPicker(txtStart);
}

void frmDaily::lblEnd_Click()
{
    OpenPicker(txtEnd);
}

void frmDaily::lblExit_Click()
{
    m_Picker->Output();
    m_Picker->Hide();
}

// ---- free time ----------------------------------------------------------------------------------

void frmDaily::AddFreeTime()
{
    const QString tag = forms::Tag(lblDay);
    if (tag.isEmpty())
        return;
    QDate day;
    try {
        day = LongToDate(tag.toInt());
    } catch (const std::exception &) {
        return;
    }
    const QDateTime midnight(day, QTime(0, 0));
    const auto timeText = [&](double secs) { return FormatDateTimeStr(midnight.addMSecs(qint64(secs * 1000)), true); };

    // The busy time: every row with a task whose times can be read.
    std::vector<FreeTime::Entry> entries;
    std::vector<int> rowOf;
    for (int r = 0; r < lstLog->Rows(); ++r) {
        if (lstLog->TextMatrix(r, ColTask).isEmpty())
            continue;
        bool startOk = false, secOk = false;
        const double start = lstLog->TextMatrix(r, ColStart).toDouble(&startOk);
        const double sec = lstLog->TextMatrix(r, ColSec).toDouble(&secOk);
        if (!startOk || !secOk || !std::isfinite(start) || !std::isfinite(sec))
            continue;
        entries.push_back({start, sec});
        rowOf.push_back(r);
    }
    const auto gaps = FreeTime::FreeGaps(WorkDayStart, WorkDayEnd, entries);

    // From the last stretch back, so that the rows still to come before stay where they are.
    for (auto g = gaps.rbegin(); g != gaps.rend(); ++g) {
        int at = lstLog->Rows();
        QString end = timeText(g->end);
        if (g->before >= 0) {
            at = rowOf[size_t(g->before)];
            // Exactly the start the following entry shows.
            end = lstLog->TextMatrix(at, ColStartText);
        }
        lstLog->AddItem(QString(), at < lstLog->Rows() ? at : -1);
        lstLog->SetTextMatrix(at, ColName, NewEntryName);
        lstLog->SetTextMatrix(at, ColStartText, timeText(g->start));
        lstLog->SetTextMatrix(at, ColEndText, end);
    }
    SetColorsAndPics(-1);
}
