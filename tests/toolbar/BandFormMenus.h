#pragma once
// Small menu files of the search buttons for the toolbar form's tests: a
// menu with a place for the remembered picks, and one of tool commands.
namespace zrtest {

inline constexpr const char* kGoogleXml =
    "<items><mru/>"
    "<item caption=\"Web\" id=\"web\" url=\"http://www.google.com/search?q=%%SEARCH%%\"/>"
    "<item caption=\"Images\" id=\"img\" url=\"http://images.google.com/images?q=%%SEARCH%%\"/>"
    "</items>";
inline constexpr const char* kToolsXml =
    "<items><item caption=\"View Source\" id=\"{de420cd9-e7d5-4697-9c7a-174994d33d1e}\" url=\"\" mru=\"no\"/>"
    "<item caption=\"Odd\" id=\"{00000000-0000-0000-0000-000000000000}\" url=\"http://odd.example/\"/></items>";

}  // namespace zrtest
