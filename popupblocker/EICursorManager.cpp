#include "popupblocker/EICursorManager.h"

#include <memory>

#include "foundation/EIFunctionsBase.h"
#include "platform/Services.h"

namespace popupblocker {
namespace {

struct CursorKind {
    int id;
    const char* valueName;
};

// The standard resource of each cursor has the cursor's own number.
constexpr CursorKind kCursors[] = {
    {32512, "Arrow"},    {32513, "IBeam"},    {32514, "Wait"},     {32515, "Crosshair"}, {32516, "UpArrow"},
    {32640, "Size"},     {32641, "Icon"},     {32642, "SizeNWSE"}, {32643, "SizeNESW"},  {32644, "SizeWE"},
    {32645, "SizeNS"},   {32646, "SizeAll"},  {32648, "No"},       {32649, "Hand"},      {32650, "AppStarting"},
};

const CursorKind& KindOf(int id) {
    for (const auto& kind : kCursors)
        if (kind.id == id) return kind;
    foundation::RaiseError("Unknown OCR constant");
}

constexpr const char* kUserCursorsKey = "Control Panel\\Cursors\\";

std::unique_ptr<TEICursorManager>& Instance() {
    static std::unique_ptr<TEICursorManager> manager;
    return manager;
}

}  // namespace

int TEICursorManager::StandardCursorFor(int id) { return KindOf(id).id; }
std::string TEICursorManager::CursorValueName(int id) { return KindOf(id).valueName; }

platform::CursorHandle TEICursorManager::SavedCursor(int id) const {
    for (const auto& [savedId, handle] : SavedCursors)
        if (savedId == id) return handle;
    return NoCursor;
}

void TEICursorManager::SetSavedCursor(int id, platform::CursorHandle handle) {
    for (auto& entry : SavedCursors) {
        if (entry.first == id) {
            entry.second = handle;
            return;
        }
    }
    SavedCursors.emplace_back(id, handle);
}

void TEICursorManager::DropSaved(int id) {
    for (auto it = SavedCursors.begin(); it != SavedCursors.end(); ++it) {
        if (it->first == id) {
            SavedCursors.erase(it);
            return;
        }
    }
}

bool TEICursorManager::UserCursorFile(int id, std::string& fileName) {
    const std::string valueName = CursorValueName(id);
    auto& registry = platform::Registry();
    registry.CreateKey(platform::RegRoot::CurrentUser, kUserCursorsKey);
    const auto value = registry.ReadValue(platform::RegRoot::CurrentUser, kUserCursorsKey, valueName);
    if (!value || value->text.empty()) return false;
    if (value->type != platform::RegType::String && value->type != platform::RegType::ExpandString) return false;
    const std::string expanded = foundation::ExpandEnvironmentText(value->text);
    if (!platform::Files().FileExists(expanded)) return false;
    fileName = expanded;
    return true;
}

bool TEICursorManager::ReplaceCursor(int id, platform::CursorHandle cursor) {
    try {
        auto& cursors = platform::Cursors();
        // Only the first replacement saves: a later one would save a blocked cursor as the original.
        if (SavedCursor(id) == NoCursor) {
            const platform::CursorHandle copy = cursors.Copy(cursors.LoadStandard(StandardCursorFor(id)));
            if (copy) SetSavedCursor(id, copy);
        }
        return cursors.SetSystemCursor(cursor, id);
    } catch (...) {
        return false;
    }
}

bool TEICursorManager::ReplaceCursorFromFile(int id, const std::string& fileName) {
    try {
        const platform::CursorHandle cursor = platform::Cursors().LoadFromFile(fileName);
        if (!cursor) return false;
        return ReplaceCursor(id, cursor);
    } catch (...) {
        return false;
    }
}

bool TEICursorManager::RestoreCursor(int id) {
    try {
        platform::CursorHandle cursor = 0;
        std::string fileName;
        if (UserCursorFile(id, fileName)) cursor = platform::Cursors().LoadFromFile(fileName);
        // A user's file that does not load must not leave the blocked cursor
        // on the desktop: the saved original serves instead.
        if (!cursor) {
            cursor = SavedCursor(id);
            if (cursor == NoCursor) return fileName.empty();
        }
        const bool restored = platform::Cursors().SetSystemCursor(cursor, id);
        DropSaved(id);
        return restored;
    } catch (...) {
        return false;
    }
}

int TEICursorManager::RestoreAll() {
    try {
        const int count = SavedCount();
        while (!SavedCursors.empty()) {
            const int id = SavedCursors.front().first;
            RestoreCursor(id);
            DropSaved(id);  // tried once is enough: the loop must end even when the restore failed
        }
        return count;
    } catch (...) {
        return 0;
    }
}

TEICursorManager& CursorManager() {
    auto& manager = Instance();
    if (!manager) manager = std::make_unique<TEICursorManager>();
    return *manager;
}

void FreeCursorManager() { Instance().reset(); }

}  // namespace popupblocker
