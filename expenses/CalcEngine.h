#pragma once
// The arithmetic of the amount calculator, without any widget: the number being typed, one
// pending operation of the four, a one-value memory, and what the display shows. The calculator
// window turns its keys into these calls and shows Display().
//
// Numbers are texts in the person's number form (modMain::DecimalSep, modMain::GroupSep). A
// chain of operations is worked out from left to right as each operator key is pressed
// (1 + 2 × 3 = gives 9). A result that the amount box could not hold (a division by zero, a
// value of a thousand billion or more) shows an error on the display, and OK then leaves the
// amount box as it was.
#include <QString>
#include <cstdint>
#include <optional>

class CalcEngine {
public:
    // The pending operation.
    enum Op : int16_t { Fresh = -1, None = 0, Add = 1, Subtract = 2, Multiply = 3, Divide = 4 };
    // Results from this size on are refused: the amount box could not hold them.
    static constexpr double kLimit = 1e12;
    // Digits typed beyond this many are dropped.
    static constexpr int kMaxDigits = 12;

    // Opened on the amount box's text: it is the entry and the display; the first digit typed
    // replaces it, the first operator takes it as the first operand.
    void Open(const QString &amount);

    // The keys: a digit 0 to 9, or 10 for the decimal separator.
    void Digit(int index);
    // 0 equals, 1 add, 2 subtract, 3 multiply, 4 divide.
    void Function(int index);
    // 0 recall the memory (and clear it), 1 subtract the entry from it, 2 add the entry to it.
    void Memory(int index);
    // Clear: the calculation goes, the memory stays.
    void Clear();
    // What OK writes into the amount box: the display's value with two decimals in the
    // person's number form; nullopt while an error is shown (the box keeps its text).
    std::optional<QString> Ok() const;

    // The calculation from its pending operator; the result is also the entry and the display.
    double DoCalc();
    // Accumulator, operand and result 0, the entry empty, nothing pending; the memory stays.
    void ClearAll();

    QString EntryText() const { return m_entry; }
    void SetEntryText(const QString &text) { m_entry = text; }
    QString Display() const { return m_display; }
    void SetDisplay(const QString &text) { m_display = text; }
    // True while the display shows an error instead of a number.
    bool Error() const { return m_error; }
    // The memory marker shows while the memory holds a value.
    bool MemoryShown() const { return m_memory != 0; }
    double MemoryValue() const { return m_memory; }
    Op Pending() const { return m_pending; }

    // What a typed character presses: a digit key (0 to 9, 10 for the decimal separator, typed
    // as "." or ","), a function key ("=" 0, "+" 1, "-" 2, "*" 3, "/" 4), or nothing.
    enum class KeyKind { None, Digit, Function };
    static KeyKind KeyOfChar(QChar c, int &index);

    // The value of a number text in the person's form ("12,5", "1,234.50", "5." and ".5"
    // included); nullopt for anything else.
    static std::optional<double> ValueOf(const QString &text);
    // A value as the entry holds it: the decimal separator, no grouping, no trailing zeros.
    static QString EntryOf(double value);

private:
    // Shows the error and forgets the calculation (the memory stays).
    void Fail();
    bool Usable(double v) const;

    QString m_entry;
    QString m_display;
    double m_accumulator = 0;
    bool m_haveAccumulator = false;   // a zero first operand still counts
    double m_operand = 0;
    double m_result = 0;
    double m_memory = 0;
    Op m_pending = Fresh;
    bool m_error = false;
};
