#pragma once
// The help window: a child window of the main window whose browser WBr shows the program's
// local help pages (HTML files in the program folder). Its menus, link commands and the
// language of the pages it opens grow with the help browser itself.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QTextBrowser>
#include <QWidget>

class QMenuBar;

// The embedded browser: Navigate2 opens a page by its full path. A page that is not there
// leaves an empty view.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget *parent = nullptr);
    void Navigate2(const QString &path);
    // The page shown last ("" before the first).
    QString LocationPath() const { return m_location; }

private:
    QString m_location;
};

class frmHlp : public ChildWindow, public FormInstance<frmHlp> {
    Q_OBJECT
public:
    frmHlp();
    ~frmHlp() override;

    // Captions in the current language; a failure is told and LangID goes back to PrevLangID.
    void ApplyLang();
    // The page the window opens when it is shown without a page of its own (the help index).
    void SetStartPage(const QString &path);
    QString StartPage() const { return m_startPage; }

    HelpBrowser *WBr = nullptr;
    QMenuBar *mnuBar = nullptr;

    // Showing the window shows its frame in the main window too.
    void setVisible(bool visible) override;

private:
    QString m_startPage;
};
