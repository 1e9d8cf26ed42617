#include "gui/Layout.h"

#include <algorithm>
#include <numeric>

void AlignLayout(const TLayoutRect& client, std::vector<TLayoutItem>& items) {
  TLayoutRect r = client;
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  auto ofKind = [&](TAlign a) {
    std::vector<size_t> idx;
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i].align == a) idx.push_back(i);
    return idx;
  };
  auto byKey = [&](std::vector<size_t>& idx, auto key) {
    std::stable_sort(idx.begin(), idx.end(), [&](size_t a, size_t b) { return key(items[a]) < key(items[b]); });
  };
  auto clampH = [&](int h) { return std::max(0, std::min(h, r.bottom - r.top)); };
  auto clampW = [&](int w) { return std::max(0, std::min(w, r.right - r.left)); };

  auto tops = ofKind(alTop);
  byKey(tops, [](const TLayoutItem& i) { return i.top; });
  for (size_t i : tops) {
    TLayoutItem& it = items[i];
    it.height = clampH(it.height);
    it.left = r.left;
    it.top = r.top;
    it.width = r.right - r.left;
    r.top += it.height;
  }
  auto bottoms = ofKind(alBottom);
  byKey(bottoms, [](const TLayoutItem& i) { return -(i.top + i.height); });
  for (size_t i : bottoms) {
    TLayoutItem& it = items[i];
    it.height = clampH(it.height);
    it.left = r.left;
    it.top = r.bottom - it.height;
    it.width = r.right - r.left;
    r.bottom -= it.height;
  }
  auto lefts = ofKind(alLeft);
  byKey(lefts, [](const TLayoutItem& i) { return i.left; });
  for (size_t i : lefts) {
    TLayoutItem& it = items[i];
    it.width = clampW(it.width);
    it.left = r.left;
    it.top = r.top;
    it.height = r.bottom - r.top;
    r.left += it.width;
  }
  auto rights = ofKind(alRight);
  byKey(rights, [](const TLayoutItem& i) { return -(i.left + i.width); });
  for (size_t i : rights) {
    TLayoutItem& it = items[i];
    it.width = clampW(it.width);
    it.left = r.right - it.width;
    it.top = r.top;
    it.height = r.bottom - r.top;
    r.right -= it.width;
  }
  for (size_t i : ofKind(alClient)) {
    TLayoutItem& it = items[i];
    it.left = r.left;
    it.top = r.top;
    it.width = r.right - r.left;
    it.height = r.bottom - r.top;
  }
}
