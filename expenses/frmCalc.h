#pragma once
// The small calculator of the expenses editor's amount box: a painted keypad with transparent
// labels over its keys, a display, and a tiny key box that keeps the focus so that the keyboard
// works the keys too. OK writes the result, with two decimals, into the amount box; closing it
// otherwise leaves the box as it was. The arithmetic is CalcEngine's.
//
// How the editor opens it on its amount box:
//
//   frmCalc::Calculate(txtAmount);
#include "core/FormInstance.h"
#include "expenses/CalcEngine.h"

#include <QDialog>
#include <QPointer>
#include <array>

class QLineEdit;
namespace forms { class Label; }

class frmCalc : public QDialog, public FormInstance<frmCalc> {
    Q_OBJECT
public:
    frmCalc();
    ~frmCalc() override;

    // Loads the calculator over the amount box on the box's text, shows it modally and
    // unloads it. True when OK wrote a result into the box.
    static bool Calculate(QLineEdit *amountBox);

    // The number being typed (and each result), as text in the person's number form.
    QString EntryText() const { return m_calc.EntryText(); }
    void SetEntryText(const QString &text);
    double DoCalc();
    void ClearAll();
    const CalcEngine &Engine() const { return m_calc; }

    // The keys (label arrays over the keypad) and the display.
    std::array<forms::Label *, 11> b{};   // digits 0 to 9, 10 the decimal separator
    std::array<forms::Label *, 5> f{};    // 0 equals, 1 add, 2 subtract, 3 multiply, 4 divide
    std::array<forms::Label *, 3> m{};    // memory: recall and clear, minus, plus
    forms::Label *lClear = nullptr;
    forms::Label *lOK = nullptr;
    forms::Label *lOutp = nullptr;        // the display
    QWidget *shMem = nullptr;             // shows while the memory holds a value
    QLineEdit *txtKey = nullptr;
    QPointer<QLineEdit> AmountBox;        // where OK writes

    void b_Click(int index);
    void f_Click(int index);
    void m_Click(int index);
    void lClear_Click();
    void lOK_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The display and the memory marker from the engine; the focus back to the key box.
    void Show();

    CalcEngine m_calc;
    bool m_written = false;
};
