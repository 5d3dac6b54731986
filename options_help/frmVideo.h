#pragma once
// The video window: a child window of the main window with the player flash, which plays the
// help videos beside the program (short animations of the program's own windows), and the
// frame frAbout with the about panel. Its callers place the two themselves: the about panel
// at left 3 with a short player above it, or the panel out of sight (-12000) and the player
// over the whole window for a help video.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QFrame>
#include <QString>
#include <QWidget>
#include <array>

class QGroupBox;
class QLabel;
class QMenuBar;
class QAction;
class QMovie;
namespace forms { class Label; }

// The movie player. A movie is found by its base name: the file asked for when Qt can play
// it, else the animation of the same name with ".gif" beside it (the help links and the
// windows' menus name the videos "hlp_RecordTime.swf" and so on).
class MoviePlayer : public QFrame {
    Q_OBJECT
public:
    explicit MoviePlayer(QWidget *parent = nullptr);

    // Height in pixels (the window's own scale).
    void SetHeight(int pixels);
    // 0 shows the whole movie in the player, keeping its proportions; any other value shows
    // it at its own size, made smaller only where the player is smaller.
    void SetScaleMode(int mode);
    int ScaleMode() const { return m_scaleMode; }
    // Loads the movie file into a layer (0 is the only layer); playing stops. A movie that
    // cannot be found shows a message in its place.
    void LoadMovie(int layer, const QString &path);
    // The path asked for, and the file that plays ("" when none was found).
    QString Movie() const { return m_movie; }
    QString MovieFile() const { return m_file; }
    void Play();
    void Stop();
    bool Playing() const;
    // The animation being played (nullptr when none), and the message shown instead.
    QMovie *Animation() const { return m_animation; }
    QString Message() const;

    // The animation file for a movie path ("" when there is none).
    static QString FindMovieFile(const QString &path);

signals:
    // 0 nothing loaded, 4 a movie loaded and ready (the player's ready states).
    void OnReadyStateChange(int state);

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void FitMovie();

    QLabel *m_screen = nullptr;   // the frames, or the message when there is no movie
    QMovie *m_animation = nullptr;
    QString m_movie;
    QString m_file;
    int m_scaleMode = 0;
    bool m_playing = false;
};

class frmVideo : public ChildWindow, public FormInstance<frmVideo> {
    Q_OBJECT
public:
    frmVideo();   // Form_Load
    ~frmVideo() override;   // Form_Unload

    // Captions in the current language; a failure is told (the language stays).
    void ApplyLang();

    void mnuClose_Click();
    void lTxt_Click(int index);
    void flash_OnReadyStateChange(int state);
    QSize sizeHint() const override;

    MoviePlayer *flash = nullptr;
    QGroupBox *frAbout = nullptr;
    QLabel *Image1 = nullptr;
    std::array<QLabel *, 5> lbl{};          // captions: file, version, copyright, web site, e-mail
    std::array<forms::Label *, 5> lTxt{};   // their values; lTxt[3] is the web site link
    QMenuBar *mnuBar = nullptr;
    QAction *mnuClose = nullptr;

private:
    // The player over the whole window while the about panel is out of view, above the
    // panel while it is in view.
    void Layout();
    bool eventFilter(QObject *watched, QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    // The main window's cover goes into view while the window is open.
    static void MarkMainWindow(bool open);
};
