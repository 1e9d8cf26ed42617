// The skinned progress bar's picture (portable).
//
// Functions in this file:
//   CanComposeProgress   whether a skin has what the picture needs
//   ComposeProgress      the whole bar, composed off-screen
//
// Style 0: the Progress strip holds two frames (empty bar, full bar); the
// full bar is drawn over the filled part. Style 1: the Progress image is the
// trough and Progress.Chunk the fill. A vertical bar is composed lying down
// and turned upright, so it fills from the bottom.
#pragma once

#include "skin/data/Image.h"
#include "skin/data/SkinColour.h"

class TDataSkinBorder;
class TDataSkinObject;

bool CanComposeProgress(const TDataSkinBorder* progress, const TDataSkinObject* chunk);

// A `width` x `height` picture of the bar at `position` in
// `minimum`..`maximum` on a face of colour `face` (a skin colour); empty when
// CanComposeProgress is false or the size is empty.
Image ComposeProgress(int width, int height, bool vertical, const TDataSkinBorder* progress,
                      const TDataSkinObject* chunk, int position, int minimum, int maximum,
                      TColour face);
