// The picture backend in use.
#include "platform/user/gdi/PictureBackend.h"

#include "platform/user/integration/Integration.h"

PictureBackend* ZelPictureBackend() {
  if (PictureBackend* installed = zel_user::InstalledEngine<PictureBackend>()) return installed;
  const zel_user::Integration* toolkit = zel_user::ToolkitIntegration();
  return toolkit ? toolkit->pictures : nullptr;
}
