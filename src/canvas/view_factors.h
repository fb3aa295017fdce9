// The still canvas's view-to-picture factors and the factors a snapshot applies at its capture
// size. Plain values; any thread.
#pragma once

#include "base/view_transform.h"

namespace lensora {

// How the still canvas shows its picture: 1 fitted into a view of fixed size, 2 at its own
// size with scroll bars.
enum class DisplayMode : int { Fit = 1, ActualSize = 2 };

// The factors by which a view coordinate is multiplied to give a picture coordinate. Actual
// size: 1. Fit view: one factor for both axes, the larger of the width and height ratios of
// the picture to the view (640 x 480, or 640 x 512 for a 1280 x 1024 picture), so that the
// whole picture shows undistorted in the view's top-left corner: 1600x1200 -> 2.5, 1280x960
// and 1280x1024 -> 2, 640x480 -> 1, 320x240 -> 0.5, 1000x1000 -> 1000/480.
// The transform has no origin and rounds to the nearest pixel.
ViewTransform ViewToImageFactors(DisplayMode mode, int pictureWidth, int pictureHeight);

// Calibrated rates count pixels of a 640-wide view of the picture, as the live view shows a
// frame 640 wide: one picture pixel is 640 / pictureWidth of those, whatever the picture's
// height, the display mode or the window's size (1600 wide -> 0.4, 320 wide -> 2). A width
// that is not positive gives 1.
double MeasuringPixelsPerPicturePixel(int pictureWidth);

// Live records are stored for a 640x480 frame; a snapshot draws them at its capture size times
// this factor: 1600 wide -> 2.5, 1280x960 and 1280x1024 -> 2, 640x480 -> 1, 320x240 -> 0.5,
// any other size 2.5.
double SnapshotRecordScale(int captureWidth, int captureHeight);

// The cross ruler's pixels per unit in a snapshot are multiplied by this factor: 320x240 ->
// 0.5; 1280x960 and 1280x1024 -> 2; 1600x1200 -> 2.5; 2048x1536 -> 3.2; 2592x1944 -> 4.05;
// any other size 1.
double SnapshotRulerScale(int captureWidth, int captureHeight);

}  // namespace lensora
