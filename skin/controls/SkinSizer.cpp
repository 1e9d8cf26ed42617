#include "skin/controls/SkinSizer.h"

TW_IMPLEMENT_CLASS(TSkinSizer, [](TClassBuilder<TSkinSizer>&) {})

void TSkinSizer::DrawSkin(HDC dc, const RECT& r) { FillSkinFace(dc, r); }
