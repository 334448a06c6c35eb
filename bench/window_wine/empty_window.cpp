// empty_window.exe WIDTH HEIGHT BUTTON_X BUTTON_Y: the baseline of the Wine
// window benchmark. A borderless top-most window over the screen, painted
// silver; a click on its small button repaints the whole window, double
// buffered as Tonemark's is, in the other of two greys.
#include <windows.h>

#include <cstdlib>

namespace {

bool Dark = false;
HWND Button = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == Button) {
        Dark = !Dark;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      RECT client;
      GetClientRect(window, &client);
      const HDC buffer = CreateCompatibleDC(dc);
      const HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
      const HGDIOBJ previous = SelectObject(buffer, bitmap);
      SetDCBrushColor(buffer, Dark ? RGB(128, 128, 128) : RGB(192, 192, 192));
      FillRect(buffer, &client, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
      BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
      SelectObject(buffer, previous);
      DeleteObject(bitmap);
      DeleteDC(buffer);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) return 2;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "EmptyBenchWindow";
  RegisterClassA(&windowClass);
  const HWND window = CreateWindowExA(WS_EX_TOPMOST, "EmptyBenchWindow", "", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                                     std::atoi(argv[1]), std::atoi(argv[2]), nullptr, nullptr, nullptr, nullptr);
  Button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, std::atoi(argv[3]) - 8, std::atoi(argv[4]) - 5, 16,
                           10, window, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
