#pragma once
// The help window: stands to the right of the main window, always on top, and shows the
// program's help pages (HTML files in the program folder) in its browser WBr. It decides every
// navigation itself: the page of the current language, the page of the first language when a
// translation is missing, the error page when neither exists, and the link commands of the
// pages ("==" the service's web site, "[]" a help video, ">>" a window of the program).
#include "core/FormInstance.h"

#include <QTextBrowser>
#include <QWidget>

#include <functional>

class QLabel;
class QMenu;
class QMenuBar;
class QAction;
class QTimer;
namespace forms { class Label; }

// The embedded browser. Every address it is asked to show (by Navigate2 or by a link in the
// page) goes to the window's navigation handler first; Show puts a file on the screen.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);
    // Asks for an address: a page path, or a link command in the program folder.
    void Navigate2(const QString &address);
    // Shows the file as it stands (the handler has chosen it).
    void Show(const QString &file);
    // The file shown now ("" before the first).
    QString LocationPath() const { return m_location; }

    std::function<void(const QString &)> BeforeNavigate;

private:
    QString m_location;
};

class frmHlp : public QWidget, public FormInstance<frmHlp> {
    Q_OBJECT
public:
    frmHlp();   // Form_Load: places and shows the window
    ~frmHlp() override;

    // ---- what the other windows call ---------------------------------------------------
    // The help page of a window, by the window's name ("frmDaily", "frmDailyExp", "frmSynch",
    // "frmOptions", "frmStart", ...): "hlp_<name>.htm" in the current language.
    static void ShowHelpFor(const QString &windowName);
    // The help index (HelpIndexPath).
    static void ShowHelpIndex();
    // Any page of the program folder by its full path (language form chosen as for links).
    static void ShowPage(const QString &path);

    // Menu captions in the current language, and the language of the pages opened next.
    void ApplyLang();

    // The page address kept by Back, Forward and the general help command.
    QString CurrentURL() const { return m_currentURL; }
    void SetCurrentURL(const QString &url) { m_currentURL = url; }
    // The page the window opens when it is shown with nothing on it yet.
    void SetStartPage(const QString &path);
    QString StartPage() const { return m_currentURL; }

    // The navigation handler: every address the window is asked to show.
    void Navigate(const QString &address);

    // Toolbar.
    void btnLeft_Click();
    void btnRight_Click();
    void btnHome_Click();
    void btnRefresh_Click();
    void btnStop_Click();

    // The status text the strip returns to, and the language used for page names.
    QString Status() const { return m_Status; }
    int HelpLang() const { return m_Lang; }

    QMenuBar *mnuBar = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelp_Tarv = nullptr;
    QAction *mnuHelp_Firsttime = nullptr;
    QAction *mnuHelp_frmStart = nullptr;
    QAction *mnuHelp_frmDaily = nullptr;
    QAction *mnuHelp_frmDailyExp = nullptr;
    QAction *mnuHelp_frmSynch = nullptr;
    QAction *mnuHelp_frmOptions = nullptr;
    QAction *mnuHelp_Close = nullptr;
    QWidget *picBar = nullptr;
    forms::Label *btnLeft = nullptr;
    forms::Label *btnRight = nullptr;
    forms::Label *btnHome = nullptr;
    forms::Label *btnRefresh = nullptr;
    forms::Label *btnStop = nullptr;
    HelpBrowser *WBr = nullptr;
    QWidget *picStatus = nullptr;
    QLabel *lblMsg = nullptr;
    QWidget *Picprog = nullptr;
    QLabel *lProg = nullptr;
    QLabel *lblProg = nullptr;

    // Showing the window with nothing on it opens CurrentURL.
    void setVisible(bool visible) override;

private:
    void CreateControls();
    void Place();
    bool eventFilter(QObject *watched, QEvent *e) override;
    void ErrorPageChain();
    void OpenPage(const QString &file);
    void PlayVideo(const QString &name);
    // Unloads the window from inside one of its own handlers (the object goes once they
    // have returned).
    void UnloadSelf();
    void WBr_DownloadBegin();
    void WBr_ProgressChange(qint64 progress, qint64 progressMax);
    void WBr_DocumentComplete();

    QString m_currentURL;
    QString m_Status;
    int m_Lang = 0;
    QTimer *m_done = nullptr;   // puts the status text back a moment after a page is shown
};
