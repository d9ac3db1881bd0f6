#pragma once
// Replaces system-wide mouse cursors for a moment and puts them back,
// preferring the user's own cursor files from the mouse settings.
#include <string>
#include <utility>
#include <vector>

#include "platform/Cursors.h"
#include "runtime/Classes.h"

namespace popupblocker {

// System-cursor identifiers.
namespace ocr {
constexpr int Normal = 32512, IBeam = 32513, Wait = 32514, Hand = 32649, AppStarting = 32650;
}

class TEICursorManager : public rt::TComponent {
    RT_CLASS_SAME_PROPS(TEICursorManager, rt::TComponent)
public:
    static constexpr platform::CursorHandle NoCursor = static_cast<platform::CursorHandle>(-1);

    explicit TEICursorManager(rt::TComponent* owner = nullptr) : rt::TComponent(owner) {}

    // Raise "Unknown OCR constant" for an identifier the manager does not know.
    static int StandardCursorFor(int id);
    static std::string CursorValueName(int id);

    platform::CursorHandle SavedCursor(int id) const;  // NoCursor when none
    void SetSavedCursor(int id, platform::CursorHandle handle);
    int SavedCount() const { return static_cast<int>(SavedCursors.size()); }

    // The user's own cursor file for `id` from the mouse settings, when it exists.
    bool UserCursorFile(int id, std::string& fileName);
    bool ReplaceCursor(int id, platform::CursorHandle cursor);
    bool ReplaceCursorFromFile(int id, const std::string& fileName);
    bool RestoreCursor(int id);
    // Restores every replaced cursor; the number of them when it began.
    int RestoreAll();

private:
    void DropSaved(int id);

    // Identifier and the copy of the original taken before the first replacement, in order.
    std::vector<std::pair<int, platform::CursorHandle>> SavedCursors;
};

// The module's instance.
TEICursorManager& CursorManager();
// Frees it (module unload).
void FreeCursorManager();

}  // namespace popupblocker
