#include "progresssampler.h"

#include "installerloader.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <system_error>

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#elif defined(__APPLE__)
#include <pthread/qos.h>
#endif

namespace vantorel {

double progressWithin(StepSpan span, double fraction)
{
    const double reached = span.start + (span.end - span.start) * std::clamp(fraction, 0.0, 1.0);
    return std::min(reached, span.end - 0.01);
}

int secondsLeftInStep(qint64 stepElapsedMs, double fraction)
{
    if (stepElapsedMs < 10000 || fraction < 0.02)
        return -1;
    const double left = double(stepElapsedMs) / 1000.0 * (1.0 - std::min(fraction, 1.0)) / fraction;
    return int(std::lround(std::min(left, 1e9)));
}

std::optional<double> volumeFilled(const QString &volumePath, qint64 installerSize)
{
    if (installerSize <= 0)
        return std::nullopt;
    try {
        return double(calculateDirectorySize(volumePath)) / double(installerSize);
    } catch (...) {
        // Not mounted yet, being erased, or a file vanished between listing and reading it.
        return std::nullopt;
    }
}

std::optional<double> conversionWritten(const QString &outputPath, const QString &imagePath)
{
    const QFileInfo output(outputPath);
    const qint64 imageSize = QFileInfo(imagePath).size();
    if (!output.exists() || imageSize <= 0)
        return std::nullopt;
    return double(output.size()) / double(imageSize);
}

ProgressSampler::ProgressSampler(Measure measure, Publish publish,
                                 std::chrono::milliseconds interval)
    : m_measure(std::move(measure))
    , m_publish(std::move(publish))
    , m_interval(interval)
{
    try {
        m_thread = std::thread(&ProgressSampler::sample, this);
    } catch (const std::system_error &) {
        // No thread to spare: the step runs as before, with no values between its boundaries.
    }
}

ProgressSampler::~ProgressSampler()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_stopRequested.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

namespace {

// The sampler only decorates the wait: its walks (and the walkers they start, which inherit
// this) give way to the window and to the command doing the real work. Not idle priority: on a
// busy machine that would starve the bar for minutes.
void lowerThisThreadsPriority()
{
#if defined(__linux__)
    ::setpriority(PRIO_PROCESS, id_t(::gettid()), 10);
#elif defined(__APPLE__)
    ::pthread_set_qos_class_self_np(QOS_CLASS_UTILITY, 0);
#endif
}

} // namespace

void ProgressSampler::sample()
{
    lowerThisThreadsPriority();
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_stopRequested.wait_for(lock, m_interval, [this] { return m_stopping; }))
            return;
        lock.unlock();
        std::optional<double> fraction;
        try {
            fraction = m_measure();
        } catch (...) {
            // An exception leaving this thread would end the process; only this sample is lost.
        }
        lock.lock();
        // Measured while the step ended: the value is stale, and the destructor waits for us.
        if (m_stopping)
            return;
        if (fraction)
            m_publish(*fraction);
    }
}

} // namespace vantorel
