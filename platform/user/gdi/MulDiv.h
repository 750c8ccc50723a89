/// \file
/// The platform's rounded multiply-divide.
#pragma once
#include "ZelExport.h"

/// a * b / c with the product in 64 bits, rounded to the nearest integer, halves away from
/// zero; -1 when c is 0 or the result does not fit in 32 bits.
ZEL_API int MulDiv(int a, int b, int c);
