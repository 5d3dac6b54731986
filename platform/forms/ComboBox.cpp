#include "platform/forms/ComboBox.h"

namespace forms {

namespace {
constexpr int kItemDataRole = Qt::UserRole;
}

ComboBox::ComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int) { emit Click(); });
}

void ComboBox::AddItem(const QString &text, int index)
{
    const int before = currentIndex();
    if (index < 0 || index > count())
        index = count();
    {
        // Qt chooses the first item added to an empty list; the windows expect no choice.
        QSignalBlocker block(this);
        insertItem(index, text, QVariant(0));
        if (before < 0 && currentIndex() >= 0)
            setCurrentIndex(-1);
    }
    m_newIndex = index;
}

void ComboBox::RemoveItem(int index)
{
    if (index < 0 || index >= count())
        return;
    const bool wasChosen = index == currentIndex();
    QSignalBlocker block(this);
    removeItem(index);
    // Removing the chosen item leaves no choice (Qt would choose a neighbour).
    if (wasChosen)
        setCurrentIndex(-1);
}

void ComboBox::Clear()
{
    QSignalBlocker block(this);
    clear();
    m_newIndex = -1;
}

QString ComboBox::List(int index) const
{
    return (index < 0 || index >= count()) ? QString() : itemText(index);
}

void ComboBox::SetList(int index, const QString &text)
{
    if (index >= 0 && index < count())
        setItemText(index, text);
}

int ComboBox::ItemData(int index) const
{
    return (index < 0 || index >= count()) ? 0 : itemData(index, kItemDataRole).toInt();
}

void ComboBox::SetItemData(int index, int data)
{
    if (index >= 0 && index < count())
        setItemData(index, data, kItemDataRole);
}

void ComboBox::SetListIndex(int index)
{
    if (index < -1 || index >= count())
        return;
    {
        QSignalBlocker block(this);
        setCurrentIndex(index);
    }
    if (index >= 0)
        emit Click();
}

} // namespace forms
