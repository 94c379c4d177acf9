// What a model's dual is, and what the program calls it wherever it names it.
#pragma once

namespace kesmora {

// The dual a model holds: the plain dual (the catalogue's construction, or the face centroids of an
// opened file), a Johnson solid's quasi-dual with its cut faces, or the polar reciprocal.
enum class DualShape { Plain, QuasiDual, PolarReciprocal };

// Where the name stands: on its own ("<Körper>, Quasi-Dual", a figure to choose) or after "und" in
// the window's title, which calls the quasi-dual "quasiduales Polyeder".
enum class DualWording { Alone, InTitle };

// The German name of a dual of this shape; Latin-1, like the catalogue's names.
constexpr const char* dualShapeName(DualShape shape, DualWording wording = DualWording::Alone) {
    switch (shape) {
    case DualShape::QuasiDual:
        return wording == DualWording::InTitle ? "quasiduales Polyeder" : "Quasi-Dual";
    case DualShape::PolarReciprocal:
        return "polar reziproker K\xF6rper";
    case DualShape::Plain:
        break;
    }
    return "dualer K\xF6rper";
}

} // namespace kesmora
