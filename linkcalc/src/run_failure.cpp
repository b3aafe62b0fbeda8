#include "run_failure.h"

#include <array>

namespace linkcalc {
namespace {

constexpr std::array<Failure, 14> kFailures{{
    {FailureCause::BandInvalid, "Select a band or frequency from the list.", Field::CmbEFreq},
    {FailureCause::SpeedInvalid, "Select a speed from the list.", Field::CmbSlcSpeed},
    {FailureCause::DistanceNotPositive, "The distance must be greater than zero.", Field::TxtDM},
    {FailureCause::DistanceTooLarge, "The distance is too large to calculate.", Field::TxtDM},
    {FailureCause::PacketSizeNotNumeric, "The packet size must be a number of bytes.",
     Field::Txtepksz},
    {FailureCause::PacketSizeNegative, "The packet size must not be negative.", Field::Txtepksz},
    {FailureCause::PacketSizeTooLarge, "The packet size is too large to calculate.",
     Field::Txtepksz},
    {FailureCause::CableLoss1TooLarge, "The cable loss of antenna 1 is too large to calculate.",
     Field::TxtCblLss1},
    {FailureCause::CableLoss2TooLarge, "The cable loss of antenna 2 is too large to calculate.",
     Field::TxtCblLoss2},
    {FailureCause::TransmitPower1OutOfRange,
     "The maximum transmit power of side 1 is out of range; check the gain and cable loss of "
     "antenna 1.",
     Field::TxtAntG},
    {FailureCause::Side1TooLarge, "The gain or cable loss of antenna 1 is too large to calculate.",
     Field::TxtAntG},
    {FailureCause::Side2TooLarge, "The gain or cable loss of antenna 2 is too large to calculate.",
     Field::TxtAntG2},
    {FailureCause::GainsTooLarge, "The antenna gains are too large to calculate.", Field::TxtAntG},
    {FailureCause::Unexpected, "The calculation could not be carried out.", Field::TxtCblLss1},
}};

constexpr bool FailuresInOrder() {
    for (std::size_t i = 0; i < kFailures.size(); ++i) {
        if (static_cast<std::size_t>(kFailures[i].cause) != i) return false;
    }
    return true;
}
static_assert(FailuresInOrder(), "kFailures must list the causes in enum order");

}  // namespace

const Failure& FailureOf(FailureCause cause) {
    return kFailures[static_cast<std::size_t>(cause)];
}

const char* RunFailureError::what() const noexcept {
    return FailureOf(cause_).message.data();
}

}  // namespace linkcalc
