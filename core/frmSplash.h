#pragma once
// The splash window of every start: fades in, stays, fades out and unloads itself; a key press
// or a click closes it at once.
#include "core/FormInstance.h"

#include <QWidget>

class QLabel;
class QTimer;
class QFrame;

class frmSplash : public QWidget, public FormInstance<frmSplash> {
    Q_OBJECT
public:
    frmSplash();
    ~frmSplash() override;

    QLabel *Image1 = nullptr;
    QFrame *Frame1 = nullptr;
    QLabel *lblProduct = nullptr;
    QLabel *lblVer = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblPlatform = nullptr;
    QLabel *lblCopyr = nullptr;
    QTimer *tmrFadeIn = nullptr;
    QTimer *tmr = nullptr;

    void tmrFadeIn_Timer();
    void tmr_Timer();
    void Frame1_Click();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    void Form_Unload();
    bool m_fadingOut = false;
    int16_t m_opacity = 0;
    int16_t m_ticks = 0;
};
