#pragma once

#include <windows.h>

#include <string>

namespace faultward::win {

// What a screen reader learns of the text view, which as a window class of
// our own has none of the system text box's: a read-only text whose value
// is the line the caret is on (or the selection, when it is short), named
// after the window it stands in. The view tells of a new value with
// EVENT_OBJECT_VALUECHANGE; the system caret tells where it is.
//
// The value is asked of the window each time, as a screen reader may keep
// the object after the window has gone; spokenValue then finds no view and
// says nothing.
using SpokenValue = std::wstring (*)(HWND view);

// Answers WM_GETOBJECT for the view's client area; any other object is
// left to DefWindowProc (returns 0).
LRESULT answerTextViewObject(HWND view, WPARAM flags, LPARAM objectId, SpokenValue spokenValue);

} // namespace faultward::win
