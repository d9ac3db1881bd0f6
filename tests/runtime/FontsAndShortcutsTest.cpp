// Fonts and cursors on controls, images with their double click, shortcut
// texts, and a form's main menu.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ChangeRecorder.h"
#include "HostPlatformTest.h"
#include "runtime/Forms.h"
#include "runtime/Images.h"
#include "runtime/Menus.h"
#include "runtime/StdCtrls.h"

using namespace rt;

TEST(Fonts, ChildrenFollowTheirParentUntilTheyChangeTheirOwn) {
    rt_test::ScopedRecorder recorder;
    TForm form(nullptr);
    EXPECT_EQ(form.Font().Name(), "MS Sans Serif");
    EXPECT_EQ(form.Font().Size(), 8);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    auto* title = new TLabel(&form);
    title->SetParent(panel);
    auto* text = new TLabel(&form);
    text->SetParent(panel);

    form.Font().SetName("Tahoma");
    EXPECT_EQ(title->Font().Name(), "Tahoma");  // through the panel
    EXPECT_TRUE(title->ParentFont());

    // A bold title: its own font from now on.
    title->Font().SetStyle(TFontStyles{TFontStyle::fsBold});
    EXPECT_FALSE(title->ParentFont());
    form.Font().SetSize(10);
    EXPECT_EQ(text->Font().Size(), 10);
    EXPECT_EQ(title->Font().Size(), 8);
    EXPECT_TRUE(title->Font().Style().Contains(TFontStyle::fsBold));
    // ParentFont back on takes the parent's again.
    title->SetParentFont(true);
    EXPECT_EQ(title->Font().Size(), 10);
    EXPECT_FALSE(title->Font().Style().Contains(TFontStyle::fsBold));

    // A control put on a parent takes its font.
    TLabel late(nullptr);
    late.SetParent(panel);
    EXPECT_EQ(late.Font().Name(), "Tahoma");
    late.SetParent(nullptr);

    // The backend hears of every font that changed, and only then.
    recorder->changes.clear();
    text->Font().SetColor(clBlue);
    EXPECT_EQ(recorder->Count(*text, TControlChange::Font), 1);
    text->Font().SetColor(clBlue);
    EXPECT_EQ(recorder->Count(*text, TControlChange::Font), 1);
    form.Font().SetName("Courier New");
    EXPECT_EQ(recorder->Count(form, TControlChange::Font), 1);
    EXPECT_EQ(recorder->Count(*panel, TControlChange::Font), 1);
    EXPECT_EQ(recorder->Count(*title, TControlChange::Font), 1);
    EXPECT_EQ(recorder->Count(*text, TControlChange::Font), 1);  // its own now: untouched
    text->SetColor(clBtnFace);
    EXPECT_EQ(recorder->Count(*text, TControlChange::Color), 1);
}

TEST(Fonts, CopiedAssignedAndPublished) {
    TFont font;
    font.SetName("Courier New");
    font.SetStyle(TFontStyles{TFontStyle::fsItalic, TFontStyle::fsUnderline});
    int changes = 0;
    TFont other;
    other.OnChange = [&](TFont&) { ++changes; };
    other.Assign(font);
    other.Assign(font);
    EXPECT_EQ(changes, 1);  // one change per Assign, none when equal
    EXPECT_TRUE(other.SameAs(font));
    TFont copy(font);
    EXPECT_FALSE(static_cast<bool>(copy.OnChange));
    EXPECT_EQ(copy.Name(), "Courier New");
    EXPECT_THROW(other.Assign(TStringList{}), EConvertError);
    EXPECT_EQ(font.HeightAt(96), -11);  // 8 points at 96 dpi
    font.SetSize(10);
    EXPECT_EQ(font.HeightAt(96), -13);

    TLabel label(nullptr);
    SetObjectProp(label, "Font", &font);
    EXPECT_EQ(label.Font().Name(), "Courier New");
    EXPECT_FALSE(label.ParentFont());
    auto* published = dynamic_cast<TFont*>(GetObjectProp(label, "Font"));
    ASSERT_NE(published, nullptr);
    SetPropText(*published, "Size", "12");
    EXPECT_EQ(label.Font().Size(), 12);
    SetOrdProp(*published, "Style", TFontStyles{TFontStyle::fsBold}.Mask());
    EXPECT_TRUE(label.Font().Style().Contains(TFontStyle::fsBold));
    EXPECT_FALSE(label.Font().Style().Contains(TFontStyle::fsItalic));
    EXPECT_EQ(SystemColorIndex(clWindowText), 8);
    EXPECT_EQ(SystemColorIndex(clBlue), -1);
}

TEST(Cursors, ALinkLabelIsALabelWithTheHandAndAClick) {
    TLabel link(nullptr);
    EXPECT_EQ(link.Cursor(), crDefault);
    SetPropText(link, "Cursor", std::to_string(crHandPoint));
    EXPECT_EQ(link.Cursor(), crHandPoint);
    link.Font().SetColor(clBlue);
    link.Font().SetStyle(TFontStyles{TFontStyle::fsUnderline});
    link.SetCaption("http://www.zephyra.example/");
    std::string clicked;
    link.OnClick = [&](TObject* sender) { clicked = static_cast<TLabel*>(sender)->Caption(); };
    link.Click();
    EXPECT_EQ(clicked, "http://www.zephyra.example/");
}

class ImageTest : public HostPlatformTest {};

TEST_F(ImageTest, ADoubleClickCarriesTheModifierKeys) {
    TImage logo(nullptr);
    std::vector<bool> ctrl;
    logo.OnDblClick = [&](TObject* sender) {
        ctrl.push_back(static_cast<TControl*>(sender)->ClickShift().Contains(TShiftKey::Ctrl));
    };
    logo.DblClick();  // the keyboard port's state: nothing held
    host_.keyboard->SetKeyDown(platform::vk::Control, true);
    logo.DblClick();  // Ctrl held now
    EXPECT_TRUE(KeyboardShiftState().Contains(TShiftKey::Ctrl));
    host_.keyboard->SetKeyDown(platform::vk::Control, false);
    logo.DblClick(TShiftState().Include(TShiftKey::Ctrl));  // as the backend passes the message's keys
    logo.DblClick(TShiftState());
    EXPECT_EQ(ctrl, (std::vector<bool>{false, true, true, false}));
}

TEST(Image, PictureSizeAndFlags) {
    rt_test::ScopedRecorder recorder;
    TImage image(nullptr);
    image.SetBounds(10, 20, 105, 105);
    image.SetPicture("LOGO", 200, 50);
    EXPECT_EQ(image.Width(), 105);  // no AutoSize: the control keeps its size
    SetPropText(image, "AutoSize", "True");
    EXPECT_EQ(image.Width(), 200);
    EXPECT_EQ(image.Height(), 50);
    EXPECT_EQ(image.Left(), 10);
    image.SetPicture("OTHER", 30, 40);
    EXPECT_EQ(image.Width(), 30);
    image.SetPicture("UNSIZED");  // size not known: the control stays
    EXPECT_EQ(image.Height(), 40);
    EXPECT_EQ(recorder->Count(image, TControlChange::Picture), 3);
    SetPropText(image, "Stretch", "True");
    SetPropText(image, "Transparent", "True");
    image.SetTransparent(true);
    EXPECT_TRUE(image.Stretch());
    EXPECT_EQ(recorder->Count(image, TControlChange::Style), 3);  // AutoSize, Stretch, Transparent
    EXPECT_EQ(GetStrProp(image, "Picture"), "UNSIZED");
    image.SetPicture("");
    EXPECT_EQ(image.PictureWidth(), 0);
}

TEST(ShortCuts, TextAndBack) {
    const TShortCut ctrlS = ShortCut('S', TShiftState().Include(TShiftKey::Ctrl));
    EXPECT_EQ(ctrlS, scCtrl | 'S');
    EXPECT_EQ(ShortCutToText(ctrlS), "Ctrl+S");
    EXPECT_EQ(ShortCutToText(0x2E), "Del");
    EXPECT_EQ(ShortCutToText(scShift | scCtrl | scAlt | 0x72), "Shift+Ctrl+Alt+F3");
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(0x5B), "");  // the Windows key has no name here

    EXPECT_EQ(TextToShortCut("Ctrl+S"), ctrlS);
    EXPECT_EQ(TextToShortCut("ctrl+f"), scCtrl | 'F');
    EXPECT_EQ(TextToShortCut("Del"), 0x2E);
    EXPECT_EQ(TextToShortCut(" Alt + Shift+F12 "), scAlt | scShift | 0x7B);
    EXPECT_EQ(TextToShortCut("Ctrl+"), 0);
    EXPECT_EQ(TextToShortCut("Hyper+S"), 0);
    EXPECT_EQ(TextToShortCut("Nothing"), 0);
    EXPECT_EQ(TextToShortCut(""), 0);
    for (TShortCut s : {TShortCut(scCtrl | 'X'), TShortCut(0x0D), TShortCut(scShift | 0x09), TShortCut(0x21)})
        EXPECT_EQ(TextToShortCut(ShortCutToText(s)), s) << ShortCutToText(s);
    unsigned short key = 0;
    TShiftState shift;
    ShortCutToKey(scShift | scAlt | 'Q', key, shift);
    EXPECT_EQ(key, 'Q');
    EXPECT_TRUE(shift.Contains(TShiftKey::Shift) && shift.Contains(TShiftKey::Alt) && !shift.Contains(TShiftKey::Ctrl));
}

TEST(MainMenu, TheFormsMenuAnswersItsShortcuts) {
    rt_test::ScopedRecorder recorder;
    TForm form(nullptr);
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(menu);
    file->SetCaption("&File");
    menu->Items()->Add(file);
    auto* save = new TMenuItem(menu);
    save->SetCaption("Save Page &As...");
    save->SetShortCut(TextToShortCut("Ctrl+S"));
    file->Add(save);
    int saves = 0;
    save->OnClick = [&](TObject*) { ++saves; };
    form.SetMenu(menu);
    EXPECT_EQ(GetObjectProp(form, "Menu"), menu);
    EXPECT_EQ(recorder->Count(form, TControlChange::Menu), 1);

    int previewed = 0;
    form.SetKeyPreview(true);
    form.OnKeyDown = [&](TObject*, unsigned short&, TShiftState) { ++previewed; };
    const TShiftState ctrl = TShiftState().Include(TShiftKey::Ctrl);
    form.KeyDown('S', ctrl);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(previewed, 0);  // a shortcut goes no further
    form.KeyDown('S', {});
    EXPECT_EQ(previewed, 1);
    save->SetEnabled(false);
    form.KeyDown('S', ctrl);
    EXPECT_EQ(saves, 1);
    save->SetEnabled(true);
    file->SetVisible(false);  // an entry under a hidden one cannot be picked
    form.KeyDown('S', ctrl);
    EXPECT_EQ(saves, 1);

    // Freeing the menu takes it off the form.
    delete menu;
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(recorder->Count(form, TControlChange::Menu), 2);
    form.KeyDown('S', ctrl);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(previewed, 4);  // every key that was no shortcut
}
