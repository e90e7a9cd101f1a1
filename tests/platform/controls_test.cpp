#include <gtest/gtest.h>

#include "platform/controls.h"

using verrane::platform::ComboBox;

TEST(ComboBox, SelectTextChoosesTheFirstExactEntryAndClicksOnce) {
    ComboBox c;
    for (const char* s : {" Click State", "Texas", "Texas", "texas"}) c.addItem(s);
    int clicks = 0;
    c.onClick = [&] { ++clicks; };
    EXPECT_TRUE(c.selectText("Texas"));
    EXPECT_EQ(c.listIndex(), 1);
    EXPECT_EQ(clicks, 1);
    // The same entry again is no change, so no click.
    EXPECT_TRUE(c.selectText("Texas"));
    EXPECT_EQ(clicks, 1);
    // Unknown text, or text only before `from`, leaves the choice alone.
    EXPECT_FALSE(c.selectText("Utah"));
    EXPECT_FALSE(c.selectText(" Click State", 1));
    EXPECT_EQ(c.listIndex(), 1);
    EXPECT_EQ(c.findText("texas"), 3);
    EXPECT_EQ(c.findText("Texas", 2), 2);
    EXPECT_EQ(c.findText("Texas", 4), -1);
}
