// The alert sound: the sound theme's "bell" played through libcanberra, never blocking the caller.
// A request made while the previous bell still sounds is merged into it. Where no sound server
// answers, or libcanberra is not installed, the desktop's own bell (the X11 bell) is used for the
// rest of the process.
#pragma once

#include <atomic>
#include <functional>
#include <future>

struct ca_context;

class Beeper
{
public:
    explicit Beeper(std::function<void()> fallbackBell) : m_fallbackBell(std::move(fallbackBell)) {}
    ~Beeper();
    Beeper(const Beeper&) = delete;
    Beeper& operator=(const Beeper&) = delete;

    // Opens the sound library and the sound server, and loads the bell into the server, on a
    // thread of its own: the first bell then sounds at once (opening takes over a second).
    void prepare();
    void beep();

    // Opens libcanberra if that has not happened yet; true when every function the bell uses
    // is there.
    static bool soundLibraryLoads();

private:
    bool open();
    // Waits for prepare's thread, if it runs: the bell is the caller's from then on.
    void awaitPreparation();
    void useFallback(const char* why);
    static void finished(ca_context* ctx, unsigned id, int error, void* self);

    std::function<void()> m_fallbackBell;
    ca_context* m_ctx = nullptr;
    bool m_tried = false;
    bool m_fallback = false;
    std::atomic<bool> m_playing{false};
    std::future<void> m_preparation;
};
