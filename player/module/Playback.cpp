#include "Playback.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// The module's priorities run like thread priorities: above 0 is more urgent. Raising needs
// privileges the program rarely has; then the thread keeps its niceness.
void applyPriority(int priority)
{
    if (priority != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), std::clamp(-priority, -20, 19));
}

std::int16_t scaled(std::int16_t sample, std::uint32_t factor)
{
    return static_cast<std::int16_t>(sample * static_cast<std::int32_t>(factor) / 0xFFFF);
}

}  // namespace

Playback::Playback(MpegInput& input, SoundOutput& output, const PlaybackSettings& settings,
                   const std::atomic<std::uint32_t>& volume, std::atomic<std::int32_t>& lastError)
    : input(input), output(output), settings(settings), volume(volume), lastError(lastError)
{
    decoder = std::thread(&Playback::decode, this);
    player = std::thread(&Playback::deliver, this);
}

Playback::~Playback()
{
    {
        std::lock_guard guard(lock);
        stopping = true;
    }
    changed.notify_all();
    decoder.join();
    player.join();
}

void Playback::pause()
{
    std::lock_guard guard(lock);
    isPaused = true;
}

void Playback::resume()
{
    {
        std::lock_guard guard(lock);
        isPaused = false;
    }
    changed.notify_all();
}

bool Playback::paused() const
{
    std::lock_guard guard(lock);
    return isPaused;
}

std::int32_t Playback::positionMs() const
{
    const std::int64_t bytesPerSecond = input.rate() * input.bytesPerFrame();
    return settings.startMs + static_cast<std::int32_t>(bytesPlayed * 1000 / bytesPerSecond);
}

void Playback::decode()
{
    applyPriority(settings.priority);
    const std::int64_t frameBytes = input.bytesPerFrame();
    std::int64_t left = settings.endMs > 0
        ? std::max<std::int64_t>(0, std::int64_t(settings.endMs - settings.startMs) * input.rate() / 1000) * frameBytes
        : -1;
    bool more = true;
    do {
        std::vector<unsigned char> buffer(static_cast<std::size_t>(settings.bufferSize));
        std::size_t size = buffer.size();
        if (left >= 0)
            size = std::min<std::size_t>(size, static_cast<std::size_t>(left));
        size -= size % static_cast<std::size_t>(frameBytes);
        std::size_t got = 0;
        const MpegInput::Read result = size > 0 ? input.read(buffer.data(), size, got) : MpegInput::Read::End;
        if (result == MpegInput::Read::Failed)
            lastError = es::InputFailure;
        buffer.resize(got);
        if (left >= 0)
            left -= static_cast<std::int64_t>(got);
        more = result == MpegInput::Read::Data && left != 0;

        std::unique_lock guard(lock);
        changed.wait(guard, [&] { return stopping || queue.size() < std::size_t(settings.buffersCount); });
        if (stopping)
            return;
        if (!buffer.empty())
            queue.push_back(std::move(buffer));
        decoded = !more;
        changed.notify_all();
    } while (more);
}

void Playback::deliver()
{
    applyPriority(settings.priority);
    const std::int64_t bytesPerSecond = input.rate() * input.bytesPerFrame();
    auto due = std::chrono::steady_clock::now();
    bool playing = output.begin();
    if (!playing)
        lastError = es::OutputFailure;
    while (playing) {
        std::vector<unsigned char> buffer;
        {
            std::unique_lock guard(lock);
            changed.wait(guard, [&] { return stopping || (!isPaused && (!queue.empty() || decoded)); });
            if (stopping || queue.empty())
                break;
            buffer = std::move(queue.front());
            queue.pop_front();
        }
        changed.notify_all();
        applyVolume(buffer);
        if (!output.play(buffer.data(), buffer.size())) {
            lastError = es::OutputFailure;
            break;
        }
        bytesPlayed += static_cast<std::int64_t>(buffer.size());
        if (output.needsPacing()) {
            due = std::max(due, std::chrono::steady_clock::now() - std::chrono::milliseconds(100));
            due += std::chrono::microseconds(std::int64_t(buffer.size()) * 1000000 / bytesPerSecond);
            std::unique_lock guard(lock);
            changed.wait_until(guard, due, [&] { return stopping; });
        }
    }
    output.end();
    {
        std::lock_guard guard(lock);
        stopping = true;
    }
    changed.notify_all();
    done = true;
}

void Playback::applyVolume(std::vector<unsigned char>& samples) const
{
    const std::uint32_t both = volume;
    const std::uint32_t left = both & 0xFFFF;
    const std::uint32_t right = both >> 16;
    if (left == 0xFFFF && right == 0xFFFF)
        return;
    const int channels = input.channels();
    const std::size_t count = samples.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        std::int16_t sample;
        std::memcpy(&sample, samples.data() + 2 * i, 2);
        sample = scaled(sample, channels == 2 && i % 2 == 1 ? right : left);
        std::memcpy(samples.data() + 2 * i, &sample, 2);
    }
}
