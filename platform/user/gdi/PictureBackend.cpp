// The installed picture backend.
#include "platform/user/gdi/PictureBackend.h"

#include "platform/os/module/Toolkit.h"

namespace {
PictureBackend* g_backend = nullptr;
}

PictureBackend* ZelPictureBackend() {
  if (!g_backend) zel_module::EnsureToolkit();
  return g_backend;
}

PictureBackend* ZelSetPictureBackend(PictureBackend* backend) {
  PictureBackend* previous = g_backend;
  g_backend = backend;
  return previous;
}
