// The installed picture backend.
#include "platform/gdi/PictureBackend.h"

namespace {
PictureBackend* g_backend = nullptr;
}

PictureBackend* ZelPictureBackend() { return g_backend; }

PictureBackend* ZelSetPictureBackend(PictureBackend* backend) {
  PictureBackend* previous = g_backend;
  g_backend = backend;
  return previous;
}
