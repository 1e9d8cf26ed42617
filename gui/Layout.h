// Docking arithmetic for Align (portable, pure).
//
// Functions in this file:
//   AlignLayout   places docked children inside a parent's client rectangle
#pragma once

#include <vector>

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct TLayoutRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

struct TLayoutItem {
  TAlign align = alNone;
  int left = 0, top = 0, width = 0, height = 0;
};

// Docks the items in the order top, bottom, left, right, client. Within one
// kind, items keep their stacking by position (tops by Top, bottoms by their
// bottom edge from below, ...; equal positions keep list order). Top and
// bottom items keep their height and take the full width; left and right
// items keep their width; client items fill what is left (several client
// items all get the same rectangle). Sizes never go below 0; alNone items
// are left alone.
void AlignLayout(const TLayoutRect& client, std::vector<TLayoutItem>& items);
