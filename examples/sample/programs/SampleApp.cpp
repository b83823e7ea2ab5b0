// SampleApp.exe: the "application" of the Tarn Sample product. A small window that says what
// it is and shows the command line it was started with.
#include <windows.h>

#include <string>

namespace {

constexpr int kCloseButton = 100;
constexpr char kClassName[] = "TarnSampleAppWindow";

std::string MessageText() {
  std::string text =
      "This is the Tarn Sample application, version 1.0, by TarnSoft Samples.\r\n\r\n"
      "It was installed by TarnInstall Setup.";
  const char* line = GetCommandLineA();
  text += "\r\n\r\nCommand line: ";
  text += line ? line : "";
  return text;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const auto font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
      HWND text = CreateWindowExA(0, "STATIC", MessageText().c_str(), WS_CHILD | WS_VISIBLE, 16, 16,
                                  440, 110, window, nullptr, nullptr, nullptr);
      HWND close = CreateWindowExA(
          0, "BUTTON", "Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 376, 132, 80,
          24, window, reinterpret_cast<HMENU>(kCloseButton), nullptr, nullptr);
      SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
      SendMessageA(close, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kCloseButton) DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 1;

  RECT area{0, 0, 472, 172};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&area, style, FALSE);
  HWND window = CreateWindowExA(0, kClassName, "Tarn Sample", style, CW_USEDEFAULT, CW_USEDEFAULT,
                                area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageA(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
