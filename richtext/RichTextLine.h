/// \file
/// Rich text lines measured and drawn on a device: measure a line's rectangle, draw it from
/// a point, or measure it into a CRTFLineMetric, place that, and draw from it.
///
/// Two-pass use:
///   CRTFLineMetric m;
///   GetRTFLineMetrics(dc, text, &lf, &m);   // m.m_rect is (0, 0, width, height)
///   m.m_rect = placed;                      // same width and height
///   RTFLineOut(dc, text, &lf, &m);
/// Every operation answers a status (RTF_OK or a code of RichTextMarkup.h) and may write
/// the cell height of a negative (character) height into *font. Process-wide state: one
/// line at a time, on one thread.
#pragma once

#include "ZelExport.h"
#include "platform/user/gdi/DC.h"
#include "richtext/RichTextMarkup.h"

/// Line mode bits.
constexpr int RTF_MODE_DRAWING = 1;         // set by each operation
constexpr int RTF_MODE_TRUETYPE = 2;        // substitute TrueType faces, correct overhangs
constexpr int RTF_MODE_DEVICE_BASE = 4;     // base height is 10 points on the device
constexpr int RTF_MODE_FIXED_OVERHANG = 8;  // overhangs of base height / 20
constexpr int RTF_MODE_NO_WIDTH = 16;       // fonts always get width 0
constexpr int RTF_MODE_METRIC = 32;         // set by each operation

constexpr int RTF_MAX_RUNS = 40;

/// Where each run of a measured line goes. Owns its arrays.
class ZEL_API CRTFLineMetric {
 public:
  CRTFLineMetric() = default;
  ~CRTFLineMetric();
  CRTFLineMetric(const CRTFLineMetric&) = delete;
  CRTFLineMetric& operator=(const CRTFLineMetric&) = delete;

  /// Replaces the arrays by copies of the first count points of each (none for 0).
  void SetRuns(const POINT* positions, const POINT* extents, int count);

  RECT m_rect;                    ///< bounding rectangle; the caller may move it
  int32_t m_nCount = 0;           ///< runs
  POINT* m_pPositions = nullptr;  ///< per run: x from the left, distance above the bottom
  POINT* m_pExtents = nullptr;    ///< per run: right end and top edge, as measured
};

/// Sets the line mode; answers the previous one (bits 1 and 32 as the last line left them).
ZEL_API int SetRTFLineMode(int mode);
/// Tab stops: count distances from the line's left edge, kept by pointer (the caller keeps
/// the array alive). The previous count and pointer go to the out arguments when given.
ZEL_API void SetRTFLineTabStops(int count, int* stops, int* previousCount, int** previousStops);

/// Measures; rect receives the bounding box with its origin at the start point (the bottom
/// of the first cell), *value 0.
ZEL_API int MeasureRTFLine(HDC dc, const char* text, LOGFONT* font, RECT* rect, int* value);
/// Draws from the rectangle's left and its bottom less shift; rect is not changed.
ZEL_API int DrawRTFLine(HDC dc, const char* text, LOGFONT* font, RECT* rect, int shift);
/// Measures into metric.
ZEL_API int GetRTFLineMetrics(HDC dc, const char* text, LOGFONT* font, CRTFLineMetric* metric);
/// As GetRTFLineMetrics, and runStarts[k] receives the index in text where run k starts
/// (room for RTF_MAX_RUNS + 1 entries).
ZEL_API int GetRTFLineMetricsEx(HDC dc, const char* text, LOGFONT* font, CRTFLineMetric* metric,
                                int* runStarts);
/// Draws from a metric as measured with the same text, font and mode, at its rectangle.
ZEL_API int RTFLineOut(HDC dc, const char* text, LOGFONT* font, CRTFLineMetric* metric);
