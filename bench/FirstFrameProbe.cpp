// Preloaded into a program under measurement: notes the monotonic time at which the program first
// sends pixels of a window to the X server, which is when its first frame appears. The program
// itself is not changed, so every program is measured the same way.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>

namespace {

struct VoidCookie
{
    unsigned int sequence;
};
using Connection = void;
using Id = std::uint32_t;

std::atomic<bool> seen{false};

void NoteFirstFrame()
{
    if (seen.exchange(true)) return;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const char* path = std::getenv("FIRST_FRAME_FILE");
    if (!path) return;
    if (std::FILE* f = std::fopen(path, "w")) {
        std::fprintf(f, "%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fclose(f);
    }
}

// The real function, in a library that Qt's platform plugin loaded privately (so RTLD_NEXT does
// not see it) before it made the call that led here.
template <class Function> Function Real(const char* library, const char* name)
{
    void* handle = ::dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    return reinterpret_cast<Function>(handle ? ::dlsym(handle, name) : nullptr);
}

} // namespace

extern "C" {

VoidCookie xcb_shm_put_image(Connection* c, Id drawable, Id gc, std::uint16_t totalWidth,
                             std::uint16_t totalHeight, std::uint16_t srcX, std::uint16_t srcY,
                             std::uint16_t srcWidth, std::uint16_t srcHeight, std::int16_t dstX,
                             std::int16_t dstY, std::uint8_t depth, std::uint8_t format,
                             std::uint8_t sendEvent, Id segment, std::uint32_t offset)
{
    using Function =
        VoidCookie (*)(Connection*, Id, Id, std::uint16_t, std::uint16_t, std::uint16_t,
                       std::uint16_t, std::uint16_t, std::uint16_t, std::int16_t, std::int16_t,
                       std::uint8_t, std::uint8_t, std::uint8_t, Id, std::uint32_t);
    static const Function next = Real<Function>("libxcb-shm.so.0", "xcb_shm_put_image");
    const VoidCookie cookie =
        next(c, drawable, gc, totalWidth, totalHeight, srcX, srcY, srcWidth, srcHeight, dstX, dstY,
             depth, format, sendEvent, segment, offset);
    NoteFirstFrame();
    return cookie;
}

VoidCookie xcb_image_put(Connection* c, Id drawable, Id gc, void* image, std::int16_t x,
                         std::int16_t y, std::uint8_t leftPad)
{
    using Function =
        VoidCookie (*)(Connection*, Id, Id, void*, std::int16_t, std::int16_t, std::uint8_t);
    static const Function next = Real<Function>("libxcb-image.so.0", "xcb_image_put");
    const VoidCookie cookie = next(c, drawable, gc, image, x, y, leftPad);
    NoteFirstFrame();
    return cookie;
}

VoidCookie xcb_copy_area(Connection* c, Id source, Id target, Id gc, std::int16_t srcX,
                         std::int16_t srcY, std::int16_t dstX, std::int16_t dstY,
                         std::uint16_t width, std::uint16_t height)
{
    using Function = VoidCookie (*)(Connection*, Id, Id, Id, std::int16_t, std::int16_t,
                                    std::int16_t, std::int16_t, std::uint16_t, std::uint16_t);
    static const Function next = Real<Function>("libxcb.so.1", "xcb_copy_area");
    const VoidCookie cookie = next(c, source, target, gc, srcX, srcY, dstX, dstY, width, height);
    NoteFirstFrame();
    return cookie;
}
}
