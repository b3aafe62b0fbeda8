#pragma once

// The stages and their helpers belong to the calculation core; the front ends use only the
// headers under linkcalc/include. Tests of the internals link linkcalc_internal.
#ifndef LINKCALC_INTERNAL
#error "an internal header of the calculation core; include the public headers of linkcalc/"
#endif
