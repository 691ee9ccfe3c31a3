#include <windows.h>

#include "app/message_loop.h"

namespace zuzar {

int32_t RunMessageLoop() {
  MSG message{};
  // GetMessage gives -1 on an error (an invalid window handle); that ends the loop like a quit.
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return message.message == WM_QUIT ? static_cast<int32_t>(message.wParam) : 0;
}

}  // namespace zuzar
