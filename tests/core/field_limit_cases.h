#pragma once

#include "linkcalc/field.h"

namespace linkcalc {

// Texts written to fields with and without a length limit, and what a sheet keeps of them.
struct LimitCase {
    Field field;
    const char* text;
    const char* kept;
};

inline const LimitCase kLimitCases[] = {
    {Field::TxtFSL, "1234567", "123456"},
    {Field::TxtFSL, "123456", "123456"},
    {Field::TxtFSL, "12345", "12345"},
    {Field::TxtFR, "123456", "12345"},
    {Field::TxtEC, "125000", "12500"},
    {Field::TxtSAH, "125473", "12547"},
    {Field::TxtSAH, "12345", "12345"},
    {Field::TxtEC, "", ""},
    {Field::TxtFM, "1234567890123", "1234567890123"},
    {Field::TxtDM, "12345678901234567890", "12345678901234567890"},
    {Field::TxtERSSI, "-1.23456789012346E+17", "-1.23456789012346E+17"},
};

}  // namespace linkcalc
