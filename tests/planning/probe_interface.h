#pragma once

namespace linkcalc::planning {

struct ProbeInterface {
    static constexpr const char* kInterfaceName = "probe/1";
    virtual ~ProbeInterface() = default;
    virtual int Answer() const = 0;
};

}  // namespace linkcalc::planning
