/// \file
/// Pictures to draw on: an in-memory image or a picture file (PNG, SVG, PDF), each with a
/// device, made by the integration's picture backend (the Qt set has one). The core has none
/// of its own: without a toolkit no picture is made.
///
/// Usage:
/// ```
///   PictureBackend* backend = ZelPictureBackend();
///   std::string error;
///   auto picture = backend ? backend->NewPicture("line.png", 200, 40, &error) : nullptr;
///   if (picture) { picture->Device()->TextOut(4, 4, "text", 4); picture->Finish(&error); }
/// ```
#pragma once

#include <memory>
#include <string>

#include "ZelExport.h"
#include "platform/user/gdi/DC.h"

/// A picture to draw on, in memory or bound for a file, with the device that draws on it.
class ZEL_API Picture {
 public:
  virtual ~Picture() = default;
  /// The device drawing on the picture; it starts white, at 96 pixels per logical inch.
  virtual CDC* Device() = 0;
  /// Ends the drawing and writes the file (nothing for an in-memory image); false with the
  /// reason in *error when it cannot be written. The device is gone afterwards.
  virtual bool Finish(std::string* error) = 0;
};

/// The engine that makes pictures to draw on.
class ZEL_API PictureBackend {
 public:
  virtual ~PictureBackend() = default;
  /// The picture formats the backend writes, by the path's extension (case ignored).
  virtual bool CanWrite(const std::string& path) const = 0;
  /// A white picture of width by height pixels: an image in memory for an empty path, else
  /// a file of the path's format. Null with the reason in *error when it cannot be made.
  virtual std::unique_ptr<Picture> NewPicture(const std::string& path, int width, int height,
                                              std::string* error) = 0;
};

/// The installed integration's backend, else the toolkit's (its library loaded on first
/// need); null when there is no toolkit.
ZEL_API PictureBackend* ZelPictureBackend();
