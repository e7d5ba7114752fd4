#include "ui/win32/pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace win32ui {
namespace {

struct Color {
  float r, g, b;
};

// A picture in floating point with a coverage (alpha) per pixel, drawn on by shapes that give
// each pixel a coverage between 0 and 1 (soft edges of about one pixel).
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height), pixels_(width * height) {}

  int Width() const { return width_; }
  int Height() const { return height_; }

  // Paints colour over the pixel with the given coverage ("over" compositing).
  void Blend(int x, int y, Color c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    coverage = std::clamp(coverage, 0.0f, 1.0f);
    if (coverage <= 0.0f) return;
    Pixel& p = pixels_[y * width_ + x];
    const float a = coverage + p.a * (1.0f - coverage);
    const float keep = p.a * (1.0f - coverage);
    p.c.r = (c.r * coverage + p.c.r * keep) / a;
    p.c.g = (c.g * coverage + p.c.g * keep) / a;
    p.c.b = (c.b * coverage + p.c.b * keep) / a;
    p.a = a;
  }

  // Every pixel with the coverage that `shape(x + 0.5, y + 0.5)` returns for its centre.
  template <typename Shape>
  void Fill(Color c, Shape shape) {
    for (int y = 0; y < height_; ++y) {
      for (int x = 0; x < width_; ++x) Blend(x, y, c, shape(x + 0.5f, y + 0.5f));
    }
  }

  Color ColorAt(int x, int y) const { return pixels_[y * width_ + x].c; }
  float AlphaAt(int x, int y) const { return pixels_[y * width_ + x].a; }

 private:
  struct Pixel {
    Color c{0, 0, 0};
    float a = 0;
  };
  int width_;
  int height_;
  std::vector<Pixel> pixels_;
};

// Coverage of a pixel centre lying `distance` inside an edge (negative: outside).
float Edge(float distance) {
  return std::clamp(distance + 0.5f, 0.0f, 1.0f);
}

auto Disc(float cx, float cy, float radius) {
  return [=](float x, float y) { return Edge(radius - std::hypot(x - cx, y - cy)); };
}

auto RoundedRect(float left, float top, float right, float bottom, float radius) {
  return [=](float x, float y) {
    const float qx = std::max(std::max(left + radius - x, x - (right - radius)), 0.0f);
    const float qy = std::max(std::max(top + radius - y, y - (bottom - radius)), 0.0f);
    const float inside = std::min(std::min(x - left, right - x), std::min(y - top, bottom - y));
    const float distance = (qx > 0 || qy > 0) ? radius - std::hypot(qx, qy) : inside;
    return Edge(distance);
  };
}

// A ring of the given thickness between two directions (radians; y grows downwards).
auto Arc(float cx, float cy, float radius, float thickness, float from, float to) {
  return [=](float x, float y) {
    const float angle = std::atan2(y - cy, x - cx);
    if (angle < from || angle > to) return 0.0f;
    return Edge(thickness / 2 - std::fabs(std::hypot(x - cx, y - cy) - radius));
  };
}

auto Rect(float left, float top, float right, float bottom) {
  return [=](float x, float y) {
    return Edge(std::min(std::min(x - left, right - x), std::min(y - top, bottom - y)));
  };
}

std::uint8_t Byte(float v) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 255.0f)));
}

Color Mix(Color a, Color b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void DrawRemote(Canvas& c) {
  constexpr float kRad = 3.14159265f / 180.0f;
  // Sound waves leave the emitter at the top of the remote towards the upper right.
  const Color wave{57, 160, 224};
  for (float radius : {11.0f, 17.0f, 23.0f}) {
    c.Fill(wave, Arc(13, 13, radius, 2.6f, -60 * kRad, 20 * kRad));
  }
  // Body with a lighter rim, then the emitter and the buttons.
  c.Fill({136, 147, 159}, RoundedRect(5, 7, 22, 43, 5));
  c.Fill({46, 52, 64}, RoundedRect(6.5f, 8.5f, 20.5f, 41.5f, 3.8f));
  c.Fill({230, 70, 60}, Disc(13.5f, 12.5f, 2));
  c.Fill({245, 160, 40}, Disc(13.5f, 21, 4));
  c.Fill({255, 255, 255}, [](float x, float y) {
    // The play triangle on the round button: (12, 18.5), (16, 21), (12, 23.5).
    const float upper = (4 * (y - 18.5f) - 2.5f * (x - 12)) / 4.717f;
    const float lower = (-4 * (y - 21) - 2.5f * (x - 16)) / 4.717f;
    return Edge(std::min({x - 12, upper, lower}));
  });
  for (float y : {30.0f, 36.0f}) {
    for (float x : {10.5f, 16.5f}) c.Fill({190, 198, 208}, Disc(x, y, 1.8f));
  }
}

void DrawInfo(Canvas& c) {
  const Color top{24, 30, 82};
  const Color bottom{232, 122, 62};
  for (int y = 0; y < c.Height(); ++y) {
    const Color row = Mix(top, bottom, static_cast<float>(y) / (c.Height() - 1));
    for (int x = 0; x < c.Width(); ++x) c.Blend(x, y, row, 1);
  }
  // A few stars in the dark part of the sky.
  const int stars[][2] = {{12, 9}, {31, 20}, {58, 7}, {83, 15}, {99, 31}, {20, 38}, {72, 28}};
  for (const auto& s : stars) c.Fill({255, 250, 230}, Disc(s[0] + 0.5f, s[1] + 0.5f, 0.9f));
  // The sun with a soft halo above the horizon.
  c.Fill({255, 196, 96},
         [](float x, float y) { return 0.35f * Edge(30 - std::hypot(x - 55, y - 84)); });
  c.Fill({255, 214, 110}, Disc(55, 84, 21));
  // Equaliser bars standing on the ground line.
  c.Fill({40, 26, 52}, Rect(0, 120, 110, 145));
  const int heights[] = {14, 26, 38, 30, 46, 34, 22, 30, 16};
  for (int i = 0; i < 9; ++i) {
    const float left = 5.0f + i * 11.3f;
    const float h = static_cast<float>(heights[i]);
    const Color bar = Mix({70, 200, 150}, {250, 240, 120}, h / 46.0f);
    c.Fill(bar, Rect(left, 118 - h, left + 8, 118));
    c.Fill({40, 26, 52}, Rect(left, 121, left + 8, 121 + h * 0.3f));  // reflection
  }
}

// A DIB section of the given size (a negative height: top-down rows) and depth.
HBITMAP CreateDib(int width, int height, WORD bitsPerPixel, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = bitsPerPixel;
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

Icon CreateFormIcon() {
  constexpr int n = kFormIconSize;
  Canvas canvas(n, n);
  DrawRemote(canvas);

  void* bits = nullptr;
  Bitmap color(CreateDib(n, -n, 32, &bits));  // top-down rows
  if (!color) return Icon();

  // The mask: one bit per pixel, rows padded to 16 bits; a set bit is a transparent pixel,
  // whose colour must then be black.
  constexpr int maskStride = ((n + 15) / 16) * 2;
  std::vector<std::uint8_t> mask(maskStride * n, 0);
  auto* out = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const float a = canvas.AlphaAt(x, y);
      const Color c = canvas.ColorAt(x, y);
      std::uint32_t pixel = 0;
      if (a >= 1.0f / 255) {
        pixel = static_cast<std::uint32_t>(Byte(a * 255)) << 24 |
                static_cast<std::uint32_t>(Byte(c.r)) << 16 |
                static_cast<std::uint32_t>(Byte(c.g)) << 8 | Byte(c.b);
      } else {
        mask[y * maskStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
      out[y * n + x] = pixel;
    }
  }
  Bitmap maskBitmap(CreateBitmap(n, n, 1, 1, mask.data()));
  if (!maskBitmap) return Icon();
  ICONINFO ii{};
  ii.fIcon = TRUE;
  ii.hbmMask = maskBitmap.Get();
  ii.hbmColor = color.Get();
  return Icon(CreateIconIndirect(&ii));  // copies both bitmaps
}

Bitmap CreateInfoPicture() {
  Canvas canvas(kInfoPictureWidth, kInfoPictureHeight);
  DrawInfo(canvas);

  void* bits = nullptr;
  // Bottom-up rows, as most painters expect.
  Bitmap bitmap(CreateDib(kInfoPictureWidth, kInfoPictureHeight, 24, &bits));
  if (!bitmap) return Bitmap();

  constexpr int stride = ((kInfoPictureWidth * 3 + 3) / 4) * 4;
  auto* out = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < kInfoPictureHeight; ++y) {
    std::uint8_t* row = out + (kInfoPictureHeight - 1 - y) * stride;
    for (int x = 0; x < kInfoPictureWidth; ++x) {
      const Color c = canvas.ColorAt(x, y);
      row[x * 3 + 0] = Byte(c.b);
      row[x * 3 + 1] = Byte(c.g);
      row[x * 3 + 2] = Byte(c.r);
    }
  }
  GdiFlush();
  return bitmap;
}

}  // namespace win32ui
