#include "scene/GlSurface.h"

#define GL_GLEXT_PROTOTYPES
#define EGL_EGLEXT_PROTOTYPES
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>
#include <vector>

namespace tavrok::scene {

using support::Error;
using support::ErrorCode;

struct GlSurface::State {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
    PixelSize size;

    ~State() {
        if (context == EGL_NO_CONTEXT) {
            return;
        }
        if (eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
            glDeleteFramebuffers(1, &framebuffer);
            glDeleteRenderbuffers(1, &colour);
            glDeleteRenderbuffers(1, &depth);
        }
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
        // The display stays initialised: other surfaces of this process may share it.
    }
};

namespace {

Error conflict(std::string cause) {
    return Error{ErrorCode::OpenGlConflict, cause, cause};
}

bool hasExtension(const char* list, const char* name) {
    if (list == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0')) {
            return true;
        }
    }
    return false;
}

EGLDisplay initialised(EGLDisplay display) {
    if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) {
        return display;
    }
    return EGL_NO_DISPLAY;
}

// A GPU device first, then Mesa's software device, then the surfaceless platform.
EGLDisplay deviceDisplay(bool hardware) {
    auto queryDevices =
        reinterpret_cast<PFNEGLQUERYDEVICESEXTPROC>(eglGetProcAddress("eglQueryDevicesEXT"));
    auto queryDeviceString = reinterpret_cast<PFNEGLQUERYDEVICESTRINGEXTPROC>(
        eglGetProcAddress("eglQueryDeviceStringEXT"));
    auto platformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!queryDevices || !queryDeviceString || !platformDisplay) {
        return EGL_NO_DISPLAY;
    }
    EGLDeviceEXT devices[16];
    EGLint count = 0;
    if (!queryDevices(16, devices, &count)) {
        return EGL_NO_DISPLAY;
    }
    for (EGLint i = 0; i < count; ++i) {
        const char* extensions = queryDeviceString(devices[i], EGL_EXTENSIONS);
        if (hasExtension(extensions, "EGL_MESA_device_software") == hardware) {
            continue;
        }
        const EGLDisplay display =
            initialised(platformDisplay(EGL_PLATFORM_DEVICE_EXT, devices[i], nullptr));
        if (display != EGL_NO_DISPLAY) {
            return display;
        }
    }
    return EGL_NO_DISPLAY;
}

EGLDisplay openDisplay() {
    const char* clientExtensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (hasExtension(clientExtensions, "EGL_EXT_device_enumeration")) {
        for (const bool hardware : {true, false}) {
            if (const EGLDisplay display = deviceDisplay(hardware); display != EGL_NO_DISPLAY) {
                return display;
            }
        }
    }
    if (hasExtension(clientExtensions, "EGL_MESA_platform_surfaceless")) {
        auto platformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
            eglGetProcAddress("eglGetPlatformDisplayEXT"));
        if (platformDisplay) {
            const EGLDisplay display = initialised(
                platformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr));
            if (display != EGL_NO_DISPLAY) {
                return display;
            }
        }
    }
    return initialised(eglGetDisplay(EGL_DEFAULT_DISPLAY));
}

// Any configuration that renders desktop OpenGL; the framebuffer brings its own formats.
EGLConfig chooseConfig(EGLDisplay display) {
    const EGLint attributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (eglChooseConfig(display, attributes, &config, 1, &count) && count > 0) {
        return config;
    }
    return nullptr;  // EGL_NO_CONFIG_KHR
}

}  // namespace

GlSurface::GlSurface(std::unique_ptr<State> state) : m_state(std::move(state)) {}
GlSurface::GlSurface(GlSurface&&) noexcept = default;
GlSurface& GlSurface::operator=(GlSurface&&) noexcept = default;
GlSurface::~GlSurface() = default;

support::Result<GlSurface> GlSurface::create(PixelSize size) {
    auto state = std::make_unique<State>();
    state->display = openDisplay();
    if (state->display == EGL_NO_DISPLAY) {
        return conflict("no EGL display could be opened");
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        return conflict("EGL offers no desktop OpenGL");
    }
    const EGLConfig config = chooseConfig(state->display);
    const EGLint compatibility[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                    EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    state->context = eglCreateContext(state->display, config, EGL_NO_CONTEXT, compatibility);
    if (state->context == EGL_NO_CONTEXT) {
        state->context = eglCreateContext(state->display, config, EGL_NO_CONTEXT, nullptr);
    }
    if (state->context == EGL_NO_CONTEXT) {
        return conflict("no OpenGL context could be made");
    }
    if (!eglMakeCurrent(state->display, EGL_NO_SURFACE, EGL_NO_SURFACE, state->context)) {
        return conflict("the OpenGL context cannot be used without a window");
    }
    GlSurface surface(std::move(state));
    if (auto bound = surface.bind(size); !bound) {
        return bound.error();
    }
    return surface;
}

namespace {

bool makeFramebuffer(GlSurface::State& state, PixelSize size) {
    if (state.framebuffer == 0) {
        glGenFramebuffers(1, &state.framebuffer);
        glGenRenderbuffers(1, &state.colour);
        glGenRenderbuffers(1, &state.depth);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, state.framebuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, state.colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size.width, size.height);
    glBindRenderbuffer(GL_RENDERBUFFER, state.depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size.width, size.height);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, state.colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, state.depth);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

}  // namespace

support::Status GlSurface::bind(PixelSize size) {
    State& state = *m_state;
    if (!eglMakeCurrent(state.display, EGL_NO_SURFACE, EGL_NO_SURFACE, state.context)) {
        return conflict("the OpenGL context cannot be made current");
    }
    if (state.framebuffer == 0 || !(state.size == size)) {
        GLint largest = 0;
        glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
        if (size.width < 1 || size.height < 1 || size.width > largest || size.height > largest ||
            !makeFramebuffer(state, size)) {
            state.size = {};
            return conflict("no " + std::to_string(size.width) + " x " +
                            std::to_string(size.height) + " framebuffer could be made");
        }
        state.size = size;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, state.framebuffer);
    glViewport(0, 0, size.width, size.height);
    return support::success();
}

PixelSize GlSurface::size() const {
    return m_state->size;
}

support::RgbImage GlSurface::readPixels() const {
    const PixelSize size = m_state->size;
    std::vector<std::uint8_t> bottomUp(static_cast<std::size_t>(size.width) * size.height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size.width, size.height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    support::RgbImage image(size.width, size.height, support::RgbImage::uninitialised);
    const std::size_t line = image.bytesPerLine();
    for (int y = 0; y < size.height; ++y) {
        const auto* source = bottomUp.data() + static_cast<std::size_t>(size.height - 1 - y) * line;
        std::memcpy(image.row(y).data(), source, line);
    }
    return image;
}

std::string GlSurface::rendererName() const {
    const auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return name != nullptr ? name : "";
}

}  // namespace tavrok::scene
