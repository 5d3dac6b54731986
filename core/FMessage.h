#pragma once
// The window of the program's own message box: an icon, the text and a centred row of up to
// four buttons, sized to the text. CMessage fills it in and reads back which button was pressed.
#include <QDialog>
#include <QList>
#include <QStringList>
#include <array>
#include <cstdint>

class QLabel;
class QPushButton;
class QWidget;

class FMessage : public QDialog {
    Q_OBJECT
public:
    FMessage();
    ~FMessage() override;

    // 16, 32, 48, 64 show picture 102, 101, 103, 104 in picIcon; any other value hides it.
    void MessageIcon(int32_t kind);
    // The window's title; an empty text gives the application's title.
    void MessageTitle(const QString &title);
    // The captions, left to right; shows buttons 0 .. count-1 and hides the rest (at most four).
    void ButtonText(const QStringList &captions);
    // The objectNames of the shown buttons, in the order of ButtonText (so tests and callers can
    // find "btnYes", "btnCancel", ...). Buttons without a name keep "cmdButton_<index>".
    void ButtonNames(const QStringList &names);
    // One flag per button: true for a button that closes the window.
    void ButtonsUnload(const QList<bool> &closes);
    // Makes the window stay above every other window. The box is always top-most, so the value
    // given does not matter.
    void TopMost(bool value);
    // The button that Enter presses.
    void ButtonDefault(int32_t index);
    // The button the window's close command (and Escape) counts as; -1 refuses the close command.
    void CloseButton(int32_t index);
    // Index of the last clicked button (0 until one is clicked).
    int32_t SelectedButton() const { return m_selected; }
    int32_t Icon() const { return m_icon; }

    // Lays the window out for the text and shows it modally; returns when it has closed.
    void ShowMessage(const QString &prompt);

    // Help context of the box (kept for the help request of its Help button).
    int32_t HelpContextID = 0;

    // Controls (each also its objectName).
    QLabel *picIcon = nullptr;
    QLabel *lblMessage = nullptr;
    QWidget *picButtons = nullptr;
    std::array<QPushButton *, 4> cmdButton{};

signals:
    // A button that does not close the window was clicked.
    void ButtonClicked(int32_t index);
    // F1 was pressed in the box.
    void HelpRequested();

protected:
    void reject() override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void cmdButton_Click(int index);

    QStringList m_captions;
    QList<bool> m_closes;
    int32_t m_selected = 0;
    int32_t m_icon = 0;
    int32_t m_closeIndex = 0;
    int32_t m_default = 0;
};
