// CImageList: images of one size for devices to draw.
#include "platform/user/gdi/ImageList.h"

#include "platform/user/gdi/DC.h"

bool CImageList::Create(int cx, int cy) {
  m_images.clear();
  if (cx < 1 || cy < 1) {
    m_cx = m_cy = 0;
    return false;
  }
  m_cx = cx;
  m_cy = cy;
  return true;
}

int CImageList::Add(const uint32_t* pixels) {
  if (m_cx < 1 || !pixels) return -1;
  m_images.emplace_back(pixels, pixels + static_cast<size_t>(m_cx) * m_cy);
  return GetImageCount() - 1;
}

int CImageList::AddStrip(const uint32_t* pixels, int stripWidth) {
  if (m_cx < 1 || !pixels || stripWidth < m_cx) return -1;
  const int first = GetImageCount();
  for (int left = 0; left + m_cx <= stripWidth; left += m_cx) {
    std::vector<uint32_t> image(static_cast<size_t>(m_cx) * m_cy);
    for (int row = 0; row < m_cy; ++row)
      for (int col = 0; col < m_cx; ++col)
        image[static_cast<size_t>(row) * m_cx + col] =
            pixels[static_cast<size_t>(row) * stripWidth + left + col];
    m_images.push_back(std::move(image));
  }
  return first;
}

bool CImageList::Remove(int index) {
  if (index < 0 || index >= GetImageCount()) return false;
  m_images.erase(m_images.begin() + index);
  return true;
}

const std::vector<uint32_t>& CImageList::Pixels(int index) const {
  static const std::vector<uint32_t> kNone;
  return index >= 0 && index < GetImageCount() ? m_images[index] : kNone;
}

COLORREF CImageList::SetBkColor(COLORREF color) {
  COLORREF old = m_bkColor;
  m_bkColor = color;
  return old;
}

bool CImageList::Draw(CDC* dc, int index, POINT pt, UINT style) const {
  return dc && dc->DrawImage(*this, index, pt.x, pt.y, style);
}
