#pragma once
#include <memory>
#include <string>

#include "scene/SceneParameters.h"
#include "support/Result.h"
#include "support/RgbImage.h"

namespace tavrok::scene {

// An OpenGL context of our own with an off-screen framebuffer: made through EGL without any
// window system (a GPU device where EGL offers one, else Mesa's surfaceless platform), drawn
// into, and read back into an image. It stays current on the thread that made it.
class GlSurface {
  public:
    // A compatibility-profile context and a framebuffer of the given size with a 24-bit depth
    // buffer. Fails with OpenGlConflict when neither can be made; the cause says which step.
    static support::Result<GlSurface> create(PixelSize size);

    GlSurface(GlSurface&&) noexcept;
    GlSurface& operator=(GlSurface&&) noexcept;
    ~GlSurface();

    // Makes the context current and binds the framebuffer, resized if the size changed.
    support::Status bind(PixelSize size);
    PixelSize size() const;
    // The framebuffer's pixels, top row first.
    support::RgbImage readPixels() const;
    // "llvmpipe (LLVM 15.0.6, 256 bits)" or the GPU's name.
    std::string rendererName() const;

    // What the surface owns; defined beside the EGL code.
    struct State;

  private:
    explicit GlSurface(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

}  // namespace tavrok::scene
