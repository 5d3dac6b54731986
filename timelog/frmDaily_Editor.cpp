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
    // The row's own times, never a refused one that a box may still show.
    const QString startText = lstLog->TextMatrix(row, ColStartText);
    const QString endText = lstLog->TextMatrix(row, ColEndText);
    if (const auto start = TimeOfDay(startText))
        lstLog->SetTextMatrix(row, ColStart, modMain::NumberText(*start));
    if (const auto span = SpanOf(row, startText, endText))
        lstLog->SetTextMatrix(row, ColSec, modMain::NumberText(*span));
    lstLog->SetTextMatrix(row, ColChanged, QStringLiteral("True"));
    SetSaveEnabled(true);
    SetDelEnabled(true);
    MyTree->setVisible(false);
    // No longer a free-time row: its picture and colours change with it.
    SetColorsAndPics(row);
    const QString shownStart = txtStart->text();
    const QString shownEnd = txtEnd->text();
    lstLog_Click();
    // A refused time stays in its box as the person typed it; the save refuses it until the
    // box holds a time the row took.
    if (lstLog->Row() == row && !IsSentRow(row)) {
        if (shownStart != startText)
            SetBoxQuietly(txtStart, shownStart);
        if (shownEnd != endText)
            SetBoxQuietly(txtEnd, shownEnd);
    }
}

// ---- edits ----------------------------------------------------------------------------------

std::optional<double> frmDaily::SpanOf(int row, const QString &startText, const QString &endText) const
{
    // A row saved before knows from its start and length on which day its end lies.
    const bool saved = !NewEntryMode && row >= 0;
    return RowSpanSeconds(startText, endText, saved ? lstLog->TextMatrix(row, ColStart) : QString(),
                          saved ? lstLog->TextMatrix(row, ColSec) : QString());
}

void frmDaily::CalcDuration()
{
    // The times the row took; a refused one left in its box counts for nothing.
    const int row = lstLog->Row();
    const QString start = row >= 0 ? lstLog->TextMatrix(row, ColStartText) : txtStart->text();
    const QString end = row >= 0 ? lstLog->TextMatrix(row, ColEndText) : txtEnd->text();
    if (const auto span = SpanOf(row, start, end))
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
    // A text that is no time, or a refused start, stays in the box only: the row keeps the
    // start it had, and the save refuses the box until it holds a start the row took.
    const auto start = TimeOfDay(txtStart->text());
    if (!start)
        return;
    if (CheckTimeStart(*start, row) != -1) {
        ShowMsg(GetLangString(369, false), 16);
        return;
    }
    SetSaveEnabled(true);
    if (row < 0) {
        CalcDuration();
        return;
    }
    // Counted with the row's start and length before the edit: on which day its end lies.
    const auto span = SpanOf(row, txtStart->text(), lstLog->TextMatrix(row, ColEndText));
    lstLog->SetTextMatrix(row, ColStartText, txtStart->text());
    lstLog->SetTextMatrix(row, ColStart, modMain::NumberText(*start));
    if (span)
        lstLog->SetTextMatrix(row, ColSec, modMain::NumberText(*span));
    CalcDuration();
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
    // The start the row took, not a refused one its box may still show.
    const QString startText = row >= 0 ? lstLog->TextMatrix(row, ColStartText) : txtStart->text();
    const auto start = TimeOfDay(startText);
    auto span = SpanOf(row, startText, txtEnd->text());
    // An end past 24:00 lies on the next day, and meets that day's entries.
    const double endAt = start && span && *span > 0 ? *start + *span : *end;
    if (CheckTimeEnd(endAt, row) != -1) {
        // Back to what the box held before: the row still holds it.
        const QString before = PickerBox == txtEnd && !PickerOldText.isEmpty() ? PickerOldText
                               : row >= 0                                     ? lstLog->TextMatrix(row, ColEndText)
                                                                              : QString();
        SetBoxQuietly(txtEnd, before);
        return;
    }
    if (!span)
        return;
    if (*span <= 0) {
        // An end before the start gives the entry no length.
        SetBoxQuietly(txtEnd, startText);
        span = 0;
    }
    SetSaveEnabled(true);
    if (row < 0) {
        CalcDuration();
        return;
    }
    lstLog->SetTextMatrix(row, ColEndText, txtEnd->text());
    if (start)
        lstLog->SetTextMatrix(row, ColStart, modMain::NumberText(*start));
    lstLog->SetTextMatrix(row, ColSec, modMain::NumberText(*span));
    CalcDuration();
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

std::vector<std::pair<double, double>> frmDaily::OtherDaysSpans() const
{
    bool ok = false;
    const int32_t day = forms::Tag(lblDay).toInt(&ok);
    std::vector<TimeSpan> spans;
    if (!ok || modDBchr::EntrySpansAround(day, -1, spans) != 0)
        return {};
    // The shown day's own entries are the grid's rows, edits included.
    std::vector<std::pair<double, double>> out;
    for (const TimeSpan &s : spans)
        if (s.day != day)
            out.emplace_back(s.start, s.end);
    return out;
}

int frmDaily::CheckTimeStart(double t, int row)
{
    const int other = ConflictingRow(TimesOf(lstLog), row, t, false, OtherDaysSpans());
    if (other >= 0)
        ShowMsg(GetLangString(370, false), 16);
    return other;
}

int frmDaily::CheckTimeEnd(double t, int row)
{
    const int other = ConflictingRow(TimesOf(lstLog), row, t, true, OtherDaysSpans());
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

    // The rows in order of start, an edited row with the times it shows, so that every free
    // row can stand between the entries it lies between.
    PutInStartOrder();

    // The busy time: every row with a task whose times can be read, and the entries of earlier
    // days that reach into this one.
    std::vector<FreeTime::Entry> entries;
    for (int r = 0; r < lstLog->Rows(); ++r) {
        if (lstLog->TextMatrix(r, ColTask).isEmpty())
            continue;
        bool startOk = false, secOk = false;
        const double start = lstLog->TextMatrix(r, ColStart).toDouble(&startOk);
        const double sec = lstLog->TextMatrix(r, ColSec).toDouble(&secOk);
        if (!startOk || !secOk || !std::isfinite(start) || !std::isfinite(sec))
            continue;
        entries.push_back({start, sec});
    }
    for (const auto &[start, end] : OtherDaysSpans())
        if (start < 0 && end > 0)
            entries.push_back({start, end - start});
    const auto gaps = FreeTime::FreeGaps(WorkDayStart, WorkDayEnd, entries);

    // From the last stretch back, each before the first row that starts at or after its end
    // (the rows before it stay where they are).
    for (auto g = gaps.rbegin(); g != gaps.rend(); ++g) {
        int at = lstLog->Rows();
        if (g->before >= 0) {
            for (int r = 0; r < lstLog->Rows(); ++r) {
                const auto start = RowStart(r);
                if (start && *start >= g->end) {
                    at = r;
                    break;
                }
            }
        }
        QString end = timeText(g->end);
        // Exactly the start the following entry shows.
        if (at < lstLog->Rows() && RowStart(at) == std::optional<double>(g->end))
            end = lstLog->TextMatrix(at, ColStartText);
        lstLog->AddItem(QString(), at < lstLog->Rows() ? at : -1);
        lstLog->SetTextMatrix(at, ColName, NewEntryName);
        lstLog->SetTextMatrix(at, ColStartText, timeText(g->start));
        lstLog->SetTextMatrix(at, ColEndText, end);
        if (m_openRow >= at)
            ++m_openRow;
    }
    SetColorsAndPics(-1);
}

std::optional<double> frmDaily::RowStart(int row) const
{
    bool ok = false;
    const double start = lstLog->TextMatrix(row, ColStart).toDouble(&ok);
    if (ok && std::isfinite(start))
        return start;
    return TimeOfDay(lstLog->TextMatrix(row, ColStartText));
}

void frmDaily::PutInStartOrder()
{
    const int rows = lstLog->Rows();
    auto starts = std::vector<std::optional<double>>(size_t(rows));
    for (int r = 0; r < rows; ++r)
        starts[size_t(r)] = RowStart(r);
    const std::vector<int> order = FreeTime::StartOrder(starts);
    bool moved = false;
    for (int i = 0; i < rows; ++i)
        moved = moved || order[size_t(i)] != i;
    if (!moved)
        return;
    auto cells = std::vector<QStringList>(size_t(rows));
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < lstLog->Cols(); ++c)
            cells[size_t(r)] << lstLog->TextMatrix(r, c);
    const int current = lstLog->Row();
    int newCurrent = -1, newOpen = -1;
    for (int i = 0; i < rows; ++i) {
        const int from = order[size_t(i)];
        for (int c = 0; c < lstLog->Cols(); ++c)
            lstLog->SetTextMatrix(i, c, cells[size_t(from)][c]);
        if (from == current)
            newCurrent = i;
        if (from == m_openRow)
            newOpen = i;
    }
    // The editor goes on showing the row it showed, at its new place.
    if (newCurrent >= 0)
        lstLog->SetRow(newCurrent);
    m_openRow = newOpen;
}
