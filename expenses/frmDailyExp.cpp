// The daily expenses window's frame: its load and unload, loading a day into the grid, the
// looks of the rows, the captions, and the day list.
#include "expenses/frmDailyExp.h"

#include "core/Captions.h"
#include "core/frmMain.h"
#include "core/modMain.h"
#include "expenses/ExpenseRules.h"
#include "platform/forms/Tag.h"
#include "platform/forms/Units.h"
#include "resources/Pictures.h"
#include "store/modDBchr.h"
#include "core/clsTimePicker.h"
#include "timelog/frmCal.h"

#include <QAction>
#include <QDate>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QPushButton>

#include <algorithm>
#include <functional>
#include <vector>

using namespace modMain;

namespace {

// The load goes on past a step that fails: a failure skips only that step.
void Step(const std::function<void()> &step)
{
    try {
        step();
    } catch (...) {
    }
}

constexpr int kWindowWidth = 7620;   // twips, the window with its frame

QString IdText(double id)
{
    return QString::number(static_cast<qlonglong>(id));
}

} // namespace

frmDailyExp::frmDailyExp()
{
    setObjectName("frmDailyExp");
    setWindowTitle(QStringLiteral("Manage Daily Expenses"));
    CreateControls();
    CreateMenus();
    PlaceInMainWindow(QStringLiteral("frmDailyExpSub"));

    OnActivation([this] { Form_Activate(); });

    // 1. At the top left of the main window's document area, 7620 twips wide, or as wide as
    // the area when it is narrower (the controls keep to that part), so that it shows whole.
    Step([&] {
        if (m_sub) {
            m_sub->move(0, 0);
            int width = forms::TwipsToPixels(kWindowWidth);
            // The area keeps room for its vertical scroll bar: the timers window behind is taller.
            if (QMdiArea *area = m_sub->mdiArea())
                width = std::min(width, area->width() - area->style()->pixelMetric(QStyle::PM_ScrollBarExtent) - 2);
            m_sub->resize(std::max(width, m_sub->minimumSizeHint().width()), m_sub->sizeHint().height());
        }
    });
    // 3.
    Step([&] { ApplyLang(); });
    // 4. The tree of projects and tasks that take expenses.
    Step([&] {
        MyTree->SetImageList(&frmMain::Get()->imgLst);
        modDBchr::FillProjectTree(MyTree, true, true);
        MyTree->setVisible(false);
        // Its left edge stays where the controls put it: at 4455 twips the tree would show
        // only the beginning of the names.
    });
    // 5.
    Step([&] {
        btnNP[0]->setEnabled(false);
        btnNP[1]->setEnabled(false);
    });
    // 6.
    Step([&] { modDBchr::FillPayeeCombo(cmbPayee); });
    Step([&] { modDBchr::FillExpCategCombo(cmbExpCat); });
    // 7.
    Step([&] {
        lstLog->SetCols(colCount);
        lstLog->SetRows(0);
        for (int c = 0; c < colCount; ++c)
            lstLog->SetColWidth(c, 0);
        lstLog->SetColWidth(colPic, 300);
        lstLog->SetColWidth(colExpName, 1400);
        lstLog->SetColWidth(colPayee, 1500);
        lstLog->SetColWidth(colAmount, 1000);
        lstLog->SetColAlignment(colAmount, forms::FlexGrid::AlignRightCenter);
    });
    // 8.
    Step([&] { lTotal->SetCaption(expenserules::FormatAmount(0)); });
    // 9. The days with expenses, and today.
    Step([&] {
        modDBchr::FillExpDatesCombo(cmbDays);
        const int32_t today = DateToLong(QDate::currentDate());
        if (!DayHasRecords(today, QStringLiteral("tblDailyExp")))
            AddDateItem(today, cmbDays);
    });
    // 10.
    Step([&] { SetEnable(false); });
    // 11. The latest day.
    Step([&] {
        if (cmbDays->ListCount() > 0)
            cmbDays->SetListIndex(cmbDays->ListCount() - 1);
    });
    FormLoaded[fiDailyExp] = true;
}

frmDailyExp::~frmDailyExp()
{
    // A calendar opened for this window goes with it.
    if (frmCal::Peek() && frmCal::Peek()->CallerForm == this)
        frmCal::Unload();
    FormLoaded[fiDailyExp] = false;
    Forget(this);
}

int32_t frmDailyExp::LoadDailyExp()
{
    bool ok = false;
    const int32_t dayKey = forms::Tag(lblDay).toInt(&ok);
    // The engine's "type mismatch": no day to load.
    if (!ok)
        return 13;
    lstLog->SetRows(0);
    std::vector<modDBchr::ExpenseDayRow> rows;
    const int32_t err = modDBchr::LoadExpDay(dayKey, rows);
    const bool redraw = lstLog->Redraw();
    lstLog->SetRedraw(false);
    for (const modDBchr::ExpenseDayRow &e : rows) {
        const int r = lstLog->Rows();
        lstLog->AddItem(QString());
        lstLog->SetTextMatrix(r, colPayee, e.cPayee);
        lstLog->SetTextMatrix(r, colID, IdText(e.cID));
        lstLog->SetTextMatrix(r, colExpID, IdText(e.cExpID));
        lstLog->SetTextMatrix(r, colExpName, e.categoryName);
        lstLog->SetTextMatrix(r, colAmount, e.cAmount);
        lstLog->SetTextMatrix(r, colDate, QString::number(e.cDate));
        lstLog->SetTextMatrix(r, colTime, NumberText(e.cTime));
        lstLog->SetTextMatrix(r, colTaskID, IdText(e.cTaskID));
        lstLog->SetTextMatrix(r, colTaskName, e.taskName);
        lstLog->SetTextMatrix(r, colProjID, IdText(e.cProjID));
        lstLog->SetTextMatrix(r, colProjName, e.projectName);
        lstLog->SetTextMatrix(r, colComment, e.comment);
        lstLog->SetTextMatrix(r, colCode, e.cCode);
        lstLog->SetTextMatrix(r, colChk, QString::number(e.cChk));
    }
    if (lstLog->Rows() > 0) {
        lstLog->SetRow(0);
        SetColorsAndPics(-1);
    }
    lstLog->SetRedraw(redraw);
    return err;
}

void frmDailyExp::SetColorsAndPics(int row)
{
    const int rows = lstLog->Rows();
    if (rows == 0)
        return;
    const int first = row < 0 ? 0 : row;
    const int last = row < 0 ? rows - 1 : row;
    if (first >= rows)
        return;
    for (int r = first; r <= last && r < rows; ++r) {
        try {
            const expenserules::RowLook look =
                expenserules::LookOfRow(lstLog->TextMatrix(r, colExpID), lstLog->TextMatrix(r, colChk));
            lstLog->SetCellPictureAt(r, colPic, res::Picture(look.picture));
            for (int c = 1; c < colCount; ++c) {
                if (lstLog->ColWidth(c) <= 10)
                    continue;
                lstLog->SetCellForeColorAt(r, c, look.fore);
                lstLog->SetCellBackColorAt(r, c, look.back);
            }
        } catch (...) {
        }
    }
    if (lstLog->Col() != colPic)
        lstLog->SetCol(colPic);
}

void frmDailyExp::ApplyLang()
{
    ApplyLangOrTell([&] {
        // The day label keeps its day key in its tag.
        ApplyTagCaptions(this, false, [this](const QWidget *w) { return w == lblDay; });
        const std::pair<QMenu *, int16_t> menus[] = {
            {mnuExp, 270}, {mnuDays, 279}, {mnuSynch, 284}, {mnuHelp, 287}};
        for (const auto &[m, id] : menus)
            m->setTitle(GetLangString(id));
        const std::pair<QAction *, int16_t> items[] = {
            {mnuExp_Add, 271},     {mnuExp_Save, 272},   {mnuExp_Del, 273},  {mnuExp_DelDaySynch, 274},
            {mnuExp_DelAllSynch, 275}, {mnuExp_Exit, 278}, {mnuDays_Add, 280}, {mnuDays_Del, 281},
            {mnuDays_DelAll, 282}, {mnuSynch_Item, 285}, {mnuSynch_Day, 286}, {mnuHelp_Form, 288}};
        for (const auto &[a, id] : items)
            a->setText(GetLangString(id));
        // The title is the window's own name: it stays "Manage Daily Expenses" in every language.
        PayeePrompt = GetLangString(320);
    });
}

// ---- the day ------------------------------------------------------------------------------

void frmDailyExp::cmbDays_Click()
{
    MyTree->setVisible(false);
    if (cmbDays->Text() == lblDay->Caption())
        return;
    // Kept on the shown day: the list shows it again (whose click then finds the texts equal).
    if (!MayDropChanges()) {
        cmbDays->SetListIndex(FindComboText(lblDay->Caption(), cmbDays));
        return;
    }
    ClickDay();
}

void frmDailyExp::ClickDay()
{
    lstLog->setVisible(false);
    DaySetFromList = true;
    lblDay->SetCaption(cmbDays->Text());
    lstLog->setVisible(true);
    SetEnable(false);
    if (lstLog->Rows() == 0)
        AddNewExp();
    UpdateTotals();
}

void frmDailyExp::lblDay_Change()
{
    const QString caption = lblDay->Caption();
    if (caption.isEmpty())
        return;
    // The day list's own key when the day comes from it: no reading of the date text back.
    int32_t dayKey = 0;
    const int index = cmbDays->ListIndex();
    if (DaySetFromList && index >= 0 && cmbDays->List(index) == caption)
        dayKey = cmbDays->ItemData(index);
    else
        dayKey = DateToLong(ShortDateToDate(caption));
    if (!DaySetFromList) {
        const int16_t added = AddDateItem(dayKey, cmbDays);
        cmbDays->SetListIndex(added);
    }
    DaySetFromList = false;
    if (m_TimePicker)
        m_TimePicker->Hide();
    ClearAll();
    SetEnable(false);
    btnSave->setEnabled(false);
    forms::SetTag(lblDay, QString::number(dayKey));
    lstLog->setVisible(false);
    lstLog->SetRows(0);
    LoadDailyExp();
    lstLog->setVisible(true);
    btnNP[0]->setEnabled(true);
    btnNP[1]->setEnabled(true);
}

int frmDailyExp::CheckChanged() const
{
    int n = 0;
    for (int r = 0; r < lstLog->Rows(); ++r)
        if (lstLog->TextMatrix(r, colChanged) == u"True")
            ++n;
    return n;
}
