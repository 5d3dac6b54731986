// The message box, run for real on the offscreen platform: each test opens a box through
// modMain::ShowMsg, looks at it from a timer while it is modal, and presses one of its buttons.
#include "core/CMessage.h"
#include "core/FMessage.h"
#include "core/modMain.h"
#include "resources/Pictures.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// Rows 1500-1505 of the string table in English and Greek (French and German left empty, so
// they fall back to English).
const QString kTable = QStringLiteral(
    "<1499;Before;Πριν;;;1499>\r\n"
    "<1500;Yes;Ναι;;;1500>\r\n"
    "<1501;No;Όχι;;;1501>\r\n"
    "<1502;Cancel;Άκυρο;;;1502>\r\n"
    "<1503;Abort;Διακοπή;;;1503>\r\n"
    "<1504;Retry;Επανάληψη;;;1504>\r\n"
    "<1505;Ignore;Παράβλεψη;;;1505>\r\n");

constexpr int kTwips = 15; // twips a pixel

// Runs inspect on the next message box that becomes modal, then presses the button named
// press. When that button is missing the box is closed anyway so that a failing test never
// hangs in the modal loop.
void OnNextBox(std::function<void(FMessage *)> inspect, const QString &press)
{
    auto *timer = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [=] {
        auto *box = qobject_cast<FMessage *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            if (clock->elapsed() > 5000) {
                timer->stop();
                timer->deleteLater();
                delete clock;
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (inspect)
            inspect(box);
        if (!box->isVisible())
            return;
        if (press.isEmpty())
            return;
        if (auto *b = box->findChild<QPushButton *>(press); b && b->isVisible())
            b->click();
        else {
            ADD_FAILURE() << "no button " << press.toStdString();
            box->done(0);
        }
    });
    timer->start();
}

struct Shown {
    QString name;
    QString caption;
    QRect rect;
};

// The shown buttons, left to right.
std::vector<Shown> Buttons(FMessage *box)
{
    std::vector<Shown> out;
    for (auto *b : box->cmdButton)
        if (b->isVisibleTo(box))
            out.push_back({b->objectName(), b->text(), b->geometry()});
    std::sort(out.begin(), out.end(),
              [](const Shown &a, const Shown &b) { return a.rect.x() < b.rect.x(); });
    return out;
}

class MsgBox : public ::testing::Test {
protected:
    void SetUp() override
    {
        modMain::LangTableText = kTable;
        modMain::LangID = 0;
        modMain::HelpIndexPath.clear();
    }
    void TearDown() override
    {
        modMain::LangTableText.clear();
        modMain::LangID = 0;
        modMain::HelpIndexPath.clear();
    }
};

struct SetCase {
    int style;
    std::vector<std::pair<QString, int>> buttons; // name and result, left to right
    QStringList english, greek;
    int closeResult; // result of the close command; -1: the box refuses it
};

const std::vector<SetCase> kSets = {
    {0, {{"btnOK", 1}}, {"OK"}, {"OK"}, 1},
    {1, {{"btnOK", 1}, {"btnCancel", 2}}, {"OK", "Cancel"}, {"OK", "Άκυρο"}, 2},
    {2, {{"btnAbort", 3}, {"btnRetry", 4}, {"btnIgnore", 5}}, {"Abort", "Retry", "Ignore"},
     {"Διακοπή", "Επανάληψη", "Παράβλεψη"}, -1},
    {3, {{"btnYes", 6}, {"btnNo", 7}, {"btnCancel", 2}}, {"Yes", "No", "Cancel"},
     {"Ναι", "Όχι", "Άκυρο"}, 2},
    {4, {{"btnYes", 6}, {"btnNo", 7}}, {"Yes", "No"}, {"Ναι", "Όχι"}, 7},
    {5, {{"btnRetry", 4}, {"btnCancel", 2}}, {"Retry", "Cancel"}, {"Επανάληψη", "Άκυρο"}, 2},
    {6, {{"btnOK", 1}}, {"OK"}, {"OK"}, 1},
    {7, {{"btnOK", 1}}, {"OK"}, {"OK"}, 1},
};

TEST_F(MsgBox, EachSetShowsItsCaptionsInBothLanguagesAndReturnsItsResults)
{
    for (int lang : {0, 1}) {
        modMain::LangID = static_cast<int16_t>(lang);
        for (const SetCase &c : kSets) {
            const QStringList &captions = lang == 0 ? c.english : c.greek;
            for (const auto &[press, result] : c.buttons) {
                SCOPED_TRACE("lang " + std::to_string(lang) + " style " + std::to_string(c.style)
                             + " press " + press.toStdString());
                OnNextBox(
                    [&](FMessage *box) {
                        const auto shown = Buttons(box);
                        ASSERT_EQ(shown.size(), c.buttons.size());
                        for (size_t i = 0; i < shown.size(); ++i) {
                            EXPECT_EQ(shown[i].name, c.buttons[i].first);
                            EXPECT_EQ(shown[i].caption, captions[static_cast<int>(i)]);
                        }
                    },
                    press);
                EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Go on?"), c.style), result);
            }
        }
    }
}

TEST_F(MsgBox, CloseCommandCountsAsCancelOrNoOrTheOnlyButton)
{
    for (const SetCase &c : kSets) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        if (c.closeResult >= 0) {
            OnNextBox([](FMessage *box) { box->close(); }, QString());
            EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Close me"), c.style), c.closeResult);
            // Escape is the keyboard's close command.
            OnNextBox(
                [](FMessage *box) {
                    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                    QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &esc);
                },
                QString());
            EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Escape"), c.style), c.closeResult);
        } else {
            // Abort, Retry, Ignore has no neutral answer: the box stays until one is chosen.
            OnNextBox(
                [](FMessage *box) {
                    box->close();
                    EXPECT_TRUE(box->isVisible());
                },
                QStringLiteral("btnIgnore"));
            EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Close me"), c.style), 5);
        }
    }
    // Pressing Help first does not change what the close command gives.
    OnNextBox(
        [](FMessage *box) {
            box->findChild<QPushButton *>(QStringLiteral("btnHelp"))->click();
            box->close();
        },
        QString());
    EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Help, then close"), 4 + 16384), 7);
}

TEST_F(MsgBox, IconKinds)
{
    const std::vector<std::pair<int, int>> cases = {
        {16, 102}, {32, 101}, {48, 103}, {64, 104}, {0, 0}, {80, 0}, {112, 0}};
    for (const auto &[icon, picture] : cases) {
        SCOPED_TRACE("icon " + std::to_string(icon));
        OnNextBox(
            [&](FMessage *box) {
                EXPECT_EQ(box->picIcon->isVisible(), picture != 0);
                if (picture) {
                    const QPixmap expected = res::Picture(picture);
                    ASSERT_FALSE(expected.isNull());
                    EXPECT_EQ(box->picIcon->pixmap().toImage(), expected.toImage());
                    EXPECT_NEAR(box->lblMessage->x(), 1035 / kTwips, 1);
                } else {
                    EXPECT_NEAR(box->lblMessage->x(), 120 / kTwips, 1);
                }
            },
            QStringLiteral("btnOK"));
        EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Icon"), icon), 1);
    }
    // The four pictures differ from one another.
    for (int a = 101; a <= 104; ++a)
        for (int b = a + 1; b <= 104; ++b)
            EXPECT_NE(res::Picture(a).toImage(), res::Picture(b).toImage());
}

TEST_F(MsgBox, DefaultButtonHasFocusAndTakesEnter)
{
    struct Case {
        int style;
        QString def;
        int result;
    };
    const std::vector<Case> cases = {
        {4 + 32 + 256, "btnNo", 7},
        {4 + 32, "btnYes", 6},
        {3 + 512, "btnCancel", 2},
        {2 + 256, "btnRetry", 4},
        {1 + 768, "btnOK", 1}, // a default past the set's buttons falls back to the first
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        OnNextBox(
            [&](FMessage *box) {
                auto *def = box->findChild<QPushButton *>(c.def);
                ASSERT_NE(def, nullptr);
                EXPECT_TRUE(def->isDefault());
                EXPECT_EQ(box->focusWidget(), def);
                for (const auto &s : Buttons(box))
                    if (s.name != c.def)
                        EXPECT_FALSE(box->findChild<QPushButton *>(s.name)->isDefault()) << s.name.toStdString();
                QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &enter);
            },
            QString());
        EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Enter"), c.style), c.result);
    }
}

TEST_F(MsgBox, WidthLimitsAndTextPlacement)
{
    // A one-word prompt keeps the smallest width, with and without an icon.
    for (int icon : {0, 64}) {
        OnNextBox([](FMessage *box) { EXPECT_NEAR(box->width(), 5300 / kTwips, 1); },
                  QStringLiteral("btnOK"));
        modMain::ShowMsg(QStringLiteral("Done."), icon);
    }

    // A prompt between the limits: the window is the icon, the text and the margins, and the
    // text ends 300 twips before the right edge.
    const QString medium = QStringLiteral("The entry could not be sent to the service; try again later.");
    OnNextBox(
        [&](FMessage *box) {
            const double textTwips = QFontMetricsF(box->font()).horizontalAdvance(medium) * kTwips;
            ASSERT_GT(textTwips + 1335, 5300 + 30);
            ASSERT_LT(textTwips + 1335, 8715 - 30);
            EXPECT_NEAR(box->width() * kTwips, textTwips + 1335, kTwips);
            EXPECT_NEAR(box->lblMessage->x() * kTwips, 1035, kTwips);
            const int rightMargin = box->width() - (box->lblMessage->x() + box->lblMessage->width());
            EXPECT_NEAR(rightMargin * kTwips, 300, kTwips);
            // One line: the window keeps its design height with the strip at 1065.
            EXPECT_NEAR(box->height(), 1695 / kTwips, 1);
            EXPECT_NEAR(box->picButtons->y(), 1065 / kTwips, 1);
        },
        QStringLiteral("btnOK"));
    modMain::ShowMsg(medium, 48);

    // A very long prompt stops at the largest width and wraps.
    QString longText;
    for (int i = 0; i < 40; ++i)
        longText += QStringLiteral("word%1 ").arg(i);
    OnNextBox(
        [&](FMessage *box) {
            EXPECT_NEAR(box->width(), 8715 / kTwips, 1);
            EXPECT_NEAR(box->lblMessage->x(), 120 / kTwips, 1);
            EXPECT_NEAR(box->lblMessage->width(), (8715 - 240) / kTwips, 1);
            const int line = QFontMetrics(box->font()).height();
            EXPECT_GT(box->lblMessage->height(), 2 * line);
        },
        QStringLiteral("btnOK"));
    modMain::ShowMsg(longText, 0);
}

TEST_F(MsgBox, TextAndButtonStripKeepAtLeast300TwipsApart)
{
    QString text;
    for (int i = 0; i < 120; ++i)
        text += QStringLiteral("word%1 ").arg(i);
    const QString lines = QStringLiteral("one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix");
    for (const QString &prompt : {text, lines}) {
        OnNextBox(
            [&](FMessage *box) {
                QLabel *l = box->lblMessage;
                // The whole text fits in the label ...
                EXPECT_GE(l->height(), l->heightForWidth(l->width()));
                // ... the strip stays at the bottom, 300 twips below the text.
                const int gap = box->picButtons->y() - (l->y() + l->height());
                EXPECT_NEAR(gap * kTwips, 300, kTwips);
                EXPECT_EQ(box->picButtons->y() + box->picButtons->height(), box->height());
                EXPECT_GT(box->height(), 1695 / kTwips + 1);
                for (const auto &s : Buttons(box))
                    EXPECT_EQ(s.rect.y(), 0);
            },
            QStringLiteral("btnOK"));
        modMain::ShowMsg(prompt, 64);
    }
    // Line breaks of the string table show as lines, not as stray characters.
    OnNextBox([](FMessage *box) { EXPECT_FALSE(box->lblMessage->text().contains('\r')); },
              QStringLiteral("btnOK"));
    modMain::ShowMsg(lines, 0);
}

TEST_F(MsgBox, ButtonRowIsCentred)
{
    // One to four buttons (set 3 with Help gives four).
    for (int style : {0, 1, 3, 3 + 16384}) {
        SCOPED_TRACE("style " + std::to_string(style));
        OnNextBox(
            [](FMessage *box) {
                const auto shown = Buttons(box);
                ASSERT_FALSE(shown.empty());
                for (size_t i = 0; i < shown.size(); ++i) {
                    EXPECT_NEAR(shown[i].rect.width(), 1155 / kTwips, 1);
                    EXPECT_NEAR(shown[i].rect.height(), 435 / kTwips, 1);
                    if (i > 0)
                        EXPECT_NEAR(shown[i].rect.x() - shown[i - 1].rect.right() - 1, 105 / kTwips, 1);
                }
                const int rowMid = (shown.front().rect.left() + shown.back().rect.right() + 1) / 2;
                EXPECT_NEAR(rowMid, box->width() / 2, 2);
                box->cmdButton[0]->click();
            },
            QString());
        modMain::ShowMsg(QStringLiteral("Row"), style);
    }
}

TEST_F(MsgBox, TitleAlignmentTopMostModalAndFonts)
{
    OnNextBox(
        [](FMessage *box) {
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Tarvelo Desktop"));
            EXPECT_TRUE(box->lblMessage->alignment() & Qt::AlignLeft);
            EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
            EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(box->parentWidget(), nullptr);
            const QFontInfo window(box->lblMessage->font());
            EXPECT_EQ(window.family(), QStringLiteral("Liberation Sans"));
            EXPECT_DOUBLE_EQ(box->lblMessage->font().pointSizeF(), 11.25);
            EXPECT_DOUBLE_EQ(box->cmdButton[0]->font().pointSizeF(), 9.75);
        },
        QStringLiteral("btnOK"));
    EXPECT_EQ(modMain::ShowMsg(QStringLiteral("x"), 0, QString()), 1);

    OnNextBox(
        [](FMessage *box) {
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Timers"));
            EXPECT_TRUE(box->lblMessage->alignment() & Qt::AlignRight);
            EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        },
        QStringLiteral("btnOK"));
    modMain::ShowMsg(QStringLiteral("x"), 524288 + 65536, QStringLiteral("Timers"));

    // A prompt that looks like markup is shown as it stands.
    OnNextBox([](FMessage *box) { EXPECT_EQ(box->lblMessage->textFormat(), Qt::PlainText); },
              QStringLiteral("btnOK"));
    modMain::ShowMsg(QStringLiteral("<b>bold</b>"), 0);
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

TEST_F(MsgBox, HelpButtonOpensTheHelpIndexAndLeavesTheBoxOpen)
{
    // Without the program's help window the desktop opens the page.
    auto *const helpWindow = CMessage::HelpWindow;
    CMessage::HelpWindow = nullptr;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");

    // No help page: Help does nothing, and the box stays open.
    modMain::HelpIndexPath = QDir(testenv::MakeTempDir()).filePath(QStringLiteral("hlp_index.htm"));
    OnNextBox(
        [](FMessage *box) {
            const auto shown = Buttons(box);
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[1].name, QStringLiteral("btnHelp"));
            EXPECT_EQ(shown[1].caption, QStringLiteral("Help"));
            box->findChild<QPushButton *>(QStringLiteral("btnHelp"))->click();
            EXPECT_TRUE(box->isVisible());
        },
        QStringLiteral("btnOK"));
    EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Help?"), 16384), 1);
    EXPECT_TRUE(catcher.urls.isEmpty());

    // With the page: Help and F1 open it.
    QFile page(modMain::HelpIndexPath);
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html></html>");
    page.close();
    OnNextBox(
        [](FMessage *box) {
            box->findChild<QPushButton *>(QStringLiteral("btnHelp"))->click();
            QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
            QApplication::sendEvent(box, &f1);
            EXPECT_TRUE(box->isVisible());
        },
        QStringLiteral("btnYes"));
    EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Help?"), 4 + 16384), 6);
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(modMain::HelpIndexPath));

    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    CMessage::HelpWindow = helpWindow;
}

TEST_F(MsgBox, HelpButtonOpensThePageInTheHelpWindowWhenThereIsOne)
{
    static QStringList pages;
    pages.clear();
    auto *const helpWindow = CMessage::HelpWindow;
    CMessage::HelpWindow = [](const QString &page) { pages << page; };
    modMain::HelpIndexPath = QStringLiteral("/prog/hlp_index.htm");
    OnNextBox([](FMessage *box) { box->findChild<QPushButton *>(QStringLiteral("btnHelp"))->click(); },
              QStringLiteral("btnOK"));
    EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Help?"), 16384), 1);
    // The help window chooses the language form of the page, and tells when it is missing.
    EXPECT_EQ(pages, QStringList{QStringLiteral("/prog/hlp_index.htm")});
    CMessage::HelpWindow = helpWindow;
    modMain::HelpIndexPath.clear();
}

TEST_F(MsgBox, ErrorBoxCopiesItsText)
{
    QApplication::clipboard()->setText(QStringLiteral("before"));
    OnNextBox(
        [](FMessage *box) {
            const auto shown = Buttons(box);
            ASSERT_EQ(shown.size(), 2u);
            EXPECT_EQ(shown[0].caption, QStringLiteral("Close"));
            EXPECT_EQ(shown[1].caption, QStringLiteral("Copy"));
            EXPECT_EQ(box->Icon(), 16);
            box->findChild<QPushButton *>(QStringLiteral("btnCopy"))->click();
            EXPECT_TRUE(box->isVisible());
        },
        QStringLiteral("btnClose"));
    CMessage msg;
    msg.DisplayError(QStringLiteral("Disk full"), false, 0);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Disk full"));
}

TEST_F(MsgBox, SharedAnswerHelperPressesTheNamedButton)
{
    // Other windows' tests answer boxes with testenv::AnswerNextModal by these names.
    testenv::AnswerNextModal(QStringLiteral("btnNo"));
    EXPECT_EQ(modMain::ShowMsg(QStringLiteral("Save the timer?"), 3 + 32), 7);
}

} // namespace

#include "MsgBoxTest.moc"
