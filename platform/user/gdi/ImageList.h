/// \class CImageList
/// CImageList: a row of images of one size, each RGBA with its alpha as the mask, that a
/// device draws normally, transparently or disabled (embossed).
#pragma once

#include <cstdint>
#include <vector>

#include "ZelExport.h"
#include "platform/base/types/WinTypes.h"

class CDC;

class ZEL_API CImageList {
 public:
  /// A colour that means "no background": ILD_NORMAL then draws as ILD_TRANSPARENT does.
  static constexpr COLORREF kNoColor = 0xFFFFFFFFu;

  CImageList() = default;
  CImageList(int cx, int cy) { Create(cx, cy); }
  /// Empties the list and fixes the size of its images; false for a size below 1.
  bool Create(int cx, int cy);
  int GetImageCount() const { return static_cast<int>(m_images.size()); }
  int Width() const { return m_cx; }
  int Height() const { return m_cy; }

  /// Adds an image from cx * cy pixels, row by row, each 0xAARRGGBB (not premultiplied);
  /// answers its index, -1 when the list has no size yet.
  int Add(const uint32_t* pixels);
  /// Adds each cx-wide piece of a strip (toolbar-style) of width cx * n; the first index.
  int AddStrip(const uint32_t* pixels, int stripWidth);
  bool Remove(int index);
  /// The pixels of one image (0xAARRGGBB), empty for an index outside the list.
  const std::vector<uint32_t>& Pixels(int index) const;

  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const { return m_bkColor; }

  /// Draws image index at (x, y) on the device: ILD_NORMAL over the list's background
  /// colour (as ILD_TRANSPARENT without one), ILD_TRANSPARENT blended with the device,
  /// ILD_DISABLED embossed.
  bool Draw(CDC* dc, int index, POINT pt, UINT style) const;

 private:
  int m_cx = 0;
  int m_cy = 0;
  COLORREF m_bkColor = kNoColor;
  std::vector<std::vector<uint32_t>> m_images;
};
