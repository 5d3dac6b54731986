#pragma once
// A drop-down list with a number kept on every item (ItemData), addressed by index from 0.
// ListIndex -1 means no item is chosen; adding items never chooses one. Click fires when the
// person picks an item (also the one already chosen) and whenever code sets ListIndex to an
// item.
#include <QComboBox>

namespace forms {

class ComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ComboBox(QWidget *parent = nullptr);

    // Adds an item at the end, or before the item at index (0..ListCount()); NewIndex() is then
    // the new item's index.
    void AddItem(const QString &text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int NewIndex() const { return m_newIndex; }

    int ListCount() const { return count(); }
    QString List(int index) const;              // "" out of range
    void SetList(int index, const QString &text);
    int ItemData(int index) const;              // 0 out of range or when never set
    void SetItemData(int index, int data);

    int ListIndex() const { return currentIndex(); }
    // -1 clears the choice; an index out of range is ignored. Emits Click for an item.
    void SetListIndex(int index);
    QString Text() const { return currentText(); }

signals:
    void Click();

private:
    int m_newIndex = -1;
};

} // namespace forms
