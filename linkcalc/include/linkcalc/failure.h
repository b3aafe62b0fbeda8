#pragma once

#include <cstdint>
#include <string_view>

#include "linkcalc/field.h"

namespace linkcalc {

// Why a run could not be carried out; each names the input at fault.
enum class FailureCause : std::uint8_t {
    BandInvalid,
    SpeedInvalid,
    DistanceNotPositive,
    DistanceTooLarge,
    PacketSizeNotNumeric,
    PacketSizeNegative,
    PacketSizeTooLarge,
    CableLoss1TooLarge,
    CableLoss2TooLarge,
    TransmitPower1OutOfRange,
    Side1TooLarge,
    Side2TooLarge,
    GainsTooLarge,
    Unexpected,
};

struct Failure {
    FailureCause cause;
    std::string_view message;
    Field focus;
};

const Failure& FailureOf(FailureCause cause);

}  // namespace linkcalc
