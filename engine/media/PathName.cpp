#include "engine/media/PathName.h"

namespace quillo {

namespace {

std::string_view NameOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FileNamePart(std::string_view path) { return std::string(NameOf(path)); }

std::string StemPart(std::string_view path) {
  const std::string_view name = NameOf(path);
  return std::string(name.substr(0, name.rfind('.')));
}

std::string ExtensionPart(std::string_view path) {
  const std::string_view name = NameOf(path);
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(name.substr(dot));
}

}  // namespace quillo
