#pragma once
// Drawing each kind of window in the skin. Every painter measures the window itself and draws all
// of its part, so it can run from WM_PAINT, from WM_PRINTCLIENT, or right after the platform has
// drawn over it.

#include <windows.h>

#include <string>

#include "skin/skin_look.h"
#include "skin/skin_resources_win32.h"

namespace zuzar::skin {

struct FrameState {
  bool active = true;
  bool closeHot = false;
  bool closePressed = false;
};

bool PaintsFrame(HWND window);
bool HasCloseButton(HWND window);
bool CloseEnabled(HWND window);
CaptionParts CaptionPartsOf(HWND window, const SkinResources& resources);
// Paints the frame and caption on a DC whose origin is the window's top-left corner; the client
// area is left alone.
void PaintFrame(HWND window, HDC windowDc, const FrameState& state, const SkinResources& resources);

void FillClient(HWND window, HDC dc, const SkinResources& resources);

bool IsPushButton(HWND button);
void PaintPushButton(HWND button, HDC dc, bool hot, const SkinResources& resources);

// The edge of an edit box or progress bar: one line in the border colour, the rest of the edge and
// any bands between edge and client area in the inside colour.
bool HasEdge(HWND window);
void PaintEdge(HWND window, Colour border, Colour inside, const SkinResources& resources);
EditLook EditLookOf(HWND edit);

bool IsPlainProgressBar(HWND bar);
void PaintProgressBar(HWND bar, HDC dc, const SkinResources& resources);

void PaintProgramLabel(HWND label, HDC dc, const SkinResources& resources);

std::string ClassNameOf(HWND window);

}  // namespace zuzar::skin
