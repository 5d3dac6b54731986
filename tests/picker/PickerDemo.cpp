// Shows the shared pop-ups for the screenshots (scripts/screenshot) on their own, in a bare
// host window that carries the picker's controls:
//
//   tarv_picker_demo picker LANG     the host with the picker open on a time being typed
//   tarv_picker_demo calendar LANG   the day calendar over the host
//   tarv_picker_demo refused LANG    the calendar refusing a day after today
//
// LANG is en or el (the interface language and the locale of dates). The string table is the
// one beside the program (TARV_BIN_DIR) unless TARV_PROGRAM_DIR names another folder. The
// program stays up until it is killed.
#include "core/modMain.h"
#include "platform/forms/Label.h"
#include "platform/forms/Units.h"
#include "core/clsTimePicker.h"
#include "timelog/frmCal.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QLineEdit>
#include <QLocale>
#include <QTableView>
#include <QTimer>
#include <QKeyEvent>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: tarv_picker_demo picker|calendar|refused en|el\n");
        return 1;
    }
    const QByteArray scene = argv[1];
    const bool greek = QByteArray(argv[2]) == "el";
    QLocale::setDefault(greek ? QLocale(QLocale::Greek, QLocale::Greece) : QLocale(QLocale::English, QLocale::UnitedKingdom));
    const QString folder = qEnvironmentVariableIsSet("TARV_PROGRAM_DIR") ? qEnvironmentVariable("TARV_PROGRAM_DIR")
                                                                         : QStringLiteral(TARV_BIN_DIR);
    modMain::LoadLangTable(folder + QStringLiteral("/StringTables.csv"));
    modMain::LangID = greek ? 1 : 0;

    QWidget host;
    host.setObjectName(QStringLiteral("frmDailyExp"));
    host.setWindowTitle(QStringLiteral("Time picker"));
    host.resize(forms::TwipsToPixels(4200), forms::TwipsToPixels(2100));
    host.move(60, 60);
    auto *lTime = new forms::Label(QStringLiteral("08:05:00"), &host);
    lTime->setObjectName(QStringLiteral("lTime"));
    forms::Move(lTime, 240, 240, 1200, 300);
    auto *lblDay = new forms::Label(modMain::ShortDateText(QDate::currentDate().addDays(-1)), &host);
    lblDay->setObjectName(QStringLiteral("lblDay"));
    forms::Move(lblDay, 2200, 240, 1800, 300);
    QWidget *face = clsTimePicker::CreateControls(&host);
    forms::Move(face, 240, 720);
    clsTimePicker picker;
    picker.SetFrm(&host);
    auto *exit = host.findChild<forms::Label *>(QStringLiteral("lblExit"));
    QObject::connect(exit, &forms::Label::Click, [&] {
        picker.Output();
        picker.Hide();
    });
    host.show();

    if (scene == "picker") {
        picker.SetOutputControl(lTime);
        picker.ParseTime(lTime->Caption());
        picker.Show();
        // The person has typed the hour 17 and the minute tens 4: the marker stands before the
        // minute units, which are highlighted.
        auto *key = host.findChild<QLineEdit *>(QStringLiteral("txtKey"));
        for (const char c : {'1', '7', '4'}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_0 + (c - '0'), Qt::NoModifier, QString(QChar(c)));
            QApplication::sendEvent(key, &press);
        }
    } else {
        QTimer::singleShot(200, [&] {
            if (scene == "refused")
                if (frmCal *cal = frmCal::Peek())
                    cal->MyCal->setSelectedDate(QDate::currentDate().addDays(1));
        });
        QTimer::singleShot(0, [&] { frmCal::PickDay(&host, lblDay); });
    }
    return app.exec();
}
