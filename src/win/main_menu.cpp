#include "win/main_menu.h"

#include "app/desktop/menus.h"
#include "platform/win32_text.h"
#include "win/control_ids.h"

#include <string_view>

namespace faultward::win {
namespace {

template <typename Items> HMENU createGroup(const Items& items, int base) {
    HMENU group = CreatePopupMenu();
    for (const MenuItem& item : items) {
        if (std::string_view(item.caption) == "-")
            AppendMenuW(group, MF_SEPARATOR, static_cast<UINT_PTR>(base + item.index), nullptr);
        else
            AppendMenuW(group, MF_STRING, static_cast<UINT_PTR>(base + item.index),
                        win32::wideFromBytes(item.caption).c_str());
    }
    return group;
}

void appendGroup(HMENU bar, const MenuItem& title, HMENU group) {
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(group),
                win32::wideFromBytes(title.caption).c_str());
}

} // namespace

HMENU createMainMenu() {
    HMENU bar = CreateMenu();
    appendGroup(bar, kFileMenu, createGroup(kFileItems, kFileItemBase));
    appendGroup(bar, kOptionsMenu, createGroup(kOptionItems, kOptionItemBase));
    appendGroup(bar, kHelpMenu, createGroup(kHelpItems, kHelpItemBase));
    return bar;
}

MenuChoice menuChoice(int commandId) {
    const int group = commandId / kGroupSize;
    const int index = commandId % kGroupSize;
    switch (group * kGroupSize) {
    case kFileItemBase:
        return {MenuGroup::File, index};
    case kOptionItemBase:
        return {MenuGroup::Options, index};
    case kHelpItemBase:
        return {MenuGroup::Help, index};
    default:
        return {};
    }
}

} // namespace faultward::win
