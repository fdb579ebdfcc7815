#pragma once

#include <QList>
#include <QMetaType>
#include <array>
#include <cstdint>

namespace vantorel {

// The five steps of one ISO run, in order. Titles belong to the step list in the window.
enum class ProcessStep : std::uint8_t {
    selectInstaller,
    createDMG,
    makeBootable,
    convertToISO,
    cleanup
};

inline constexpr std::array<ProcessStep, 5> allProcessSteps{
    ProcessStep::selectInstaller, ProcessStep::createDMG, ProcessStep::makeBootable,
    ProcessStep::convertToISO, ProcessStep::cleanup};

// A set of steps, stored as one bit per step.
class StepSet
{
public:
    constexpr StepSet() = default;

    constexpr bool contains(ProcessStep step) const { return (m_bits & bit(step)) != 0; }
    constexpr void insert(ProcessStep step) { m_bits = std::uint8_t(m_bits | bit(step)); }
    constexpr bool isEmpty() const { return m_bits == 0; }
    constexpr bool operator==(const StepSet &) const = default;

    // Ordinals of the members in step order, as the window reads them.
    QList<int> ordinals() const
    {
        QList<int> result;
        for (ProcessStep step : allProcessSteps)
            if (contains(step))
                result.append(int(step));
        return result;
    }

private:
    static constexpr std::uint8_t bit(ProcessStep step)
    {
        return std::uint8_t(1u << unsigned(step));
    }
    std::uint8_t m_bits = 0;
};

} // namespace vantorel
