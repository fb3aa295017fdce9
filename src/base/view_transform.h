// How the pixels of a view relate to the pixels of a picture it shows:
//     picture = origin + view * f          view = (picture - origin) / f
// per axis, with f the picture pixels per view pixel and origin the picture pixel shown at the
// view's top-left corner (the scroll position). Results become whole pixels by the transform's
// rounding policy: the measuring and detection paths round to the nearest pixel, the overlay
// renderer truncates toward zero.
//
// The renderer draws stored points at ToPicture(point): the surface drawn on plays the part of
// the picture (the still canvas on screen: origin = minus the scroll position, f = 1; a saved
// picture: no origin, f = the view-to-picture factors; the live view: f = the display scale).
// A plain value; any thread.
#pragma once

#include "base/pixel_point.h"

namespace lensora {

enum class PixelRounding {
    Nearest,     // halves away from zero
    TowardZero,  // truncation
};

struct ViewTransform {
    PixelPoint origin;
    double fx = 1.0;  // picture pixels per view pixel
    double fy = 1.0;
    PixelRounding rounding = PixelRounding::Nearest;

    PixelPoint ToPicture(PixelPoint view) const;
    // A factor that is not positive counts as 1.
    PixelPoint ToView(PixelPoint picture) const;
    // Where a record keeps a view point: the view position plus the origin, unscaled.
    PixelPoint ToRecord(PixelPoint view) const { return {view.x + origin.x, view.y + origin.y}; }
    // The same conversions without rounding, for sub-pixel positions.
    PointD ToPictureD(PointD view) const {
        return {origin.x + view.x * fx, origin.y + view.y * fy};
    }
    PointD ToViewD(PointD picture) const {
        const double gx = fx > 0.0 ? fx : 1.0;
        const double gy = fy > 0.0 ? fy : 1.0;
        return {(picture.x - origin.x) / gx, (picture.y - origin.y) / gy};
    }
    PointD ToRecordD(PointD view) const { return {view.x + origin.x, view.y + origin.y}; }
    // A length along x or y (radii, tick half-lengths) in picture pixels.
    int LengthX(double viewLength) const;
    int LengthY(double viewLength) const;

    friend bool operator==(const ViewTransform&, const ViewTransform&) = default;
};

// The renderer's transform: no origin, the given factors, truncating.
inline ViewTransform ScaledDrawing(double fx, double fy) {
    return {{0, 0}, fx, fy, PixelRounding::TowardZero};
}

}  // namespace lensora
