#include "platform/Beeper.h"

#include <QApplication>
#include <canberra.h>

Beeper::~Beeper()
{
    if (m_ctx != nullptr)
        ca_context_destroy(m_ctx);
}

bool Beeper::open()
{
    if (m_tried)
        return m_ctx != nullptr;
    m_tried = true;
    if (ca_context_create(&m_ctx) != CA_SUCCESS) {
        m_ctx = nullptr;
        return false;
    }
    // Only a sound server: the ALSA back end would print errors on machines without sound.
    if (ca_context_set_driver(m_ctx, "pulse") != CA_SUCCESS ||
        ca_context_change_props(m_ctx, CA_PROP_APPLICATION_NAME, "Quorvane", nullptr) !=
            CA_SUCCESS ||
        ca_context_open(m_ctx) != CA_SUCCESS) {
        ca_context_destroy(m_ctx);
        m_ctx = nullptr;
        return false;
    }
    return true;
}

void Beeper::finished(ca_context* /*context*/, unsigned /*id*/, int /*result*/, void* self)
{
    static_cast<Beeper*>(self)->m_playing.store(false);
}

void Beeper::beep()
{
    if (!m_fallback && !open())
        m_fallback = true;
    if (m_fallback) {
        QApplication::beep();
        return;
    }
    if (m_playing.exchange(true))
        return; // still sounding: this request is merged into it
    ca_proplist* props = nullptr;
    ca_proplist_create(&props);
    ca_proplist_sets(props, CA_PROP_EVENT_ID, "bell");
    ca_proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "permanent");
    const int rc = ca_context_play_full(m_ctx, 1, props, &Beeper::finished, this);
    ca_proplist_destroy(props);
    if (rc != CA_SUCCESS) {
        m_playing.store(false);
        m_fallback = true;
        QApplication::beep();
    }
}
