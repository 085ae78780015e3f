#include "system/Beeper.h"

#include "seams/Log.h"

#include <canberra.h>
#include <dlfcn.h>

namespace
{

// libcanberra, opened once the window is shown (on a thread of its own) or when the first bell
// sounds: the library with the codecs it links (Vorbis, Ogg, TDB, ltdl) would add start-up time.
struct Canberra {
    decltype(&ca_context_create) context_create = nullptr;
    decltype(&ca_context_destroy) context_destroy = nullptr;
    decltype(&ca_context_set_driver) context_set_driver = nullptr;
    decltype(&ca_context_change_props) context_change_props = nullptr;
    decltype(&ca_context_open) context_open = nullptr;
    decltype(&ca_context_play_full) context_play_full = nullptr;
    decltype(&ca_context_cache_full) context_cache_full = nullptr;
    decltype(&ca_proplist_create) proplist_create = nullptr;
    decltype(&ca_proplist_sets) proplist_sets = nullptr;
    decltype(&ca_proplist_destroy) proplist_destroy = nullptr;
};

template <typename Function> bool resolve(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

// The library's functions, or nullptr where it is not installed.
const Canberra* canberra()
{
    static const Canberra* const api = []() -> const Canberra* {
        void* library = dlopen("libcanberra.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr)
            return nullptr;
        static Canberra c;
        const bool complete = resolve(library, "ca_context_create", c.context_create) &&
                              resolve(library, "ca_context_destroy", c.context_destroy) &&
                              resolve(library, "ca_context_set_driver", c.context_set_driver) &&
                              resolve(library, "ca_context_change_props", c.context_change_props) &&
                              resolve(library, "ca_context_open", c.context_open) &&
                              resolve(library, "ca_context_play_full", c.context_play_full) &&
                              resolve(library, "ca_context_cache_full", c.context_cache_full) &&
                              resolve(library, "ca_proplist_create", c.proplist_create) &&
                              resolve(library, "ca_proplist_sets", c.proplist_sets) &&
                              resolve(library, "ca_proplist_destroy", c.proplist_destroy);
        return complete ? &c : nullptr;
    }();
    return api;
}

// The bell's properties: the sound theme's "bell", kept in the sound server once loaded.
ca_proplist* bellProperties(const Canberra* ca)
{
    ca_proplist* props = nullptr;
    ca->proplist_create(&props);
    ca->proplist_sets(props, CA_PROP_EVENT_ID, "bell");
    ca->proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "permanent");
    return props;
}

} // namespace

Beeper::~Beeper()
{
    awaitPreparation();
    if (m_ctx != nullptr)
        canberra()->context_destroy(m_ctx);
}

bool Beeper::open()
{
    if (m_tried)
        return m_ctx != nullptr;
    m_tried = true;
    const Canberra* ca = canberra();
    if (ca == nullptr || ca->context_create(&m_ctx) != CA_SUCCESS) {
        m_ctx = nullptr;
        return false;
    }
    // Only a sound server: the ALSA back end would print errors on machines without sound.
    if (ca->context_set_driver(m_ctx, "pulse") != CA_SUCCESS ||
        ca->context_change_props(m_ctx, CA_PROP_APPLICATION_NAME, "Quorvane", nullptr) !=
            CA_SUCCESS ||
        ca->context_open(m_ctx) != CA_SUCCESS) {
        ca->context_destroy(m_ctx);
        m_ctx = nullptr;
        return false;
    }
    return true;
}

void Beeper::prepare()
{
    if (m_tried || m_preparation.valid())
        return;
    m_preparation = std::async(std::launch::async, [this] {
        if (!open())
            return; // the first bell says why
        const Canberra* ca = canberra();
        ca_proplist* props = bellProperties(ca);
        if (ca->context_cache_full(m_ctx, props) != CA_SUCCESS)
            qCInfo(lcQuorvane, "the bell is loaded when it first sounds");
        ca->proplist_destroy(props);
    });
}

void Beeper::awaitPreparation()
{
    if (m_preparation.valid())
        m_preparation.get();
}

bool Beeper::soundLibraryLoads()
{
    return canberra() != nullptr;
}

void Beeper::finished(ca_context* /*context*/, unsigned /*id*/, int /*result*/, void* self)
{
    static_cast<Beeper*>(self)->m_playing.store(false);
}

void Beeper::beep()
{
    awaitPreparation();
    if (!m_fallback && !open())
        useFallback("no sound library or sound server");
    if (m_fallback) {
        m_fallbackBell();
        return;
    }
    if (m_playing.exchange(true))
        return; // still sounding: this request is merged into it
    const Canberra* ca = canberra();
    ca_proplist* props = bellProperties(ca);
    const int rc = ca->context_play_full(m_ctx, 1, props, &Beeper::finished, this);
    ca->proplist_destroy(props);
    if (rc != CA_SUCCESS) {
        m_playing.store(false);
        useFallback("the sound server refused the bell");
        m_fallbackBell();
    }
}

void Beeper::useFallback(const char* why)
{
    m_fallback = true;
    qCInfo(lcQuorvane) << "the desktop's own bell from now on:" << why;
}
