#pragma once
// Button control: each method one message.

#include "classlib/CWnd.h"

class CButton : public CWnd {
public:
  int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
  void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, (WPARAM)nCheck); }
  UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
  HBITMAP SetBitmap(HBITMAP hBitmap) { return (HBITMAP)SendMessage(BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap); }
  HICON SetIcon(HICON hIcon) { return (HICON)SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
};
