// Errors the geometry code raises when a solid does not fit its tables.
#pragma once

#include <stdexcept>
#include <string>

namespace kesmora {

class GeometryError : public std::runtime_error {
  public:
    explicit GeometryError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace kesmora
