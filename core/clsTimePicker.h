#pragma once
// The one hh:mm time picker of the program, shared by the windows that host it. It owns no window: it drives a group of controls
// that each host window carries (the daily log, the expenses editor, the options dialog) and
// writes the picked time, "hh:mm", into one output control of the host.
//
// The controls, found by objectName anywhere under the host when frm is set:
//   picPicker                  the face (a painted picture), hidden until Show
//   lH                         the two hour digits
//   lM_0, lM_1                 the minute tens and units digits
//   lHp, lHm, lM1p, lM1m, lM2p, lM2m
//                              plus and minus zones above and below each field (forms::Label,
//                              their Click events)
//   lMarker                    "^" under the digit that typing fills next
//   txtKey                     the tiny key box that holds the focus and receives the keys
//   lblExit                    the host's close label on the face (the host handles it)
// CreateControls makes all of them with their places on the face.
//
// How a host uses it:
//
//   // at load
//   picPicker = clsTimePicker::CreateControls(this);   // or a frame of the window as parent
//   m_Picker = new clsTimePicker(this);
//   m_Picker->SetFrm(this);
//   connect(findChild<forms::Label *>("lblExit"), &forms::Label::Click, this, &Host::lblExit_Click);
//
//   // to open it for a control (a QLineEdit, a forms::Label or any QLabel)
//   m_Picker->SetOutputControl(txtStart);
//   m_Picker->ParseTime(txtStart->text());
//   forms::Move(picPicker, forms::Left(txtStart), forms::Top(picPicker));
//   m_Picker->Show();
//
//   // lblExit_Click
//   m_Picker->Output();   // the control receives "hh:mm" (its change event runs)
//   m_Picker->Hide();
//
// Enter in the picker does Hide and Output itself; Esc shows 00:00 and leaves the picker open
// with the output control unchanged. A host that composes its own text from the digits reads
// the captions of lH, lM_0 and lM_1, or Keys().Output() ("hh:mm") without writing anything.
// Focus given to picPicker goes on to txtKey.
#include "core/TimePickerKeys.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QLineEdit;
class QWidget;
namespace forms { class Label; }

class clsTimePicker : public QObject {
    Q_OBJECT
public:
    explicit clsTimePicker(QObject *parent = nullptr);
    ~clsTimePicker() override;

    // Creates picPicker (hidden, at 0,0 of parent) with every control named above; returns
    // picPicker. The host moves it where it wants it.
    static QWidget *CreateControls(QWidget *parent);

    // The control that Output writes to: its Text when it is a text box, else its Caption.
    void SetOutputControl(QWidget *control);
    QWidget *OutputControl() const { return m_output; }

    // Keeps the host and binds its controls by name. A host that lacks some control gets a
    // picker that leaves that control out (IsBound tells whether all were found).
    void SetFrm(QWidget *host);
    QWidget *frm() const { return m_frm; }
    bool IsBound() const;

    // One step of the arrows on the current field (see TimePickerKeys::DisplayTime).
    void DisplayTime();
    // Opens the face on the hour with the focus in the key box.
    void Show();
    void Hide();
    // Writes "hh:mm" of the digits shown into the output control.
    void Output();
    // Shows the time of the text ("hh:mm" or "hh:mm:ss"; anything else shows 00:00).
    void ParseTime(const QString &text);

    // The picker's state as the face shows it.
    const TimePickerKeys &Keys() const { return m_keys; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txtKey_KeyDown(int keyCode, int shift);
    void txtKey_KeyPress(int &keyAscii);
    void Zone_Click(TimePickerKeys::Zone zone);
    void HighlightField(int field, bool clear);
    void MoveMarker();
    // Puts the state into the digit labels, their colours and the marker.
    void Paint();

    TimePickerKeys m_keys;
    QPointer<QWidget> m_frm;
    QPointer<QWidget> m_output;
    QPointer<QWidget> m_picPicker;
    QPointer<forms::Label> m_lH;
    QPointer<forms::Label> m_lM[2];
    QPointer<forms::Label> m_zones[6];
    QPointer<QWidget> m_lMarker;
    QPointer<QLineEdit> m_txtKey;
};
