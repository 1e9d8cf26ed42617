#include "skin/controls/SkinEdit.h"

#include <cwctype>
#include <string>

#include "gui/Controls.h"
#include "skin/controls/SkinEditLayout.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/DibSurface.h"
#include "skin/data/SkinModel.h"

TW_IMPLEMENT_CLASS(TSkinEdit, [](TClassBuilder<TSkinEdit>&) {})

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

void TSkinEdit::AttachControl(TSkinFrameLink* form, bool manageColor, TCanvas* canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(form, manageColor, canvas);
  if (FAttached && FControl) FSwitchHook.Hook(FControl, TWndMethod::Bind(this, &TSkinEdit::SwitchHook));
}

void TSkinEdit::Unskin() {
  FSwitchHook.Unhook();
  TSkinControl::Unskin();
  if (FLifeState != kSkinWindowDestroyed && FHandle && IsWindow(FHandle))
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TSkinEdit::SwitchHook(TMessage& m) {
  const UINT msg = m.Msg;
  FSwitchHook.CallPrevious(m);
  if (msg == WM_SKINENABLE) RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

bool TSkinEdit::BeforeMessage(TMessage& m) {
  if (m.Msg == WM_SKINPAINTEDIT && m.LParam == kSkinMarker) {
    // A foreign control asks for the edit's picture in its own DC.
    if (m.WParam) {
      TMessage paint{WM_PAINT, m.WParam, 0, 0};
      CallOriginal(paint);
    }
    m.Result = kSkinMarker;
    return false;
  }
  return TSkinControl::BeforeMessage(m);
}

void TSkinEdit::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT:
      // The native frame was just drawn over the border.
      PaintWindow(nullptr);
      break;
    case WM_PRINT:
      if (m.WParam) {
        RECT w{};
        GetWindowRect(FHandle, &w);
        DrawSkin(reinterpret_cast<HDC>(m.WParam), RECT{0, 0, w.right - w.left, w.bottom - w.top});
      }
      break;
    default:
      TSkinControl::AfterMessage(m);
  }
}

void TSkinEdit::FindUpDown() {
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    std::wstring cls(name);
    for (auto& c : cls) c = wchar_t(towlower(c));
    if (cls != L"msctls_updown32" && cls.find(L"spin") == std::wstring::npos &&
        cls.find(L"updown") == std::wstring::npos)
      continue;
    auto* updown = new TSkinUpDown(FControl);
    updown->SetEmbedded(true);
    updown->AttachWindow(child, FForm, FCanvas);
    if (!updown->Attached()) {
      TComponent::Free(updown);
      continue;
    }
    // Only a "found" mark from here on: the frame's list owns the object.
    FUpDown = updown;
    return;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& r) {
  if (!FUpDown && FForm && HasSwitch(FForm->SkinControls(), xcSpin)) FindUpDown();
  const int width = r.right - r.left, height = r.bottom - r.top;
  RECT client{};
  GetClientRect(FHandle, &client);
  if (!EditHasBorder(width, height, client.right, client.bottom)) return;
  const TSkinModel* model = Skin();
  DibSurface* surface = Surface(width, height);
  if (!model || !surface || !surface->Assign(ComposeEditBorder(width, height, model->ButtonShadowColour))) return;
  // The client area in window coordinates: everything else is border.
  POINT origin{0, 0};
  ClientToScreen(FHandle, &origin);
  RECT window{};
  GetWindowRect(FHandle, &window);
  const int cx = origin.x - window.left, cy = origin.y - window.top;
  const int saved = SaveDC(dc);
  ExcludeClipRect(dc, r.left + cx, r.top + cy, r.left + cx + client.right, r.top + cy + client.bottom);
  BitBlt(dc, r.left, r.top, width, height, surface->DC(), 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
}
