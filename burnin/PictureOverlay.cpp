#include "PictureOverlay.h"

#include <algorithm>
#include <array>
#include <cmath>

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace orlisk {
namespace {

constexpr int kFractionBits = 12;
constexpr double kOne = 1 << kFractionBits;

// One luma position of the bitmap: coverage and the premultiplied Y, Cb, Cr
// it adds (in 8-bit units), i.e. coverage times the colour's Y, Cb, Cr.
struct Covered {
  double Alpha = 0;
  std::array<double, 3> Add{};
};

// BT.601, the matrix swscale uses for the reader's frames. Limited range:
// Y 16..235, Cb and Cr 16..240 around 128; full range (the "J" formats):
// 0..255 around 128.
Covered Convert(const std::uint8_t* bgra, bool fullRange) {
  const double a = bgra[3] / 255.0;
  const double b = bgra[0] / 255.0;
  const double g = bgra[1] / 255.0;
  const double r = bgra[2] / 255.0;
  Covered c;
  c.Alpha = a;
  const double ys = fullRange ? 255.0 : 219.0;
  const double cs = fullRange ? 255.0 : 224.0;
  c.Add[0] = (fullRange ? 0.0 : 16.0 * a) + ys * (0.299 * r + 0.587 * g + 0.114 * b);
  c.Add[1] = 128.0 * a + cs * (-0.168736 * r - 0.331264 * g + 0.5 * b);
  c.Add[2] = 128.0 * a + cs * (0.5 * r - 0.418688 * g - 0.081312 * b);
  return c;
}

// The luma positions one chroma sample stands for along one axis, with
// their weights: a cosited sample sits on an even position and takes its
// neighbours at half weight; a centred one sits between two positions.
struct Tap {
  int Offset;
  double Weight;
};

std::vector<Tap> Taps(int shift, bool cosited) {
  if (shift == 0) return {{0, 1.0}};
  if (shift == 1 && cosited) return {{-1, 0.25}, {0, 0.5}, {1, 0.25}};
  const int n = 1 << shift;
  std::vector<Tap> taps;
  for (int i = 0; i < n; ++i) taps.push_back({i, 1.0 / n});
  return taps;
}

bool FullRange(AVPixelFormat format) {
  return format == AV_PIX_FMT_YUVJ420P || format == AV_PIX_FMT_YUVJ422P || format == AV_PIX_FMT_YUVJ444P ||
         format == AV_PIX_FMT_YUVJ440P || format == AV_PIX_FMT_YUVJ411P;
}

template <typename Sample>
void BlendRows(AVFrame& picture, int plane, int x, int y, int width, int height, const std::int32_t* add,
               const std::int32_t* keep, int maximum) {
  for (int row = 0; row < height; ++row) {
    auto* out = reinterpret_cast<Sample*>(picture.data[plane] + static_cast<std::ptrdiff_t>(y + row) *
                                                                   picture.linesize[plane]) + x;
    const std::int32_t* a = add + static_cast<std::ptrdiff_t>(row) * width;
    const std::int32_t* k = keep + static_cast<std::ptrdiff_t>(row) * width;
    for (int i = 0; i < width; ++i) {
      const std::int32_t value = (a[i] + k[i] * out[i] + (1 << (kFractionBits - 1))) >> kFractionBits;
      out[i] = static_cast<Sample>(std::min(value, maximum));
    }
  }
}

}  // namespace

bool PictureOverlay::Supports(const AVFrame& picture) {
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(picture.format));
  if (!d || d->nb_components < 3) return false;
  if (d->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL | AV_PIX_FMT_FLAG_BE | AV_PIX_FMT_FLAG_BITSTREAM |
                  AV_PIX_FMT_FLAG_FLOAT | AV_PIX_FMT_FLAG_HWACCEL)) {
    return false;
  }
  if (!(d->flags & AV_PIX_FMT_FLAG_PLANAR)) return false;
  // Y, Cb and Cr each alone in a plane of its own, in the low bits of whole
  // 8- or 16-bit samples.
  for (int i = 0; i < 3; ++i) {
    const AVComponentDescriptor& c = d->comp[i];
    const int bytes = c.depth > 8 ? 2 : 1;
    if (c.plane != i || c.offset != 0 || c.shift != 0 || c.step != bytes || c.depth < 8 || c.depth > 16) return false;
  }
  return d->comp[0].depth == d->comp[1].depth && d->comp[0].depth == d->comp[2].depth;
}

PictureOverlay::PictureOverlay(const SubtitleBitmap& bitmap, const AVFrame& like) {
  const auto format = static_cast<AVPixelFormat>(like.format);
  const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(format);
  const int depth = d->comp[0].depth;
  maximum_ = (1 << depth) - 1;
  const Frame& pixels = bitmap.Pixels;
  if (pixels.empty()) return;
  const bool fullRange = FullRange(format);
  const double scale = static_cast<double>(1 << (depth - 8));

  std::vector<Covered> covered(static_cast<std::size_t>(pixels.Width) * pixels.Height);
  for (int y = 0; y < pixels.Height; ++y) {
    for (int x = 0; x < pixels.Width; ++x) {
      covered[static_cast<std::size_t>(y) * pixels.Width + x] =
          Convert(pixels.Pixels.data() + static_cast<std::size_t>(y) * pixels.Stride + 4 * x, fullRange);
    }
  }
  // A luma position of the picture, clamped to it (as converters repeat the
  // edge), looked up in the bitmap: transparent outside it.
  const auto at = [&](int x, int y) -> const Covered* {
    x = std::clamp(x, 0, like.width - 1) - bitmap.X;
    y = std::clamp(y, 0, like.height - 1) - bitmap.Y;
    if (x < 0 || y < 0 || x >= pixels.Width || y >= pixels.Height) return nullptr;
    return &covered[static_cast<std::size_t>(y) * pixels.Width + x];
  };

  // Unspecified siting is MPEG-2's and H.264's: cosited sideways, centred
  // between rows.
  const AVChromaLocation siting = like.chroma_location;
  const bool cositedX = siting == AVCHROMA_LOC_UNSPECIFIED || siting == AVCHROMA_LOC_LEFT ||
                        siting == AVCHROMA_LOC_TOPLEFT || siting == AVCHROMA_LOC_BOTTOMLEFT;
  const bool cositedY = siting == AVCHROMA_LOC_TOPLEFT || siting == AVCHROMA_LOC_TOP;

  for (int plane = 0; plane < 3; ++plane) {
    const int sx = plane == 0 ? 0 : d->log2_chroma_w;
    const int sy = plane == 0 ? 0 : d->log2_chroma_h;
    const int planeWidth = AV_CEIL_RSHIFT(like.width, sx);
    const int planeHeight = AV_CEIL_RSHIFT(like.height, sy);
    const std::vector<Tap> tapsX = Taps(sx, cositedX);
    const std::vector<Tap> tapsY = Taps(sy, cositedY);
    // Every sample whose taps may reach the bitmap; the rest stay as they are.
    PlanePart part;
    part.Plane = plane;
    part.X = std::max(0, (bitmap.X - 1) >> sx);
    part.Y = std::max(0, (bitmap.Y - 1) >> sy);
    const int lastX = std::min(planeWidth - 1, (bitmap.X + pixels.Width) >> sx);
    const int lastY = std::min(planeHeight - 1, (bitmap.Y + pixels.Height) >> sy);
    part.Width = lastX - part.X + 1;
    part.Height = lastY - part.Y + 1;
    if (part.Width <= 0 || part.Height <= 0) continue;
    part.Add.resize(static_cast<std::size_t>(part.Width) * part.Height);
    part.Keep.resize(part.Add.size());
    for (int row = 0; row < part.Height; ++row) {
      for (int column = 0; column < part.Width; ++column) {
        const int cx = (part.X + column) << sx;
        const int cy = (part.Y + row) << sy;
        double alpha = 0;
        double add = 0;
        for (const Tap& ty : tapsY) {
          for (const Tap& tx : tapsX) {
            const Covered* c = at(cx + tx.Offset, cy + ty.Offset);
            if (!c) continue;
            alpha += tx.Weight * ty.Weight * c->Alpha;
            add += tx.Weight * ty.Weight * c->Add[static_cast<std::size_t>(plane)];
          }
        }
        const std::size_t i = static_cast<std::size_t>(row) * part.Width + column;
        part.Add[i] = static_cast<std::int32_t>(std::lround(add * scale * kOne));
        part.Keep[i] = static_cast<std::int32_t>(std::lround((1.0 - alpha) * kOne));
      }
    }
    parts_.push_back(std::move(part));
  }
}

void PictureOverlay::BlendInto(AVFrame& picture) const {
  for (const PlanePart& p : parts_) {
    if (maximum_ > 255) {
      BlendRows<std::uint16_t>(picture, p.Plane, p.X, p.Y, p.Width, p.Height, p.Add.data(), p.Keep.data(), maximum_);
    } else {
      BlendRows<std::uint8_t>(picture, p.Plane, p.X, p.Y, p.Width, p.Height, p.Add.data(), p.Keep.data(), maximum_);
    }
  }
}

}  // namespace orlisk
