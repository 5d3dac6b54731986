// Every caption of the windows whose texts are longest fits its control in each of the four
// languages (no text cut at the end or wrapped out of sight), the trees show their names whole,
// and the windows hold their controls at their default sizes.
#include "core/frmMain.h"
#include "core/modMain.h"
#include "expenses/frmDailyExp.h"
#include "options_help/frmOptions.h"
#include "options_help/frmVideo.h"
#include "platform/dao/dao.h"
#include "platform/forms/TreeView.h"
#include "platform/forms/Units.h"
#include "recorder/frmLoad.h"
#include "recorder/frmStart.h"
#include "store/modDBchr.h"
#include "sync/frmSynch.h"
#include "tests/mainwindow/FrameFixture.h"
#include "tests/support/TestEnv.h"
#include "timelog/frmDaily.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTabWidget>

#include <functional>

using namespace modMain;

namespace {

QString Plain(QString text)
{
    // "&&" shows one ampersand, a single "&" marks the access key and takes no room.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// The controls of window whose text does not fit, as "name: text (needed > room)".
QStringList CutCaptions(QWidget *window)
{
    QStringList cut;
    const auto report = [&cut](const QWidget *w, const QString &text, int needed, int room) {
        if (needed > room)
            cut << QStringLiteral("%1: \"%2\" (%3 > %4)").arg(w->objectName(), text).arg(needed).arg(room);
    };
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (w->isHidden() || w->width() <= 1)
            continue;
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty() || l->textFormat() == Qt::RichText || l->movie())
                continue;
            const int room = l->contentsRect().width() - 2 * std::max(0, l->margin()) - std::max(0, l->indent());
            if (l->wordWrap())
                report(l, l->text(), l->heightForWidth(l->width()), l->height());
            else
                for (const QString &line : l->text().split(QLatin1Char('\n')))
                    report(l, line, l->fontMetrics().horizontalAdvance(line), room);
        } else if (auto *b = qobject_cast<QAbstractButton *>(w)) {
            if (b->text().isEmpty() || qobject_cast<QTabBar *>(b->parentWidget()))
                continue;
            QStyleOptionButton opt;
            opt.initFrom(b);
            opt.text = b->text();
            QStyle::SubElement e = QStyle::SE_PushButtonContents;
            if (qobject_cast<QCheckBox *>(b))
                e = QStyle::SE_CheckBoxContents;
            else if (qobject_cast<QRadioButton *>(b))
                e = QStyle::SE_RadioButtonContents;
            else if (!qobject_cast<QPushButton *>(b))
                continue;
            const int room = b->style()->subElementRect(e, &opt, b).width();
            const QString text = Plain(b->text());
            report(b, text, b->fontMetrics().horizontalAdvance(text) + (e == QStyle::SE_PushButtonContents ? 4 : 0),
                   room);
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            if (g->title().isEmpty())
                continue;
            report(g, g->title(), g->fontMetrics().horizontalAdvance(Plain(g->title())) + 16, g->width());
        } else if (auto *c = qobject_cast<QComboBox *>(w)) {
            QStyleOptionComboBox opt;
            opt.initFrom(c);
            const int room = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c).width();
            for (int i = 0; i < c->count(); ++i)
                report(c, c->itemText(i), c->fontMetrics().horizontalAdvance(c->itemText(i)), room);
        } else if (auto *t = qobject_cast<forms::TreeView *>(w)) {
            t->expandAll();
            QApplication::processEvents();
            // A name wider than the tree is whole when its column is as wide as the name (the
            // tree then scrolls to it).
            report(t, QStringLiteral("(its widest node)"), static_cast<QAbstractItemView *>(t)->sizeHintForColumn(0),
                   std::max(t->viewport()->width(), t->columnWidth(0)));
        }
    }
    return cut;
}

// The children of window reaching out of it (a window smaller than its content).
QStringList OutOfWindow(QWidget *window)
{
    QStringList out;
    for (QWidget *w : window->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        // A menu bar keeps its design width; it shows what fits and folds the rest.
        if (w->isHidden() || w->isWindow() || qobject_cast<QMenuBar *>(w))
            continue;
        if (!window->rect().contains(w->geometry()))
            out << QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7")
                       .arg(w->objectName())
                       .arg(w->x())
                       .arg(w->y())
                       .arg(w->width())
                       .arg(w->height())
                       .arg(window->width())
                       .arg(window->height());
    }
    return out;
}

class LooksTest : public frametest::FrameTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        if (HasFatalFailure())
            return;
        // The longest names of the demo account of the service.
        modDBchr::SaveProject(1, QStringLiteral("Ξενοδοχείο Αιγαίο – νέος ιστότοπος"), QStringLiteral("TRUE"));
        modDBchr::SaveTask(10, QStringLiteral("Ανάπτυξη ιστότοπου"), 1, QStringLiteral("TRUE"));
        modDBchr::SaveCategory(100, QStringLiteral("Σχεδιασμός σελίδων"), 10);
        modDBchr::SaveProject(2, QStringLiteral("O'Neill & Söhne – audit"), QStringLiteral("TRUE"));
        modDBchr::SaveTask(20, QStringLiteral("Timesheets & invoicing"), 2, QStringLiteral("TRUE"));
        modDBchr::SaveCategory(101, QStringLiteral("Training: λ-calculus"), 20);
        modDBchr::SaveExpCategory(21, QStringLiteral("Γεύματα (meals)"));
        // A day of entries, so that the day lists hold dates.
        DB->Execute(QStringLiteral("INSERT INTO tblDaily (cName, cID, cUsrID, cStarted, cStarttime, cSec, cDate, "
                                   "cTaskID, cCatID, cChk) VALUES ('x', 1, ?, 0, 36000, 600, ?, 10, 100, 0)"),
                    0, {CurrentUserID, double(DateToLong(QDate(2026, 12, 23)))});
        DB->Execute(QStringLiteral("INSERT INTO tblDailyExp (cID, cUsrID, cExpID, cAmount, cDate, cTime, cTaskID, "
                                   "cProjID, cPayee, cCode, cChk) VALUES (1, ?, 21, '42.50', ?, 43200, 10, 1, "
                                   "'Taxi', NULL, 0)"),
                    0, {CurrentUserID, double(DateToLong(QDate(2026, 12, 23)))});
        IsConnected = true;
        m_main = frmMain::Get();
        m_main->show();
        frmStart::Get()->ShowForm();
        LangID = int16_t(GetParam());
        m_main->ApplyLang();
    }

    // Shows the window in its frame at its default size and checks its captions and size.
    void Check(QWidget *window, const char *name)
    {
        window->show();
        ASSERT_TRUE(testenv::WaitFor([window] { return window->isVisible(); })) << name;
        QApplication::processEvents();
        const QStringList cut = CutCaptions(window);
        EXPECT_TRUE(cut.isEmpty()) << name << " in language " << GetParam() << ":\n  "
                                   << cut.join(QStringLiteral("\n  ")).toStdString();
        const QStringList out = OutOfWindow(window);
        EXPECT_TRUE(out.isEmpty()) << name << ": " << out.join(QStringLiteral("; ")).toStdString();
    }

    frmMain *m_main = nullptr;
};

const char *const kLanguages[] = {"English", "Greek", "French", "German"};

} // namespace

TEST_P(LooksTest, TheSynchronisationWindowShowsItsCaptionsAndDatesWhole)
{
    frmSynch *w = frmSynch::Get();
    Check(w, "frmSynch");
}

TEST_P(LooksTest, TheOptionsWindowShowsItsCaptionsAndTreeWhole)
{
    frmOptions *w = frmOptions::Get();
    Check(w, "frmOptions");
    w->sTab->setCurrentIndex(1);
    Check(w, "frmOptions (settings)");
}

TEST_P(LooksTest, TheDailyLogShowsItsCaptionsAndTaskTreeWhole)
{
    frmDaily *w = frmDaily::Get();
    w->MyTree->setVisible(true);
    Check(w, "frmDaily");
}

TEST_P(LooksTest, TheExpensesWindowShowsItsCaptionsAndTaskTreeWhole)
{
    frmDailyExp *w = frmDailyExp::Get();
    w->MyTree->setVisible(true);
    Check(w, "frmDailyExp");
}

TEST_P(LooksTest, TheTaskLoaderShowsItsHeaderWhole)
{
    frmLoad *w = frmLoad::Get();
    EXPECT_TRUE(w->lblHeader->text().endsWith(u':')) << w->lblHeader->text().toStdString();
    Check(w, "frmLoad");
}

TEST_P(LooksTest, TheAboutPanelShowsItsCaptionsWhole)
{
    frmVideo *w = frmVideo::Get();
    forms::Move(w->frAbout, 3, forms::Top(w->frAbout));
    Check(w, "frmVideo");
}

// The help animations play at their own size in the video window at its default size, and the
// window stands whole in the main window's document area.
TEST_P(LooksTest, TheVideoWindowHoldsEachHelpAnimationWhole)
{
    frmVideo *w = frmVideo::Get();
    w->show();
    ASSERT_TRUE(testenv::WaitFor([w] { return w->isVisible(); }));
    for (const char *movie : {"hlp_LiveRecording.gif", "hlp_RecordTime.gif"}) {
        const QString path = QStringLiteral(TARV_SOURCE_DIR "/data/") + QLatin1String(movie);
        const QSize own = QImageReader(path).size();
        ASSERT_TRUE(own.isValid()) << movie;
        w->flash->LoadMovie(0, path);
        QApplication::processEvents();
        EXPECT_GE(w->flash->width(), own.width()) << movie;
        EXPECT_GE(w->flash->height(), own.height()) << movie;
    }
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(m_main->mdi->viewport()->rect().contains(sub->geometry()))
        << sub->width() << "x" << sub->height() << " in " << m_main->mdi->viewport()->width() << "x"
        << m_main->mdi->viewport()->height();
}

INSTANTIATE_TEST_SUITE_P(FourLanguages, LooksTest, ::testing::Values(0, 1, 2, 3),
                         [](const ::testing::TestParamInfo<int> &info) { return std::string(kLanguages[info.param]); });
