#pragma once
// The video window: a child window of the main window with the player flash, which plays the
// help movies beside the program, and the frame frAbout with the about panel. The timers
// window places the two itself: the about panel at left 3 with a short player, or the panel
// out of sight (-12000) for a help movie.
#include "core/ChildWindow.h"
#include "core/FormInstance.h"

#include <QFrame>
#include <QString>
#include <QWidget>

class QLabel;

// The movie player. It keeps the movie of each layer and its play state; the movie files
// stand beside the program.
class MoviePlayer : public QFrame {
    Q_OBJECT
public:
    explicit MoviePlayer(QWidget *parent = nullptr);

    // Height in twips.
    void SetHeight(int twips);
    // 0 shows the whole movie in the player, keeping its proportions.
    void SetScaleMode(int mode) { m_scaleMode = mode; }
    int ScaleMode() const { return m_scaleMode; }
    // Loads the movie file into a layer (0 is the base layer); playing stops.
    void LoadMovie(int layer, const QString &path);
    QString Movie() const { return m_movie; }
    void Play() { m_playing = !m_movie.isEmpty(); }
    void Stop() { m_playing = false; }
    bool Playing() const { return m_playing; }

private:
    QLabel *m_name = nullptr;   // the movie's file name while no picture is drawn
    QString m_movie;
    int m_scaleMode = 0;
    bool m_playing = false;
};

class frmVideo : public ChildWindow, public FormInstance<frmVideo> {
    Q_OBJECT
public:
    frmVideo();
    ~frmVideo() override;

    // Captions in the current language; a failure is told and LangID goes back to PrevLangID.
    void ApplyLang();

    MoviePlayer *flash = nullptr;
    QFrame *frAbout = nullptr;

private:
};
