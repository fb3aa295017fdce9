#include "detect/edge_refine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "detect/grey_region.h"

namespace lensora {

namespace {

// Half-length of the profile across the edge, and where its two side levels are taken.
constexpr double kProfileHalf = 6.0;
constexpr double kSideFrom = 3.0;
constexpr double kProfileStep = 0.25;
// Margin around the region of interest: the profile, the smoothing and the gradient.
constexpr int kPatchMargin = 12;
constexpr int kRefineRounds = 3;

PointD Add(PointD a, PointD b, double t) {
    return {a.x + t * b.x, a.y + t * b.y};
}

double Norm(PointD v) {
    return std::hypot(v.x, v.y);
}

// The smoothed grey values of a rectangle of the picture, sampled bilinearly.
class SmoothPatch {
  public:
    bool Build(const CxImage& image, PixelBox rect) {
        if (!ClipToPicture(image, rect)) {
            return false;
        }
        GreyPlane grey;
        if (!GreyOfRect(image, rect, false, grey)) {
            return false;
        }
        x0_ = rect.left;
        y0_ = rect.top;
        width_ = grey.width;
        height_ = grey.height;
        // Separable 1 4 6 4 1 with the border repeated.
        std::vector<float> rows(std::size_t(width_) * height_);
        auto clampX = [&](int x) { return std::clamp(x, 0, width_ - 1); };
        auto clampY = [&](int y) { return std::clamp(y, 0, height_ - 1); };
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                rows[std::size_t(y) * width_ + x] =
                    (grey.At(clampX(x - 2), y) + 4.0f * grey.At(clampX(x - 1), y) +
                     6.0f * grey.At(x, y) + 4.0f * grey.At(clampX(x + 1), y) +
                     grey.At(clampX(x + 2), y)) /
                    16.0f;
            }
        }
        values_.assign(rows.size(), 0.0f);
        auto row = [&](int x, int y) { return rows[std::size_t(clampY(y)) * width_ + x]; };
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                values_[std::size_t(y) * width_ + x] =
                    (row(x, y - 2) + 4.0f * row(x, y - 1) + 6.0f * row(x, y) +
                     4.0f * row(x, y + 1) + row(x, y + 2)) /
                    16.0f;
            }
        }
        return true;
    }

    // Bilinear value at a picture position; positions outside take the nearest border.
    double At(PointD p) const {
        const double fx = std::clamp(p.x - x0_, 0.0, double(width_ - 1));
        const double fy = std::clamp(p.y - y0_, 0.0, double(height_ - 1));
        const int ix = std::min(int(fx), std::max(0, width_ - 2));
        const int iy = std::min(int(fy), std::max(0, height_ - 2));
        const double tx = width_ > 1 ? fx - ix : 0.0;
        const double ty = height_ > 1 ? fy - iy : 0.0;
        const int ix1 = std::min(ix + 1, width_ - 1);
        const int iy1 = std::min(iy + 1, height_ - 1);
        const double top = Value(ix, iy) * (1 - tx) + Value(ix1, iy) * tx;
        const double bottom = Value(ix, iy1) * (1 - tx) + Value(ix1, iy1) * tx;
        return top * (1 - ty) + bottom * ty;
    }

    PointD Gradient(PointD p) const {
        return {(At({p.x + 1, p.y}) - At({p.x - 1, p.y})) / 2.0,
                (At({p.x, p.y + 1}) - At({p.x, p.y - 1})) / 2.0};
    }

  private:
    double Value(int x, int y) const { return values_[std::size_t(y) * width_ + x]; }

    int x0_ = 0;
    int y0_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::vector<float> values_;
};

PixelBox AroundPoints(PointD a, PointD b) {
    return {int(std::floor(std::min(a.x, b.x))) - kPatchMargin,
            int(std::floor(std::min(a.y, b.y))) - kPatchMargin,
            int(std::ceil(std::max(a.x, b.x))) + kPatchMargin + 1,
            int(std::ceil(std::max(a.y, b.y))) + kPatchMargin + 1};
}

// Moves `point` along the local gradient onto the midpoint crossing of the profile, a few
// rounds so that the gradient is finally taken on the edge itself. `fallbackNormal` serves
// where the gradient vanishes.
std::optional<RefinedEdge> CrossingNear(const SmoothPatch& patch, PointD point,
                                        PointD fallbackNormal, double noiseSigma) {
    constexpr int kSamples = int(2 * kProfileHalf / kProfileStep) + 1;
    std::array<double, kSamples> profile{};
    RefinedEdge edge;
    for (int round = 0; round < kRefineRounds; ++round) {
        PointD normal = patch.Gradient(point);
        double length = Norm(normal);
        if (length < 1e-6) {
            normal = fallbackNormal;
            length = Norm(normal);
        }
        normal = {normal.x / length, normal.y / length};
        double low = 0.0;
        double high = 0.0;
        int sideCount = 0;
        for (int i = 0; i < kSamples; ++i) {
            const double s = -kProfileHalf + i * kProfileStep;
            profile[std::size_t(i)] = patch.At(Add(point, normal, s));
            if (s <= -kSideFrom) {
                low += profile[std::size_t(i)];
                ++sideCount;
            } else if (s >= kSideFrom) {
                high += profile[std::size_t(i)];
            }
        }
        low /= sideCount;
        high /= sideCount;
        const double middle = (low + high) / 2.0;
        // The crossing nearest the point: search outwards from the profile's centre.
        const int centre = kSamples / 2;
        std::optional<double> crossing;
        for (int offset = 0; offset < centre && !crossing; ++offset) {
            for (int i : {centre + offset, centre - offset - 1}) {
                if (i < 0 || i + 1 >= kSamples) {
                    continue;
                }
                const double a = profile[std::size_t(i)] - middle;
                const double b = profile[std::size_t(i + 1)] - middle;
                if ((a <= 0.0 && b > 0.0) || (a >= 0.0 && b < 0.0)) {
                    const double s = -kProfileHalf + i * kProfileStep;
                    crossing = s + kProfileStep * a / (a - b);
                    break;
                }
            }
        }
        if (!crossing) {
            return std::nullopt;
        }
        point = Add(point, normal, *crossing);
        edge.point = point;
        edge.normal = normal;
        edge.contrast = std::abs(high - low);
        if (std::abs(*crossing) < 0.01) {
            break;
        }
    }
    if (edge.contrast < EdgeContrastFloor(noiseSigma)) {
        return std::nullopt;
    }
    return edge;
}

}  // namespace

double EdgeContrastFloor(double noiseSigma) {
    return std::max(kMinEdgeContrast, kNoiseFloorSigmas * std::max(0.0, noiseSigma));
}

std::optional<RefinedEdge> RefineSnappedEdge(const CxImage& image, PointD click, PointD snapped,
                                             double noiseSigma) {
    if (!IsDetectable(image)) {
        return std::nullopt;
    }
    SmoothPatch patch;
    if (!patch.Build(image, AroundPoints(click, snapped))) {
        return std::nullopt;
    }
    const PointD ray{snapped.x - click.x, snapped.y - click.y};
    const double length = Norm(ray);
    if (length < 1e-9) {
        return std::nullopt;
    }
    const PointD unit{ray.x / length, ray.y / length};
    // The edge lies between the click and the snapped pixel, which may be a few pixels beyond
    // it: the steepest change along the ray.
    double bestT = 0.0;
    double bestChange = -1.0;
    for (double t = -2.0; t <= length + 3.0; t += kProfileStep) {
        const double change =
            std::abs(patch.At(Add(click, unit, t + 0.5)) - patch.At(Add(click, unit, t - 0.5)));
        if (change > bestChange) {
            bestChange = change;
            bestT = t;
        }
    }
    std::optional<RefinedEdge> edge =
        CrossingNear(patch, Add(click, unit, bestT), unit, noiseSigma);
    // A crossing that wandered far from the ray belongs to another edge.
    if (edge &&
        Norm({edge->point.x - click.x, edge->point.y - click.y}) > length + kPatchMargin / 2) {
        return std::nullopt;
    }
    return edge;
}

std::optional<RefinedEdge> RefineEdgeAcross(const CxImage& image, PointD point, PointD normal,
                                            double noiseSigma) {
    if (!IsDetectable(image) || Norm(normal) < 1e-9) {
        return std::nullopt;
    }
    SmoothPatch patch;
    if (!patch.Build(image, AroundPoints(point, point))) {
        return std::nullopt;
    }
    std::optional<RefinedEdge> edge = CrossingNear(patch, point, normal, noiseSigma);
    if (edge && Norm({edge->point.x - point.x, edge->point.y - point.y}) > kProfileHalf) {
        return std::nullopt;
    }
    return edge;
}

}  // namespace lensora
