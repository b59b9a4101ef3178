// Draws the login scene's shapes with cairo, path for path, as the comparison.
#pragma once

#include <cairo.h>

#include "bench/login_scene.h"

namespace tvrl::bench {

// Sources for the bitmap fills; made once, as a cairo application would.
class CairoScene {
 public:
  explicit CairoScene(const LoginScene& scene);
  ~CairoScene();
  void draw(cairo_t* cr) const;

 private:
  const LoginScene& scene_;
  cairo_surface_t* background_;
};

}  // namespace tvrl::bench
