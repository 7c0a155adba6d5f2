#include "win/text_view.h"

#include "app/desktop/text_view_model.h"
#include "app/reports/report_colours.h"
#include "app/texts/texts.h"
#include "platform/win32_text.h"
#include "win/dpi.h"
#include "win/text_view_accessible.h"
#include "win/window_object.h"

#include <windowsx.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace faultward::win {
namespace {

constexpr int kPointSize = 9;
constexpr int kMarginAt96 = 3;
// The items of the view's context menu.
constexpr UINT kCopyItem = 1;
constexpr UINT kSelectAllItem = 2;
// How lines are joined on the clipboard and in WM_GETTEXT.
constexpr std::string_view kWindowsLineBreak = "\r\n";

// Consolas where it is installed; a face the font mapper finds instead only
// when it is fixed-width too, else the system's fixed font.
HFONT createFixedFont(int dpi) {
    HFONT font = CreateFontW(-MulDiv(kPointSize, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, FIXED_PITCH | FF_MODERN, L"Consolas");
    if (!font)
        return nullptr;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    // The bit is set for a variable pitch.
    if (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) {
        DeleteObject(font);
        return nullptr;
    }
    return font;
}

// How the code page's bytes make characters.
CharacterShape shapeOf(UINT codePage) {
    if (codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8))
        return CharacterShape::utf8();
    CPINFO info{};
    if (!GetCPInfo(codePage, &info) || info.MaxCharSize < 2)
        return CharacterShape::singleByte();
    std::array<bool, 256> leads{};
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i]; i += 2)
        for (int byte = info.LeadByte[i]; byte <= info.LeadByte[i + 1]; ++byte)
            leads[static_cast<std::size_t>(byte)] = true;
    return CharacterShape::doubleByte(leads);
}

Rgb rgbOf(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

COLORREF colourOf(Rgb colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

struct KeyOfText {
    UINT key;
    TextKey textKey;
};
constexpr std::array<KeyOfText, 8> kTextKeys{{
    {VK_LEFT, TextKey::Left},
    {VK_RIGHT, TextKey::Right},
    {VK_UP, TextKey::Up},
    {VK_DOWN, TextKey::Down},
    {VK_PRIOR, TextKey::PageUp},
    {VK_NEXT, TextKey::PageDown},
    {VK_HOME, TextKey::Home},
    {VK_END, TextKey::End},
}};

bool keyDown(int key) {
    return GetKeyState(key) < 0;
}

class TextView {
public:
    HWND hwnd = nullptr;

    void create(const CREATESTRUCTW& created) {
        vertical_ = created.style & WS_VSCROLL;
        horizontal_ = created.style & WS_HSCROLL;
        show({}, ReportLines(), CP_ACP);
        setDpi(windowDpi(hwnd));
    }

    void show(std::string_view bytes, const ReportLines& lines, UINT codePage) {
        codePage_ = codePage;
        const CharacterShape shape = shapeOf(codePage);
        model_ = std::make_unique<TextViewModel>(bytes, lines, shape);
        fillCharacters(shape);
        firstLine_ = firstCell_ = 0;
        lastSpoken_ = {}; // the caret's place in the new text
        layOut();
    }

    void setDpi(int dpi) {
        font_.reset(createFixedFont(dpi));
        margin_ = MulDiv(kMarginAt96, dpi, 96);
        HDC dc = GetDC(hwnd);
        HGDIOBJ old = SelectObject(dc, font());
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        lineHeight_ = std::max<int>(1, metrics.tmHeight);
        cellWidth_ = std::max<int>(1, metrics.tmAveCharWidth);
        if (GetFocus() == hwnd)
            makeCaret();
        layOut();
    }

    HFONT font() const {
        return font_.get() ? font_.get() : static_cast<HFONT>(GetStockObject(ANSI_FIXED_FONT));
    }

    SIZE cellsSize(int cells, int lines) const {
        return {2 * margin_ + cells * cellWidth_, lines * lineHeight_};
    }

    std::size_t widestCells() const { return model_->widestCells(); }

    // Scroll bars, the first line and cell in range, and a new picture.
    void layOut() {
        RECT client;
        GetClientRect(hwnd, &client);
        rows_ = std::max<LONG>(0, client.bottom / lineHeight_);
        cells_ = std::max<LONG>(0, (client.right - margin_) / cellWidth_);
        // One cell past the widest line, for the caret at its end.
        const std::size_t width = model_->widestCells() + 1;
        firstLine_ =
            std::min(firstLine_, model_->lineCount() - std::min(model_->lineCount(), rows_));
        firstCell_ = std::min(firstCell_, width - std::min(width, cells_));
        setScrollBar(SB_VERT, vertical_, model_->lineCount(), rows_, firstLine_);
        setScrollBar(SB_HORZ, horizontal_, width, cells_, firstCell_);
        placeCaret();
        InvalidateRect(hwnd, nullptr, FALSE);
    }

    void paint() {
        PAINTSTRUCT ps;
        HDC target = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        // Drawn aside and copied in one go, so that nothing flickers.
        HDC dc = CreateCompatibleDC(target);
        HBITMAP picture = CreateCompatibleBitmap(target, std::max<LONG>(1, client.right),
                                                 std::max<LONG>(1, client.bottom));
        HGDIOBJ oldPicture = SelectObject(dc, picture);
        HGDIOBJ oldFont = SelectObject(dc, font());
        FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
        paintLines(dc, client, ps.rcPaint);
        BitBlt(target, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, dc, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldPicture);
        DeleteObject(picture);
        DeleteDC(dc);
        EndPaint(hwnd, &ps);
    }

    void key(UINT key) {
        const bool control = keyDown(VK_CONTROL);
        const bool shift = keyDown(VK_SHIFT);
        if (control && key == 'A') {
            model_->selectAll();
            caretMoved();
            return;
        }
        if (control && (key == 'C' || key == VK_INSERT)) {
            copy();
            return;
        }
        for (const KeyOfText& binding : kTextKeys) {
            if (binding.key != key)
                continue;
            const Motion motion = motionOf(binding.textKey, control);
            const std::size_t page = std::max<std::size_t>(rows_, 1);
            firstLine_ = firstLineAfter(motion, firstLine_, page);
            model_->move(motion, shift, page);
            caretMoved();
            return;
        }
    }

    void mouseDown(LPARAM point) {
        SetFocus(hwnd);
        SetCapture(hwnd);
        model_->placeCaret(positionAt(point), keyDown(VK_SHIFT));
        caretMoved();
    }

    void doubleClick(LPARAM point) {
        model_->selectRunAt(positionAt(point));
        caretMoved();
    }

    // Copy and Select All, as the system's text box offers them; from the
    // keyboard (Shift+F10, the menu key) the menu opens at the caret.
    void contextMenu(LPARAM at) {
        POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
        if (at == -1) {
            GetCaretPos(&point);
            point.y += lineHeight_;
            ClientToScreen(hwnd, &point);
        }
        SetFocus(hwnd);
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, model_->hasSelection() ? MF_STRING : MF_STRING | MF_GRAYED, kCopyItem,
                    win32::wideFromBytes(kCopyCaption).c_str());
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, model_->empty() ? MF_STRING | MF_GRAYED : MF_STRING, kSelectAllItem,
                    win32::wideFromBytes(kSelectAllCaption).c_str());
        const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                             point.x, point.y, 0, hwnd, nullptr));
        DestroyMenu(menu);
        if (chosen == kCopyItem) {
            copy();
        } else if (chosen == kSelectAllItem) {
            model_->selectAll();
            caretMoved();
        }
    }

    void mouseMove(LPARAM point) {
        if (GetCapture() != hwnd)
            return;
        model_->placeCaret(positionAt(point), true);
        caretMoved();
    }

    void scroll(int bar, WORD request) {
        const bool vertical = bar == SB_VERT;
        SCROLLINFO info{sizeof info, SIF_ALL};
        GetScrollInfo(hwnd, bar, &info);
        const long page = std::max<long>(1, static_cast<long>(vertical ? rows_ : cells_));
        long position = info.nPos;
        switch (request) {
        case SB_LINEUP:
            --position;
            break;
        case SB_LINEDOWN:
            ++position;
            break;
        case SB_PAGEUP:
            position -= page;
            break;
        case SB_PAGEDOWN:
            position += page;
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            position = info.nTrackPos;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
        default:
            return;
        }
        scrollTo(vertical, position);
    }

    void wheel(short delta, bool vertical) {
        UINT step = 3;
        SystemParametersInfoW(vertical ? SPI_GETWHEELSCROLLLINES : SPI_GETWHEELSCROLLCHARS, 0,
                              &step, 0);
        if (step == WHEEL_PAGESCROLL)
            step = static_cast<UINT>(std::max<std::size_t>(vertical ? rows_ : cells_, 1));
        int& remainder = vertical ? wheelRows_ : wheelCells_;
        remainder += delta;
        const int steps = remainder * static_cast<int>(step) / WHEEL_DELTA;
        if (steps == 0)
            return;
        remainder -= steps * WHEEL_DELTA / static_cast<int>(step);
        // Up the wheel is back up the text; right is on along the line.
        const long first = static_cast<long>(vertical ? firstLine_ : firstCell_);
        scrollTo(vertical, vertical ? first - steps : first + steps);
    }

    void focus(bool gained) {
        if (gained) {
            makeCaret();
        } else {
            DestroyCaret();
            // A drag ends with the focus.
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        InvalidateRect(hwnd, nullptr, FALSE);
    }

    void copy() const {
        if (!model_->hasSelection() || !OpenClipboard(hwnd))
            return;
        EmptyClipboard();
        const std::string bytes = model_->selectedText(kWindowsLineBreak);
        const std::wstring wide = wideOf(bytes);
        putOnClipboard(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
        if (codePage_ == CP_ACP)
            putOnClipboard(CF_TEXT, bytes.c_str(), bytes.size() + 1);
        CloseClipboard();
    }

    // What a screen reader reads: the selection while it is short, else the
    // caret's line.
    std::wstring spokenValue() const {
        constexpr std::size_t kLongestSpoken = 40;
        const TextPosition start = model_->selectionStart();
        const TextPosition end = model_->selectionEnd();
        if (model_->hasSelection() && end.line - start.line < kLongestSpoken)
            return wideOf(model_->selectedText(kWindowsLineBreak));
        return wideOf(model_->lineText(model_->caret().line));
    }

    LRESULT getText(WPARAM room, LPARAM buffer) const {
        const std::wstring wide = wideOf(model_->wholeText(kWindowsLineBreak));
        if (!buffer)
            return static_cast<LRESULT>(wide.size());
        if (room == 0)
            return 0;
        const std::size_t count = std::min<std::size_t>(wide.size(), room - 1);
        std::copy_n(wide.data(), count, reinterpret_cast<wchar_t*>(buffer));
        reinterpret_cast<wchar_t*>(buffer)[count] = L'\0';
        return static_cast<LRESULT>(count);
    }

private:
    std::wstring wideOf(std::string_view bytes) const {
        const int size = static_cast<int>(bytes.size());
        std::wstring wide(static_cast<std::size_t>(
                              MultiByteToWideChar(codePage_, 0, bytes.data(), size, nullptr, 0)),
                          L'\0');
        MultiByteToWideChar(codePage_, 0, bytes.data(), size, wide.data(),
                            static_cast<int>(wide.size()));
        return wide;
    }

    static void putOnClipboard(UINT format, const void* data, std::size_t size) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        if (!memory)
            return;
        std::copy_n(static_cast<const char*>(data), size, static_cast<char*>(GlobalLock(memory)));
        GlobalUnlock(memory);
        if (!SetClipboardData(format, memory))
            GlobalFree(memory);
    }

    // The characters of one byte, made once for each text.
    void fillCharacters(const CharacterShape& shape) {
        shape_ = shape;
        for (int byte = 0; byte < 256; ++byte) {
            const char one = static_cast<char>(byte);
            wchar_t wide = 0xFFFD;
            if (shape.length[static_cast<std::size_t>(byte)] == 1 &&
                MultiByteToWideChar(codePage_, MB_ERR_INVALID_CHARS, &one, 1, &wide, 1) != 1)
                wide = 0xFFFD;
            singleBytes_[static_cast<std::size_t>(byte)] = wide;
        }
    }

    // A line's cells as UTF-16 with each character's advance, so that every
    // character keeps to its cells whatever face draws it.
    void shownLine(std::size_t line, std::wstring& wide, std::vector<INT>& advances) const {
        const std::string bytes = model_->shownCells(line, firstCell_, cells_ + 1);
        wide.clear();
        advances.clear();
        for (std::size_t at = 0; at < bytes.size();) {
            const auto lead = static_cast<unsigned char>(bytes[at]);
            const std::size_t length =
                std::min<std::size_t>(shape_.length[lead], bytes.size() - at);
            const int advance = shape_.cells[lead] * cellWidth_;
            if (length == 1) {
                wide.push_back(singleBytes_[lead]);
                advances.push_back(advance);
            } else {
                wchar_t pair[2];
                const int made = MultiByteToWideChar(codePage_, 0, bytes.data() + at,
                                                     static_cast<int>(length), pair, 2);
                if (made <= 0) {
                    pair[0] = 0xFFFD;
                }
                for (int i = 0; i < std::max(made, 1); ++i) {
                    wide.push_back(pair[i]);
                    advances.push_back(i == 0 ? advance : 0);
                }
            }
            at += length;
        }
    }

    // The selected cells of a line; none without the focus.
    std::pair<std::size_t, std::size_t> selectedCells(std::size_t line) const {
        if (GetFocus() != hwnd)
            return {0, 0};
        return model_->selectedCells(line);
    }

    // Each line on the core's background for its kind: the system's window
    // colours tinted (reportLineBackground), so that a high-contrast or dark
    // scheme keeps its colours and its contrast. The selection takes the
    // system's highlight colours.
    void paintLines(HDC dc, const RECT& client, const RECT& dirty) const {
        const Rgb base = rgbOf(GetSysColor(COLOR_WINDOW));
        const Rgb text = rgbOf(GetSysColor(COLOR_WINDOWTEXT));
        std::wstring wide;
        std::vector<INT> advances;
        for (std::size_t row = 0;; ++row) {
            const std::size_t line = firstLine_ + row;
            const int top = static_cast<int>(row) * lineHeight_;
            if (line >= model_->lineCount() || top >= client.bottom)
                break;
            if (top + lineHeight_ <= dirty.top || top >= dirty.bottom)
                continue;
            shownLine(line, wide, advances);
            const UINT count = static_cast<UINT>(wide.size());
            RECT whole{0, top, client.right, top + lineHeight_};
            SetBkColor(dc, colourOf(reportLineBackground(model_->kindOf(line), base, text)));
            SetTextColor(dc, colourOf(text));
            ExtTextOutW(dc, margin_, top, ETO_OPAQUE | ETO_CLIPPED, &whole, wide.c_str(), count,
                        advances.data());
            const auto [from, to] = selectedCells(line);
            if (to <= from || to <= firstCell_)
                continue;
            const auto xOf = [&](std::size_t cell) {
                const std::size_t shown = cell > firstCell_ ? cell - firstCell_ : 0;
                return margin_ +
                       static_cast<int>(std::min<std::size_t>(shown, cells_ + 2)) * cellWidth_;
            };
            RECT selected{xOf(from), top, xOf(to), top + lineHeight_};
            SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            ExtTextOutW(dc, margin_, top, ETO_OPAQUE | ETO_CLIPPED, &selected, wide.c_str(), count,
                        advances.data());
        }
    }

    TextPosition positionAt(LPARAM point) const {
        const int x = static_cast<short>(LOWORD(point));
        const int y = static_cast<short>(HIWORD(point));
        // Above or below the view while dragging: the lines beyond it.
        const long row = y >= 0 ? y / lineHeight_ : (y - lineHeight_ + 1) / lineHeight_;
        const long line = std::max<long>(0, static_cast<long>(firstLine_) + row);
        const long cell = std::max<long>(0, (x - margin_ + cellWidth_ / 2) / cellWidth_);
        return model_->positionAt(static_cast<std::size_t>(line),
                                  firstCell_ + static_cast<std::size_t>(cell));
    }

    void setScrollBar(int bar, bool shown, std::size_t total, std::size_t page,
                      std::size_t position) {
        if (!shown)
            return;
        SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL};
        info.nMax = static_cast<int>(std::min<std::size_t>(total, INT_MAX)) - 1;
        info.nPage = static_cast<UINT>(page);
        info.nPos = static_cast<int>(position);
        SetScrollInfo(hwnd, bar, &info, TRUE);
    }

    void scrollTo(bool vertical, long position) {
        const std::size_t first = static_cast<std::size_t>(std::max<long>(0, position));
        std::size_t& current = vertical ? firstLine_ : firstCell_;
        if (first == current)
            return;
        current = first;
        layOut();
    }

    // The caret in sight, and the picture of the selection it changed. A
    // screen reader hears of a new line or selection; a move within a line
    // it follows by the caret.
    void caretMoved() {
        const TextPosition caret = model_->caret();
        firstLine_ = scrolledToShow(caret.line, firstLine_, rows_);
        firstCell_ = scrolledToShow(model_->cellOf(caret), firstCell_, cells_);
        layOut();
        const bool selected = model_->hasSelection();
        const Spoken spoken{caret.line, selected ? model_->anchor() : TextPosition{},
                            selected ? caret : TextPosition{}};
        if (spoken != lastSpoken_) {
            lastSpoken_ = spoken;
            NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, hwnd, OBJID_CLIENT, CHILDID_SELF);
        }
    }

    void makeCaret() {
        DWORD width = 1;
        SystemParametersInfoW(SPI_GETCARETWIDTH, 0, &width, 0);
        CreateCaret(hwnd, nullptr, static_cast<int>(width), lineHeight_);
        placeCaret();
        ShowCaret(hwnd);
    }

    void placeCaret() const {
        const TextPosition caret = model_->caret();
        const std::size_t cell = model_->cellOf(caret);
        const bool inSight = caret.line >= firstLine_ && cell >= firstCell_;
        // Out of sight, the caret waits outside the view.
        const int x = inSight ? margin_ + static_cast<int>(cell - firstCell_) * cellWidth_ : -100;
        const int y = inSight ? static_cast<int>(caret.line - firstLine_) * lineHeight_ : -100;
        SetCaretPos(x, y);
    }

    std::unique_ptr<TextViewModel> model_;
    UINT codePage_ = CP_ACP;
    CharacterShape shape_;
    std::array<wchar_t, 256> singleBytes_{};
    OwnedFont font_;
    int margin_ = kMarginAt96;
    int lineHeight_ = 16;
    int cellWidth_ = 8;
    std::size_t rows_ = 0;
    std::size_t cells_ = 0;
    std::size_t firstLine_ = 0;
    std::size_t firstCell_ = 0;
    // What a screen reader was last told of: the caret's line and the
    // selection's ends.
    struct Spoken {
        std::size_t line;
        TextPosition from, to;
        friend bool operator==(const Spoken&, const Spoken&) = default;
    };
    Spoken lastSpoken_{};
    int wheelRows_ = 0;
    int wheelCells_ = 0;
    bool vertical_ = false;
    bool horizontal_ = false;
};

std::wstring spokenValueOf(HWND window) {
    const TextView* view = IsWindow(window) ? windowObject<TextView>(window) : nullptr;
    return view ? view->spokenValue() : std::wstring();
}

LRESULT CALLBACK textViewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* view = new TextView;
        view->hwnd = window;
        attachWindowObject(window, view);
    }
    TextView* view = windowObject<TextView>(window);
    if (!view)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        view->create(*reinterpret_cast<const CREATESTRUCTW*>(lParam));
        return 0;
    case WM_NCDESTROY:
        attachWindowObject<TextView>(window, nullptr);
        delete view;
        return 0;
    case WM_SIZE:
        view->layOut();
        return 0;
    case WM_PAINT:
        view->paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE:
        // Letters go nowhere rather than to the dialog's access keys, as in
        // a text box.
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
        view->key(static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        return 0;
    case WM_LBUTTONDOWN:
        view->mouseDown(lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        view->doubleClick(lParam);
        return 0;
    case WM_MOUSEMOVE:
        view->mouseMove(lParam);
        return 0;
    case WM_CONTEXTMENU:
        view->contextMenu(lParam);
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        view->scroll(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        view->wheel(GET_WHEEL_DELTA_WPARAM(wParam), message == WM_MOUSEWHEEL);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        view->focus(message == WM_SETFOCUS);
        return 0;
    case WM_COPY:
        view->copy();
        return 0;
    case WM_GETOBJECT:
        if (const LRESULT answer = answerTextViewObject(window, wParam, lParam, spokenValueOf))
            return answer;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return view->getText(0, 0);
    case WM_GETTEXT:
        return view->getText(wParam, lParam);
    case WM_SETFONT:
        // The view draws in its own fixed-width font.
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(view->font());
    case WM_DPICHANGED_AFTERPARENT:
        view->setDpi(windowDpi(window));
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

void registerTextViewClass() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof existing};
    if (GetClassInfoExW(instance, kTextViewClass, &existing))
        return;
    WNDCLASSEXW windowClass{sizeof windowClass};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = textViewProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    windowClass.lpszClassName = kTextViewClass;
    RegisterClassExW(&windowClass);
}

void showTextInView(HWND view, std::string_view bytes, const ReportLines& lines, UINT codePage) {
    if (TextView* object = windowObject<TextView>(view))
        object->show(bytes, lines, codePage);
}

SIZE textViewCellsSize(HWND view, int cells, int lines) {
    const TextView* object = windowObject<TextView>(view);
    return object ? object->cellsSize(cells, lines) : SIZE{0, 0};
}

int textViewWidestCells(HWND view) {
    const TextView* object = windowObject<TextView>(view);
    return object ? static_cast<int>(std::min<std::size_t>(object->widestCells(), INT_MAX / 64))
                  : 0;
}

} // namespace faultward::win
