#include "detect/edge_segment.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "detect/binary_morphology.h"
#include "detect/otsu_threshold.h"

namespace lensora {

namespace {

// Bit k set when index i lies in quarter k of a length: trunc(k * length / 4) <= i and
// i < (k + 1) * length / 4, boundaries compared in floating point.
std::uint8_t QuarterBits(int i, int length) {
    std::uint8_t bits = 0;
    for (int k = 0; k < 4; ++k) {
        const double start = double(k) * length / 4.0;
        const double end = double(k + 1) * length / 4.0;
        if (i >= int(start) && double(i) < end) {
            bits |= std::uint8_t(1u << k);
        }
    }
    return bits;
}

// Kept cells [column quarter][row quarter], rows counted in the plane's bottom-up order.
using KeptCells = std::array<std::array<bool, 4>, 4>;

KeptCells CellsOf(SegmentMask mask) {
    KeptCells kept{};
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            switch (mask) {
                case SegmentMask::kFallingDiagonal:
                    kept[c][r] = r == 3 - c;  // top-left cell is column 0, bottom-up row 3
                    break;
                case SegmentMask::kRisingDiagonal:
                    kept[c][r] = r == c;
                    break;
                case SegmentMask::kVertical:
                    kept[c][r] = c == 1 || c == 2;
                    break;
                case SegmentMask::kHorizontal:
                    kept[c][r] = r == 1 || r == 2;
                    break;
                default:
                    kept[c][r] = true;
                    break;
            }
        }
    }
    return kept;
}

void ApplyMask(GreyPlane& plane, SegmentMask mask) {
    if (mask != SegmentMask::kFallingDiagonal && mask != SegmentMask::kRisingDiagonal &&
        mask != SegmentMask::kVertical && mask != SegmentMask::kHorizontal) {
        return;
    }
    const KeptCells kept = CellsOf(mask);
    std::vector<std::uint8_t> columnBits(plane.width);
    for (int x = 0; x < plane.width; ++x) {
        columnBits[x] = QuarterBits(x, plane.width);
    }
    for (int y = 0; y < plane.height; ++y) {
        const std::uint8_t rowBits = QuarterBits(y, plane.height);
        std::uint8_t* row = plane.Row(y);
        for (int x = 0; x < plane.width; ++x) {
            if (row[x] != 0) {
                continue;
            }
            bool keep = false;
            for (int c = 0; c < 4 && !keep; ++c) {
                for (int r = 0; r < 4 && !keep; ++r) {
                    keep = kept[c][r] && (columnBits[x] >> c & 1) && (rowBits >> r & 1);
                }
            }
            if (!keep) {
                row[x] = 255;
            }
        }
    }
}

// Two rows and columns along every side become bright, so nothing at the border counts as an
// edge.
void BrightFrame(GreyPlane& plane) {
    for (int y = 0; y < plane.height; ++y) {
        std::uint8_t* row = plane.Row(y);
        if (y < 2 || y >= plane.height - 2) {
            std::fill(row, row + plane.width, std::uint8_t{255});
            continue;
        }
        for (int x : {0, 1, plane.width - 2, plane.width - 1}) {
            if (x >= 0 && x < plane.width) {
                row[x] = 255;
            }
        }
    }
}

std::optional<FoundSegment> SearchSegment(const CxImage& image, const PixelBox& rect,
                                          SegmentMask mask, bool dilate, int lowestThreshold,
                                          ThresholdSearch search) {
    GreyPlane edges;
    PixelBox clipped;
    if (!EdgePlaneForSegmentSearch(image, rect, mask, dilate, edges, clipped)) {
        return std::nullopt;
    }
    const double w = edges.width;
    const double h = edges.height;
    const int diagonal = int(std::sqrt(w * w + h * h));
    const HoughSearchResult found =
        SearchSegmentThreshold(edges, diagonal, lowestThreshold, search);
    const std::optional<HoughSegment> shortest = ShortestSegment(found.segments);
    if (!found.found || !shortest) {
        return std::nullopt;
    }
    // Plane rows run bottom-up from the box's lowest row.
    const PixelPoint last = clipped.LastPixel();
    const PixelPoint a{clipped.left + shortest->a.x, last.y - shortest->a.y};
    const PixelPoint b{clipped.left + shortest->b.x, last.y - shortest->b.y};
    const int bottomRow = image.GetHeight() - 1;
    if (a.x == 0 || b.x == 0 || a.y == bottomRow || b.y == bottomRow || a == b) {
        return std::nullopt;
    }
    return FoundSegment{a, b, found.threshold, found.houghCalls};
}

}  // namespace

bool EdgePlaneForSegmentSearch(const CxImage& image, PixelBox rect, SegmentMask mask, bool dilate,
                               GreyPlane& out, PixelBox& clipped) {
    if (!ClipToPicture(image, rect) || rect.Width() < 2 || rect.Height() < 2) {
        return false;
    }
    clipped = rect;
    if (!GreyOfRect(image, rect, true, out)) {
        return false;
    }
    BinariseAbove(out, OtsuThreshold(MakeHistogram(out)));
    ExtractBoundary(out);
    BrightFrame(out);
    if (!dilate) {
        ApplyMask(out, mask);
    }
    for (std::uint8_t& value : out.pixels) {
        value = std::uint8_t(255 - value);
    }
    if (dilate) {
        cv::Mat edges(out.height, out.width, CV_8UC1, out.pixels.data());
        cv::Mat dilated;
        cv::dilate(edges, dilated, cv::Mat());
        dilated.copyTo(edges);
    }
    return true;
}

std::optional<HoughSegment> ShortestSegment(const std::vector<HoughSegment>& segments) {
    if (segments.empty()) {
        return std::nullopt;
    }
    auto length = [](const HoughSegment& s) {
        return std::hypot(double(s.b.x) - s.a.x, double(s.b.y) - s.a.y);
    };
    std::size_t best = 0;
    int bestLength = int(length(segments[0]));
    for (std::size_t i = 1; i < segments.size(); ++i) {
        const double candidate = length(segments[i]);
        if (candidate <= bestLength) {
            best = i;
            bestLength = int(candidate);
        }
    }
    return segments[best];
}

std::optional<FoundSegment> FindEdgeSegment(const CxImage& image, PixelBox rect, SegmentMask mask,
                                            ThresholdSearch search) {
    return SearchSegment(image, rect, mask, false, kLowestSegmentThreshold, search);
}

std::optional<FoundSegment> FindEdgeSegmentDilated(const CxImage& image, PixelBox rect,
                                                   ThresholdSearch search) {
    return SearchSegment(image, rect, SegmentMask::kNone, true, kLowestDilatedSegmentThreshold,
                         search);
}

}  // namespace lensora
