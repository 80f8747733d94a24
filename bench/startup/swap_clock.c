/* Preloaded into a measured program: after every SDL_GL_SwapWindow it
 * appends to the file named by SWAP_CLOCK_LOG the microseconds since
 * SWAP_CLOCK_START_US (wall-clock microseconds, taken just before exec). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

typedef void (*SwapFunction)(void*);

void SDL_GL_SwapWindow(void* window) {
    static SwapFunction real = NULL;
    if (real == NULL) {
        real = (SwapFunction)dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    }
    real(window);
    const char* path = getenv("SWAP_CLOCK_LOG");
    const char* start = getenv("SWAP_CLOCK_START_US");
    if (path == NULL || start == NULL) {
        return;
    }
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    long long micros = (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000;
    FILE* log = fopen(path, "a");
    if (log != NULL) {
        fprintf(log, "%lld\n", micros - atoll(start));
        fclose(log);
    }
}
