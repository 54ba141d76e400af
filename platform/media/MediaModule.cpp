#include "MediaModule.h"

#include "MediaApi.h"
#include "platform/Module.h"
#include "platform/wmencoder/WMEncoder.h"

#include <dlfcn.h>
#include <cstdio>
#include <future>
#include <mutex>

namespace platform::media {
namespace {

const Api* Load()
{
    // Beside the program, as its other files are; never unloaded, since objects it made
    // may live until the end.
    char program[4096];
    const DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
    if (n == 0 || n >= sizeof program)
        return nullptr;
    const std::string path = SplitPath(program).dir + "media/libqxmedia.so";
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "quorlantix: the media module cannot be loaded: %s\n", ::dlerror());
        return nullptr;
    }
    using Entry = const Api* (*)();
    const auto entry = reinterpret_cast<Entry>(::dlsym(handle, "qx_media_api"));
    const Api* api = entry ? entry() : nullptr;
    if (!api || api->version != kApiVersion) {
        std::fprintf(stderr, "quorlantix: %s is not this program's media module\n", path.c_str());
        return nullptr;
    }
    return api;
}

class Loader {
public:
    void Start()
    {
        std::lock_guard lock(m_mutex);
        if (!m_started) {
            m_started = true;
            m_api = std::async(std::launch::async, &Load).share();
        }
    }
    const Api* Get()
    {
        Start();
        return m_api.get();
    }

private:
    std::mutex m_mutex;
    bool m_started = false;
    std::shared_future<const Api*> m_api;
};

Loader& TheLoader()
{
    static Loader loader;
    return loader;
}

}  // namespace

void RegisterEncoderServer()
{
    for (const CLSID& clsid : {wmenc::CLSID_WMEncoder, wmenc::CLSID_WMEncProfile2})
        CoRegisterClass(clsid, [clsid](REFIID riid, void** ppv) -> HRESULT {
            const Api* api = TheLoader().Get();
            if (!api) {
                if (ppv)
                    *ppv = nullptr;
                return REGDB_E_CLASSNOTREG;
            }
            return api->createEncoderObject(clsid, riid, ppv);
        });
}

void Preload()
{
    TheLoader().Start();
}

bool Available()
{
    return TheLoader().Get() != nullptr;
}

bool HasDecodableVideo(const std::string& path)
{
    const Api* api = TheLoader().Get();
    return api && api->hasDecodableVideo(path);
}

}  // namespace platform::media

namespace platform::player {

std::unique_ptr<Playback> Playback::Create(std::string path, Notify notify)
{
    const media::Api* api = media::TheLoader().Get();
    return api ? std::unique_ptr<Playback>(api->openPlayback(path, std::move(notify))) : nullptr;
}

std::unique_ptr<SoundOutput> SoundOutput::Open(int rate, int channels, PcmFifo& fifo, MediaClock& clock,
                                               SoundFormat& chosen, std::function<void()> onFailed)
{
    const media::Api* api = media::TheLoader().Get();
    return api ? std::unique_ptr<SoundOutput>(api->openSound(rate, channels, fifo, clock, chosen, std::move(onFailed)))
               : nullptr;
}

}  // namespace platform::player
