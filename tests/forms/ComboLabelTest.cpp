#include "platform/forms/ComboBox.h"
#include "platform/forms/Label.h"
#include "platform/forms/Tag.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using forms::ComboBox;
using forms::Label;

TEST(FormsComboBox, ItemsKeepTheirDataAndAddingChoosesNothing)
{
    ComboBox cmb;
    QSignalSpy click(&cmb, &ComboBox::Click);
    cmb.AddItem("10.12.2026");
    cmb.SetItemData(cmb.NewIndex(), 20261210);
    EXPECT_EQ(cmb.ListIndex(), -1);   // Qt would choose the first item itself
    EXPECT_EQ(cmb.Text(), "");
    cmb.AddItem("12.12.2026");
    cmb.SetItemData(cmb.NewIndex(), 20261212);
    cmb.AddItem("11.12.2026", 1);     // inserted: the later items move down with their data
    EXPECT_EQ(cmb.NewIndex(), 1);
    cmb.SetItemData(cmb.NewIndex(), 20261211);
    ASSERT_EQ(cmb.ListCount(), 3);
    EXPECT_EQ(cmb.List(2), "12.12.2026");
    EXPECT_EQ(cmb.ItemData(2), 20261212);
    EXPECT_EQ(cmb.ItemData(1), 20261211);
    EXPECT_EQ(cmb.ItemData(0), 20261210);
    EXPECT_EQ(cmb.List(3), "");
    EXPECT_EQ(cmb.ItemData(-1), 0);
    EXPECT_EQ(click.count(), 0);

    // Setting ListIndex raises Click every time, also for the item already chosen.
    cmb.SetListIndex(2);
    EXPECT_EQ(cmb.ListIndex(), 2);
    EXPECT_EQ(cmb.Text(), "12.12.2026");
    cmb.SetListIndex(2);
    EXPECT_EQ(click.count(), 2);
    cmb.SetListIndex(7);   // out of range: nothing
    EXPECT_EQ(cmb.ListIndex(), 2);
    cmb.SetListIndex(-1);  // no choice: no Click
    EXPECT_EQ(cmb.ListIndex(), -1);
    EXPECT_EQ(click.count(), 2);

    // Removing the chosen item leaves no choice; Clear empties the list.
    cmb.SetListIndex(1);
    cmb.RemoveItem(1);
    EXPECT_EQ(cmb.ListIndex(), -1);
    EXPECT_EQ(cmb.ItemData(1), 20261212);
    cmb.Clear();
    EXPECT_EQ(cmb.ListCount(), 0);
    EXPECT_EQ(cmb.ListIndex(), -1);
    cmb.AddItem("again");
    EXPECT_EQ(cmb.ListIndex(), -1);
    EXPECT_EQ(cmb.ItemData(0), 0);
}

TEST(FormsLabel, ChangeFiresOncePerCaptionChange)
{
    Label lbl;
    QStringList seen;
    QObject::connect(&lbl, &Label::Change, [&] { seen << lbl.Caption(); });
    lbl.SetCaption("10.12.2026");
    lbl.SetCaption("10.12.2026");   // the caption it shows: no change
    lbl.SetCaption("11.12.2026");
    lbl.SetCaption("");
    lbl.SetCaption("");
    EXPECT_EQ(seen, (QStringList{"10.12.2026", "11.12.2026", ""}));

    // A handler that sets the caption again runs nested, once for its own change.
    int depth = 0, maxDepth = 0;
    Label day;
    QObject::connect(&day, &Label::Change, [&] {
        ++depth;
        maxDepth = qMax(maxDepth, depth);
        if (day.Caption() == "bad")
            day.SetCaption("fixed");
        --depth;
    });
    day.SetCaption("bad");
    EXPECT_EQ(day.Caption(), "fixed");
    EXPECT_EQ(maxDepth, 2);

    // Captions are plain text, never markup.
    lbl.SetCaption("<b>x</b>");
    EXPECT_EQ(lbl.textFormat(), Qt::PlainText);
}

TEST(FormsLabel, ClickColoursAndTag)
{
    Label lbl("00:00");
    lbl.resize(60, 20);
    lbl.show();
    QSignalSpy click(&lbl, &Label::Click);
    QTest::mouseClick(&lbl, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(click.count(), 1);
    QTest::mouseClick(&lbl, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(click.count(), 1);

    lbl.SetBackColor(0x0000FF);
    lbl.SetForeColor(0x00FFFF);
    EXPECT_EQ(lbl.palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(lbl.palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(lbl.BackColor(), 0x0000FF);

    forms::SetTag(&lbl, "20261210");
    EXPECT_EQ(forms::Tag(&lbl), "20261210");
    EXPECT_EQ(forms::Tag(nullptr), "");
}
