// EGL surfaceless context plus a framebuffer object.
#include "platform/offscreen_gl.h"

#include <GL/glew.h>
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <new>

struct OffscreenGL {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    GLuint depth = 0;
};

namespace {

EGLDisplay surfacelessDisplay() {
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return EGL_NO_DISPLAY;
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

bool createContext(OffscreenGL* gl) {
    gl->display = surfacelessDisplay();
    if (gl->display == EGL_NO_DISPLAY || !eglInitialize(gl->display, nullptr, nullptr)) return false;
    if (!eglBindAPI(EGL_OPENGL_API)) return false;
    const EGLint contextAttributes[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                        EGL_NONE};
    gl->context = eglCreateContext(gl->display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, contextAttributes);
    if (gl->context == EGL_NO_CONTEXT) return false;
    return eglMakeCurrent(gl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, gl->context);
}

// The GL 3.0 framebuffer calls are core in Mesa's compatibility context; GLEW loads them.
bool createFramebuffer(OffscreenGL* gl, int width, int height) {
    glewInit();  // reports that there is no GLX display, but loads every entry point
    if (!glGenFramebuffers || !glGenRenderbuffers) return false;
    glGenRenderbuffers(1, &gl->colour);
    glBindRenderbuffer(GL_RENDERBUFFER, gl->colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glGenRenderbuffers(1, &gl->depth);
    glBindRenderbuffer(GL_RENDERBUFFER, gl->depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, width, height);
    glGenFramebuffers(1, &gl->framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, gl->framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, gl->colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, gl->depth);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

}  // namespace

OffscreenGL* createOffscreenGL(int width, int height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    OffscreenGL* gl = new (std::nothrow) OffscreenGL;
    if (!gl) return nullptr;
    if (!createContext(gl) || !createFramebuffer(gl, width, height)) {
        destroyOffscreenGL(gl);
        return nullptr;
    }
    return gl;
}

void destroyOffscreenGL(OffscreenGL* gl) {
    if (!gl) return;
    if (gl->context != EGL_NO_CONTEXT) {
        if (gl->framebuffer) {
            glBindFramebuffer(GL_FRAMEBUFFER, 0);
            glDeleteFramebuffers(1, &gl->framebuffer);
            GLuint renderbuffers[] = {gl->colour, gl->depth};
            glDeleteRenderbuffers(2, renderbuffers);
        }
        eglMakeCurrent(gl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(gl->display, gl->context);
    }
    // The display itself stays initialised for the life of the process, like a connection to a
    // window system: terminating it unloads the GL driver, whose few remaining allocations would
    // then show as leaks without a module to name them by, and the next context re-initialises it.
    delete gl;
}
