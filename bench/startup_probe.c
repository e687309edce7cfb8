/* Start-up probe, preloaded into the real demo by bench/startup.sh: prints on standard error the
 * wall-clock times at which the first frame is presented and the song starts playing. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <time.h>

static double wallSeconds(void) {
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return (double)now.tv_sec + (double)now.tv_nsec * 1e-9;
}

void glfwSwapBuffers(void* window) {
    static int swaps = 0;
    static void (*real)(void*) = 0;
    if (!real) real = (void (*)(void*))dlsym(RTLD_NEXT, "glfwSwapBuffers");
    real(window);
    if (swaps++ == 0) fprintf(stderr, "probe first-frame %.6f\n", wallSeconds());
}

void alSourcePlay(unsigned source) {
    static void (*real)(unsigned) = 0;
    if (!real) real = (void (*)(unsigned))dlsym(RTLD_NEXT, "alSourcePlay");
    fprintf(stderr, "probe song-start %.6f\n", wallSeconds());
    real(source);
}
