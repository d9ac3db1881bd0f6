#include <gtest/gtest.h>

#include "foundation/AMState.h"
#include "runtime/Forms.h"
#include "runtime/SimpleXml.h"
#include "toolbar/controls/AMFlatComboBox.h"
#include "toolbar/controls/AMStdCtrls.h"
#include "toolbar/controls/amsizepanel.h"

using namespace toolbar;

namespace {
void FillFrequencies(TAMFlatComboBox& box) {
    box.SetItems(rt::TStringList{"Whenever an update is released (Recommended)", "Once a week", "Once a month", "Never"});
    box.SetValues(rt::TStringList{"1", "7", "30", "10000"});
}
}  // namespace

TEST(AMFlatComboBox, ValuesBesideCaptions) {
    TAMFlatComboBox box(nullptr);
    EXPECT_EQ(box.DropDownCount(), 20);
    EXPECT_EQ(box.selectedItem(), "");
    EXPECT_EQ(box.ItemIndex(), -1);
    FillFrequencies(box);
    EXPECT_EQ(box.selectedValue(), "1");
    EXPECT_EQ(box.ItemIndex(), 0);
    box.SetSelectedValue("30");
    EXPECT_EQ(box.selectedItem(), "Once a month");
    box.SetSelectedValue("31");
    EXPECT_EQ(box.ItemIndex(), 2);
    box.SetSelectedItem("NEVER");
    EXPECT_EQ(box.selectedValue(), "10000");
    box.SetSelectedItem("Sometimes");
    EXPECT_EQ(box.ItemIndex(), 3);
    // Values shorter than the entries.
    box.Values().Delete(3);
    EXPECT_EQ(box.selectedValue(), "");
    // Bound by property name, as the options dialog does.
    rt::SetStrProp(box, "selectedValue", "7");
    EXPECT_EQ(rt::GetStrProp(box, "selectedItem"), "Once a week");
}

TEST(AMFlatComboBox, TypingNeverSelects) {
    TAMFlatComboBox box(nullptr);
    FillFrequencies(box);
    box.TypeText("Once");
    EXPECT_EQ(box.ItemIndex(), -1);
    EXPECT_EQ(box.Text(), "Once");
}

TEST(AMFlatComboBox, ItemsFromXml) {
    TAMFlatComboBox box(nullptr);
    FillFrequencies(box);
    rt::TStringList xml{"<list>", "<a caption=\"Ten\" value=\"10\"/>", "<b caption='Twenty' value='20' checked='TRUE'/>",
                        "<c caption=\"Thirty &amp; more\" value=\"30\" checked=\"true\"/>", "</list>"};
    rt::SetObjectProp(box, "ItemsAsXml", &xml);
    EXPECT_EQ(box.Items().ToVector(), (std::vector<std::string>{"Ten", "Twenty", "Thirty & more"}));
    EXPECT_EQ(box.Values().ToVector(), (std::vector<std::string>{"10", "20", "30"}));
    EXPECT_EQ(box.ItemIndex(), 2);  // the last checked wins
    box.SetItemsAsXml(nullptr);
    EXPECT_EQ(box.Items().Count(), 3);
    rt::TStringList empty;
    box.SetItemsAsXml(&empty);
    EXPECT_EQ(box.Items().Count(), 0);
    EXPECT_EQ(box.Values().Count(), 0);
    rt::TStringList broken{"<list><a caption=\"x\">"};
    EXPECT_THROW(box.SetItemsAsXml(&broken), rt::EXmlError);
}

TEST(AMCheckBox, TextsOfTheState) {
    TAMCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = [&](rt::TObject*) { ++clicks; };
    for (const char* t : {"True", "true", "1", "5"}) {
        box.SetCheckedAsStr("False");
        box.SetCheckedAsStr(t);
        EXPECT_TRUE(box.Checked()) << t;
    }
    for (const char* t : {"False", "0", "no", ""}) {
        box.SetCheckedAsStr("true");
        box.SetCheckedAsStr(t);
        EXPECT_FALSE(box.Checked()) << t;
    }
    EXPECT_EQ(box.CheckedAsStr(), "false");
    EXPECT_THROW(box.SetCheckedAsStr("-"), rt::EConvertError);
    box.SetTrueAsStr("yes");
    box.SetFalseAsStr("nope");
    box.SetCheckedAsStr("YES");
    EXPECT_EQ(box.CheckedAsStr(), "yes");
    box.SetCheckedAsStr("true");
    EXPECT_EQ(box.CheckedAsStr(), "nope");
    EXPECT_EQ(clicks, 0);  // never through the text or the no-event flag
    box.Toggle();          // the mouse
    EXPECT_EQ(clicks, 1);
}

TEST(AMCheckBox, BoundToASavedValueByName) {
    foundation::TAMSaveValue value(nullptr);
    value.SetValue("True");
    TAMCheckBox box(nullptr);
    int clicks = 0;
    box.OnClick = [&](rt::TObject*) { ++clicks; };
    rt::SetOrdProp(box, "CheckedNoEvent", rt::GetOrdProp(value, "AsBoolean"));
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 0);
}

TEST(AMSizePanel, ResizedOnTheLeftButtonOnly) {
    rt::TForm form(nullptr);
    form.SetBounds(0, 0, 500, 24);
    TAMSizePanel panel(nullptr);
    EXPECT_EQ(panel.Align(), rt::TAlign::alLeft);
    EXPECT_EQ(panel.HotSpotHighlight(), 12615808);
    EXPECT_EQ(panel.SizeBarStyle(), TSizeBarStyle::sbsBump);
    EXPECT_FALSE(panel.HotSpotVisible());
    panel.SetWidth(150);
    panel.SetParent(&form);
    int resized = 0;
    panel.OnResized = [&](rt::TObject*) { ++resized; };
    panel.MouseUp(rt::TMouseButton::mbRight, {}, 10, 10);
    EXPECT_EQ(resized, 0);
    // Drag the bar on the right edge to 200.
    panel.MouseDown(rt::TMouseButton::mbLeft, {}, 148, 5);
    panel.MouseMove({}, 198, 5);
    EXPECT_EQ(panel.Width(), 200);  // live
    panel.MouseUp(rt::TMouseButton::mbLeft, {}, 198, 5);
    EXPECT_EQ(resized, 1);
    EXPECT_FALSE(panel.Sizing());
    panel.MouseUp(rt::TMouseButton::mbLeft, {}, 900, 5);  // released off the panel
    EXPECT_EQ(resized, 1);
    // The minimum width holds while dragging.
    panel.SetMinWidth(60);
    panel.MouseDown(rt::TMouseButton::mbLeft, {}, 198, 5);
    panel.MouseMove({}, 3, 5);
    EXPECT_EQ(panel.Width(), 60);
}
