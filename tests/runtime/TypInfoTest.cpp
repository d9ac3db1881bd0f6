#include <gtest/gtest.h>

#include "runtime/Classes.h"

using namespace rt;

namespace {

enum class TAlign { alNone, alTop, alBottom, alClient };

class TWidget : public TComponent {
    RT_CLASS(TWidget)
public:
    using TComponent::TComponent;

    int width = 0;
    std::int64_t size = 0;
    char letter = 'a';
    bool visible = false;
    TAlign align = TAlign::alNone;
    std::uint32_t styles = 0;
    double ratio = 0;
    std::string caption;
    Variant data;
    TObject* link = nullptr;

    int Width() const { return width; }
    void SetWidth(int v) { width = v; }
    std::int64_t Size() const { return size; }
    void SetSize(std::int64_t v) { size = v; }
    char Letter() const { return letter; }
    void SetLetter(char v) { letter = v; }
    bool Visible() const { return visible; }
    void SetVisible(bool v) { visible = v; }
    TAlign Align() const { return align; }
    void SetAlign(TAlign v) { align = v; }
    std::uint32_t Styles() const { return styles; }
    void SetStyles(std::uint32_t v) { styles = v; }
    double Ratio() const { return ratio; }
    void SetRatio(double v) { ratio = v; }
    const std::string& Caption() const { return caption; }
    void SetCaption(const std::string& v) { caption = v; }
    Variant Data() const { return data; }
    void SetData(const Variant& v) { data = v; }
    TObject* Link() const { return link; }
    void SetLink(TObject* v) { link = v; }
};

TPropInfo ReadOnly(TPropInfo p) {
    p.SetOrd = nullptr;
    return p;
}

const TPropList& TWidget::ClassProperties() {
    static const TPropList list(
        TComponent::ClassProperties(),
        {
            props::Integer<TWidget>("Width", &TWidget::Width, &TWidget::SetWidth),
            props::Int64<TWidget>("Size", &TWidget::Size, &TWidget::SetSize),
            props::Char<TWidget>("Letter", &TWidget::Letter, &TWidget::SetLetter),
            props::Boolean<TWidget>("Visible", &TWidget::Visible, &TWidget::SetVisible),
            props::Enumeration<TWidget, TAlign>("Align", "TAlign", {"alNone", "alTop", "alBottom", "alClient"},
                                                &TWidget::Align, &TWidget::SetAlign),
            props::Set<TWidget>("Styles", "TStyles", &TWidget::Styles, &TWidget::SetStyles),
            props::Float<TWidget>("Ratio", &TWidget::Ratio, &TWidget::SetRatio),
            props::String<TWidget>("Caption", &TWidget::Caption, &TWidget::SetCaption),
            props::VariantProp<TWidget>("Data", &TWidget::Data, &TWidget::SetData),
            props::Object<TWidget>("Link", "TObject", &TWidget::Link, &TWidget::SetLink),
            props::Method("OnClick"),
            ReadOnly(props::Integer<TWidget>("Count", &TWidget::Width, &TWidget::SetWidth)),
        });
    return list;
}

// A class that republishes Tag as a read-only property of its own.
class TLabelWidget : public TWidget {
    RT_CLASS(TLabelWidget)
public:
    using TWidget::TWidget;
};

const TPropList& TLabelWidget::ClassProperties() {
    static const TPropList list(TWidget::ClassProperties(),
                                {
                                    props::String<TLabelWidget>("tag", &TLabelWidget::Caption, &TLabelWidget::SetCaption),
                                    props::Integer<TLabelWidget>("Extra", &TLabelWidget::Width, &TLabelWidget::SetWidth),
                                });
    return list;
}

template <class E>
std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const E& e) {
        return e.Message();
    }
    return "";
}

}  // namespace

TEST(TypInfo, ListHasBasePropertiesThenOwn) {
    TWidget w(nullptr);
    const auto& items = w.Properties().Items();
    ASSERT_EQ(items.size(), 14u);
    EXPECT_EQ(items[0].Name, "Name");
    EXPECT_EQ(items[1].Name, "Tag");
    EXPECT_EQ(items[2].Name, "Width");
    EXPECT_EQ(items.back().Name, "Count");
    EXPECT_STREQ(w.ClassName(), "TWidget");
}

TEST(TypInfo, SameNameReplacesTheBaseProperty) {
    TLabelWidget w(nullptr);
    const auto& items = w.Properties().Items();
    ASSERT_EQ(items.size(), 15u);
    EXPECT_EQ(items[1].Name, "tag");  // in the base's place
    EXPECT_EQ(items[1].Kind, TTypeKind::String);
    EXPECT_EQ(items.back().Name, "Extra");
    SetStrProp(w, "TAG", "replaced");
    EXPECT_EQ(w.caption, "replaced");
    EXPECT_EQ(w.Tag(), 0);
}

TEST(TypInfo, FindIgnoresCase) {
    TWidget w(nullptr);
    EXPECT_EQ(w.Properties().Find("width"), &w.Properties().Items()[2]);
    EXPECT_EQ(GetPropInfo(w, "CAPTION")->Name, "Caption");
    EXPECT_EQ(GetPropInfo(w, "Nope"), nullptr);
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { PropInfoOf(w, "Nope"); }), "Unknown property: \"Nope\"");
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetOrdProp(w, "Nope"); }), "Unknown property: \"Nope\"");
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { SetPropText(w, "Nope", "1"); }), "Unknown property: \"Nope\"");
}

TEST(TypInfo, OrdinalKindsReadAndWrite) {
    TWidget w(nullptr);
    SetOrdProp(w, "Width", 640);
    SetOrdProp(w, "Size", 5000000000LL);
    SetOrdProp(w, "Letter", 'Z');
    SetOrdProp(w, "Visible", 1);
    SetOrdProp(w, "Align", 3);
    SetOrdProp(w, "Styles", 0x5);
    EXPECT_EQ(w.width, 640);
    EXPECT_EQ(w.size, 5000000000LL);
    EXPECT_EQ(w.letter, 'Z');
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.align, TAlign::alClient);
    EXPECT_EQ(w.styles, 5u);
    EXPECT_EQ(GetOrdProp(w, "width"), 640);
    EXPECT_EQ(GetOrdProp(w, "Size"), 5000000000LL);
    EXPECT_EQ(GetOrdProp(w, "Letter"), 'Z');
    EXPECT_EQ(GetOrdProp(w, "Visible"), 1);
    EXPECT_EQ(GetOrdProp(w, "Align"), 3);
    EXPECT_EQ(GetOrdProp(w, "Styles"), 5);
}

TEST(TypInfo, ClassPropertyReadsAsItsPointerValue) {
    TWidget w(nullptr);
    TObject target;
    SetObjectProp(w, "Link", &target);
    EXPECT_EQ(GetObjectProp(w, "Link"), &target);
    EXPECT_EQ(GetOrdProp(w, "Link"), static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(&target)));
}

TEST(TypInfo, OtherKindsReadAndWrite) {
    TWidget w(nullptr);
    SetFloatProp(w, "Ratio", 1.25);
    SetStrProp(w, "Caption", "Hello");
    SetVariantProp(w, "Data", Variant(7));
    EXPECT_EQ(GetFloatProp(w, "Ratio"), 1.25);
    EXPECT_EQ(GetStrProp(w, "Caption"), "Hello");
    EXPECT_EQ(GetVariantProp(w, "Data"), Variant(7));
}

TEST(TypInfo, WrongKindRaisesWithTheTypeName) {
    TWidget w(nullptr);
    auto invalid = [](const std::string& type) { return "Invalid property type: " + type; };
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetOrdProp(w, "Ratio"); }), invalid("Double"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetOrdProp(w, "Caption"); }), invalid("String"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetOrdProp(w, "OnClick"); }), invalid("TNotifyEvent"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { SetOrdProp(w, "Data", 1); }), invalid("Variant"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetFloatProp(w, "Width"); }), invalid("Integer"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { SetFloatProp(w, "Size", 1); }), invalid("Int64"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetStrProp(w, "Visible"); }), invalid("Boolean"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { SetStrProp(w, "Align", "x"); }), invalid("TAlign"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetVariantProp(w, "Caption"); }), invalid("String"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetObjectProp(w, "Width"); }), invalid("Integer"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { SetObjectProp(w, "Letter", nullptr); }), invalid("Char"));
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { GetPropText(w, "Link"); }), invalid("TObject"));
}

TEST(TypInfo, ReadOnlyPropertyRefusesWrites) {
    TWidget w(nullptr);
    w.width = 3;
    const TPropInfo* count = GetPropInfo(w, "Count");
    ASSERT_NE(count, nullptr);
    EXPECT_FALSE(count->IsWritable());
    EXPECT_TRUE(GetPropInfo(w, "Width")->IsWritable());
    EXPECT_FALSE(GetPropInfo(w, "OnClick")->IsWritable());
    EXPECT_EQ(GetOrdProp(w, "Count"), 3);
    EXPECT_EQ(ErrorOf<EPropertyError>([&] { SetOrdProp(w, "Count", 1); }), "Invalid property type: Integer");
}

TEST(TypInfo, PropTextByKind) {
    TWidget w(nullptr);
    w.width = -12;
    w.size = 1LL << 40;
    w.letter = 'q';
    w.visible = true;
    w.align = TAlign::alBottom;
    w.styles = 6;
    w.ratio = 2.5;
    w.caption = "Text here";
    w.data = Variant(std::string("v"));
    EXPECT_EQ(GetPropText(w, "Width"), "-12");
    EXPECT_EQ(GetPropText(w, "Size"), "1099511627776");
    EXPECT_EQ(GetPropText(w, "Letter"), "q");
    EXPECT_EQ(GetPropText(w, "Visible"), "True");
    EXPECT_EQ(GetPropText(w, "Align"), "alBottom");
    EXPECT_EQ(GetPropText(w, "Styles"), "6");
    EXPECT_EQ(GetPropText(w, "Ratio"), "2.5");
    EXPECT_EQ(GetPropText(w, "Caption"), "Text here");
    EXPECT_EQ(GetPropText(w, "Data"), "v");
    w.align = static_cast<TAlign>(9);
    EXPECT_EQ(GetPropText(w, "Align"), "9");
    w.letter = '\0';
    EXPECT_EQ(GetPropText(w, "Letter"), "");
    SetPropText(w, "Letter", "");
    EXPECT_EQ(w.letter, '\0');
    EXPECT_THROW(SetPropText(w, "Letter", "ab"), EConvertError);
}

TEST(TypInfo, SetPropTextByKind) {
    TWidget w(nullptr);
    SetPropText(w, "Width", "-7");
    SetPropText(w, "Size", "$10");
    SetPropText(w, "Letter", "x");
    SetPropText(w, "Visible", "true");
    SetPropText(w, "Align", "ALTOP");
    SetPropText(w, "Styles", "3");
    SetPropText(w, "Ratio", "0.125");
    SetPropText(w, "Caption", "New");
    SetPropText(w, "Data", "42");
    EXPECT_EQ(w.width, -7);
    EXPECT_EQ(w.size, 16);
    EXPECT_EQ(w.letter, 'x');
    EXPECT_TRUE(w.visible);
    EXPECT_EQ(w.align, TAlign::alTop);
    EXPECT_EQ(w.styles, 3u);
    EXPECT_EQ(w.ratio, 0.125);
    EXPECT_EQ(w.caption, "New");
    EXPECT_EQ(w.data, Variant(std::string("42")));  // set as text

    SetPropText(w, "Align", "2");  // an ordinal
    EXPECT_EQ(w.align, TAlign::alBottom);
    SetPropText(w, "Visible", "False");
    EXPECT_FALSE(w.visible);
}

TEST(TypInfo, SetPropTextRejectsBadText) {
    TWidget w(nullptr);
    EXPECT_EQ(ErrorOf<EConvertError>([&] { SetPropText(w, "Width", "abc"); }), "'abc' is not a valid integer value");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { SetPropText(w, "Width", " 1"); }), "' 1' is not a valid integer value");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { SetPropText(w, "Width", "99999999999"); }),
              "'99999999999' is not a valid integer value");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { SetPropText(w, "Ratio", "1,5"); }),
              "'1,5' is not a valid floating point value");
    EXPECT_THROW(SetPropText(w, "Align", "alLeft"), EConvertError);
    EXPECT_THROW(SetPropText(w, "Align", "4"), EConvertError);
    EXPECT_THROW(SetPropText(w, "Visible", "maybe"), EConvertError);
    EXPECT_THROW(SetPropText(w, "Link", "x"), EPropertyError);
    EXPECT_EQ(w.width, 0);
    EXPECT_EQ(w.align, TAlign::alNone);
}

// Copies every writable property by its kind, as the form storage and the
// options dialog do.
TEST(TypInfo, CopyEveryPropertyByKind) {
    TObject target;
    TWidget source(nullptr), copy(nullptr);
    source.SetName("Source");
    source.SetTag(5);
    source.width = 10;
    source.size = -3;
    source.letter = 'k';
    source.visible = true;
    source.align = TAlign::alClient;
    source.styles = 9;
    source.ratio = -0.5;
    source.caption = "cap";
    source.data = Variant(1.5);
    source.link = &target;

    for (const TPropInfo& p : source.Properties().Items()) {
        if (!p.IsWritable() || p.Name == "Name") continue;
        switch (p.Kind) {
        case TTypeKind::Float: SetFloatProp(copy, p.Name, GetFloatProp(source, p.Name)); break;
        case TTypeKind::String: SetStrProp(copy, p.Name, GetStrProp(source, p.Name)); break;
        case TTypeKind::Variant: SetVariantProp(copy, p.Name, GetVariantProp(source, p.Name)); break;
        case TTypeKind::Class: SetObjectProp(copy, p.Name, GetObjectProp(source, p.Name)); break;
        default: SetOrdProp(copy, p.Name, GetOrdProp(source, p.Name)); break;
        }
    }
    EXPECT_EQ(copy.Name(), "");
    EXPECT_EQ(copy.Tag(), 5);
    EXPECT_EQ(copy.width, 10);
    EXPECT_EQ(copy.size, -3);
    EXPECT_EQ(copy.letter, 'k');
    EXPECT_TRUE(copy.visible);
    EXPECT_EQ(copy.align, TAlign::alClient);
    EXPECT_EQ(copy.styles, 9u);
    EXPECT_EQ(copy.ratio, -0.5);
    EXPECT_EQ(copy.caption, "cap");
    EXPECT_EQ(copy.data, Variant(1.5));
    EXPECT_EQ(copy.link, &target);
}

TEST(TypInfo, TextRoundTripCopiesToo) {
    TWidget source(nullptr), copy(nullptr);
    source.width = 77;
    source.letter = '#';
    source.align = TAlign::alTop;
    source.ratio = 0.1;
    source.caption = "a=b";
    for (const char* name : {"Width", "Letter", "Align", "Ratio", "Caption", "Visible", "Styles", "Size"})
        SetPropText(copy, name, GetPropText(source, name));
    EXPECT_EQ(copy.width, 77);
    EXPECT_EQ(copy.letter, '#');
    EXPECT_EQ(copy.align, TAlign::alTop);
    EXPECT_EQ(copy.ratio, 0.1);
    EXPECT_EQ(copy.caption, "a=b");
}

TEST(TypInfo, KindNames) {
    EXPECT_STREQ(TypeKindName(TTypeKind::Integer), "tkInteger");
    EXPECT_STREQ(TypeKindName(TTypeKind::Enumeration), "tkEnumeration");
    EXPECT_STREQ(TypeKindName(TTypeKind::Float), "tkFloat");
    EXPECT_STREQ(TypeKindName(TTypeKind::Method), "tkMethod");
}
