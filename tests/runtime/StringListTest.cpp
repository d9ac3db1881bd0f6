#include <gtest/gtest.h>

#include "runtime/Classes.h"

using rt::TStringList;

namespace {
using Items = std::vector<std::string>;

std::string ListError(const std::function<void()>& f) {
    try {
        f();
    } catch (const rt::EListError& e) {
        return e.Message();
    }
    return "";
}
}  // namespace

TEST(StringList, AddInsertDeleteAndBounds) {
    TStringList list;
    EXPECT_EQ(list.Add("a"), 0);
    EXPECT_EQ(list.Add("c"), 1);
    list.Insert(1, "b");
    list.Insert(3, "d");  // at the end is allowed
    EXPECT_EQ(list.ToVector(), (Items{"a", "b", "c", "d"}));
    EXPECT_EQ(list[2], "c");
    list.Delete(0);
    EXPECT_EQ(list.ToVector(), (Items{"b", "c", "d"}));

    EXPECT_EQ(ListError([&] { list.Strings(3); }), "List index out of bounds (3)");
    EXPECT_EQ(ListError([&] { list.Strings(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ListError([&] { list.Insert(5, "x"); }), "List index out of bounds (5)");
    EXPECT_EQ(ListError([&] { list.Delete(3); }), "List index out of bounds (3)");
    EXPECT_EQ(ListError([&] { list.SetString(3, "x"); }), "List index out of bounds (3)");
    EXPECT_EQ(ListError([&] { list.Objects(7); }), "List index out of bounds (7)");
    EXPECT_EQ(ListError([&] { list.Exchange(0, 3); }), "List index out of bounds (3)");
    EXPECT_EQ(ListError([&] { list.Move(0, 3); }), "List index out of bounds (3)");
    EXPECT_EQ(ListError([&] { TStringList().Names(0); }), "List index out of bounds (0)");
    EXPECT_EQ(list.Count(), 3);
}

TEST(StringList, ObjectsTravelWithTheirItems) {
    TStringList list;
    rt::TObject a, b;
    list.AddObject("a", &a);
    list.Add("none");
    list.InsertObject(0, "b", &b);
    EXPECT_EQ(list.Objects(0), &b);
    EXPECT_EQ(list.Objects(1), &a);
    EXPECT_EQ(list.Objects(2), nullptr);
    EXPECT_EQ(list.IndexOfObject(&a), 1);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Objects(0), &a);
    list.Move(0, 2);
    EXPECT_EQ(list.ToVector(), (Items{"b", "none", "a"}));
    EXPECT_EQ(list.Objects(2), &a);
    list.SetObject(1, &b);
    EXPECT_EQ(list.IndexOfObject(&b), 0);
    EXPECT_EQ(list.IndexOfObject(nullptr), -1);
}

TEST(StringList, TextPutsCrLfAfterEveryItem) {
    TStringList list{"a", "", "b"};
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
    EXPECT_EQ(TStringList().Text(), "");
}

TEST(StringList, SetTextSplitsAtEveryKindOfLineBreak) {
    TStringList list;
    list.SetText("a\nb\r\nc\rd");
    EXPECT_EQ(list.ToVector(), (Items{"a", "b", "c", "d"}));
    list.SetText("a\r\n");
    EXPECT_EQ(list.ToVector(), (Items{"a"}));
    list.SetText("a\r\n\r\nb");
    EXPECT_EQ(list.ToVector(), (Items{"a", "", "b"}));
    list.SetText("\r\n");
    EXPECT_EQ(list.ToVector(), (Items{""}));
    list.SetText("a\n\n");
    EXPECT_EQ(list.ToVector(), (Items{"a", ""}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);
}

TEST(StringList, TextRoundTrips) {
    TStringList list{"first", "", "  blanks  ", "x=y", "last"};
    TStringList copy;
    copy.SetText(list.Text());
    EXPECT_EQ(copy.ToVector(), list.ToVector());
    EXPECT_EQ(copy.Text(), list.Text());
}

TEST(StringList, LookupsIgnoreCase) {
    TStringList list{"Alpha", "beta", "Key=Value", "other=x=y", "noequals"};
    EXPECT_EQ(list.IndexOf("ALPHA"), 0);
    EXPECT_EQ(list.IndexOf("Beta"), 1);
    EXPECT_EQ(list.IndexOf("gamma"), -1);
    EXPECT_EQ(list.IndexOfName("KEY"), 2);
    EXPECT_EQ(list.IndexOfName("noequals"), -1);
    EXPECT_EQ(list.Values("key"), "Value");
    EXPECT_EQ(list.Values("OTHER"), "x=y");
    EXPECT_EQ(list.Values("missing"), "");
    EXPECT_EQ(list.Names(3), "other");
    EXPECT_EQ(list.ValueFromIndex(3), "x=y");
    EXPECT_EQ(list.Names(4), "");
    EXPECT_EQ(list.ValueFromIndex(4), "");
}

TEST(StringList, SetValueAddsReplacesAndRemoves) {
    TStringList list{"a=1"};
    list.SetValue("b", "2");
    list.SetValue("A", "3");
    EXPECT_EQ(list.ToVector(), (Items{"A=3", "b=2"}));
    list.SetValue("a", "");
    EXPECT_EQ(list.ToVector(), (Items{"b=2"}));
    list.SetValue("missing", "");
    EXPECT_EQ(list.ToVector(), (Items{"b=2"}));
}

TEST(StringList, SortIgnoresCaseAndIsStable) {
    TStringList list{"b", "A", "a", "B", "c", "_", "C"};
    list.Sort();
    EXPECT_EQ(list.ToVector(), (Items{"A", "a", "b", "B", "c", "C", "_"}));
}

TEST(StringList, SortKeepsObjectsWithTheirItems) {
    rt::TObject x, y;
    TStringList list;
    list.AddObject("y", &y);
    list.AddObject("X", &x);
    list.Sort();
    EXPECT_EQ(list.Objects(0), &x);
    EXPECT_EQ(list.Objects(1), &y);
}

TEST(StringList, CustomSortIsStableAndSeesCurrentIndexes) {
    TStringList list{"ccc", "a", "bb", "b", "aaa", "c"};
    list.CustomSort([](const TStringList& l, int i, int j) {
        return static_cast<int>(l[i].size()) - static_cast<int>(l[j].size());
    });
    EXPECT_EQ(list.ToVector(), (Items{"a", "b", "c", "bb", "ccc", "aaa"}));
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
    TStringList list{"plain", "two words", "a,b", "say \"hi\"", ""};
    EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"a,b\",\"say \"\"hi\"\"\",");
    EXPECT_EQ(TStringList{""}.CommaText(), "\"\"");
    EXPECT_EQ(TStringList().CommaText(), "");
}

TEST(StringList, OnChangeFiresOncePerChangeOrOncePerUpdate) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TStringList& l) {
        EXPECT_EQ(&l, &list);
        ++changes;
    };
    list.Add("a");
    list.SetString(0, "b");
    list.Insert(0, "c");
    EXPECT_EQ(changes, 3);

    changes = 0;
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add("x");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.UpdateCount(), 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 1);

    changes = 0;
    list.BeginUpdate();
    list.EndUpdate();
    EXPECT_EQ(changes, 0);  // nothing changed
    list.EndUpdate();       // unbalanced: ignored
    EXPECT_EQ(list.UpdateCount(), 0);

    list.SetText("1\r\n2\r\n3");
    EXPECT_EQ(changes, 1);
}

TEST(StringList, AssignCopiesItemsAndRejectsOtherClasses) {
    TStringList source{"a", "b"};
    TStringList target{"old"};
    int changes = 0;
    target.OnChange = [&](TStringList&) { ++changes; };
    target.Assign(source);
    EXPECT_EQ(target.ToVector(), (Items{"a", "b"}));
    EXPECT_EQ(changes, 1);
    target = TStringList{"c"};
    EXPECT_EQ(target.ToVector(), (Items{"c"}));
    EXPECT_TRUE(static_cast<bool>(target.OnChange));  // assignment keeps the handler

    TStringList copy(source);
    EXPECT_EQ(copy.ToVector(), source.ToVector());

    rt::TComponent component(nullptr);
    try {
        target.Assign(component);
        FAIL() << "no exception";
    } catch (const rt::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TStringList");
    }
}

TEST(StringList, AddStringsAppendsEvenItself) {
    TStringList list{"a", "b"};
    list.AddStrings(TStringList{"c"});
    list.AddStrings(list);
    EXPECT_EQ(list.ToVector(), (Items{"a", "b", "c", "a", "b", "c"}));
}

TEST(StringList, ClassName) {
    TStringList list;
    EXPECT_STREQ(list.ClassName(), "TStringList");
    EXPECT_TRUE(list.Properties().Items().empty());
}
