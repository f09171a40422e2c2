// A stand-in for one of the product's programs: one window that names its role and says it is a sample.
//
// The build compiles this file once per program entry of the payload, with
// SAMPLE_PROGRAM_TITLE set to the role ("Lumabook Writer", "Lumabook UnInstall",
// "Keyboard Trainer", "Keypad Demo"), so that the setup program has real
// executables to install before the product itself is at hand.
#include <windows.h>

#ifndef SAMPLE_PROGRAM_TITLE
#define SAMPLE_PROGRAM_TITLE "Lumabook sample program"
#endif

static const char WindowClassName[] = "LumabookSampleProgram";
static const char SampleLine[] = "This is a sample program standing in for the real product.";
static const char NoticeLine[] = "Lumabook Writer sample data - not the real product file.";
static const char CloseLine[] = "Close the window (or press Esc) to end it.";

const int WindowWidth = 480;
const int WindowHeight = 200;
const int TextMargin = 16;
const int LineSpacing = 6;

// Paints the title and the three lines of text, one under the other.
static void PaintSampleWindow(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const char *lines[] = { SAMPLE_PROGRAM_TITLE, SampleLine, NoticeLine, CloseLine };
    TEXTMETRICA metrics;
    GetTextMetricsA(dc, &metrics);
    SetBkMode(dc, TRANSPARENT);
    int y = TextMargin;
    for (int i = 0; i < (int)(sizeof(lines) / sizeof(lines[0])); i++) {
        TextOutA(dc, TextMargin, y, lines[i], lstrlenA(lines[i]));
        y += metrics.tmHeight + LineSpacing + (i == 0 ? LineSpacing : 0);
    }
    EndPaint(window, &paint);
}

static LRESULT CALLBACK SampleWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintSampleWindow(window);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            DestroyWindow(window);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.lpfnWndProc = SampleWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    windowClass.hIcon = LoadIconA(NULL, (LPCSTR)IDI_APPLICATION);
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    windowClass.lpszClassName = WindowClassName;
    if (!RegisterClassA(&windowClass))
        return 1;

    HWND window = CreateWindowA(WindowClassName, SAMPLE_PROGRAM_TITLE, WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, WindowWidth, WindowHeight,
                                NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    // GetMessage returns -1 on an error; only a positive result is a message to handle.
    MSG message;
    ZeroMemory(&message, sizeof(message));
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return (int)message.wParam;
}
