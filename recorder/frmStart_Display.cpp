// The display of the timers window: the selected timer in the edit panel, its time counted
// twice a second and drawn with digit pictures, the rows painted by their state, and the
// running time in the minimised main window's caption and the tray balloon.
#include "recorder/frmStart.h"

#include "core/frmMain.h"
#include "core/modMain.h"
#include "recorder/frmSysTray.h"
#include "resources/Pictures.h"

#include <QDate>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

using namespace modMain;

namespace {

const QString kMainTitle = QStringLiteral("Tarvelo Desktop Companion");
constexpr int kDigitPicture0 = 216;   // pictures 216..225 show the digits 0..9

QDateTime RowStart(const forms::FlexGrid *grid, int row)
{
    bool ok = false;
    const int32_t day = grid->TextMatrix(row, frmStart::colDay).trimmed().toInt(&ok);
    if (!ok)
        return {};
    try {
        const double secs = grid->TextMatrix(row, frmStart::colStart).trimmed().toDouble();
        return QDateTime(LongToDate(day), QTime(0, 0)).addSecs(qint64(secs));
    } catch (const std::exception &) {
        return {};
    }
}

} // namespace

void frmStart::LoadDigitPictures()
{
    for (int d = 0; d < 10; ++d)
        DigitPics[d] = res::Picture(kDigitPicture0 + d);
    QString unused;
    for (const auto *pair : {&hr, &mn, &sc})
        ShowDigits(*pair, QStringLiteral("0"), unused);
}

// One pair of digit images: the tens (image 0) and the units (image 1) of value, and the
// value as the caption writes it (two characters at least).
void frmStart::ShowDigits(const std::array<QLabel *, 2> &pair, const QString &value, QString &twoChars)
{
    const auto show = [this](QLabel *image, QChar c) {
        if (!image || !c.isDigit())
            return;
        const int d = c.digitValue();
        // Only a changed digit is drawn again: the tick runs twice a second.
        if (image->property("digit").toInt() == d + 1)
            return;
        if (DigitPics[d].isNull())
            DigitPics[d] = res::Picture(kDigitPicture0 + d);
        image->setPixmap(DigitPics[d]);
        image->setProperty("digit", d + 1);
    };
    if (value.size() == 1) {
        show(pair[0], QLatin1Char('0'));
        twoChars = QStringLiteral("0") + value;
    } else {
        show(pair[0], value.isEmpty() ? QLatin1Char('0') : value.front());
        twoChars = value;
    }
    show(pair[1], value.isEmpty() ? QLatin1Char('0') : value.back());
}

void frmStart::DoClick()
{
    const int r = lstTimers->Row();
    if (r < 0 || lstTimers->Rows() == 0)
        return;
    const QString state = lstTimers->TextMatrix(r, colState);
    const bool running = state == QLatin1String("1");
    bool markOk = false;
    const int mark = lstTimers->TextMatrix(r, colMark).trimmed().toInt(&markOk);
    btnStart->setEnabled(!running);
    btnStop->setEnabled(!lstTimers->TextMatrix(r, colCatID).trimmed().isEmpty() && markOk
                        && (mark == 1 || mark == 3));
    btnCancel->setEnabled(running);
    btnUnload->setEnabled(!running);
    btnDown->setEnabled(true);
    lProj->SetCaption(lstTimers->TextMatrix(r, colProjName));
    lTask->SetCaption(lstTimers->TextMatrix(r, colTaskName));
    const QString comment = lstTimers->TextMatrix(r, colComment);
    if (txtComments->toPlainText() != comment)
        txtComments->setPlainText(comment);
    const QString start = lstTimers->TextMatrix(r, colStart).trimmed();
    const QDateTime begun = RowStart(lstTimers, r);
    if (start.isEmpty() || start == QLatin1String("0") || !begun.isValid())
        lStart1->SetCaption(GetLangString(83));
    else
        lStart1->SetCaption(GeneralDateText(begun));

    if (state == QLatin1String("0"))
        tmr->stop();
    ShowTime();
    if (running)
        tmr->start();
    else
        tmr->stop();
}

void frmStart::ShowTime()
{
    const int r = lstTimers->Row();
    if (r < 0 || lstTimers->Rows() == 0)
        return;
    if (lstTimers->TextMatrix(r, colDay).trimmed().isEmpty()) {
        DisplayTime(QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"));
        return;
    }
    const bool stopped = lstTimers->TextMatrix(r, colState) == QLatin1String("0");
    if (stopped)
        tmr->stop();
    qint64 seconds = 0;
    if (stopped) {
        seconds = qint64(lstTimers->TextMatrix(r, colSecs).trimmed().toDouble());
    } else {
        // A running timer is always counted from its start, never by adding ticks.
        const QDateTime start = RowStart(lstTimers, r);
        if (start.isValid())
            seconds = start.secsTo(TimerNow());
    }
    // A start later than the clock (the clock was set back) counts as no time yet.
    seconds = qMax<qint64>(0, seconds);
    lstTimers->SetTextMatrix(r, colSecs, QString::number(seconds));
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds - hours * 3600) / 60;
    const qint64 secs = seconds - hours * 3600 - minutes * 60;
    DisplayTime(QString::number(hours), QString::number(minutes), QString::number(secs));
    // The event loop runs between the ticks anyway; the tick does not turn it itself, so no
    // handler runs nested inside the display.
}

void frmStart::DisplayTime(const QString &h, const QString &m, const QString &s)
{
    QString hh, mm, ss;
    ShowDigits(hr, h, hh);
    ShowDigits(mn, m, mm);
    ShowDigits(sc, s, ss);

    frmMain *main = frmMain::Peek();
    if (!main)
        return;
    const QString clock = hh + QLatin1Char(':') + mm + QLatin1Char(':') + ss;
    if (TimerRunning && main->isMinimized()) {
        // A main window the person hid to the tray stays hidden: only its title follows.
        if (main->windowTitle() != clock)
            main->setWindowTitle(clock);
        if (ShowBalloons == 1) {
            const QString crlf = QStringLiteral("\r\n");
            const QString text = GetLangString(954) + QStringLiteral(": ") + RecArr[1] + crlf
                + GetLangString(952) + QStringLiteral(": ") + RecArr[2] + crlf
                + GetLangString(950) + QStringLiteral(": ") + RecArr[3] + crlf
                + GetLangString(60) + QStringLiteral(": ") + clock;
            // information icon (1) without a sound (16), as the tray's balloon flags go
            if (m_frmSysTray)
                m_frmSysTray->ShowBalloonTip(text, GetLangString(61) + QStringLiteral("..."), 17, 5);
        }
    } else {
        if (main->windowTitle() != kMainTitle)
            main->setWindowTitle(kMainTitle);
        if (ShowBalloons == 1)
            if (m_frmSysTray)
                m_frmSysTray->HideBalloonTip(QString(), 0, 30000);
    }
}

void frmStart::SetColorsAndPics(int32_t runColor, int32_t otherColor, int16_t row)
{
    const QPixmap clock = res::Picture(QStringLiteral("CLOCK"));
    const QPixmap save = res::Picture(QStringLiteral("SAVE"));
    const QPixmap stop = res::Picture(QStringLiteral("STOP"));
    const QPixmap normal = res::Picture(QStringLiteral("NORMAL"));

    lstTimers->SetRedraw(false);
    const int selected = lstTimers->Row();
    const int rows = lstTimers->Rows();
    for (int c = 0; c < lstTimers->Cols(); ++c) {
        if (c != colPic && lstTimers->ColWidth(c) < 1)
            continue;   // hidden columns are not painted
        for (int i = 0; i < rows; ++i) {
            const bool running = lstTimers->TextMatrix(i, colState) == QLatin1String("1");
            if (c != colPic) {
                lstTimers->SetCellBackColorAt(i, c, (i == row && running) ? runColor : otherColor);
                continue;
            }
            const QPixmap *picture = &normal;
            int back = otherColor;
            const char *mark = "4";
            const QString start = lstTimers->TextMatrix(i, colStart).trimmed();
            if (running) {
                picture = &clock;
                back = kRunColor;
                mark = "1";
            } else if (!lstTimers->TextMatrix(i, colID).trimmed().isEmpty()) {
                picture = &save;
                mark = "2";
            } else if (!start.isEmpty() && start != QLatin1String("0")) {
                picture = &stop;
                mark = "3";
            }
            lstTimers->SetCellPictureAt(i, colPic, *picture);
            lstTimers->SetCellPictureAlignmentAt(i, colPic, forms::FlexGrid::AlignCenterCenter);
            lstTimers->SetCellBackColorAt(i, colPic, back);
            lstTimers->SetTextMatrix(i, colMark, QString::fromLatin1(mark));
        }
    }
    if (selected >= 0 && selected < rows && lstTimers->Row() != selected)
        lstTimers->SetRow(selected);
    lstTimers->SetRedraw(true);
}

void frmStart::tmr_Timer()
{
    ShowTime();
}
