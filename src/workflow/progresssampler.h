#pragma once

#include <QString>
#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace vantorel {

// The progress values at which a long step starts and at which the next one begins.
struct StepSpan
{
    double start;
    double end;
};

inline constexpr StepSpan makeBootableSpan{0.3, 0.7};
inline constexpr StepSpan convertToISOSpan{0.7, 0.9};
// Smallest rise worth a published store: on a bar some 500 points wide, two or three points.
inline constexpr double minimumProgressRise = 0.005;

// Progress for a measured fraction of a step: proportional, and held 0.01 short of the next
// boundary, which only the step's own end may reach.
double progressWithin(StepSpan span, double fraction);

// Seconds left in a step by linear extrapolation, or -1 while too little of it has passed to
// tell (under 10 s or under 2 %).
int secondsLeftInStep(qint64 stepElapsedMs, double fraction);

// Fraction of an installer of installerSize bytes that has arrived under volumePath (the same
// walk that sizes the installer), or nothing while the volume cannot be read.
std::optional<double> volumeFilled(const QString &volumePath, qint64 installerSize);
// Fraction of the disk image at imagePath that the conversion output has reached, or nothing.
std::optional<double> conversionWritten(const QString &outputPath, const QString &imagePath);

// Measures one long step on a thread of its own while the run's worker is blocked inside the
// step's command: first one interval after it starts, then one interval after each measurement
// ends, so a slow measurement never runs back to back. It only reads.
//
// Destroying it stops it: once the destructor returns, no measurement runs and publish is never
// called again, so a step that ends (or throws) takes its sampler with it.
class ProgressSampler
{
public:
    // How far the step has come (1 = done; may overshoot), or nothing when it cannot tell now.
    using Measure = std::function<std::optional<double>()>;
    // Called on the sampling thread with each measured fraction.
    using Publish = std::function<void(double fraction)>;

    static constexpr std::chrono::milliseconds defaultInterval{1000};

    ProgressSampler(Measure measure, Publish publish,
                    std::chrono::milliseconds interval = defaultInterval);
    ~ProgressSampler();

    ProgressSampler(const ProgressSampler &) = delete;
    ProgressSampler &operator=(const ProgressSampler &) = delete;

private:
    void sample();

    const Measure m_measure;
    const Publish m_publish;
    const std::chrono::milliseconds m_interval;
    std::mutex m_mutex;
    std::condition_variable m_stopRequested;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace vantorel
