// The picker's wiring in a bare host window that carries the picker's named controls: the face
// and its geometry, the keys from the real key box, the zones from real clicks, the highlight
// and the marker, and Output into a text box and into a label.
#include "core/clsTimePicker.h"

#include "platform/forms/Label.h"
#include "platform/forms/Units.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PickerHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QDialog>();
        host->setObjectName(QStringLiteral("frmHost"));
        host->resize(400, 200);
        txtStart = new QLineEdit(host.get());
        txtStart->setObjectName(QStringLiteral("txtStart"));
        txtStart->setGeometry(10, 10, 80, 22);
        txtStart->setText(QStringLiteral("08:05:00"));
        lTime = new forms::Label(QStringLiteral("12:30:00"), host.get());
        lTime->setObjectName(QStringLiteral("lTime"));
        lTime->setGeometry(200, 10, 80, 22);
        // A default button: Enter and Esc in the picker must not reach the dialog.
        ok = new QPushButton(QStringLiteral("OK"), host.get());
        ok->setGeometry(300, 150, 80, 30);
        ok->setDefault(true);
        face = clsTimePicker::CreateControls(host.get());
        face->move(10, 40);
        picker = std::make_unique<clsTimePicker>();
        picker->SetFrm(host.get());
        host->show();
        host->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
        txtKey = host->findChild<QLineEdit *>(QStringLiteral("txtKey"));
        ASSERT_TRUE(txtKey);
    }

    forms::Label *Named(const char *name) const { return host->findChild<forms::Label *>(QLatin1String(name)); }
    QString Shown() const
    {
        return Named("lH")->Caption() + QLatin1Char(':') + Named("lM_0")->Caption() + Named("lM_1")->Caption();
    }
    // The digit labels in grey: "H", "T", "U" for hour, minute tens, minute units.
    QString Grey() const
    {
        QString grey;
        if (Named("lH")->ForeColor() == 0x808080) grey += QLatin1Char('H');
        if (Named("lM_0")->ForeColor() == 0x808080) grey += QLatin1Char('T');
        if (Named("lM_1")->ForeColor() == 0x808080) grey += QLatin1Char('U');
        return grey;
    }
    int MarkerTwips() const { return forms::Left(Named("lMarker")); }
    void Open(QWidget *control, const QString &text)
    {
        picker->SetOutputControl(control);
        picker->ParseTime(text);
        picker->Show();
    }
    void Type(const char *keys) { QTest::keyClicks(txtKey, QLatin1String(keys)); }
    void Key(Qt::Key key) { QTest::keyClick(txtKey, key); }
    void Click(const char *zone) { QTest::mouseClick(Named(zone), Qt::LeftButton); }

    std::unique_ptr<QDialog> host;
    QLineEdit *txtStart = nullptr;
    forms::Label *lTime = nullptr;
    QPushButton *ok = nullptr;
    QWidget *face = nullptr;
    QLineEdit *txtKey = nullptr;
    std::unique_ptr<clsTimePicker> picker;
};

} // namespace

TEST_F(PickerHost, ControlsStandWhereTheFaceDrawsThem)
{
    EXPECT_TRUE(picker->IsBound());
    EXPECT_EQ(picker->frm(), host.get());
    EXPECT_FALSE(face->isVisible());
    EXPECT_EQ(face->size(), QSize(139, 52));   // 2085 x 780 twips
    const struct {
        const char *name;
        QRect twips;
    } places[] = {
        {"lH", {0, 45, 675, 615}},       {"lM_0", {900, 45, 315, 615}},   {"lM_1", {1245, 45, 315, 615}},
        {"lHp", {30, 30, 675, 315}},     {"lHm", {30, 420, 675, 375}},    {"lM1p", {900, 60, 315, 315}},
        {"lM1m", {900, 360, 315, 315}},  {"lM2p", {1260, 60, 315, 315}},  {"lM2m", {1260, 360, 315, 315}},
        {"lblExit", {1680, 480, 375, 255}}, {"lMarker", {75, 600, 315, 255}},
    };
    for (const auto &p : places) {
        const QWidget *w = host->findChild<QWidget *>(QLatin1String(p.name));
        ASSERT_TRUE(w) << p.name;
        EXPECT_EQ(w->parentWidget(), face) << p.name;
        EXPECT_EQ(w->geometry(), QRect(forms::TwipsToPixels(p.twips.x()), forms::TwipsToPixels(p.twips.y()),
                                       forms::TwipsToPixels(p.twips.width()), forms::TwipsToPixels(p.twips.height())))
            << p.name;
    }
    EXPECT_EQ(txtKey->geometry(), QRect(112, 8, 5, 3));
    // A click on the upper half of the hour lands on its plus zone, not on the digits.
    EXPECT_EQ(face->childAt(Named("lHp")->geometry().center()), Named("lHp"));
}

TEST_F(PickerHost, TypingIntoTheKeyBoxAndEnterWriteTheTextBox)
{
    Open(txtStart, txtStart->text());
    EXPECT_TRUE(face->isVisible());
    EXPECT_TRUE(txtKey->hasFocus());
    EXPECT_EQ(Shown(), QStringLiteral("08:05"));
    EXPECT_EQ(Grey(), QStringLiteral("H"));
    EXPECT_EQ(MarkerTwips(), 75);

    Type("12");
    EXPECT_EQ(Shown(), QStringLiteral("12:00"));
    EXPECT_EQ(Grey(), QStringLiteral("T"));
    EXPECT_EQ(MarkerTwips(), 915);
    Type(":4");
    EXPECT_EQ(MarkerTwips(), 1260);
    Type("7");
    EXPECT_EQ(Shown(), QStringLiteral("12:47"));
    EXPECT_EQ(Grey(), QStringLiteral("U"));
    EXPECT_TRUE(txtKey->text().isEmpty());
    EXPECT_EQ(txtStart->text(), QStringLiteral("08:05:00"));

    QSignalSpy defaultButton(ok, &QPushButton::clicked);
    Key(Qt::Key_Return);
    EXPECT_EQ(txtStart->text(), QStringLiteral("12:47"));
    EXPECT_FALSE(face->isVisible());
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(defaultButton.count(), 0);
    EXPECT_EQ(Grey(), QString());
}

TEST_F(PickerHost, ArrowsAndZonesWrapAndTypingKeepsTheHour)
{
    Open(txtStart, QStringLiteral("23:58"));
    Key(Qt::Key_Up);
    EXPECT_EQ(Shown(), QStringLiteral("00:58"));
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(Shown(), QStringLiteral("22:58"));
    EXPECT_EQ(MarkerTwips(), 375);
    Key(Qt::Key_Right);
    EXPECT_EQ(Grey(), QStringLiteral("T"));
    EXPECT_EQ(MarkerTwips(), 915);
    Type("1");
    EXPECT_EQ(Shown(), QStringLiteral("22:18"));

    Click("lHp");
    EXPECT_EQ(Shown(), QStringLiteral("23:18"));
    EXPECT_EQ(Grey(), QStringLiteral("H"));
    Click("lHp");
    EXPECT_EQ(Shown(), QStringLiteral("00:18"));
    Click("lHm");
    EXPECT_EQ(Shown(), QStringLiteral("23:18"));
    Click("lM1m");
    Click("lM1m");
    EXPECT_EQ(Shown(), QStringLiteral("23:58"));
    Click("lM2p");
    Click("lM2p");
    EXPECT_EQ(Shown(), QStringLiteral("23:50"));
    EXPECT_EQ(Grey(), QStringLiteral("U"));
    EXPECT_EQ(MarkerTwips(), 1260);
    EXPECT_TRUE(txtKey->hasFocus());
    // The zones only change the face; the host's close label writes the time out.
    EXPECT_EQ(txtStart->text(), QStringLiteral("08:05:00"));
    picker->Output();
    picker->Hide();
    EXPECT_EQ(txtStart->text(), QStringLiteral("23:50"));
    EXPECT_FALSE(face->isVisible());
}

TEST_F(PickerHost, EscShowsMidnightAndKeepsTheOutput)
{
    Open(txtStart, txtStart->text());
    Type("17");
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Shown(), QStringLiteral("10:00"));
    Key(Qt::Key_Escape);
    EXPECT_EQ(Shown(), QStringLiteral("00:00"));
    EXPECT_EQ(Grey(), QStringLiteral("H"));
    EXPECT_EQ(MarkerTwips(), 75);
    EXPECT_TRUE(face->isVisible());
    EXPECT_TRUE(host->isVisible());   // the dialog did not take Esc as its close
    EXPECT_EQ(txtStart->text(), QStringLiteral("08:05:00"));
    // Letters and other keys are swallowed.
    Type("ab");
    Key(Qt::Key_Delete);
    EXPECT_EQ(Shown(), QStringLiteral("00:00"));
    EXPECT_TRUE(txtKey->text().isEmpty());
}

TEST_F(PickerHost, OutputIntoALabelSetsItsCaptionOnce)
{
    QSignalSpy change(lTime, &forms::Label::Change);
    Open(lTime, lTime->Caption());
    EXPECT_EQ(Shown(), QStringLiteral("12:30"));
    Type("0745");
    Key(Qt::Key_Enter);
    EXPECT_EQ(lTime->Caption(), QStringLiteral("07:45"));
    EXPECT_EQ(change.count(), 1);
    // The next opening goes to another control; the label is left alone.
    Open(txtStart, txtStart->text());
    Type("9");
    Key(Qt::Key_Return);
    EXPECT_EQ(txtStart->text(), QStringLiteral("09:00"));
    EXPECT_EQ(lTime->Caption(), QStringLiteral("07:45"));
}

TEST_F(PickerHost, FocusGivenToTheFaceGoesToTheKeyBox)
{
    Open(txtStart, txtStart->text());
    txtStart->setFocus();
    ASSERT_TRUE(testenv::WaitFor([&] { return txtStart->hasFocus(); }));
    face->setFocus();
    EXPECT_TRUE(txtKey->hasFocus());
}

TEST(PickerBinding, AHostWithoutTheControlsGetsAPickerThatDoesNothing)
{
    QWidget bare;
    QLineEdit out(&bare);
    out.setText(QStringLiteral("10:00"));
    clsTimePicker picker;
    picker.SetFrm(&bare);
    EXPECT_FALSE(picker.IsBound());
    picker.SetOutputControl(&out);
    picker.ParseTime(QStringLiteral("11:15"));
    picker.Show();
    picker.DisplayTime();
    picker.Output();
    picker.Hide();
    EXPECT_EQ(out.text(), QStringLiteral("11:15"));

    // A host destroyed before its picker leaves no dangling control behind.
    auto host = std::make_unique<QWidget>();
    clsTimePicker::CreateControls(host.get());
    picker.SetFrm(host.get());
    EXPECT_TRUE(picker.IsBound());
    host.reset();
    EXPECT_EQ(picker.frm(), nullptr);
    picker.Show();
    picker.Hide();
}
