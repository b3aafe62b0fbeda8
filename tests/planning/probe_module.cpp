// A module for the loader's tests: it offers one interface.
#include "planning/module_loader.h"
#include "probe_interface.h"

namespace {

struct Probe final : linkcalc::planning::ProbeInterface {
    int Answer() const override { return 42; }
};

const Probe probe;

}  // namespace

LINKCALC_MODULE_IMPLEMENTS(linkcalc::planning::ProbeInterface, probe)
