// The file services' own error category.
#include "platform/os/fs/FsError.h"

#include <string>

namespace {

class Category : public std::error_category {
 public:
  const char* name() const noexcept override { return "zel.fs"; }
  std::string message(int code) const override {
    switch (static_cast<ZelFsError>(code)) {
      case ZelFsError::NotRegularFile:
        return "not a regular file";
      case ZelFsError::ControlCharacter:
        return "a name or path holds a control character";
    }
    return "unknown file error";
  }
};

}  // namespace

const std::error_category& ZelFsCategory() {
  static const Category category;
  return category;
}

std::error_code make_error_code(ZelFsError e) { return {static_cast<int>(e), ZelFsCategory()}; }
