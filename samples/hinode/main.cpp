// 日の出 (Hinode): a sample screen saver. A sunrise over the sea, drawn with
// plain GDI into a back buffer and shown at a calm 20 frames a second.
#include <windows.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "cmdline.h"
#include "scene.h"

namespace {

const char kClassName[] = "HinodeSaverWindow";
const char kTitle[] = "日の出";
const UINT_PTR kFrameTimer = 1;
const UINT kFrameMs = 50;          // 20 fps: plenty for a scene this slow
const UINT kIdleMs = 500;          // nobody sees us: only keep an eye on the parent
const DWORD kBackgroundMs = 1000;  // sky colours drift slowly; repaint them once a second
const int kMouseSlack = 4;         // pixels a mouse may jitter without ending the saver

struct Saver {
    bool fullScreen;
    HWND parent;  // preview host window, else NULL
    int width, height;
    HDC memDC;
    HBITMAP bitmap, oldBitmap;
    uint32_t* frame;  // the DIB section's pixels: what the window shows
    uint32_t* background;
    Scene scene;
    UINT timerMs;
    DWORD startTick, lastTick, lastBackground;
    bool needFullPaint;
    bool haveMouse;
    POINT firstMouse;
} g;

void FreeBuffers() {
    if (g.memDC) {
        if (g.oldBitmap) SelectObject(g.memDC, g.oldBitmap);
        DeleteDC(g.memDC);
    }
    if (g.bitmap) DeleteObject(g.bitmap);
    if (g.background) HeapFree(GetProcessHeap(), 0, g.background);
    g.memDC = NULL;
    g.bitmap = g.oldBitmap = NULL;
    g.frame = g.background = NULL;
    g.width = g.height = 0;
}

// Buffers live as long as the window keeps its size; a resize rebuilds them.
void MakeBuffers(int width, int height) {
    FreeBuffers();
    if (width <= 0 || height <= 0) return;
    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof bi);
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down, as Scene expects
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    g.bitmap = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    g.memDC = CreateCompatibleDC(NULL);
    g.background = static_cast<uint32_t*>(HeapAlloc(GetProcessHeap(), 0, size_t(width) * height * 4));
    if (!g.bitmap || !g.memDC || !g.background) {  // too big for memory: show black instead
        FreeBuffers();
        return;
    }
    g.oldBitmap = static_cast<HBITMAP>(SelectObject(g.memDC, g.bitmap));
    g.frame = static_cast<uint32_t*>(bits);
    g.width = width;
    g.height = height;
    g.scene.Resize(width, height);
    g.needFullPaint = true;
}

void SetFrameRate(HWND hwnd, UINT ms) {
    if (g.timerMs == ms) return;
    SetTimer(hwnd, kFrameTimer, ms, NULL);
    g.timerMs = ms;
}

// Gathers the spots the sprites cover into one region, so that the window
// is invalidated with one call per frame rather than one per speck.
void AddDirty(HRGN region) {
    HRGN piece = CreateRectRgn(0, 0, 0, 0);
    for (int i = 0; i < g.scene.DirtyCount(); ++i) {
        const DirtyRect& d = g.scene.Dirty()[i];
        SetRectRgn(piece, d.left, d.top, d.right, d.bottom);
        CombineRgn(region, region, piece, RGN_OR);
    }
    DeleteObject(piece);
}

void Frame(HWND hwnd) {
    if (g.parent) {
        // The host may go away without our window hearing of it first.
        if (!IsWindow(g.parent)) {
            DestroyWindow(hwnd);
            return;
        }
        RECT pr, own;
        GetClientRect(g.parent, &pr);
        GetClientRect(hwnd, &own);
        if (pr.right != own.right || pr.bottom != own.bottom)
            MoveWindow(hwnd, 0, 0, pr.right, pr.bottom, TRUE);
    }

    HWND root = GetAncestor(hwnd, GA_ROOT);
    bool visible = IsWindowVisible(hwnd) && !IsIconic(hwnd) && !(root && IsIconic(root));
    SetFrameRate(hwnd, visible ? kFrameMs : kIdleMs);
    DWORD now = GetTickCount();
    float dt = float(now - g.lastTick) / 1000.0f;
    g.lastTick = now;
    if (!visible || !g.frame) {
        g.needFullPaint = true;  // the background is stale by the time we are seen again
        return;
    }

    // After a pause, carry on instead of letting the specks leap.
    if (dt > 0.25f) dt = 0.25f;
    g.scene.SetTime(now - g.startTick);
    g.scene.Advance(dt);
    GdiFlush();  // GDI must be done with the DIB before we write into it
    if (g.needFullPaint || now - g.lastBackground >= kBackgroundMs) {
        g.scene.PaintBackground(g.background);
        memcpy(g.frame, g.background, size_t(g.width) * g.height * 4);
        g.scene.PaintSprites(g.frame);
        InvalidateRect(hwnd, NULL, FALSE);
        g.lastBackground = now;
        g.needFullPaint = false;
    } else {
        // Only the small moving things changed: put back what they covered,
        // draw them anew, and repaint just those spots.
        HRGN dirty = CreateRectRgn(0, 0, 0, 0);
        AddDirty(dirty);
        g.scene.RestoreSprites(g.frame, g.background);
        g.scene.PaintSprites(g.frame);
        AddDirty(dirty);
        InvalidateRgn(hwnd, dirty, FALSE);
        DeleteObject(dirty);
    }
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    const RECT& r = ps.rcPaint;
    if (g.memDC)
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, g.memDC, r.left, r.top, SRCCOPY);
    else
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(hwnd, &ps);
}

// True when the mouse really moved, not just the one message every new
// window gets or a nudge of the desk.
bool MouseMoved(LPARAM lParam) {
    POINT p = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    if (!g.haveMouse) {
        g.firstMouse = p;
        g.haveMouse = true;
        return false;
    }
    return abs(p.x - g.firstMouse.x) > kMouseSlack || abs(p.y - g.firstMouse.y) > kMouseSlack;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        if (LOWORD(lParam) != g.width || HIWORD(lParam) != g.height) MakeBuffers(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == kFrameTimer) Frame(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;  // every pixel comes from the back buffer
    case WM_PAINT:
        Paint(hwnd);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kFrameTimer);
        FreeBuffers();
        PostQuitMessage(0);
        return 0;
    }

    if (g.fullScreen) {
        switch (msg) {
        case WM_SETCURSOR:
            SetCursor(NULL);
            return TRUE;
        case WM_MOUSEMOVE:
            if (MouseMoved(lParam)) PostMessageA(hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_XBUTTONDOWN:
        case WM_MOUSEWHEEL:
            PostMessageA(hwnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_ACTIVATEAPP:
            if (!wParam) PostMessageA(hwnd, WM_CLOSE, 0, 0);  // another program took over
            break;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 0;  // we are already running
            break;
        }
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Crisp pixels on high-DPI screens; looked up by name because older
// systems lack the function.
void BecomeDpiAware() {
    typedef BOOL(WINAPI * SetAwareFn)();
    SetAwareFn setAware =
        reinterpret_cast<SetAwareFn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware")));
    if (setAware) setAware();
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return int(msg.wParam);
}

int Run(HINSTANCE instance, const SaverArgs& args) {
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 1;

    g.startTick = g.lastTick = GetTickCount();
    HWND hwnd;
    if (args.mode == kSaverPreview) {
        RECT r;
        GetClientRect(g.parent, &r);
        hwnd = CreateWindowExA(0, kClassName, kTitle, WS_CHILD | WS_VISIBLE, 0, 0, r.right, r.bottom, g.parent,
                               NULL, instance, NULL);
    } else {
        BecomeDpiAware();
        g.fullScreen = true;
        hwnd = CreateWindowExA(WS_EX_TOPMOST, kClassName, kTitle, WS_POPUP | WS_VISIBLE,
                               GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                               GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN), NULL, NULL,
                               instance, NULL);
        if (hwnd) {
            SetForegroundWindow(hwnd);
            ShowCursor(FALSE);
        }
    }
    if (!hwnd) return 1;
    SetFrameRate(hwnd, kFrameMs);
    Frame(hwnd);  // show the first picture now, not a timer tick later
    UpdateWindow(hwnd);
    int code = RunMessageLoop();
    if (g.fullScreen) ShowCursor(TRUE);
    return code;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int) {
    SaverArgs args = ParseSaverArgs(cmdLine);
    HWND window = NULL;
    if (args.hasWindow) {
        // A number too wide for a handle must not wrap round onto some other window.
        if (args.window > UINTPTR_MAX) return 1;
        window = reinterpret_cast<HWND>(static_cast<uintptr_t>(args.window));
    }

    switch (args.mode) {
    case kSaverConfig:
        MessageBoxA(IsWindow(window) ? window : NULL,
                    "このスクリーンセーバーには設定項目がありません。\n"
                    "海から昇る朝日をお楽しみください。",
                    kTitle, MB_OK | MB_ICONINFORMATION);
        return 0;
    case kSaverPreview:
        if (!IsWindow(window)) return 1;
        g.parent = window;
        return Run(instance, args);
    case kSaverFullScreen:
        return Run(instance, args);
    default:
        return 1;
    }
}
